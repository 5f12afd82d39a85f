// Working a viewer window in the viewers' tests as a person does: its buttons and its menu item.
#pragma once

#include "toolkit/base/app_support.h"

#include <wyn/checked/menu.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>

// A click on control id of win as the window system delivers it; the events it causes settle.
inline void click_control(WINDOW win, int16_t id) {
    EVENT ev{};
    ev.type = E_CONTROL;
    ev.v.ctl.id = id;
    ev.v.ctl.ci.win = wyn_win_get_ctl(win, id);
    ev.v.ctl.ci.type = wyn_vobj_get_type(ev.v.ctl.ci.win);
    wyn_win_dispatch_event(win, &ev);
    pump();
}

// Whether the item tag of a menu tree, or of its submenus, is enabled; false when it is missing.
inline bool menu_tree_item_enabled(const MENU_ITEM* items, int16_t tag) {
    for (const MENU_ITEM* m = items; m->tag != 0; ++m) {
        if (m->tag == tag) return (m->flags & MENU_FLAG_ENABLED) != 0;
        if (m->submenu && menu_tree_item_enabled(m->submenu, tag)) return true;
    }
    return false;
}

// Whether menu item tag of win's menu bar is enabled.
inline bool menu_item_enabled(WINDOW win, int16_t tag) {
    MENU_ITEM* tree = wyn_menu_get_tree(win);
    const bool enabled = tree && menu_tree_item_enabled(tree, tag);
    if (tree) wyn_res_free_menu_tree(tree);
    return enabled;
}
