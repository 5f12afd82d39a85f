// The continuous log viewer's window: its table over the working copy of the data log, the lines
// read on demand, and printing.
#include "ui/log_viewer.h"

#include "engine/app_state.h"
#include "table/table.h"
#include "ui/help_client.h"
#include "ui/font_holder.h"
#include "ui/log_viewer_print.h"
#include "ui/log_viewer_window.h"
#include "ui/status_draw.h"
#include "ui/working_copy.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <res/ids.h>
#include <unistd.h>
#include <wyn/checked/font.h>
#include <wyn/checked/menu.h>
#include <wyn/checked/win.h>

namespace {

constexpr const char* kTitle = "Continous Log File";
constexpr const char* kHeading = "Date\tTime\tUPS ID\tVoltage\tFreq\tBatt %\tTemp\tUPS Mode";
// In average characters of the body font, which the table rounds down; a column clips its text,
// so the date and the time (8 characters) and the UPS id (up to 15) get room for all of theirs.
constexpr int32_t kWidths[] = {9, 9, 17, 7, 4, 6, 5, 12};
// The table stands 10 pixels inside the window's left, top and right edges, above the buttons. Its
// place is given in pixels: converted as resource units it would outgrow the window.
constexpr const char* kTableProps[] = {"Continuous Log File", "INVISIBLE=FALSE", "NOHORZSCROLL=TRUE",
                                       "NOVERTSCROLL=FALSE",  "POS=10,10",       "SIZE=630,354"};

struct log_window {
    WINDOW win = nullptr;
    WINDOW table = nullptr;
    font_ptr font;
    std::unique_ptr<data_log_reader> reader;
    int temperature_unit = 0;
    long position = 0;
    // Set by E_CREATE when there is no working copy: the opener tells so and closes the window.
    bool no_data = false;
};

// The one viewer's state, from its E_CREATE to its E_DESTROY.
std::unique_ptr<log_window> g_log;

void set_log_command(bool enabled) {
    if (WINDOW task = task_window_object(); task && wyn_win_has_menu(task))
        wyn_menu_set_item_enabled(task, CMD_VIEW_CONTINUOUS_LOG, enabled ? TRUE : FALSE);
}

const char* log_line(WINDOW, table_model*, int32_t line, int16_t*) {
    if (!g_log || !g_log->reader || line < 0) return nullptr;
    g_log->position = long(line) * DATA_RECORD_SIZE;
    return g_log->reader->line(line, g_log->temperature_unit).c_str();
}

void set_up_table(log_window& v) {
    table_properties props;
    if (!table_get_properties(v.table, &props)) return;
    props.flags &= ~(TF_SELECT | TF_MULTI_SELECT | TF_GROW | TF_APPENDED);
    props.flags |= TF_CALLBACK | TF_SEPARATORS | TF_VIEWER | TF_HEADING_RULE | TF_EDGES;
    if (v.font) props.heading_font = props.body_font = v.font.get();
    table_set_properties(v.table, &props);
    table_widths(v.table, int32_t(std::size(kWidths)), kWidths, FALSE);
    table_headings(v.table, kHeading);
}

void on_create(WINDOW win) {
    g_log = std::make_unique<log_window>();
    log_window& v = *g_log;
    v.win = win;
    const RCT rct{10, 10, 354, 630};
    v.table = table_create(IDC_LOG_TABLE, &rct, int32_t(std::size(kTableProps)), kTableProps, win,
                           0, 0);
    set_log_command(false);
    status_maximize_frame();
    working_copy_take();
    v.font = make_plain_font("fixed", 8);
    if (v.table) set_up_table(v);
    if (::access(LOG_WORK_FILE, F_OK) != 0) {
        v.no_data = true;
        return;
    }
    if (g_app) {
        const ups_status& ups = g_app->remote_view ? g_app->remote : g_app->local;
        v.temperature_unit = ups.temperature_unit;
    }
    wyn_vobj_set_title(win, kTitle);
    const long count = data_log_record_count(LOG_WORK_FILE);
    v.reader = std::make_unique<data_log_reader>(LOG_WORK_FILE);
    if (v.table) {
        table_display(v.table, int32_t(std::min<long>(count, INT32_MAX)), log_line, nullptr);
        wyn_scr_set_focus_vobj(v.table);
    }
}

void on_destroy() {
    working_copy_release();
    g_log.reset();
    set_log_command(true);
}

void on_control(log_window& v, int16_t id) {
    switch (id) {
    case IDC_LOG_CLOSE:
        wyn_vobj_destroy(v.win);
        break;
    case IDC_LOG_PRINT_FILE:
        print_whole_file(continuous_log_window, LOG_WORK_FILE);
        break;
    case IDC_LOG_PRINT_SCREEN:
        print_screen(continuous_log_window, LOG_WORK_FILE, v.position);
        break;
    default:
        break;
    }
}

bool has_no_data(WINDOW win) {
    return g_log && g_log->win == win && g_log->no_data;
}

} // namespace

WINDOW continuous_log_window() {
    return g_log ? g_log->win : nullptr;
}

WINDOW continuous_log_table() {
    return g_log ? g_log->table : nullptr;
}

long continuous_log_position() {
    return g_log ? g_log->position : 0;
}

bool open_continuous_log() {
    // The menu item is disabled while the viewer is open; a second request shows the open one.
    if (g_log) {
        wyn_vobj_raise(g_log->win);
        return true;
    }
    return open_viewer(WIN_CONTINUOUS_LOG, continuous_log_handler, has_no_data, LOG_NO_DATA);
}

int32_t continuous_log_handler(WINDOW win, EVENT* ev) {
    help_follow_window(win, *ev, HELP_TOPIC_CONTINUOUS_LOG, WIN_CONTINUOUS_LOG);
    switch (ev->type) {
    case E_CREATE:
        on_create(win);
        break;
    case E_DESTROY:
        if (g_log && g_log->win == win) on_destroy();
        break;
    case E_CONTROL:
        if (g_log && g_log->win == win) on_control(*g_log, ev->v.ctl.id);
        break;
    default:
        viewer_common_event(win, ev);
        break;
    }
    return 0;
}
