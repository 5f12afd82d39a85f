// The message panel: the last three messages, and the pop-up that collects them while minimised.
#include "ui/message_panel.h"

#include "engine/app_state.h"
#include "files/clock.h"
#include "ui/help_client.h"
#include "ui/status_draw.h"
#include "ui/ui_state.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <res/ids.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/list.h>
#include <wyn/checked/shell.h>
#include <wyn/checked/win.h>

namespace {

struct panel_state {
    char lines[3][48];
    int16_t fill = 1; // the line the next message fills; 4 once the panel scrolls
};
panel_state g_panel{};

bool (*g_minimised)() = nullptr;

bool task_minimised() {
    if (g_minimised) return g_minimised();
    WINDOW task = task_window_object();
    return task && wyn_win_is_minimized(task);
}

void set_line(char (&line)[48], const char* text) {
    std::snprintf(line, sizeof line, "%-*.*s", MESSAGE_LINE_WIDTH, MESSAGE_LINE_WIDTH, text);
}

// The dialog's create event stores its handle, so it exists once the call returns.
WINDOW alarm_popup() {
    if (!g_ui.alarm_popup)
        wyn_dlg_create_res(WT_MODELESS_DLG, DLG_ALARM_POPUP, EM_ALL, alarm_popup_handler, 0);
    return g_ui.alarm_popup;
}

void add_to_popup(const char* text) {
    WINDOW dlg = alarm_popup();
    if (!dlg) return;
    // The application's clock, so a stamp agrees with the logs written for the same poll.
    const std::tm t = app_localtime(app_now());
    char item[160];
    std::snprintf(item, sizeof item, "%02d/%02d/%02d,%02d:%02d:%02d,%s", t.tm_mon + 1, t.tm_mday,
                  t.tm_year, t.tm_hour, t.tm_min, t.tm_sec, text);
    WINDOW list = wyn_win_get_ctl(dlg, ID_ALARM_LIST);
    if (list) {
        wyn_list_add(list, -1, item);
        const int32_t count = wyn_list_count_all(list);
        if (count > 0) wyn_list_set_sel(list, count - 1, TRUE);
    }
    // The pop-up must reach the user even if the window system hid it with its minimised owner.
    wyn_vobj_raise(dlg);
    wyn_scr_set_focus_vobj(dlg);
    wyn_win_focus_native(dlg);
}

} // namespace

void set_task_minimised_query(bool (*query)()) {
    g_minimised = query;
}

void message_panel_reset() {
    g_panel = panel_state{};
}

const char* message_panel_line(int index) {
    return index >= 0 && index < 3 ? g_panel.lines[index] : "";
}

void message_panel_add(const char* text) {
    if (!g_app || !g_ui.status_window) return;
    if (!text) text = "";
    if (!*text) {
        g_panel.fill = 1;
        for (auto& line : g_panel.lines) set_line(line, "");
    } else {
        if (task_minimised())
            add_to_popup(text);
        else if (g_ui.alarm_popup)
            wyn_vobj_destroy(g_ui.alarm_popup);
        if (g_panel.fill >= 1 && g_panel.fill <= 3) {
            set_line(g_panel.lines[g_panel.fill - 1], text);
            ++g_panel.fill;
        } else {
            std::memcpy(g_panel.lines[0], g_panel.lines[1], sizeof g_panel.lines[0]);
            std::memcpy(g_panel.lines[1], g_panel.lines[2], sizeof g_panel.lines[1]);
            set_line(g_panel.lines[2], text);
        }
    }
    // The pop-up may have taken the status window with it when the application is ending.
    if (g_app && g_ui.status_window) message_panel_draw(g_ui.status_window, true);
}

void message_panel_draw(WINDOW win, bool partial) {
    status_set_tools(win);
    if (!partial) {
        const DRAW_CPEN black{1, PAT_SOLID, PS_SOLID_LINE, COLOR_BLACK};
        wyn_dwin_set_cpen(win, &black);
        const RCT outer{341, 265, 420, 630};
        wyn_dwin_draw_rect(win, &outer);
        const PNT white[3] = {{345, 626}, {416, 626}, {416, 269}};
        const DRAW_CPEN white_pen{1, PAT_SOLID, PS_SOLID_LINE, COLOR_WHITE};
        wyn_dwin_set_cpen(win, &white_pen);
        wyn_dwin_draw_polyline(win, white, 3);
        wyn_dwin_set_cpen(win, &black);
        const RCT inner{346, 270, 415, 625};
        wyn_dwin_draw_rect(win, &inner);
        const PNT grey[3] = {{416, 269}, {345, 269}, {345, 626}};
        const DRAW_CPEN grey_pen{1, PAT_SOLID, PS_SOLID_LINE, COLOR_GRAY};
        wyn_dwin_set_cpen(win, &grey_pen);
        wyn_dwin_draw_polyline(win, grey, 3);
        wyn_dwin_draw_text(win, 275, 346, " Messages ", -1);
    }
    static const int ys[3] = {365, 385, 405};
    for (int i = 0; i < 3; ++i)
        if (g_panel.lines[i][0]) wyn_dwin_draw_text(win, 274, ys[i], g_panel.lines[i], -1);
}

int32_t alarm_popup_handler(WINDOW win, EVENT* ev) {
    help_follow_window(win, *ev, 0, DLG_ALARM_POPUP);
    switch (ev->type) {
    case E_CREATE:
        g_ui.alarm_popup = win;
        break;
    case E_DESTROY:
        if (g_ui.alarm_popup == win) g_ui.alarm_popup = nullptr;
        break;
    case E_CLOSE:
        wyn_vobj_destroy(win);
        break;
    case E_CONTROL:
        if (ev->v.ctl.id == ID_ALARM_CLEAR) wyn_vobj_destroy(win);
        break;
    default:
        break;
    }
    return 0;
}
