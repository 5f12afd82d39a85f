// Length, copy, comparison and search over UTF-8 strings.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "portable/str_case.h"
#include "portable/utf8.h"
#include <wyn/mem.h>
#include <wyn/str.h>

namespace {

// Null strings sort before every string, so that comparisons stay a total order.
inline bool null_order(const char* a, const char* b, int* result) {
    if (a && b) return false;
    *result = a ? 1 : (b ? -1 : 0);
    return true;
}

inline int ascii_lower(int c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

long bytes_of_chars(const char* s, long n_chars) {
    const char* p = s;
    for (long i = 0; i < n_chars && *p; ++i) p = utf8_next(p);
    return p - s;
}

// Bytes of the whole characters of src that fit in limit bytes.
size_t fitting_bytes(const char* src, size_t limit) {
    size_t used = 0;
    while (src[used]) {
        size_t next = used + utf8_char_size(src + used);
        if (next > limit) break;
        used = next;
    }
    return used;
}

std::wstring lowered_wide(const char* s) {
    std::wstring out;
    while (*s) {
        wchar_t wc;
        s += utf8_decode(s, &wc);
        out.push_back(case_lower(wc));
    }
    return out;
}

bool in_set(const char* ch, int size, const char* set) {
    for (const char* p = set; *p; p = utf8_next(p))
        if (utf8_char_size(p) == size && std::memcmp(p, ch, size) == 0) return true;
    return false;
}

} // namespace

long wynv_str_get_byte_count(const char* s) {
    return s ? static_cast<long>(std::strlen(s)) : 0;
}

long wynv_str_get_char_count(const char* s) {
    if (!s) return 0;
    long count = 0;
    for (; *s; s = utf8_next(s)) ++count;
    return count;
}

long wynv_str_get_n_char_count(const char* s, long n_bytes) {
    if (!s || n_bytes <= 0) return 0;
    long count = 0;
    long used = 0;
    while (s[used]) {
        long next = used + utf8_char_size(s + used);
        if (next > n_bytes) break;
        used = next;
        ++count;
    }
    return count;
}

long wynv_str_get_n_char_size(const char* s, long n_chars) {
    return s && n_chars > 0 ? bytes_of_chars(s, n_chars) : 0;
}

int wynk_str_get_char_size(const char* s) {
    return s ? utf8_char_size(s) : 0;
}

char* wynv_str_copy(char* dst, const char* src) {
    if (!dst || !src) return nullptr;
    return static_cast<char*>(std::memmove(dst, src, std::strlen(src) + 1));
}

char* wynv_str_copy_n_char(char* dst, const char* src, long n_chars) {
    if (!dst || !src) return nullptr;
    long bytes = n_chars > 0 ? bytes_of_chars(src, n_chars) : 0;
    std::memmove(dst, src, bytes);
    dst[bytes] = '\0';
    return dst;
}

char* wynv_str_copy_n_size(char* dst, const char* src, long size) {
    if (!dst || !src || size < 1) return nullptr;
    size_t bytes = fitting_bytes(src, static_cast<size_t>(size) - 1);
    std::memmove(dst, src, bytes);
    dst[bytes] = '\0';
    return dst;
}

char* wynv_str_concat(char* dst, const char* src) {
    if (!dst || !src) return nullptr;
    std::memmove(dst + std::strlen(dst), src, std::strlen(src) + 1);
    return dst;
}

char* wynv_str_concat_n_char(char* dst, const char* src, long n_chars) {
    if (!dst || !src) return nullptr;
    wynv_str_copy_n_char(dst + std::strlen(dst), src, n_chars);
    return dst;
}

char* wynv_str_duplicate(const char* s) {
    if (!s) return nullptr;
    size_t size = std::strlen(s) + 1;
    auto* copy = static_cast<char*>(wynv_mem_alloc(size));
    if (copy) std::memcpy(copy, s, size);
    return copy;
}

int wynv_str_compare_n_char(const char* a, const char* b, long n_chars) {
    int result;
    if (null_order(a, b, &result)) return result;
    if (n_chars <= 0) return 0;
    // Equal leading characters have equal byte sizes, so the longer prefix bounds the compare.
    long bytes = std::max(bytes_of_chars(a, n_chars), bytes_of_chars(b, n_chars));
    return std::strncmp(a, b, bytes);
}

int wynv_str_compare_ignoring_case(const char* a, const char* b) {
    int result;
    if (null_order(a, b, &result)) return result;
    for (;;) {
        auto ua = static_cast<unsigned char>(*a);
        auto ub = static_cast<unsigned char>(*b);
        // ASCII needs neither decoding nor the Unicode tables; list sorting lives on this path.
        if (ua < 0x80 && ub < 0x80) {
            int la = ascii_lower(ua);
            int lb = ascii_lower(ub);
            if (la != lb) return la < lb ? -1 : 1;
            if (la == 0) return 0;
            ++a, ++b;
            continue;
        }
        wchar_t ca = 0;
        wchar_t cb = 0;
        if (*a) a += utf8_decode(a, &ca);
        if (*b) b += utf8_decode(b, &cb);
        ca = case_lower(ca);
        cb = case_lower(cb);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
}

int wynv_str_collate(const char* a, const char* b) {
    int result;
    if (null_order(a, b, &result)) return result;
    return std::strcoll(a, b);
}

int wynv_str_collate_ignoring_case(const char* a, const char* b) {
    int result;
    if (null_order(a, b, &result)) return result;
    return std::wcscoll(lowered_wide(a).c_str(), lowered_wide(b).c_str());
}

int wynv_str_compare_wchar(wchar_t a, wchar_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

BOOLEAN wynv_str_is_equal(const char* a, const char* b) {
    if (!a || !b) return a == b ? TRUE : FALSE;
    return std::strcmp(a, b) == 0 ? TRUE : FALSE;
}

char* wynv_str_find_first_char(const char* s, int c) {
    if (!s) return nullptr;
    auto byte = static_cast<char>(c);
    for (; *s; s = utf8_next(s))
        if (*s == byte && utf8_char_size(s) == 1) return const_cast<char*>(s);
    return byte == '\0' ? const_cast<char*>(s) : nullptr;
}

char* wynv_str_find_last_char(const char* s, int c) {
    if (!s) return nullptr;
    auto byte = static_cast<char>(c);
    const char* found = nullptr;
    for (; *s; s = utf8_next(s))
        if (*s == byte && utf8_char_size(s) == 1) found = s;
    return const_cast<char*>(byte == '\0' ? s : found);
}

char* wynv_str_find_first_wchar(const char* s, wchar_t wc) {
    if (!s) return nullptr;
    while (*s) {
        wchar_t here;
        int size = utf8_decode(s, &here);
        if (here == wc) return const_cast<char*>(s);
        s += size;
    }
    return nullptr;
}

char* wynv_str_find_last_wchar(const char* s, wchar_t wc) {
    if (!s) return nullptr;
    const char* found = nullptr;
    while (*s) {
        wchar_t here;
        int size = utf8_decode(s, &here);
        if (here == wc) found = s;
        s += size;
    }
    return const_cast<char*>(found);
}

char* wynv_str_find_char_set(const char* s, const char* set) {
    if (!s || !set) return nullptr;
    for (; *s; s = utf8_next(s))
        if (in_set(s, utf8_char_size(s), set)) return const_cast<char*>(s);
    return nullptr;
}

char* wynv_str_find_not_char_set(const char* s, const char* set) {
    if (!s || !set) return nullptr;
    for (; *s; s = utf8_next(s))
        if (!in_set(s, utf8_char_size(s), set)) return const_cast<char*>(s);
    return nullptr;
}

char* wynv_str_find_substring(const char* s, const char* sub) {
    if (!s || !sub) return nullptr;
    size_t len = std::strlen(sub);
    for (;; s = utf8_next(s)) {
        if (std::strncmp(s, sub, len) == 0) return const_cast<char*>(s);
        if (!*s) return nullptr;
    }
}

char* wynv_str_find_token(const char* s, const char* delims, long* len) {
    if (!s || !delims) return nullptr;
    const char* start = wynv_str_find_not_char_set(s, delims);
    if (!start) return nullptr;
    const char* end = wynv_str_find_char_set(start, delims);
    if (len) *len = end ? end - start : static_cast<long>(std::strlen(start));
    return const_cast<char*>(start);
}

char* wynv_str_skip_space(const char* s) {
    if (!s) return nullptr;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    return *s ? const_cast<char*>(s) : nullptr;
}
