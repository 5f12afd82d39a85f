// Checked calls on window objects; the handler, mask, data and type are read and written here.
#include <wyn/checked/win.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// What wyn_win_create makes, and what it may make under a dialog.
constexpr TypeSet kCreatable = type_set({WT_DOC, WT_PLAIN, WT_DBL, WT_NO_BORDER, WT_MODAL});
constexpr TypeSet kUnderDialog = type_set({WT_MODAL});
constexpr TypeSet kDialogs = type_set({WT_MODAL_DLG, WT_MODELESS_DLG});
// What may be sent to a window through the layer.
constexpr int32_t kLastAppEvent = E_USER;

bool per_window(ATTR_ID id) {
    return id == ATTR_NATIVE_WINDOW || id == ATTR_SYS_KEYS;
}

} // namespace

// clang-format off
CHECKED(kWin, wyn_win_get_cxo, (WINDOW win, const char* class_name),
        c.window(win, kParentTypes) && c.given(class_name),
        nullptr, wynv_win_get_cxo, (win, class_name))
CHECKED(kVobj, wyn_vobj_destroy, (WINDOW win),
        c.outside_update() && c.window(win, kObjectTypes), void(), wynk_vobj_destroy, (win))
// clang-format on

WINDOW wyn_win_create(int32_t type, const RCT* rct, const char* title, int16_t menu_id,
                      WINDOW parent, uint32_t flags, EVENT_MASK mask, EVENT_HANDLER handler,
                      intptr_t app_data) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.window(parent, kParentTypes)) return nullptr;
    if (!c.given(rct) || !c.given_fn(handler, WYN_MSG_NULL_EVENT_HANDLER)) return nullptr;
    TypeSet allowed = in_set(parent->type, kDialogs) ? kUnderDialog : kCreatable;
    if (!in_set(type, allowed)) return c.fail_as<WINDOW>(nullptr, WYN_MSG_INCORRECT_WINDOW_TYPE);
    if (rect_inverted(*rct)) c.warn(WYN_MSG_BAD_RECT_FORMAT);
    return wynk_win_create(type, rct, title, menu_id, parent, flags, mask, handler, app_data);
}

int32_t wyn_win_dispatch_event(WINDOW win, EVENT* ev) {
    Call c(__func__, kWin);
    if (!c.window(win, kParentTypes) || !c.given(ev)) return -1;
    if (win->type == WT_SCREEN) return c.fail_as(-1, WYN_MSG_BAD_VALUE_CAT);
    if (!win->handler) return c.fail_as(-1, WYN_MSG_WRONG_STATE);
    if (ev->type < E_CREATE || ev->type > kLastAppEvent)
        return c.fail_as(-1, WYN_MSG_BAD_VALUE_CAT);
    return wynk_win_dispatch_event(win, ev);
}

void wyn_win_set_handler(WINDOW win, EVENT_HANDLER handler) {
    Call c(__func__, kWin);
    if (!c.window(win, kWindowTypes)) return;
    win->handler = handler;
}

EVENT_HANDLER wyn_win_get_handler(WINDOW win) {
    Call c(__func__, kWin);
    if (!c.window(win, kWindowTypes)) return nullptr;
    return win->handler;
}

void wyn_win_set_event_mask(WINDOW win, EVENT_MASK mask) {
    Call c(__func__, kWin);
    if (!c.window(win, kWindowTypes)) return;
    win->event_mask = mask;
}

EVENT_MASK wyn_win_get_event_mask(WINDOW win) {
    Call c(__func__, kWin);
    if (!c.window(win, kWindowTypes)) return 0;
    return win->event_mask;
}

int32_t wyn_win_list_cxos(WINDOW win, CXO* out, int32_t max) {
    Call c(__func__, kWin);
    if (!c.window(win, kParentTypes) || !c.at_least(max, 0)) return -1;
    if (max > 0 && !c.given(out)) return -1;
    return wynv_win_list_cxos(win, out, max);
}

ATTR_VALUE wyn_vobj_get_attr(WINDOW win, ATTR_ID id) {
    Call c(__func__, kVobj);
    if (win || per_window(id)) {
        if (!c.window(win, kAnyType)) return 0;
    }
    return wynk_vobj_get_attr(win, id);
}

BOOLEAN wyn_vobj_set_attr(WINDOW win, ATTR_ID id, ATTR_VALUE value) {
    Call c(__func__, kVobj);
    if (win || per_window(id)) {
        if (!c.window(win, kAnyType)) return FALSE;
    }
    return wynv_vobj_set_attr(win, id, value);
}

intptr_t wyn_vobj_get_data(WINDOW win) {
    Call c(__func__, kVobj);
    if (!c.window(win, kAnyType)) return -1;
    return win->app_data;
}

void wyn_vobj_set_data(WINDOW win, intptr_t data) {
    Call c(__func__, kVobj);
    if (!c.window(win, kAnyType)) return;
    win->app_data = data;
}

int32_t wyn_vobj_get_type(WINDOW win) {
    Call c(__func__, kVobj);
    if (!c.window(win, kAnyType)) return 0;
    return window_type(win);
}
