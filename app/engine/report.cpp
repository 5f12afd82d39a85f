// Posting messages to their destinations, and the diagnostic trace.
#include "engine/report.h"

#include "engine/app_state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

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

bool trace_shown(int category) {
    const uint16_t level = g_app ? g_app->engine.debug_level : 0;
    return level != 0 && (level == category || level == 255);
}

class posting_trace final : public trace_sink {
  public:
    bool shows(int category) const override { return trace_shown(category); }
    void line(const char* text, int) const override {
        post_message(text, MSG_PANEL | MSG_ALARM_LOG);
    }
};

const posting_trace the_engine_trace;

} // namespace

// The engine's hooks (declared with its state): a log that stops taking lines is reported once, and once more when it takes them again with
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

const trace_sink& engine_trace() {
    return the_engine_trace;
}

void post_brief_message(const char* brief, const char* detail, int kind) {
    if (kind & MSG_PANEL) post_message(brief, MSG_PANEL);
    post_message(detail, kind & ~MSG_PANEL);
}

void post_message(const char* text, int kind) {
    if (!text) text = "";
    if (!g_app) {
        // Nothing of the engine is left to tell, but the logs still take the line.
        log_book book{.listener = report_log_append};
        if (kind & MSG_ALARM_LOG) write_alarm_line(book, text, time(nullptr));
        if (kind & MSG_EVENT_LOG) write_event_line(book, text, time(nullptr));
        return;
    }
    engine_state& engine = g_app->engine;
    if ((kind & MSG_ALARM_LOG) && engine.log_writing)
        write_alarm_line(engine.logs, text, app_now());
    if ((kind & MSG_PANEL) && engine.panel) engine.panel(text);
    if (kind & MSG_FORWARD) forward_alert(text);
    // The state may be gone once the panel has shown the text (a dialog's loop may end the
    // application); the event log is still written.
    if (kind & MSG_EVENT_LOG) {
        if (!g_app) {
            log_book book{.listener = report_log_append};
            write_event_line(book, text, time(nullptr));
        } else if (g_app->engine.log_writing) {
            write_event_line(g_app->engine.logs, text, app_now());
        }
    }
}

int forward_alert(const char* text) {
    if (!g_app || !g_app->network_enabled) return 0;
    char line[256];
    snprintf(line, sizeof line, "%.*s: %s",
             static_cast<int>(strnlen(g_app->local.ups_id, sizeof g_app->local.ups_id)),
             g_app->local.ups_id, text ? text : "");
    const alert_transport transport = g_app->engine.transport;
    return transport ? transport(g_app->alert_server, line) : 0;
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
