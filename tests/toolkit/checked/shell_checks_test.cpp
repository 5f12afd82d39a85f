// The checked frame calls: faulty windows and missing arguments are reported once each and leave
// the frame alone.
#include <wyn/checked/shell.h>
#include <wyn_checked.h>

#include "checked_support.h"
#include <wyn/testing.h>

namespace {

using ShellChecks = CheckedWindowTest;

TEST_F(ShellChecks, FaultyWindowsAndMissingArgumentsAreReportedOnceEach) {
    WINDOW gone = makeChild(RCT{0, 0, 40, 40});
    wyn_vobj_destroy(gone);
    const RCT place{2, 2, 20, 60};
    WINDOW button = wyn_ctl_create(WT_PUSH_BUTTON, &place, "OK", 1, task(), 0, 0);
    ASSERT_NE(button, nullptr);
    ReportRecorder::all().clear();
    int32_t units = 0;
    expect_one_report_each({
        [&] { EXPECT_FALSE(wyn_win_set_icon(nullptr, "Normal")); },
        [&] { EXPECT_FALSE(wyn_win_set_icon(task(), nullptr)); },
        [&] { EXPECT_FALSE(wyn_win_set_icon(gone, "Normal")); },
        [&] { EXPECT_FALSE(wyn_win_is_minimized(screen())); },
        [&] { EXPECT_FALSE(wyn_win_is_minimized(button)); },
        [&] { EXPECT_FALSE(wyn_win_flash(gone, TRUE)); },
        [&] { wyn_win_maximize(nullptr); },
        [&] { wyn_win_focus_native(screen()); },
        [&] { wyn_scr_get_dialog_units(&units, nullptr); },
        [&] { wyn_scr_get_dialog_units(nullptr, &units); },
    });
    EXPECT_EQ(units, 0);
    EXPECT_FALSE(wyn::testing::frame_maximised(task()));
}

} // namespace
