// Checked operations every window object shares, and the keyboard focus.
#include <wyn/checked/win.h>

#include "check.h"

using namespace wyn_checked;

char* wyn_vobj_get_title(WINDOW win, char* buf, int32_t size) {
    Call c(__func__, kVobj);
    if (!c.window(win, kObjectTypes) || !c.given(buf) || !c.at_least(size, 1)) return nullptr;
    return wynk_vobj_get_title(win, buf, size);
}

void wyn_vobj_set_title(WINDOW win, const char* title) {
    Call c(__func__, kVobj);
    if (!c.outside_update() || !c.window(win, kObjectTypes) || !c.given(title)) return;
    wynk_vobj_set_title(win, title);
}

void wyn_vobj_set_visible(WINDOW win, BOOLEAN visible) {
    Call c(__func__, kVobj);
    if (!c.outside_update() || !c.window(win, kObjectTypes)) return;
    wynk_vobj_set_visible(win, visible);
}

void wyn_vobj_set_enabled(WINDOW win, BOOLEAN enabled) {
    Call c(__func__, kVobj);
    if (!c.outside_update() || !c.window(win, kObjectTypes)) return;
    wynk_vobj_set_enabled(win, enabled);
}

void wyn_vobj_move(WINDOW win, const RCT* rct) {
    Call c(__func__, kVobj);
    if (!c.outside_update() || !c.window(win, kObjectTypes) || !c.given(rct)) return;
    wynk_vobj_move(win, rct);
}

void wyn_vobj_raise(WINDOW win) {
    Call c(__func__, kVobj);
    if (!c.outside_update() || !c.window(win, kObjectTypes)) return;
    wynk_vobj_raise(win);
}

RCT* wyn_vobj_get_client_rect(WINDOW win, RCT* rct) {
    Call c(__func__, kVobj);
    if (!c.window(win, kAnyType) || !c.given(rct)) return nullptr;
    return wynk_vobj_get_client_rect(win, rct);
}

RCT* wyn_vobj_get_outer_rect(WINDOW win, RCT* rct) {
    Call c(__func__, kVobj);
    if (!c.window(win, kAnyType) || !c.given(rct)) return nullptr;
    return wynk_vobj_get_outer_rect(win, rct);
}

void wyn_vobj_translate_points(WINDOW from, WINDOW to, PNT* points, int32_t count) {
    Call c(__func__, kVobj);
    if (!c.window(from, kAnyType) || (to && !c.window(to, kAnyType))) return;
    if (!c.given(points) || !c.at_least(count, 0)) return;
    wynk_vobj_translate_points(from, to, points, count);
}

uint32_t wyn_vobj_get_flags(WINDOW win) {
    Call c(__func__, kVobj);
    if (!c.window(win, kObjectTypes)) return 0;
    return wynk_vobj_get_flags(win);
}

BOOLEAN wyn_vobj_is_focusable(WINDOW win) {
    Call c(__func__, kVobj);
    if (!c.window(win, kObjectTypes)) return FALSE;
    return wynk_vobj_is_focusable(win);
}

WINDOW wyn_scr_get_focus_vobj(void) {
    Call c(__func__, kScr);
    return wynk_scr_get_focus_vobj();
}

void wyn_scr_set_focus_vobj(WINDOW win) {
    Call c(__func__, kScr);
    if (!c.outside_update() || !c.window(win, kObjectTypes)) return;
    wynk_scr_set_focus_vobj(win);
}

WINDOW wyn_scr_get_focus_topwin(void) {
    Call c(__func__, kScr);
    return wynv_scr_get_focus_topwin();
}

SLIST wyn_scr_list_wins(void) {
    Call c(__func__, kScr);
    return wynv_scr_list_wins();
}

void wyn_scr_set_busy_cursor(void) {
    Call c(__func__, kScr);
    wynk_scr_set_busy_cursor();
}

void wyn_scr_hide_cursor(void) {
    Call c(__func__, kScr);
    wynk_scr_hide_cursor();
}

void wyn_scr_beep(void) {
    Call c(__func__, kScr);
    wynk_scr_beep();
}

WINDOW wyn_vobj_get_parent(WINDOW win) {
    Call c(__func__, kVobj);
    if (!c.window(win, kAnyType)) return nullptr;
    return wynk_vobj_get_parent(win);
}
