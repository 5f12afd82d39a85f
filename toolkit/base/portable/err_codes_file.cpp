// Reading message texts from an ERRCODES.TXT message file: one "<id> ... "<text>"" line per
// message.
#include "portable/err_codes_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// Appends c to out while room remains; the caller terminates.
struct bounded_text {
    char* out;
    size_t size;
    size_t len = 0;
    void put(char c) {
        if (len + 1 < size) out[len++] = c;
    }
    void finish() { out[len] = '\0'; }
};

// A text in quotes: a backslash takes the next character literally, except \n and \t.
void decode_quoted(const char* p, bounded_text& text) {
    for (; *p != '\0' && *p != '"' && *p != '\n'; ++p) {
        if (*p != '\\') {
            text.put(*p);
            continue;
        }
        const char next = p[1];
        if (next == '\0' || next == '\n') break;
        text.put(next == 'n' ? '\n' : next == 't' ? '\t' : next);
        ++p;
    }
}

// A line without quotes gives its rest, blanks after the id skipped.
void copy_rest(const char* p, bounded_text& text) {
    while (*p == ' ' || *p == '\t') ++p;
    for (; *p != '\0' && *p != '\n'; ++p) text.put(*p);
}

} // namespace

bool errcodes_match_line(const char* line, WYN_MSG_ID id, char* out, size_t size) {
    if (line == nullptr || out == nullptr || size == 0) return false;
    char* end = nullptr;
    errno = 0;
    // Parsed wide and compared in full so that an id beyond 32 bits never aliases a real one.
    const unsigned long long value = std::strtoull(line, &end, 0);
    if (end == line || errno == ERANGE || value != id) return false;
    // A minus sign is accepted by strtoull; a negative id matches nothing.
    for (const char* p = line; p < end; ++p)
        if (*p == '-') return false;
    bounded_text text{out, size};
    if (const char* quote = std::strchr(end, '"'))
        decode_quoted(quote + 1, text);
    else
        copy_rest(end, text);
    text.finish();
    return true;
}

bool errcodes_find(std::FILE* file, WYN_MSG_ID id, char* out, size_t size) {
    if (file == nullptr) return false;
    char line[ERRCODES_LINE_MAX + 1];
    for (;;) {
        // Read by character: a line longer than the limit is cut and its remainder skipped, so
        // that it is never taken for a line of its own; a NUL byte ends the usable text early.
        size_t len = 0;
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n')
            if (len < ERRCODES_LINE_MAX) line[len++] = static_cast<char>(c);
        if (c == EOF && len == 0) return false;
        // Message files may come with CR LF line ends.
        if (len > 0 && line[len - 1] == '\r') --len;
        line[len] = '\0';
        if (errcodes_match_line(line, id, out, size)) return true;
        if (c == EOF) return false;
    }
}
