// The alert log viewer's window: one paragraph per line of the alarm log, its scroll bar kept with
// the view, and printing of the whole file.
#include "ui/alert_viewer.h"

#include "engine/app_state.h"
#include "ui/font_holder.h"
#include "ui/help_client.h"
#include "ui/log_viewer_print.h"
#include "ui/log_viewer_window.h"
#include "ui/status_draw.h"
#include "ui/working_copy.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>
#include <res/ids.h>
#include <string>
#include <unistd.h>
#include <wyn/checked/font.h>
#include <wyn/checked/menu.h>
#include <wyn/checked/sbar.h>
#include <wyn/checked/text.h>
#include <wyn/checked/win.h>

namespace {

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct alert_window {
    WINDOW win = nullptr;
    TX text = nullptr;
    WINDOW bar = nullptr;
    std::string file;
    int32_t paragraphs = 0;
    // Set by E_CREATE when the log held no line: the opener tells so and closes the window.
    bool no_data = false;
};

std::unique_ptr<alert_window> g_alert;

void disable_alert_commands() {
    WINDOW task = task_window_object();
    if (!task || !wyn_win_has_menu(task)) return;
    wyn_menu_set_item_enabled(task, CMD_VIEW_ALERT_LOG, FALSE);
    wyn_menu_set_item_enabled(task, CMD_VIEW_NETWORK_ALERT_LOG, FALSE);
}

// The network's log comes back only while the network is on.
void enable_alert_commands() {
    WINDOW task = task_window_object();
    if (!task || !wyn_win_has_menu(task)) return;
    wyn_menu_set_item_enabled(task, CMD_VIEW_ALERT_LOG, TRUE);
    if (g_app && g_app->network_enabled == 1)
        wyn_menu_set_item_enabled(task, CMD_VIEW_NETWORK_ALERT_LOG, TRUE);
}

// Keeps the bar's thumb on the first visible line however the view got there (keys, clicks).
void follow_view(TX tx, int32_t vert_pos, int32_t, int32_t) {
    if (!g_alert || g_alert->text != tx || !g_alert->bar || vert_pos < 0) return;
    wyn_sbar_set_pos(g_alert->bar, SCROLL_CTL, vert_pos);
}

// Reads the non-empty lines of file into the view; the number of paragraphs added. A view holds
// at most TX_MAX_PARS paragraphs, and the alarm log is never cut back, so a longer log shows its
// newest lines; *left_out counts the older ones that did not fit.
int32_t fill_view(TX text, const std::string& file, long* left_out) {
    *left_out = 0;
    std::unique_ptr<std::FILE, file_closer> in(std::fopen(file.c_str(), "rb"));
    if (!in) return 0;
    std::deque<std::string> lines;
    char buf[ALERT_LINE_CHARS + 1];
    while (std::fgets(buf, sizeof buf, in.get())) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.empty()) continue;
        lines.push_back(std::move(line));
        if (lines.size() > TX_MAX_PARS) {
            lines.pop_front();
            ++*left_out;
        }
    }
    int32_t added = 0;
    for (const std::string& line : lines) {
        if (!wyn_tx_add_par(text, line.c_str())) break;
        ++added;
    }
    return added;
}

void on_create(WINDOW win) {
    g_alert = std::make_unique<alert_window>();
    alert_window& v = *g_alert;
    v.win = win;
    disable_alert_commands();
    status_maximize_frame();
    ::unlink(ALERT_WORK_FILE);
    const bool local = !g_app || !g_app->remote_view;
    v.file = wyn_vobj_get_data(win) == 0 && local ? ALERT_LOG_FILE : ALERT_WORK_FILE;
    v.text = wyn_tx_get_tx(win, IDA_TEXT);
    v.bar = wyn_win_get_ctl(win, IDA_SCROLL);
    if (!v.text) {
        v.no_data = true;
        return;
    }
    // The view keeps its own copy of the font.
    if (font_ptr font = make_plain_font("fixed", 10)) wyn_tx_set_font(v.text, font.get());
    wyn_tx_clear(v.text);
    wyn_tx_suspend(v.text);
    long left_out = 0;
    v.paragraphs = fill_view(v.text, v.file, &left_out);
    wyn_tx_resume(v.text);
    if (v.paragraphs == 0) {
        v.no_data = true;
        return;
    }
    if (left_out > 0) {
        char title[96];
        std::snprintf(title, sizeof title, "%s (newest %d of %ld lines)", ALERT_TITLE, v.paragraphs,
                      left_out + v.paragraphs);
        wyn_vobj_set_title(win, title);
    }
    if (v.bar) {
        wyn_sbar_set_range(v.bar, SCROLL_CTL, 0, v.paragraphs);
        wyn_sbar_set_proportion(v.bar, SCROLL_CTL, std::min(v.paragraphs, ALERT_PAGE_LINES));
        wyn_sbar_set_pos(v.bar, SCROLL_CTL, 0);
    }
    wyn_tx_set_scroll_callback(v.text, follow_view);
    wyn_tx_set_active(v.text);
}

void on_destroy() {
    ::unlink(ALERT_WORK_FILE);
    // The data log's working copy may be another viewer's, still open.
    working_copy_discard_unheld();
    g_alert.reset();
    enable_alert_commands();
}

// Scrolls the view by lines and puts the thumb where the view now starts.
void scroll_by(alert_window& v, int32_t lines) {
    if (!v.text || lines == 0) return;
    wyn_tx_scroll_vert(v.text, lines);
    if (v.bar) wyn_sbar_set_pos(v.bar, SCROLL_CTL, wyn_tx_get_first_line(v.text));
}

void on_scroll(alert_window& v, int32_t what, int16_t pos) {
    switch (what) {
    case SC_LINE_UP:
        scroll_by(v, -1);
        break;
    case SC_LINE_DOWN:
        scroll_by(v, 1);
        break;
    case SC_PAGE_UP:
        scroll_by(v, -ALERT_PAGE_LINES);
        break;
    case SC_PAGE_DOWN:
        scroll_by(v, ALERT_PAGE_LINES);
        break;
    case SC_THUMB:
    case SC_THUMB_DRAG:
        if (v.text) scroll_by(v, pos - wyn_tx_get_first_line(v.text));
        break;
    default:
        break;
    }
}

void on_control(alert_window& v, const EVENT* ev) {
    switch (ev->v.ctl.id) {
    case IDA_CLOSE:
        wyn_vobj_destroy(v.win);
        break;
    case IDA_PRINT:
        print_whole_file(alert_log_window, v.file.c_str());
        break;
    case IDA_SCROLL:
        on_scroll(v, ev->v.ctl.ci.v.scroll.what, ev->v.ctl.ci.v.scroll.pos);
        break;
    default:
        break;
    }
}

bool has_no_data(WINDOW win) {
    return g_alert && g_alert->win == win && g_alert->no_data;
}

} // namespace

WINDOW alert_log_window() {
    return g_alert ? g_alert->win : nullptr;
}

bool open_alert_log(int network) {
    if (g_alert) {
        wyn_vobj_raise(g_alert->win);
        return true;
    }
    return open_viewer(WIN_ALERT_LOG, alert_log_handler, has_no_data, ALERT_NO_DATA, network);
}

int32_t alert_log_handler(WINDOW win, EVENT* ev) {
    help_follow_window(win, *ev, HELP_TOPIC_ALERT_LOG, WIN_ALERT_LOG);
    switch (ev->type) {
    case E_CREATE:
        on_create(win);
        break;
    case E_DESTROY:
        if (g_alert && g_alert->win == win) on_destroy();
        break;
    case E_CONTROL:
        if (g_alert && g_alert->win == win) on_control(*g_alert, ev);
        break;
    default:
        viewer_common_event(win, ev);
        break;
    }
    return 0;
}
