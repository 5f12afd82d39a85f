// Checked calls on windows' native frames and the dialog font's base units.
#include <wyn/checked/shell.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
CHECKED(kWin, wyn_win_set_icon, (WINDOW win, const char* name),
        c.outside_update() && c.window(win, kWindowTypes) && c.given(name, WYN_MSG_NULL_POINTER),
        FALSE, wynk_win_set_icon, (win, name))
CHECKED(kWin, wyn_win_is_minimized, (WINDOW win),
        c.window(win, kWindowTypes), FALSE, wynk_win_is_minimized, (win))
CHECKED(kWin, wyn_win_flash, (WINDOW win, BOOLEAN invert),
        c.outside_update() && c.window(win, kWindowTypes), FALSE, wynk_win_flash, (win, invert))
CHECKED(kScr, wyn_scr_get_dialog_units, (int32_t* width, int32_t* height),
        c.given(width, WYN_MSG_NULL_POINTER) && c.given(height, WYN_MSG_NULL_POINTER),
        void(), wynk_scr_get_dialog_units, (width, height))
// clang-format on

void wyn_win_maximize(WINDOW win) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.window(win, kWindowTypes)) return;
    wynk_win_maximize(win);
}

void wyn_win_focus_native(WINDOW win) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.window(win, kWindowTypes)) return;
    wynk_win_focus_native(win);
}
