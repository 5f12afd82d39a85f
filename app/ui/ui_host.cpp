// The engine's host: timers and drawing on the status window through the checked toolkit calls.
#include "ui/ui_host.h"

#include "engine/app_state.h"
#include "engine/report.h"
#include "ui/message_panel.h"
#include "ui/status_draw.h"
#include "ui/ui_state.h"

#include <wyn/checked/app.h>
#include <wyn/checked/dwin.h>

#include <algorithm>

ui_state g_ui;

namespace {
ui_host g_host;
void (*g_panel_watcher)(const char*) = nullptr;

// The toolkit's timers tick at most every 10 ms.
constexpr int kShortestTimerMs = 10;

void show_in_panel(const char* text) {
    if (g_panel_watcher) g_panel_watcher(text);
    message_panel_add(text);
}
} // namespace

bool ui_host::start_poll_timer(int milliseconds) {
    if (!g_ui.status_window) return false;
    const int period =
        std::max(milliseconds / time_scale_, std::min(milliseconds, kShortestTimerMs));
    const int32_t id = wyn_timer_create(g_ui.status_window, period);
    // The toolkit's -1 means no timer.
    if (id <= 0) return false;
    stop_poll_timer();
    g_ui.poll_timer = id;
    return true;
}

void ui_host::stop_poll_timer() {
    if (g_ui.poll_timer > 0) wyn_timer_destroy(g_ui.poll_timer);
    g_ui.poll_timer = 0;
}

void ui_host::draw_clock() {
    if (g_app && g_ui.status_window) status_draw_clock(g_ui.status_window, true);
}

void ui_host::refresh_status() {
    if (g_app && g_ui.status_window) status_draw(g_ui.status_window, true);
}

void ui_host::set_icon(const char* name) {
    icon_ = name ? name : "Normal";
    status_set_icon(icon_.c_str());
}

void ui_host::terminate_application() {
    wyn_app_destroy();
}

void ui_host::set_time_scale(int factor) {
    time_scale_ = std::max(factor, 1);
}

void install_ui_host() {
    if (!g_app) return;
    g_app->engine.host = &g_host;
    g_app->engine.panel = show_in_panel;
}

void watch_panel_messages(void (*watcher)(const char* text)) {
    g_panel_watcher = watcher;
}

ui_host& the_ui_host() {
    return g_host;
}
