// Line-end scanning that learns the text's line-end convention from its first line end.
#include "portable/report_hook.h"
#include "portable/static_block.h"
#include "portable/utf8.h"
#include <wyn/str.h>

namespace {

constexpr char kReportUnit[] = "vstr";
constexpr char CR = '\r';
constexpr char LF = '\n';

enum Convention { unknown, cr, lf, cr_lf, lf_cr };

struct EolScan {
    const char* buf;
    long len;
    long pos;
    Convention convention;
    bool warned;
};

Convention convention_at(const char* b, long i, long len) {
    bool has_next = i + 1 < len;
    if (b[i] == CR) return has_next && b[i + 1] == LF ? cr_lf : cr;
    return has_next && b[i + 1] == CR ? lf_cr : lf;
}

// Length of the line end of convention c at b[i], 0 when there is none there.
int terminator_at(const char* b, long i, long len, Convention c) {
    bool has_next = i + 1 < len;
    switch (c) {
    case cr:
        return b[i] == CR ? 1 : 0;
    case lf:
        return b[i] == LF ? 1 : 0;
    case cr_lf:
        return b[i] == CR && has_next && b[i + 1] == LF ? 2 : 0;
    case lf_cr:
        return b[i] == LF && has_next && b[i + 1] == CR ? 2 : 0;
    default:
        return 0;
    }
}

// True when the bytes from b[i] to the end are the start of a character cut off by the end of
// the buffer rather than a broken one: they cannot hold a line end, so the scan may stop.
bool cut_at_end(const char* b, long i, long len) {
    auto lead = static_cast<unsigned char>(b[i]);
    long expected = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (expected <= len - i) return false;
    for (long k = i + 1; k < len; ++k)
        if ((static_cast<unsigned char>(b[k]) & 0xC0) != 0x80) return false;
    return expected > 1;
}

} // namespace

char* wynv_str_find_eol(const char* buf, long len, int* term_len) {
    auto* scan = static_block<EolScan>();
    if (!scan) return nullptr;
    if (buf) {
        if (len < 0) {
            PORTABLE_REPORT(PORTABLE_VALUE_TOO_LOW, PORTABLE_WARNING);
            *scan = EolScan{};
            return nullptr;
        }
        *scan = EolScan{buf, len, 0, unknown, false};
    }
    if (!scan->buf) return nullptr;
    const char* b = scan->buf;
    for (long i = scan->pos; i < scan->len;) {
        if (b[i] == CR || b[i] == LF) {
            if (scan->convention == unknown) scan->convention = convention_at(b, i, scan->len);
            int size = terminator_at(b, i, scan->len, scan->convention);
            if (size > 0) {
                scan->pos = i + size;
                if (term_len) *term_len = size;
                return const_cast<char*>(b + i);
            }
            ++i;
            continue;
        }
        size_t rest = static_cast<size_t>(scan->len - i);
        if (utf8_is_valid_char(b + i, rest)) {
            i += utf8_char_size(b + i, rest);
            continue;
        }
        if (cut_at_end(b, i, scan->len)) break;
        // One report per scan: a broken file would otherwise raise one warning per byte.
        if (!scan->warned) {
            scan->warned = true;
            PORTABLE_REPORT(PORTABLE_INVALID_MB_CHAR, PORTABLE_WARNING);
        }
        ++i;
    }
    scan->pos = scan->len;
    return nullptr;
}
