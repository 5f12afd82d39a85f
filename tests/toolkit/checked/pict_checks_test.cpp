// The checked picture and pixmap calls: each faulty picture, pixmap, image, window or value
// reported once under its source name; the inverted recording rectangle only warned of; a pixmap
// accepted wherever drawing is.
#include <wyn/checked/dwin.h>
#include <wyn/checked/pict.h>
#include <wyn/errfrm.h>

#include "checked_support.h"

class PictChecks : public CheckedWindowTest {
  protected:
    void SetUp() override {
        CheckedWindowTest::SetUp();
        win_ = makeChild(RCT{0, 0, 100, 100});
        ASSERT_NE(win_, nullptr);
        ReportRecorder::all().clear();
    }
    WINDOW win_ = nullptr;
};

TEST_F(PictChecks, EachFaultyArgumentIsReportedOnce) {
    const RCT area{0, 0, 4, 4};
    ASSERT_TRUE(wyn_dwin_open_pict(win_, &area));
    PICTURE dead_pict = wyn_dwin_close_pict(win_);
    wyn_pict_destroy(dead_pict);
    IMAGE dead_image = wynv_image_create(WYN_IMAGE_MONO, 1, 1);
    wynv_image_destroy(dead_image);
    const char bytes[] = "BM";
    ReportRecorder::all().clear();
    expect_one_report_each({
        [&] { EXPECT_EQ(wyn_pict_create(nullptr, 4), nullptr); },
        [&] { EXPECT_EQ(wyn_pict_create(bytes, 0), nullptr); },
        [&] { EXPECT_EQ(wyn_pict_lock(nullptr, nullptr), nullptr); },
        [&] { EXPECT_FALSE(wyn_pict_unlock(dead_pict)); },
        [&] { EXPECT_FALSE(wyn_pict_get_size(dead_pict, nullptr, nullptr)); },
        [&] { EXPECT_FALSE(wyn_dwin_open_pict(win_, nullptr)); },
        [&] { EXPECT_EQ(wyn_dwin_close_pict(nullptr), nullptr); },
        [&] { EXPECT_FALSE(wyn_dwin_draw_pict(win_, dead_pict, nullptr)); },
        [&] { EXPECT_FALSE(wyn_dwin_draw_image(win_, nullptr, nullptr, nullptr)); },
        [&] { EXPECT_FALSE(wyn_dwin_draw_image(win_, dead_image, nullptr, nullptr)); },
        [&] { EXPECT_FALSE(wyn_dwin_draw_pmap(win_, nullptr, nullptr, nullptr)); },
        [&] { EXPECT_FALSE(wyn_dwin_draw_pmap(win_, win_, nullptr, nullptr)); },
        [&] { EXPECT_EQ(wyn_pmap_create(win_, 0, 4, 4), nullptr); },
        [&] { EXPECT_EQ(wyn_pmap_create(win_, PMAP_DISPLAY, 4, 0), nullptr); },
        [&] { EXPECT_EQ(wyn_image_get_from_pmap(win_), nullptr); },
    });
    // The validity tests answer without reporting.
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_pict_is_valid(dead_pict));
    EXPECT_FALSE(wyn_pmap_is_valid(win_));
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(PictChecks, CodesAndSourceNamesAreThoseOfEachFamily) {
    EXPECT_EQ(wyn_pict_lock(nullptr, nullptr), nullptr);
    EXPECT_TRUE(one_report(0x1210005, "tpict"));
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_dwin_draw_pmap(win_, win_, nullptr, nullptr));
    EXPECT_TRUE(one_report(0x1220006, "tdwin"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_pmap_create(win_, 3, 4, 4), nullptr);
    EXPECT_TRUE(one_report(0x1230002, "tpmap"));
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(PictChecks, AnInvertedRecordingAreaIsWarnedOfAndAPixmapDrawsLikeAWindow) {
    const RCT inverted{0, 10, 4, 2};
    EXPECT_TRUE(wyn_dwin_open_pict(win_, &inverted));
    EXPECT_TRUE(one_report(0x1240003, "tdwin", 1));
    PICTURE pict = wyn_dwin_close_pict(win_);
    int16_t w = 0, h = 0;
    ASSERT_TRUE(wyn_pict_get_size(pict, &w, &h));
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    ReportRecorder::all().clear();

    WINDOW pmap = wyn_pmap_create(win_, PMAP_DISPLAY, 8, 8);
    ASSERT_NE(pmap, nullptr);
    const RCT r{0, 0, 4, 4};
    wyn_dwin_draw_rect(pmap, &r);
    EXPECT_TRUE(wyn_dwin_draw_pict(pmap, pict, &r));
    EXPECT_TRUE(wyn_dwin_draw_pmap(win_, pmap, nullptr, nullptr));
    IMAGE image = wyn_image_get_from_pmap(pmap);
    EXPECT_NE(image, nullptr);
    EXPECT_TRUE(ReportRecorder::all().empty());
    wynv_image_destroy(image);
    wyn_pict_destroy(pict);
}
