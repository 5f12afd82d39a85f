// The single place through which the portable services report misuse, log and fetch strings.
#pragma once

#include <stdint.h>

// Message ids the portable services report.
enum : uint32_t {
    PORTABLE_NULL_OBJECT = 0x1210001,       // "NULL Object handle"
    PORTABLE_INVALID_MB_CHAR = 0x1220010,   // "Invalid multibyte character encountered"
    PORTABLE_INVALID_ATTRIBUTE = 0x122000B, // "Invalid Attribute"
    PORTABLE_DIR_FORMAT = 0x1240001,        // "Directory name format invalid"
    PORTABLE_BAD_VALUE = 0x1250001,         // "Bad value"
    PORTABLE_VALUE_TOO_LOW = 0x1250004,     // "Value too low"
    PORTABLE_BUFFER_TOO_SMALL = 0x1260004,  // "Insufficient buffer size"
    PORTABLE_NO_HEAP = 0x1510001,           // "Failed to allocate heap memory"
    PORTABLE_NO_GLOBAL = 0x1510002,         // "Failed to allocate global memory"
    PORTABLE_OBJECT_IN_USE = 0x1630001,     // "Request while object in use"
    PORTABLE_PARSE_OVERFLOW = 0x1590008,    // "Overflow of value during parse"
    PORTABLE_PATH_TOO_LONG = 0x1590009,     // "Too many characters in path"
    PORTABLE_ILLEGAL_FORMAT = 0x159000A,    // a format the formatter refuses
};

// Severities as the error framework counts them.
enum : int { PORTABLE_WARNING = 1, PORTABLE_ERROR = 2, PORTABLE_FATAL = 3 };

// Receives every report: message id, severity, source unit name, source line.
using PortableReportSink = void (*)(uint32_t msg_id, int severity, const char* source, int line);
// Receives one finished line for the debug log.
using PortableDebugSink = void (*)(const char* line);
// Returns the string resource of an id, or null when the application has none.
using PortableStringSource = const char* (*)(int id);

// Reports a fault of the portable services to the installed sink, or to the error framework.
void portable_report(uint32_t msg_id, int severity, const char* source, int line);
// Writes one line to the debug log through the installed sink, or to the toolkit's debug log.
void portable_debug_line(const char* line);
// Returns the string resource of id, or fallback when there is none.
const char* portable_string(int id, const char* fallback);

// Install a sink or source; each returns the previous one (null restores the default).
PortableReportSink portable_set_report_sink(PortableReportSink sink);
PortableDebugSink portable_set_debug_sink(PortableDebugSink sink);
PortableStringSource portable_set_string_source(PortableStringSource source);

// Reports from the calling unit and line.
#define PORTABLE_REPORT(id, severity) portable_report((id), (severity), kReportUnit, __LINE__)
