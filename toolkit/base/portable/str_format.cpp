// Bounded formatting that checks every conversion before the runtime formatter sees it.
#include <cstdio>
#include <cstring>

#include "portable/report_hook.h"
#include <wyn/str.h>

namespace {

constexpr char kReportUnit[] = "vstr";

const char* skip_digits_or_star(const char* p) {
    if (*p == '*') return p + 1;
    while (*p >= '0' && *p <= '9') ++p;
    return p;
}

// Only the listed conversions reach the formatter; anything else (notably "%n", which writes
// through an argument, and positional "$" forms) is refused rather than passed on.
bool conversion_is_legal(const char** cursor) {
    const char* p = *cursor;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    p = skip_digits_or_star(p);
    if (*p == '.') p = skip_digits_or_star(p + 1);
    bool long_double = false;
    if (*p == 'h' || *p == 'l') {
        p += p[1] == p[0] ? 2 : 1;
    } else if (*p == 'L') {
        long_double = true;
        ++p;
    } else if (*p == 'z' || *p == 'j' || *p == 't') {
        ++p;
    }
    if (*p == '\0' || !std::strchr("diuoxXfeEgGcsp", *p)) return false;
    if (long_double && !std::strchr("feEgG", *p)) return false;
    *cursor = p + 1;
    return true;
}

bool format_is_legal(const char* format) {
    for (const char* p = format; *p;) {
        if (*p++ != '%') continue;
        if (*p == '%') {
            ++p;
            continue;
        }
        if (!conversion_is_legal(&p)) return false;
    }
    return true;
}

} // namespace

int wynv_str_sprintf(char* buf, long size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = wynv_str_vsprintf(buf, size, format, args);
    va_end(args);
    return written;
}

int wynv_str_vsprintf(char* buf, long size, const char* format, va_list args) {
    if (!buf || size < 1) {
        PORTABLE_REPORT(PORTABLE_VALUE_TOO_LOW, PORTABLE_ERROR);
        return -1;
    }
    buf[0] = '\0';
    if (!format) return -1;
    if (!format_is_legal(format)) {
        PORTABLE_REPORT(PORTABLE_ILLEGAL_FORMAT, PORTABLE_WARNING);
        return -1;
    }
    int needed = std::vsnprintf(buf, static_cast<size_t>(size), format, args);
    if (needed < 0 || needed >= size) {
        buf[0] = '\0';
        PORTABLE_REPORT(PORTABLE_BUFFER_TOO_SMALL, PORTABLE_ERROR);
        return -1;
    }
    return needed;
}
