// Formatting a diagnostic line for a sink, only when the sink wants it.
#include "engine/trace_sink.h"

#include <cstdarg>
#include <cstdio>

void tracef(const trace_sink* sink, int category, const char* format, ...) {
    if (!sink || !sink->shows(category)) return;
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    sink->line(line, category);
}
