// Checked operations every window object shares, and the keyboard focus.
#include <wyn/checked/win.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
CHECKED(kVobj, wyn_vobj_get_title, (WINDOW win, char* buf, int32_t size),
        c.window(win, kObjectTypes) && c.given(buf) && c.at_least(size, 1),
        nullptr, wynk_vobj_get_title, (win, buf, size))
CHECKED(kVobj, wyn_vobj_set_title, (WINDOW win, const char* title),
        c.outside_update() && c.window(win, kObjectTypes) && c.given(title),
        void(), wynk_vobj_set_title, (win, title))
CHECKED(kVobj, wyn_vobj_set_visible, (WINDOW win, BOOLEAN visible),
        c.outside_update() && c.window(win, kObjectTypes),
        void(), wynk_vobj_set_visible, (win, visible))
CHECKED(kVobj, wyn_vobj_set_enabled, (WINDOW win, BOOLEAN enabled),
        c.outside_update() && c.window(win, kObjectTypes),
        void(), wynk_vobj_set_enabled, (win, enabled))
CHECKED(kVobj, wyn_vobj_move, (WINDOW win, const RCT* rct),
        c.outside_update() && c.window(win, kObjectTypes) && c.given(rct),
        void(), wynk_vobj_move, (win, rct))
CHECKED(kVobj, wyn_vobj_raise, (WINDOW win),
        c.outside_update() && c.window(win, kObjectTypes), void(), wynk_vobj_raise, (win))
CHECKED(kVobj, wyn_vobj_get_client_rect, (WINDOW win, RCT* rct),
        c.window(win, kAnyType) && c.given(rct), nullptr, wynk_vobj_get_client_rect, (win, rct))
CHECKED(kVobj, wyn_vobj_get_outer_rect, (WINDOW win, RCT* rct),
        c.window(win, kAnyType) && c.given(rct), nullptr, wynk_vobj_get_outer_rect, (win, rct))
CHECKED(kVobj, wyn_vobj_translate_points, (WINDOW from, WINDOW to, PNT* points, int32_t count),
        c.window(from, kAnyType) && (!to || c.window(to, kAnyType)) && c.given(points) &&
        c.at_least(count, 0), void(), wynk_vobj_translate_points, (from, to, points, count))
CHECKED(kVobj, wyn_vobj_get_flags, (WINDOW win),
        c.window(win, kObjectTypes), 0, wynk_vobj_get_flags, (win))
CHECKED(kVobj, wyn_vobj_is_focusable, (WINDOW win),
        c.window(win, kObjectTypes), FALSE, wynk_vobj_is_focusable, (win))
MARKED(kScr, wyn_scr_get_focus_vobj, (), wynk_scr_get_focus_vobj, ())
CHECKED(kScr, wyn_scr_set_focus_vobj, (WINDOW win),
        c.outside_update() && c.window(win, kObjectTypes), void(), wynk_scr_set_focus_vobj, (win))
MARKED(kScr, wyn_scr_get_focus_topwin, (), wynv_scr_get_focus_topwin, ())
MARKED(kScr, wyn_scr_list_wins, (), wynv_scr_list_wins, ())
MARKED(kScr, wyn_scr_set_busy_cursor, (), wynk_scr_set_busy_cursor, ())
MARKED(kScr, wyn_scr_hide_cursor, (), wynk_scr_hide_cursor, ())
MARKED(kScr, wyn_scr_beep, (), wynk_scr_beep, ())
CHECKED(kVobj, wyn_vobj_get_parent, (WINDOW win),
        c.window(win, kAnyType), nullptr, wynk_vobj_get_parent, (win))
// clang-format on
