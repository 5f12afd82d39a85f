// Checked string calls: functions that accept any string only mark their name; those that write
// into a caller's buffer or cannot work without an argument check it first.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
MARKED(kStr, wyn_str_get_byte_count, (const char* s), wynv_str_get_byte_count, (s))
MARKED(kStr, wyn_str_get_char_count, (const char* s), wynv_str_get_char_count, (s))
CHECKED(kStr, wyn_str_get_n_char_count, (const char* s, long n_bytes),
        c.at_least(n_bytes, 0), -1, wynv_str_get_n_char_count, (s, n_bytes))
CHECKED(kStr, wyn_str_get_n_char_size, (const char* s, long n_chars),
        c.at_least(n_chars, 0), -1, wynv_str_get_n_char_size, (s, n_chars))
MARKED(kStr, wyn_str_get_char_size, (const char* s), wynk_str_get_char_size, (s))
CHECKED(kStr, wyn_str_copy, (char* dst, const char* src),
        c.given(dst) && c.given(src), nullptr, wynv_str_copy, (dst, src))
CHECKED(kStr, wyn_str_copy_n_char, (char* dst, const char* src, long n_chars),
        c.given(dst) && c.given(src) && c.at_least(n_chars, 0),
        nullptr, wynv_str_copy_n_char, (dst, src, n_chars))
CHECKED(kStr, wyn_str_copy_n_size, (char* dst, const char* src, long size),
        c.given(dst) && c.given(src) && c.at_least(size, 1),
        nullptr, wynv_str_copy_n_size, (dst, src, size))
CHECKED(kStr, wyn_str_concat, (char* dst, const char* src),
        c.given(dst) && c.given(src), nullptr, wynv_str_concat, (dst, src))
CHECKED(kStr, wyn_str_concat_n_char, (char* dst, const char* src, long n_chars),
        c.given(dst) && c.given(src) && c.at_least(n_chars, 0),
        nullptr, wynv_str_concat_n_char, (dst, src, n_chars))
CHECKED(kStr, wyn_str_duplicate, (const char* s),
        c.given(s), nullptr, wynv_str_duplicate, (s))
CHECKED(kStr, wyn_str_compare_n_char, (const char* a, const char* b, long n_chars),
        c.at_least(n_chars, 0), 0, wynv_str_compare_n_char, (a, b, n_chars))
MARKED(kStr, wyn_str_compare_ignoring_case, (const char* a, const char* b),
       wynv_str_compare_ignoring_case, (a, b))
MARKED(kStr, wyn_str_collate, (const char* a, const char* b), wynv_str_collate, (a, b))
MARKED(kStr, wyn_str_collate_ignoring_case, (const char* a, const char* b),
       wynv_str_collate_ignoring_case, (a, b))
MARKED(kStr, wyn_str_compare_wchar, (wchar_t a, wchar_t b), wynv_str_compare_wchar, (a, b))
MARKED(kStr, wyn_str_is_equal, (const char* a, const char* b), wynv_str_is_equal, (a, b))
MARKED(kStr, wyn_str_find_first_char, (const char* s, int ch), wynv_str_find_first_char, (s, ch))
MARKED(kStr, wyn_str_find_last_char, (const char* s, int ch), wynv_str_find_last_char, (s, ch))
MARKED(kStr, wyn_str_find_first_wchar, (const char* s, wchar_t wc),
       wynv_str_find_first_wchar, (s, wc))
MARKED(kStr, wyn_str_find_last_wchar, (const char* s, wchar_t wc),
       wynv_str_find_last_wchar, (s, wc))
MARKED(kStr, wyn_str_find_char_set, (const char* s, const char* set),
       wynv_str_find_char_set, (s, set))
MARKED(kStr, wyn_str_find_not_char_set, (const char* s, const char* set),
       wynv_str_find_not_char_set, (s, set))
MARKED(kStr, wyn_str_find_substring, (const char* s, const char* sub),
       wynv_str_find_substring, (s, sub))
MARKED(kStr, wyn_str_find_token, (const char* s, const char* delims, long* len),
       wynv_str_find_token, (s, delims, len))
CHECKED(kStr, wyn_str_find_eol, (const char* buf, long len, int* term_len),
        c.given(term_len), nullptr, wynv_str_find_eol, (buf, len, term_len))
MARKED(kStr, wyn_str_skip_space, (const char* s), wynv_str_skip_space, (s))
MARKED(kStr, wyn_str_is_alnum, (const char* s), wynv_str_is_alnum, (s))
MARKED(kStr, wyn_str_is_alpha, (const char* s), wynv_str_is_alpha, (s))
MARKED(kStr, wyn_str_is_cntrl, (const char* s), wynv_str_is_cntrl, (s))
MARKED(kStr, wyn_str_is_digit, (const char* s), wynv_str_is_digit, (s))
MARKED(kStr, wyn_str_is_graph, (const char* s), wynv_str_is_graph, (s))
MARKED(kStr, wyn_str_is_lower, (const char* s), wynv_str_is_lower, (s))
MARKED(kStr, wyn_str_is_print, (const char* s), wynv_str_is_print, (s))
MARKED(kStr, wyn_str_is_punct, (const char* s), wynv_str_is_punct, (s))
MARKED(kStr, wyn_str_is_space, (const char* s), wynv_str_is_space, (s))
MARKED(kStr, wyn_str_is_upper, (const char* s), wynv_str_is_upper, (s))
MARKED(kStr, wyn_str_is_xdigit, (const char* s), wynv_str_is_xdigit, (s))
MARKED(kStr, wyn_str_is_invariant, (const char* s), wynv_str_is_invariant, (s))
CHECKED(kStr, wyn_str_convert_to_lower, (char* s),
        c.given(s), nullptr, wynk_str_convert_to_lower, (s))
CHECKED(kStr, wyn_str_convert_to_upper, (char* s),
        c.given(s), nullptr, wynk_str_convert_to_upper, (s))
MARKED(kStr, wyn_str_convert_wchar_to_lower, (wchar_t wc), wynv_str_convert_wchar_to_lower, (wc))
MARKED(kStr, wyn_str_convert_wchar_to_upper, (wchar_t wc), wynv_str_convert_wchar_to_upper, (wc))
CHECKED(kStr, wyn_str_convert_mb_to_wc, (wchar_t* wc, const char* s),
        c.given(wc) && c.given(s), -1, wynk_str_convert_mb_to_wc, (wc, s))
CHECKED(kStr, wyn_str_convert_wc_to_mb, (char* dst, wchar_t wc),
        c.given(dst), -1, wynk_str_convert_wc_to_mb, (dst, wc))
CHECKED(kStr, wyn_str_convert_mbs_to_wcs, (wchar_t* dst, const char* src, long count),
        c.given(dst) && c.given(src) && c.at_least(count, 1),
        -1, wynv_str_convert_mbs_to_wcs, (dst, src, count))
CHECKED(kStr, wyn_str_convert_wcs_to_mbs, (char* dst, const wchar_t* src, long size),
        c.given(dst) && c.given(src) && c.at_least(size, 1),
        -1, wynv_str_convert_wcs_to_mbs, (dst, src, size))
CHECKED(kStr, wyn_str_parse_long, (const char* s, int base, char** end),
        c.given(s), 0, wynv_str_parse_long, (s, base, end))
CHECKED(kStr, wyn_str_parse_ulong, (const char* s, int base, char** end),
        c.given(s), 0, wynv_str_parse_ulong, (s, base, end))
CHECKED(kStr, wyn_str_parse_double, (const char* s, char** end),
        c.given(s), 0.0, wynv_str_parse_double, (s, end))
CHECKED(kStr, wyn_str_vsprintf, (char* buf, long size, const char* format, va_list args),
        c.given(buf) && c.given(format) && c.at_least(size, 1),
        -1, wynv_str_vsprintf, (buf, size, format, args))
CHECKED(kStr, wyn_str_get_mnemonic, (const char* text, int* index, char* buf, long size),
        c.given(text) && c.given(index) && c.given(buf) && c.at_least(size, 1),
        nullptr, wynv_str_get_mnemonic, (text, index, buf, size))
CHECKED(kStr, wyn_str_set_mnemonic, (const char* text, int index, char* buf, long size),
        c.given(text) && c.given(buf) && c.at_least(size, 1),
        nullptr, wynv_str_set_mnemonic, (text, index, buf, size))
MARKED(kStr, wyn_str_match, (const char* s, const char* pattern, BOOLEAN case_sensitive),
       wynv_str_match, (s, pattern, case_sensitive))
CHECKED(kStr, wyn_str_getstr, (int id, char* buf, long size, const char* fallback),
        (!buf || c.at_least(size, 1)), nullptr, wynv_str_getstr, (id, buf, size, fallback))
// clang-format on

int wyn_str_sprintf(char* buf, long size, const char* format, ...) {
    Call c(__func__, kStr);
    if (!c.given(buf) || !c.given(format) || !c.at_least(size, 1)) return -1;
    va_list args;
    va_start(args, format);
    int written = wynv_str_vsprintf(buf, size, format, args);
    va_end(args);
    return written;
}
