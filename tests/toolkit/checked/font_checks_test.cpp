// The checked font calls: what a font was mapped to is only asked of a mapped font, unmapping
// also detaches the font from its window, and stale fonts are refused.
#include <wyn/errfrm.h>
#include <wyn_checked.h>

#include "checked_support.h"

class FontChecks : public CheckedWindowTest {
  protected:
    void SetUp() override {
        CheckedWindowTest::SetUp();
        win_ = makeChild(RCT{0, 0, 100, 100});
        font_ = wyn_font_create();
        ASSERT_NE(font_, nullptr);
        ReportRecorder::all().clear();
    }
    void TearDown() override {
        wynv_font_destroy(font_);
        CheckedWindowTest::TearDown();
    }
    WINDOW win_ = nullptr;
    FONT font_ = nullptr;
};

TEST_F(FontChecks, MappedQueriesNeedAMappedFont) {
    EXPECT_EQ(wyn_font_get_size_mapped(font_), 0);
    EXPECT_TRUE(one_report(WYN_MSG_WRONG_STATE_CAT, "tfont"));
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_font_is_scalable(font_));
    EXPECT_TRUE(one_report(WYN_MSG_WRONG_STATE_CAT, "tfont"));
    ReportRecorder::all().clear();

    ASSERT_TRUE(wyn_font_map(font_, win_));
    EXPECT_GT(wyn_font_get_size_mapped(font_), 0);
    int32_t leading = -1, ascent = -1, descent = -1;
    EXPECT_TRUE(wyn_font_get_metrics(font_, &leading, &ascent, &descent));
    EXPECT_GT(ascent, 0);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(FontChecks, UnmapAlsoDetachesTheWindow) {
    ASSERT_TRUE(wyn_font_map(font_, win_));
    EXPECT_EQ(wyn_font_get_win(font_), win_);
    wyn_font_unmap(font_);
    EXPECT_FALSE(wyn_font_is_mapped(font_));
    EXPECT_EQ(wyn_font_get_win(font_), nullptr);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(FontChecks, StaleFontsAreRefused) {
    wyn_font stale{};
    wyn_dwin_set_font(win_, &stale);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_FONT, "tdwin"));
    ASSERT_TRUE(wyn_font_map(font_, nullptr));
    expect_one_report_each({
        [&] { wyn_font_set_size(&stale, 10); },
        [&] { wyn_font_copy(nullptr, &stale, FA_ALL); },
        [&] { wyn_font_set_size(font_, 0); },
        [&] { wyn_font_set_family(font_, nullptr); },
        [&] { wyn_font_get_metrics(font_, nullptr, nullptr, nullptr); },
        [&] { wyn_fmap_get_family_sizes(nullptr, nullptr); },
    });
}
