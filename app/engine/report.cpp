// Posting messages to their destinations, and the diagnostic trace.
#include "engine/report.h"

#include "engine/app_state.h"
#include "files/logs.h"

#include <cstdarg>
#include <cstdio>

namespace {
message_destinations g_destinations{};
bool g_log_writing = true;

bool trace_shown(int category) {
    return g_debug_level != 0 && (g_debug_level == category || g_debug_level == 255);
}
} // namespace

void set_message_destinations(const message_destinations& destinations) {
    g_destinations = destinations;
}

void set_log_writing(bool on) {
    g_log_writing = on;
}

void post_message(const char* text, int kind) {
    if (!text) text = "";
    if ((kind & MSG_ALARM_LOG) && g_log_writing) write_alarm_line(text);
    if ((kind & MSG_PANEL) && g_destinations.panel) g_destinations.panel(text);
    if ((kind & MSG_FORWARD) && g_app && g_app->network_enabled && g_destinations.forward) {
        char line[256];
        snprintf(line, sizeof line, "%s: %s", g_app->local.ups_id, text);
        g_destinations.forward(g_app->alert_server, line);
    }
    if ((kind & MSG_EVENT_LOG) && g_log_writing) write_event_line(text);
}

void trace(const char* text, int category) {
    if (trace_shown(category)) post_message(text, MSG_PANEL | MSG_ALARM_LOG);
}

void tracef(int category, const char* format, ...) {
    if (!trace_shown(category)) return;
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    post_message(line, MSG_PANEL | MSG_ALARM_LOG);
}
