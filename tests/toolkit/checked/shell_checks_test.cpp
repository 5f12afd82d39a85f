// The checked frame calls: faulty windows and missing arguments are reported once each and leave
// the frame alone; the refusal of frame changes during E_UPDATE.
#include <wyn/checked/shell.h>
#include <wyn/errfrm.h>
#include <wyn_checked.h>

#include "checked_support.h"
#include "kernel/widgets.h"

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
    EXPECT_FALSE(widget_of(task())->isMaximized());
}

// Tries to maximise its own frame while it is being painted.
int32_t maximise_while_painting(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_UPDATE) wyn_win_maximize(win);
    return 0;
}

TEST_F(ShellChecks, FrameIsNotChangedDuringUpdate) {
    WINDOW painter = makeChild(RCT{0, 0, 40, 40}, maximise_while_painting);
    ReportRecorder::all().clear();
    EVENT ev{};
    ev.type = E_UPDATE;
    ev.v.update.rct = RCT{0, 0, 40, 40};
    wynk_win_dispatch_event(painter, &ev);
    EXPECT_TRUE(one_report(WYN_MSG_DURING_UPDATE, "twin"));
    EXPECT_FALSE(widget_of(task())->isMaximized());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

} // namespace
