// Checked calls on windows' native frames and the dialog font's base units.
#include <wyn/checked/shell.h>

#include "check.h"

using namespace wyn_checked;

BOOLEAN wyn_win_set_icon(WINDOW win, const char* name) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.window(win, kWindowTypes)) return FALSE;
    if (!c.given(name, WYN_MSG_NULL_POINTER)) return FALSE;
    return wynk_win_set_icon(win, name);
}

BOOLEAN wyn_win_is_minimized(WINDOW win) {
    Call c(__func__, kWin);
    if (!c.window(win, kWindowTypes)) return FALSE;
    return wynk_win_is_minimized(win);
}

BOOLEAN wyn_win_flash(WINDOW win, BOOLEAN invert) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.window(win, kWindowTypes)) return FALSE;
    return wynk_win_flash(win, invert);
}

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

void wyn_scr_get_dialog_units(int32_t* width, int32_t* height) {
    Call c(__func__, kScr);
    if (!c.given(width, WYN_MSG_NULL_POINTER) || !c.given(height, WYN_MSG_NULL_POINTER)) return;
    wynk_scr_get_dialog_units(width, height);
}
