// Checked string calls: functions that accept any string only mark their name; those that write
// into a caller's buffer or cannot work without an argument check it first.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

long wyn_str_get_byte_count(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_get_byte_count(s);
}

long wyn_str_get_char_count(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_get_char_count(s);
}

long wyn_str_get_n_char_count(const char* s, long n_bytes) {
    Call c(__func__, kStr);
    if (!c.at_least(n_bytes, 0)) return -1;
    return wynv_str_get_n_char_count(s, n_bytes);
}

long wyn_str_get_n_char_size(const char* s, long n_chars) {
    Call c(__func__, kStr);
    if (!c.at_least(n_chars, 0)) return -1;
    return wynv_str_get_n_char_size(s, n_chars);
}

int wyn_str_get_char_size(const char* s) {
    Call c(__func__, kStr);
    return wynk_str_get_char_size(s);
}

char* wyn_str_copy(char* dst, const char* src) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src)) return nullptr;
    return wynv_str_copy(dst, src);
}

char* wyn_str_copy_n_char(char* dst, const char* src, long n_chars) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src) || !c.at_least(n_chars, 0)) return nullptr;
    return wynv_str_copy_n_char(dst, src, n_chars);
}

char* wyn_str_copy_n_size(char* dst, const char* src, long size) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src) || !c.at_least(size, 1)) return nullptr;
    return wynv_str_copy_n_size(dst, src, size);
}

char* wyn_str_concat(char* dst, const char* src) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src)) return nullptr;
    return wynv_str_concat(dst, src);
}

char* wyn_str_concat_n_char(char* dst, const char* src, long n_chars) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src) || !c.at_least(n_chars, 0)) return nullptr;
    return wynv_str_concat_n_char(dst, src, n_chars);
}

char* wyn_str_duplicate(const char* s) {
    Call c(__func__, kStr);
    if (!c.given(s)) return nullptr;
    return wynv_str_duplicate(s);
}

int wyn_str_compare_n_char(const char* a, const char* b, long n_chars) {
    Call c(__func__, kStr);
    if (!c.at_least(n_chars, 0)) return 0;
    return wynv_str_compare_n_char(a, b, n_chars);
}

int wyn_str_compare_ignoring_case(const char* a, const char* b) {
    Call c(__func__, kStr);
    return wynv_str_compare_ignoring_case(a, b);
}

int wyn_str_collate(const char* a, const char* b) {
    Call c(__func__, kStr);
    return wynv_str_collate(a, b);
}

int wyn_str_collate_ignoring_case(const char* a, const char* b) {
    Call c(__func__, kStr);
    return wynv_str_collate_ignoring_case(a, b);
}

int wyn_str_compare_wchar(wchar_t a, wchar_t b) {
    Call c(__func__, kStr);
    return wynv_str_compare_wchar(a, b);
}

BOOLEAN wyn_str_is_equal(const char* a, const char* b) {
    Call c(__func__, kStr);
    return wynv_str_is_equal(a, b);
}

char* wyn_str_find_first_char(const char* s, int ch) {
    Call c(__func__, kStr);
    return wynv_str_find_first_char(s, ch);
}

char* wyn_str_find_last_char(const char* s, int ch) {
    Call c(__func__, kStr);
    return wynv_str_find_last_char(s, ch);
}

char* wyn_str_find_first_wchar(const char* s, wchar_t wc) {
    Call c(__func__, kStr);
    return wynv_str_find_first_wchar(s, wc);
}

char* wyn_str_find_last_wchar(const char* s, wchar_t wc) {
    Call c(__func__, kStr);
    return wynv_str_find_last_wchar(s, wc);
}

char* wyn_str_find_char_set(const char* s, const char* set) {
    Call c(__func__, kStr);
    return wynv_str_find_char_set(s, set);
}

char* wyn_str_find_not_char_set(const char* s, const char* set) {
    Call c(__func__, kStr);
    return wynv_str_find_not_char_set(s, set);
}

char* wyn_str_find_substring(const char* s, const char* sub) {
    Call c(__func__, kStr);
    return wynv_str_find_substring(s, sub);
}

char* wyn_str_find_token(const char* s, const char* delims, long* len) {
    Call c(__func__, kStr);
    return wynv_str_find_token(s, delims, len);
}

char* wyn_str_find_eol(const char* buf, long len, int* term_len) {
    Call c(__func__, kStr);
    if (!c.given(term_len)) return nullptr;
    return wynv_str_find_eol(buf, len, term_len);
}

char* wyn_str_skip_space(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_skip_space(s);
}

BOOLEAN wyn_str_is_alnum(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_alnum(s);
}

BOOLEAN wyn_str_is_alpha(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_alpha(s);
}

BOOLEAN wyn_str_is_cntrl(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_cntrl(s);
}

BOOLEAN wyn_str_is_digit(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_digit(s);
}

BOOLEAN wyn_str_is_graph(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_graph(s);
}

BOOLEAN wyn_str_is_lower(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_lower(s);
}

BOOLEAN wyn_str_is_print(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_print(s);
}

BOOLEAN wyn_str_is_punct(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_punct(s);
}

BOOLEAN wyn_str_is_space(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_space(s);
}

BOOLEAN wyn_str_is_upper(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_upper(s);
}

BOOLEAN wyn_str_is_xdigit(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_xdigit(s);
}

BOOLEAN wyn_str_is_invariant(const char* s) {
    Call c(__func__, kStr);
    return wynv_str_is_invariant(s);
}

char* wyn_str_convert_to_lower(char* s) {
    Call c(__func__, kStr);
    if (!c.given(s)) return nullptr;
    return wynk_str_convert_to_lower(s);
}

char* wyn_str_convert_to_upper(char* s) {
    Call c(__func__, kStr);
    if (!c.given(s)) return nullptr;
    return wynk_str_convert_to_upper(s);
}

wchar_t wyn_str_convert_wchar_to_lower(wchar_t wc) {
    Call c(__func__, kStr);
    return wynv_str_convert_wchar_to_lower(wc);
}

wchar_t wyn_str_convert_wchar_to_upper(wchar_t wc) {
    Call c(__func__, kStr);
    return wynv_str_convert_wchar_to_upper(wc);
}

int wyn_str_convert_mb_to_wc(wchar_t* wc, const char* s) {
    Call c(__func__, kStr);
    if (!c.given(wc) || !c.given(s)) return -1;
    return wynk_str_convert_mb_to_wc(wc, s);
}

int wyn_str_convert_wc_to_mb(char* dst, wchar_t wc) {
    Call c(__func__, kStr);
    if (!c.given(dst)) return -1;
    return wynk_str_convert_wc_to_mb(dst, wc);
}

long wyn_str_convert_mbs_to_wcs(wchar_t* dst, const char* src, long count) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src) || !c.at_least(count, 1)) return -1;
    return wynv_str_convert_mbs_to_wcs(dst, src, count);
}

long wyn_str_convert_wcs_to_mbs(char* dst, const wchar_t* src, long size) {
    Call c(__func__, kStr);
    if (!c.given(dst) || !c.given(src) || !c.at_least(size, 1)) return -1;
    return wynv_str_convert_wcs_to_mbs(dst, src, size);
}

long wyn_str_parse_long(const char* s, int base, char** end) {
    Call c(__func__, kStr);
    if (!c.given(s)) return 0;
    return wynv_str_parse_long(s, base, end);
}

unsigned long wyn_str_parse_ulong(const char* s, int base, char** end) {
    Call c(__func__, kStr);
    if (!c.given(s)) return 0;
    return wynv_str_parse_ulong(s, base, end);
}

double wyn_str_parse_double(const char* s, char** end) {
    Call c(__func__, kStr);
    if (!c.given(s)) return 0.0;
    return wynv_str_parse_double(s, end);
}

int wyn_str_vsprintf(char* buf, long size, const char* format, va_list args) {
    Call c(__func__, kStr);
    if (!c.given(buf) || !c.given(format) || !c.at_least(size, 1)) return -1;
    return wynv_str_vsprintf(buf, size, format, args);
}

int wyn_str_sprintf(char* buf, long size, const char* format, ...) {
    Call c(__func__, kStr);
    if (!c.given(buf) || !c.given(format) || !c.at_least(size, 1)) return -1;
    va_list args;
    va_start(args, format);
    int written = wynv_str_vsprintf(buf, size, format, args);
    va_end(args);
    return written;
}

char* wyn_str_get_mnemonic(const char* text, int* index, char* buf, long size) {
    Call c(__func__, kStr);
    if (!c.given(text) || !c.given(index) || !c.given(buf) || !c.at_least(size, 1)) return nullptr;
    return wynv_str_get_mnemonic(text, index, buf, size);
}

char* wyn_str_set_mnemonic(const char* text, int index, char* buf, long size) {
    Call c(__func__, kStr);
    if (!c.given(text) || !c.given(buf) || !c.at_least(size, 1)) return nullptr;
    return wynv_str_set_mnemonic(text, index, buf, size);
}

BOOLEAN wyn_str_match(const char* s, const char* pattern, BOOLEAN case_sensitive) {
    Call c(__func__, kStr);
    return wynv_str_match(s, pattern, case_sensitive);
}

char* wyn_str_getstr(int id, char* buf, long size, const char* fallback) {
    Call c(__func__, kStr);
    if (buf && !c.at_least(size, 1)) return nullptr;
    return wynv_str_getstr(id, buf, size, fallback);
}
