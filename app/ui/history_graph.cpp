// The history graph window: its working files, day list, paging, graph choice and printing.
#include "ui/history_graph.h"

#include "engine/app_state.h"
#include "ui/help_client.h"
#include "ui/history_graph_data.h"
#include "ui/history_graph_draw.h"
#include "ui/prompts.h"
#include "ui/status_draw.h"
#include "ui/working_copy.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <res/ids.h>
#include <unistd.h>
#include <wyn/checked/ctl.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/list.h>
#include <wyn/checked/menu.h>
#include <wyn/checked/print.h>
#include <wyn/checked/win.h>

namespace {

struct graph_window {
    WINDOW win = nullptr;
    graph_data data;
    std::vector<std::string> days;
    graph_view view;
};

// The one graph window's state, from its E_CREATE to its E_DESTROY.
std::unique_ptr<graph_window> g_graph;

// White on blue, as the status window's text.
COLOR g_radio_colors[] = {2, COLOR_WHITE, 4, COLOR_BLUE, 0};

struct print_record_deleter {
    void operator()(PRINT_RECORD* rec) const { wyn_print_destroy(rec); }
};
using print_record = std::unique_ptr<PRINT_RECORD, print_record_deleter>;

void set_history_command(bool enabled) {
    if (WINDOW task = task_window_object(); task && wyn_win_has_menu(task))
        wyn_menu_set_item_enabled(task, CMD_HISTORY_GRAPHS, enabled ? TRUE : FALSE);
}

// The name the status window shows for the UPS in view.
std::string workstation_name() {
    if (!g_app) return "";
    const char* name = g_app->ups_in_view[0] ? g_app->ups_in_view : g_app->local.ups_id;
    const size_t room = g_app->ups_in_view[0] ? sizeof g_app->ups_in_view : sizeof g_app->local.ups_id;
    return std::string(name, strnlen(name, room));
}

void check_radio(WINDOW win, bool battery) {
    WINDOW group[2] = {wyn_win_get_ctl(win, IDG_VOLTAGE), wyn_win_get_ctl(win, IDG_BATTERY)};
    if (group[0] && group[1]) wyn_ctl_check_radio_button(win, group[battery ? 1 : 0], group, 2);
}

void fill_day_list(graph_window& g) {
    const int today = graph_day_list(GRAPH_WORK_FILE, app_now(), g.view.voltage_class, g.days,
                                     g.data);
    WINDOW list = wyn_win_get_ctl(g.win, IDG_DAYS);
    if (!list) return;
    for (const std::string& day : g.days) wyn_list_add(list, -1, day.c_str());
    if (today >= 0) {
        wyn_list_set_sel(list, today, TRUE);
        g.view.day = g.days[size_t(today)];
    }
}

void on_create(WINDOW win) {
    g_graph = std::make_unique<graph_window>();
    graph_window& g = *g_graph;
    g.win = win;
    set_history_command(false);
    for (int16_t id : {IDG_VOLTAGE, IDG_BATTERY})
        if (WINDOW ctl = wyn_win_get_ctl(win, id)) wyn_ctl_set_colors(ctl, g_radio_colors);
    status_maximize_frame();
    if (g_app) {
        const ups_status& ups = g_app->remote_view ? g_app->remote : g_app->local;
        g.view.voltage_class = ups.voltage_class;
    }
    g.view.data = &g.data;
    g.view.workstation = workstation_name();
    working_copy_take();
    fill_day_list(g);
    if (g.days.empty())
        ui_note("There is no graphing data available.");
    else if (g.view.day.empty())
        ui_note("There is no graphing data available for today.");
    check_radio(win, false);
}

void on_destroy() {
    ::unlink(GRAPH_DAY_FILE);
    working_copy_release();
    g_graph.reset();
    set_history_command(true);
}

// A graph or a day was chosen: the chosen day (all days for "Select All") is loaded afresh.
void choose(graph_window& g, int16_t id) {
    if (id != IDG_DAYS) g.view.battery = id == IDG_BATTERY;
    check_radio(g.win, g.view.battery);
    // A day may be chosen even when today had nothing to show: the list holds what can be loaded.
    char day[64] = "";
    WINDOW list = wyn_win_get_ctl(g.win, IDG_DAYS);
    if (!list || !wyn_list_get_first_sel(list, day, sizeof day) || !day[0]) {
        wyn_dwin_invalidate_rect(g.win, nullptr);
        return;
    }
    g.view.page = 0;
    g.view.day = day;
    const bool all = g.view.day == GRAPH_ALL_DAYS;
    graph_get_data(GRAPH_WORK_FILE, all ? nullptr : day, g.view.voltage_class, g.data);
    wyn_dwin_invalidate_rect(g.win, nullptr);
}

BOOLEAN graph_print(intptr_t data) {
    auto* rec = reinterpret_cast<PRINT_RECORD*>(data);
    if (!rec || !g_graph) return FALSE;
    const graph_view& view = g_graph->view;
    WINDOW paper = wyn_print_create_win(rec, view.battery ? "BattGraph" : "LineGraph");
    if (!paper) return FALSE;
    BOOLEAN done = wyn_print_open_page(rec);
    if (done) {
        status_set_tools(paper);
        while (wyn_print_get_next_band()) graph_draw(paper, false, view);
        done = wyn_print_close_page(rec);
    }
    wyn_vobj_destroy(paper);
    return done;
}

void print(graph_window& g) {
    print_record rec(wyn_print_create(nullptr));
    if (!rec) {
        ui_error("Printing failed!");
    } else if (wyn_dm_post_page_setup(rec.get())) {
        wyn_dwin_invalidate_rect(g.win, nullptr);
        if (!wyn_print_start_thread(graph_print, reinterpret_cast<intptr_t>(rec.get())))
            ui_error("Printing failed!");
    }
    if (g_graph) wyn_dwin_invalidate_rect(g_graph->win, nullptr);
}

void on_control(graph_window& g, int16_t id) {
    switch (id) {
    case IDG_CLOSE:
        wyn_vobj_destroy(g.win);
        break;
    case IDG_PREVIOUS:
        if (g.data.present && g.view.page >= 1) {
            --g.view.page;
            wyn_dwin_invalidate_rect(g.win, nullptr);
        }
        break;
    case IDG_NEXT:
        if (g.data.present && long(g.view.page + 1) * GRAPH_PAGE_RECORDS < g.data.records) {
            ++g.view.page;
            wyn_dwin_invalidate_rect(g.win, nullptr);
        }
        break;
    case IDG_VOLTAGE:
    case IDG_BATTERY:
    case IDG_DAYS:
        choose(g, id);
        break;
    case IDG_PRINT:
        print(g);
        break;
    default:
        break;
    }
}

} // namespace

WINDOW history_graph_window() {
    return g_graph ? g_graph->win : nullptr;
}

const graph_view* history_graph_view() {
    return g_graph ? &g_graph->view : nullptr;
}

bool open_history_graph() {
    if (g_graph) {
        wyn_vobj_raise(g_graph->win);
        return true;
    }
    WINDOW task = task_window_object();
    if (!task) return false;
    return wyn_win_create_res(WIN_GRAPH, task, EM_ALL, history_graph_handler, 0) != nullptr;
}

int32_t history_graph_handler(WINDOW win, EVENT* ev) {
    help_follow_window(win, *ev, 0, WIN_GRAPH);
    switch (ev->type) {
    case E_CREATE:
        on_create(win);
        break;
    case E_DESTROY:
        if (g_graph && g_graph->win == win) on_destroy();
        break;
    case E_UPDATE:
        if (!g_graph) break;
        status_set_tools(win);
        wyn_dwin_clear(win, COLOR_BLUE);
        graph_draw(win, true, g_graph->view);
        break;
    case E_CLOSE:
        wyn_vobj_destroy(win);
        break;
    case E_CONTROL:
        if (g_graph && g_graph->win == win) on_control(*g_graph, ev->v.ctl.id);
        break;
    default:
        break;
    }
    return 0;
}
