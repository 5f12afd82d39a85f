/* Multibyte-aware string functions: a character is one UTF-8 sequence of 1 to 4 bytes.
   Null string arguments give null, 0 or FALSE without a report unless stated otherwise. */
#pragma once

#include <stdarg.h>
#include <wchar.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* Index returned by wynv_str_get_mnemonic when the text has no mnemonic. */
#define WYN_NO_MNEMONIC 65535

/* --- length --- */
/* Bytes before the terminator. */
WYN_EXPORT long wynv_str_get_byte_count(const char* s);
/* Characters before the terminator. */
WYN_EXPORT long wynv_str_get_char_count(const char* s);
/* Whole characters within the first n_bytes bytes (fewer at the terminator). */
WYN_EXPORT long wynv_str_get_n_char_count(const char* s, long n_bytes);
/* Bytes taken by the first n_chars characters (fewer at the terminator). */
WYN_EXPORT long wynv_str_get_n_char_size(const char* s, long n_chars);
/* Bytes of the character at s (1 to 4; an invalid byte counts 1), 0 for null. */
WYN_EXPORT int wynk_str_get_char_size(const char* s);

/* --- copy (the destination must have room; results are always terminated) --- */
/* Copies src into dst; returns dst. */
WYN_EXPORT char* wynv_str_copy(char* dst, const char* src);
/* Copies at most n_chars characters of src and a terminator; returns dst. */
WYN_EXPORT char* wynv_str_copy_n_char(char* dst, const char* src, long n_chars);
/* Copies what fits in size bytes with the terminator, never splitting a character; null when
   size < 1. */
WYN_EXPORT char* wynv_str_copy_n_size(char* dst, const char* src, long size);
/* Appends src to dst; returns dst. */
WYN_EXPORT char* wynv_str_concat(char* dst, const char* src);
/* Appends at most n_chars characters of src and a terminator; returns dst. */
WYN_EXPORT char* wynv_str_concat_n_char(char* dst, const char* src, long n_chars);
/* A copy of s from wynv_mem_alloc (free with wynv_mem_free); null on failure. */
WYN_EXPORT char* wynv_str_duplicate(const char* s);

/* --- compare (negative, 0, positive; a null string sorts before every string) --- */
/* Compares at most n_chars characters. */
WYN_EXPORT int wynv_str_compare_n_char(const char* a, const char* b, long n_chars);
/* Compares character by character after lower-casing each. */
WYN_EXPORT int wynv_str_compare_ignoring_case(const char* a, const char* b);
/* Compares in the collation order of the current locale. */
WYN_EXPORT int wynv_str_collate(const char* a, const char* b);
/* Compares in the locale's collation order after lower-casing both. */
WYN_EXPORT int wynv_str_collate_ignoring_case(const char* a, const char* b);
/* Compares two wide characters by value. */
WYN_EXPORT int wynv_str_compare_wchar(wchar_t a, wchar_t b);
/* TRUE when both hold the same bytes (or both are null). */
WYN_EXPORT BOOLEAN wynv_str_is_equal(const char* a, const char* b);

/* --- search (null when absent) --- */
/* First occurrence of the single-byte character c. */
WYN_EXPORT char* wynv_str_find_first_char(const char* s, int c);
/* Last occurrence of the single-byte character c. */
WYN_EXPORT char* wynv_str_find_last_char(const char* s, int c);
/* First character equal to wc. */
WYN_EXPORT char* wynv_str_find_first_wchar(const char* s, wchar_t wc);
/* Last character equal to wc. */
WYN_EXPORT char* wynv_str_find_last_wchar(const char* s, wchar_t wc);
/* First character of s that is one of the characters of set. */
WYN_EXPORT char* wynv_str_find_char_set(const char* s, const char* set);
/* First character of s that is none of the characters of set. */
WYN_EXPORT char* wynv_str_find_not_char_set(const char* s, const char* set);
/* First occurrence of sub starting on a character boundary (an empty sub is found at s). */
WYN_EXPORT char* wynv_str_find_substring(const char* s, const char* sub);
/* First run of characters not in delims; its byte length goes to *len when len is not null. */
WYN_EXPORT char* wynv_str_find_token(const char* s, const char* delims, long* len);
/* Line ends: with a buffer starts a scan of len bytes, with null continues after the last line
   end found; the first line end fixes the convention (CR, LF, CR LF or LF CR). Returns the
   line end and its length (1 or 2) in *term_len. */
WYN_EXPORT char* wynv_str_find_eol(const char* buf, long len, int* term_len);
/* First character that is not white space. */
WYN_EXPORT char* wynv_str_skip_space(const char* s);

/* --- classify the first character of s --- */
WYN_EXPORT BOOLEAN wynv_str_is_alnum(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_alpha(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_cntrl(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_digit(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_graph(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_lower(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_print(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_punct(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_space(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_upper(const char* s);
WYN_EXPORT BOOLEAN wynv_str_is_xdigit(const char* s);
/* TRUE for an ASCII letter or digit or one of ! " % & ' ( ) * + , - . / : ; < = > ? _ */
WYN_EXPORT BOOLEAN wynv_str_is_invariant(const char* s);

/* --- case (in place; a character whose other case needs another byte count is kept) --- */
WYN_EXPORT char* wynk_str_convert_to_lower(char* s);
WYN_EXPORT char* wynk_str_convert_to_upper(char* s);
WYN_EXPORT wchar_t wynv_str_convert_wchar_to_lower(wchar_t wc);
WYN_EXPORT wchar_t wynv_str_convert_wchar_to_upper(wchar_t wc);

/* --- wide characters (an undecodable byte b converts to U+DC00 + b and back) --- */
/* Converts the character at s into *wc; returns the bytes it took, 0 at the terminator. */
WYN_EXPORT int wynk_str_convert_mb_to_wc(wchar_t* wc, const char* s);
/* Writes wc into dst (room for 4 bytes); returns the bytes written, 0 when wc is no character. */
WYN_EXPORT int wynk_str_convert_wc_to_mb(char* dst, wchar_t wc);
/* Converts src into at most count wide characters including the terminator; returns the
   characters converted, or -1 when count < 1. */
WYN_EXPORT long wynv_str_convert_mbs_to_wcs(wchar_t* dst, const char* src, long count);
/* Converts src into at most size bytes including the terminator, never splitting a character;
   returns the characters converted, or -1 when size < 1 or a character cannot be encoded. */
WYN_EXPORT long wynv_str_convert_wcs_to_mbs(char* dst, const wchar_t* src, long size);

/* --- numbers (base 0 detects 0x and 0 prefixes; out of range is warned about and clamped) --- */
WYN_EXPORT long wynv_str_parse_long(const char* s, int base, char** end);
WYN_EXPORT unsigned long wynv_str_parse_ulong(const char* s, int base, char** end);
/* Parses with "." as the decimal point whatever the locale. */
WYN_EXPORT double wynv_str_parse_double(const char* s, char** end);

/* --- format: every conversion is checked first; the text must fit in size bytes --- */
/* Returns the bytes written without the terminator, or -1 (buf holds "") for an illegal
   conversion or a text that does not fit. */
WYN_EXPORT int wynv_str_sprintf(char* buf, long size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
WYN_EXPORT int wynv_str_vsprintf(char* buf, long size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));

/* --- mnemonics (marker "~") --- */
/* Copies text without its marker into buf and gives the marked byte index (WYN_NO_MNEMONIC when
   none); returns buf, or null when buf is too small. */
WYN_EXPORT char* wynv_str_get_mnemonic(const char* text, int* index, char* buf, long size);
/* Copies text into buf with "~" before the character at byte index (unchanged when index is not
   the start of a character of text); returns buf, or null when buf is too small. */
WYN_EXPORT char* wynv_str_set_mnemonic(const char* text, int index, char* buf, long size);

/* --- wildcard: "*" any run, "?" any character, "\" makes the next character literal --- */
WYN_EXPORT BOOLEAN wynv_str_match(const char* s, const char* pattern, BOOLEAN case_sensitive);

/* --- string resources --- */
/* The application's string resource id (or fallback when it has none) copied into buf of size
   bytes, or into a 100-byte scratch buffer when buf is null (valid until the next such call);
   never splits a character. Returns the text, or null when buf is given with size < 1. */
WYN_EXPORT char* wynv_str_getstr(int id, char* buf, long size, const char* fallback);

WYN_END_C
