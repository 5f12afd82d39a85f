// For the viewers' tests: data log records written as the data log writes them, the text a PDF
// is compared by, and working a viewer window as a person does.
#pragma once

#include "toolkit/base/app_support.h"

#include <cstdio>
#include <string>
#include <wyn/checked/menu.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>

// A record's readings; record i of a test log differs from the others in its time and voltage.
struct view_record {
    int minute_of_day = 0;
    const char* id = "RACK-7";
    int voltage = 120;
    int frequency = 60;
    int charge = 100;
    int temperature = 25;
    int mode = 0;
};

// The 58-byte record of r on 12/08/26.
inline std::string view_record_text(const view_record& r) {
    char line[80];
    std::snprintf(line, sizeof line, "12/08/26 ,%02d:%02d:00,%-15s,%-4d,%-4d,%-4d,%-4d,%1d\r\n",
                  r.minute_of_day / 60 % 24, r.minute_of_day % 60, r.id, r.voltage, r.frequency,
                  r.charge, r.temperature, r.mode);
    return line;
}

// Record i of a log of many: a minute apart, voltages 100 to 139.
inline view_record numbered_record(int i) {
    view_record r;
    r.minute_of_day = i % 1440;
    r.voltage = 100 + i % 40;
    return r;
}

// count numbered records.
inline std::string numbered_records(int count) {
    std::string out;
    out.reserve(size_t(count) * 58);
    for (int i = 0; i < count; ++i) out += view_record_text(numbered_record(i));
    return out;
}

// The record's line as the file holds it, line end dropped, blanks collapsed to one: what a
// PDF's extracted text can be compared with.
inline std::string collapsed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r' || c == '\n') continue;
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out.push_back(c);
    }
    return out;
}

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
