// Posting messages to their destinations, and the diagnostic trace.
#include "engine/report.h"

#include "engine/app_state.h"
#include "files/logs.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
message_destinations g_destinations{};
bool g_log_writing = true;

const char* log_name(log_kind log) {
    switch (log) {
    case log_kind::data:
        return "data log";
    case log_kind::alarm:
        return "alarm log";
    case log_kind::event:
        break;
    }
    return "event log";
}

// A log that stops taking lines is reported once, and once more when it takes them again with
// the count of what was lost; a failing event log is reported on standard error instead.
void report_log_append(const log_append_change& change) {
    char text[256];
    if (change.failing) {
        snprintf(text, sizeof text, "Cannot write to the %s %s: %s.", log_name(change.log),
                 change.file, strerror(change.error));
    } else {
        const char* unit = change.log == log_kind::data ? "record" : "line";
        snprintf(text, sizeof text, "The %s %s can be written again; %ld %s%s lost.",
                 log_name(change.log), change.file, change.lost, unit,
                 change.lost == 1 ? " was" : "s were");
    }
    if (change.log == log_kind::event) fprintf(stderr, "voltsentry: %s\n", text);
    if (change.log != log_kind::event || !change.failing) post_message(text, MSG_EVENT_LOG);
}

// Every program that posts messages hears of failing log appends: installed with the reporting.
[[maybe_unused]] const bool g_log_append_reporting =
    (set_log_append_listener(report_log_append), true);

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
