// Character classification, case mapping, wide-character conversion and number parsing.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <wctype.h>

#include "portable/report_hook.h"
#include "portable/str_case.h"
#include "portable/utf8.h"
#include <wyn/static.h>
#include <wyn/str.h>

namespace {

constexpr char kReportUnit[] = "vstr";

// Unicode classification and case tables come from the runtime's built-in UTF-8 locale, so they
// do not depend on the locale the user or the window system chose; numbers use the "C" locale.
struct Locales {
    locale_t unicode;
    locale_t numeric;
};

void open_locales(void* block) {
    auto* l = static_cast<Locales*>(block);
    l->unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    l->numeric = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
}

void close_locales(void* block) {
    auto* l = static_cast<Locales*>(block);
    if (l->unicode) freelocale(l->unicode);
    if (l->numeric) freelocale(l->numeric);
}

const WYN_STATIC_DESC locales_desc = {sizeof(Locales), nullptr, open_locales, close_locales};

locale_t unicode_locale() {
    auto* l = static_cast<Locales*>(wynk_static_get_ptr(&locales_desc));
    return l ? l->unicode : static_cast<locale_t>(nullptr);
}

locale_t numeric_locale() {
    auto* l = static_cast<Locales*>(wynk_static_get_ptr(&locales_desc));
    return l ? l->numeric : static_cast<locale_t>(nullptr);
}

// Undecodable bytes and ASCII need no table; without the locale only ASCII is classified.
template <typename Ascii, typename Wide> bool classify(wchar_t wc, Ascii ascii, Wide wide) {
    if (wc < 0x80) return ascii(static_cast<int>(wc)) != 0;
    locale_t loc = unicode_locale();
    return loc && !(wc >= 0xDC80 && wc <= 0xDCFF) && wide(static_cast<wint_t>(wc), loc) != 0;
}

// The runtime classifiers see single bytes only: a multibyte character is none of their classes.
template <typename Ascii> BOOLEAN runtime_class(const char* s, Ascii test) {
    if (!s || !*s || utf8_char_size(s) != 1) return FALSE;
    auto byte = static_cast<unsigned char>(*s);
    return byte < 0x80 && test(byte) ? TRUE : FALSE;
}

template <typename Test> BOOLEAN native_class(const char* s, Test test) {
    if (!s || !*s) return FALSE;
    wchar_t wc;
    utf8_decode(s, &wc);
    return test(wc) ? TRUE : FALSE;
}

// Case changes happen in place, so a character is only replaced by one of the same byte count
// (a few mappings, such as U+0130 to "i", would otherwise overrun or shift the text).
char* convert_case(char* s, wchar_t (*map)(wchar_t)) {
    if (!s) return nullptr;
    for (char* p = s; *p;) {
        wchar_t wc;
        int size = utf8_decode(p, &wc);
        wchar_t mapped = map(wc);
        if (mapped != wc && utf8_encoded_size(mapped) == size) utf8_encode(mapped, p);
        p += size;
    }
    return s;
}

void warn_if_out_of_range() {
    if (errno == ERANGE) PORTABLE_REPORT(PORTABLE_PARSE_OVERFLOW, PORTABLE_WARNING);
}

} // namespace

// ASCII maps the same in every locale (a Turkish locale must not turn "I" into a dotless i).
wchar_t case_lower(wchar_t wc) {
    if (wc < 0x80) return wc >= L'A' && wc <= L'Z' ? wc + (L'a' - L'A') : wc;
    locale_t loc = unicode_locale();
    return loc ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(wc), loc)) : wc;
}

wchar_t case_upper(wchar_t wc) {
    if (wc < 0x80) return wc >= L'a' && wc <= L'z' ? wc - (L'a' - L'A') : wc;
    locale_t loc = unicode_locale();
    return loc ? static_cast<wchar_t>(towupper_l(static_cast<wint_t>(wc), loc)) : wc;
}

bool case_is_alpha(wchar_t wc) {
    return classify(wc, isalpha, iswalpha_l);
}
bool case_is_alnum(wchar_t wc) {
    return classify(wc, isalnum, iswalnum_l);
}
bool case_is_lower(wchar_t wc) {
    return classify(wc, islower, iswlower_l);
}
bool case_is_upper(wchar_t wc) {
    return classify(wc, isupper, iswupper_l);
}

BOOLEAN wynv_str_is_alnum(const char* s) {
    return native_class(s, case_is_alnum);
}
BOOLEAN wynv_str_is_alpha(const char* s) {
    return native_class(s, case_is_alpha);
}
BOOLEAN wynv_str_is_lower(const char* s) {
    return native_class(s, case_is_lower);
}
BOOLEAN wynv_str_is_upper(const char* s) {
    return native_class(s, case_is_upper);
}
BOOLEAN wynv_str_is_cntrl(const char* s) {
    return runtime_class(s, iscntrl);
}
BOOLEAN wynv_str_is_digit(const char* s) {
    return runtime_class(s, isdigit);
}
BOOLEAN wynv_str_is_graph(const char* s) {
    return runtime_class(s, isgraph);
}
BOOLEAN wynv_str_is_print(const char* s) {
    return runtime_class(s, isprint);
}
BOOLEAN wynv_str_is_punct(const char* s) {
    return runtime_class(s, ispunct);
}
BOOLEAN wynv_str_is_space(const char* s) {
    return runtime_class(s, isspace);
}
BOOLEAN wynv_str_is_xdigit(const char* s) {
    return runtime_class(s, isxdigit);
}

BOOLEAN wynv_str_is_invariant(const char* s) {
    return runtime_class(s, [](int c) {
        return std::isalnum(c) || (c != 0 && std::strchr("!\"%&'()*+,-./:;<=>?_", c));
    });
}

char* wynk_str_convert_to_lower(char* s) {
    return convert_case(s, case_lower);
}
char* wynk_str_convert_to_upper(char* s) {
    return convert_case(s, case_upper);
}
wchar_t wynv_str_convert_wchar_to_lower(wchar_t wc) {
    return case_lower(wc);
}
wchar_t wynv_str_convert_wchar_to_upper(wchar_t wc) {
    return case_upper(wc);
}

int wynk_str_convert_mb_to_wc(wchar_t* wc, const char* s) {
    if (!wc || !s) return 0;
    if (!*s) {
        *wc = 0;
        return 0;
    }
    return utf8_decode(s, wc);
}

int wynk_str_convert_wc_to_mb(char* dst, wchar_t wc) {
    return dst ? utf8_encode(wc, dst) : 0;
}

long wynv_str_convert_mbs_to_wcs(wchar_t* dst, const char* src, long count) {
    if (!dst || !src) return 0;
    if (count < 1) return -1;
    long n = 0;
    while (*src && n < count - 1) src += utf8_decode(src, &dst[n++]);
    dst[n] = 0;
    return n;
}

long wynv_str_convert_wcs_to_mbs(char* dst, const wchar_t* src, long size) {
    if (!dst || !src) return 0;
    if (size < 1) return -1;
    long used = 0;
    long n = 0;
    for (; src[n]; ++n) {
        int bytes = utf8_encoded_size(src[n]);
        if (bytes == 0) {
            dst[used] = '\0';
            return -1;
        }
        if (used + bytes > size - 1) break;
        used += utf8_encode(src[n], dst + used);
    }
    dst[used] = '\0';
    return n;
}

long wynv_str_parse_long(const char* s, int base, char** end) {
    if (!s) return 0;
    errno = 0;
    long value = std::strtol(s, end, base);
    warn_if_out_of_range();
    return value;
}

unsigned long wynv_str_parse_ulong(const char* s, int base, char** end) {
    if (!s) return 0;
    errno = 0;
    unsigned long value = std::strtoul(s, end, base);
    warn_if_out_of_range();
    return value;
}

double wynv_str_parse_double(const char* s, char** end) {
    if (!s) return 0.0;
    errno = 0;
    locale_t loc = numeric_locale();
    double value = loc ? strtod_l(s, end, loc) : std::strtod(s, end);
    warn_if_out_of_range();
    return value;
}
