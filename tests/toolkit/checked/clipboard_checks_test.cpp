// The checked clipboard calls: names, sizes and pictures are checked before the clipboard is
// touched, nothing changes the clipboard while a window is being painted, and good calls pass.
#include <cstring>
#include <wyn/checked/clipboard.h>
#include <wyn/errfrm.h>

#include "checked_support.h"

namespace {

constexpr WYN_MSG_ID kNullPicture = 0x1210005;
constexpr WYN_MSG_ID kInvalidPicture = 0x1220005;

// A Windows bitmap file of one white pixel.
const unsigned char one_pixel[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0,   54,  0,   0, 0,  40,
                                   0,   0,   0,  1, 0, 0, 0, 1, 0, 0,   0,   1,   0, 24, 0,
                                   0,   0,   0,  0, 4, 0, 0, 0, 0, 0,   0,   0,   0, 0,  0,
                                   0,   0,   0,  0, 0, 0, 0, 0, 0, 255, 255, 255, 0};

BOOLEAN opened_while_painting = TRUE;

int32_t open_while_painting(WINDOW, EVENT* ev) {
    if (ev->type == E_UPDATE) opened_while_painting = wyn_cb_open(TRUE);
    return 0;
}

} // namespace

class ClipboardChecks : public CheckedWindowTest {
  protected:
    void TearDown() override {
        wynk_cb_close();
        CheckedWindowTest::TearDown();
    }
};

TEST_F(ClipboardChecks, FaultyArgumentsAreReportedUnderTheClipboardsName) {
    ASSERT_TRUE(wyn_cb_open(TRUE));
    PICTURE gone = wynk_pict_create(one_pixel, sizeof one_pixel);
    ASSERT_NE(gone, nullptr);
    wynk_pict_destroy(gone);
    expect_one_report_each({
        [] { EXPECT_FALSE(wyn_cb_has_format(CB_FORMAT_APP, nullptr)); },
        [] { EXPECT_EQ(wyn_cb_get_data(CB_FORMAT_APP, nullptr, nullptr), nullptr); },
        [] { EXPECT_EQ(wyn_cb_alloc_data(-1), nullptr); },
        [] { EXPECT_FALSE(wyn_cb_put_data(CB_FORMAT_APP, nullptr, 1, nullptr)); },
        [] { EXPECT_FALSE(wyn_cb_put_data(CB_FORMAT_TEXT, nullptr, -2, nullptr)); },
        [] { EXPECT_FALSE(wyn_cb_put_data(CB_FORMAT_PICT, nullptr, 0, nullptr)); },
        [&] { EXPECT_FALSE(wyn_cb_put_data(CB_FORMAT_PICT, nullptr, 0, gone)); },
    });
    const auto& reports = ReportRecorder::all();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].id, kInvalidPicture);
    EXPECT_EQ(reports[0].file, "tcb");
    EXPECT_EQ(reports[0].api, "wyn_cb_put_data ");
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_cb_put_data(CB_FORMAT_PICT, nullptr, 0, nullptr));
    EXPECT_TRUE(one_report(kNullPicture, "tcb"));
}

TEST_F(ClipboardChecks, GoodCallsPassToTheClipboard) {
    ASSERT_TRUE(wyn_cb_open(TRUE));
    std::memcpy(wyn_cb_alloc_data(4), "volt", 4);
    EXPECT_TRUE(wyn_cb_put_data(CB_FORMAT_TEXT, nullptr, 4, nullptr));
    EXPECT_TRUE(wyn_cb_close());
    EXPECT_TRUE(wyn_cb_has_format(CB_FORMAT_TEXT, nullptr));
    ASSERT_TRUE(wyn_cb_open(FALSE));
    int32_t size = 0;
    EXPECT_STREQ(static_cast<const char*>(wyn_cb_get_data(CB_FORMAT_TEXT, nullptr, &size)), "volt");
    EXPECT_EQ(size, 4);
    wyn_cb_free_data();
    EXPECT_TRUE(wyn_cb_close());
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(ClipboardChecks, TheClipboardIsLeftAloneWhileAWindowIsPainted) {
    WINDOW painter = makeChild(RCT{0, 0, 40, 40}, open_while_painting);
    ReportRecorder::all().clear();
    EVENT ev{};
    ev.type = E_UPDATE;
    wynk_win_dispatch_event(painter, &ev);
    EXPECT_FALSE(opened_while_painting);
    EXPECT_TRUE(one_report(WYN_MSG_DURING_UPDATE, "tcb"));
    // Not opened, so opening now is no second open.
    ReportRecorder::all().clear();
    EXPECT_TRUE(wyn_cb_open(FALSE));
    EXPECT_TRUE(ReportRecorder::all().empty());
}
