// Routes the portable services' reports, debug lines and string look-ups to the error framework.
#include "portable/report_hook.h"

#include <wyn/errmsg.h>

namespace {

// The hooks are process-wide function pointers set once at start-up; they hold no library data.
PortableReportSink report_sink = nullptr;
PortableDebugSink debug_sink = nullptr;
PortableStringSource string_source = nullptr;

} // namespace

void portable_report(uint32_t msg_id, int severity, const char* source, int line) {
    if (report_sink)
        report_sink(msg_id, severity, source, line);
    else
        wynv_errmsg_dispatch(nullptr, static_cast<int16_t>(severity), msg_id, source, line);
}

void portable_debug_line(const char* line) {
    if (line == nullptr) return;
    if (debug_sink)
        debug_sink(line);
    else
        wynv_debug_printf("%s", line);
}

const char* portable_string(int id, const char* fallback) {
    const char* text = string_source ? string_source(id) : nullptr;
    return text ? text : fallback;
}

PortableReportSink portable_set_report_sink(PortableReportSink sink) {
    PortableReportSink previous = report_sink;
    report_sink = sink;
    return previous;
}

PortableDebugSink portable_set_debug_sink(PortableDebugSink sink) {
    PortableDebugSink previous = debug_sink;
    debug_sink = sink;
    return previous;
}

PortableStringSource portable_set_string_source(PortableStringSource source) {
    PortableStringSource previous = string_source;
    string_source = source;
    return previous;
}
