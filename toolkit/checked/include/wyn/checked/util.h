/* Checked calls of the general services: memory, string lists, strings, the file system,
   rectangles and resources. Each forwards to the library function of the same stem after its
   arguments have passed; a fault is reported and gives the failure value named below. */
#pragma once

#include <stdarg.h>
#include <wyn/fsys.h>
#include <wyn/mem.h>
#include <wyn/rect.h>
#include <wyn/res.h>
#include <wyn/slist.h>
#include <wyn/str.h>

WYN_BEGIN_C

/* --- memory --- */
/* Allocates size bytes; null when the heap is exhausted. */
void* wyn_mem_alloc(size_t size);
/* Allocates size zero-filled bytes; null when the heap is exhausted. */
void* wyn_mem_zalloc(size_t size);
/* Resizes ptr as wynv_mem_realloc does. */
void* wyn_mem_realloc(void* ptr, size_t size);
/* Frees a block of the memory functions; a null ptr is reported. */
void wyn_mem_free(void* ptr);
/* Copies the size-byte block src count times into dest; null dest or src, or size 0: null. */
void* wyn_mem_rep(void* dest, const void* src, size_t size, size_t count);
/* Movable global memory, as the wynv_gmem_ functions. */
GHANDLE wyn_gmem_alloc(size_t size, BOOLEAN zero_fill);
BOOLEAN wyn_gmem_free(GHANDLE handle);
void* wyn_gmem_lock(GHANDLE handle);
BOOLEAN wyn_gmem_unlock(GHANDLE handle);
GHANDLE wyn_gmem_realloc(GHANDLE handle, size_t size);
size_t wyn_gmem_get_size(GHANDLE handle);

/* --- string lists: a null or invalid list is reported --- */
/* A new empty list, or null. */
SLIST wyn_slist_create(void);
/* Frees the list and its elements. */
void wyn_slist_destroy(SLIST list);
/* Number of elements; -1 on a fault. */
int wyn_slist_count(SLIST list);
/* Inserts str (or another list's elements) before pos; FALSE on a fault or a null str. */
BOOLEAN wyn_slist_add_at_pos(SLIST list, int pos, const char* str, long data);
/* Inserts str after elt (at the end when elt is null); FALSE on a fault or a null str. */
BOOLEAN wyn_slist_add_at_elt(SLIST list, SLIST_ELT elt, const char* str, long data);
/* Inserts str in sorted order; FALSE on a fault or a null str. */
BOOLEAN wyn_slist_add_sorted(SLIST list, const char* str, long data, BOOLEAN unique,
                             BOOLEAN case_sensitive);
/* Unlinks and frees elt; FALSE on a fault or a null elt. */
BOOLEAN wyn_slist_rem(SLIST list, SLIST_ELT elt);
/* The string of elt and its data word; null on a fault. */
const char* wyn_slist_get(SLIST list, SLIST_ELT elt, long* data);
/* The string at index and its data word; null on a fault or beyond the end. */
const char* wyn_slist_get_elt(SLIST list, int index, long* data);
/* Address of elt's data word; null for null. */
long* wyn_slist_get_data(SLIST_ELT elt);
/* The first element; null on a fault or for an empty list. */
SLIST_ELT wyn_slist_get_first(SLIST list);
/* The element after elt; null on a fault or at the end. */
SLIST_ELT wyn_slist_get_next(SLIST list, SLIST_ELT elt);
/* TRUE for a live list (never reported). */
BOOLEAN wyn_slist_is_valid(SLIST list);
/* Writes the list to the debug log. */
void wyn_slist_debug(SLIST list);

/* --- strings: functions that accept any string behave as their wynv_/wynk_ stem; a missing
   destination, source or required out-pointer is reported, and so is a size or count below its
   minimum --- */
long wyn_str_get_byte_count(const char* s);
long wyn_str_get_char_count(const char* s);
/* -1 when n_bytes < 0. */
long wyn_str_get_n_char_count(const char* s, long n_bytes);
/* -1 when n_chars < 0. */
long wyn_str_get_n_char_size(const char* s, long n_chars);
int wyn_str_get_char_size(const char* s);
/* The copy and concatenation functions return null on a fault. */
char* wyn_str_copy(char* dst, const char* src);
char* wyn_str_copy_n_char(char* dst, const char* src, long n_chars);
char* wyn_str_copy_n_size(char* dst, const char* src, long size);
char* wyn_str_concat(char* dst, const char* src);
char* wyn_str_concat_n_char(char* dst, const char* src, long n_chars);
char* wyn_str_duplicate(const char* s);
int wyn_str_compare_n_char(const char* a, const char* b, long n_chars);
int wyn_str_compare_ignoring_case(const char* a, const char* b);
int wyn_str_collate(const char* a, const char* b);
int wyn_str_collate_ignoring_case(const char* a, const char* b);
int wyn_str_compare_wchar(wchar_t a, wchar_t b);
BOOLEAN wyn_str_is_equal(const char* a, const char* b);
char* wyn_str_find_first_char(const char* s, int c);
char* wyn_str_find_last_char(const char* s, int c);
char* wyn_str_find_first_wchar(const char* s, wchar_t wc);
char* wyn_str_find_last_wchar(const char* s, wchar_t wc);
char* wyn_str_find_char_set(const char* s, const char* set);
char* wyn_str_find_not_char_set(const char* s, const char* set);
char* wyn_str_find_substring(const char* s, const char* sub);
char* wyn_str_find_token(const char* s, const char* delims, long* len);
/* Null when term_len is null. */
char* wyn_str_find_eol(const char* buf, long len, int* term_len);
char* wyn_str_skip_space(const char* s);
BOOLEAN wyn_str_is_alnum(const char* s);
BOOLEAN wyn_str_is_alpha(const char* s);
BOOLEAN wyn_str_is_cntrl(const char* s);
BOOLEAN wyn_str_is_digit(const char* s);
BOOLEAN wyn_str_is_graph(const char* s);
BOOLEAN wyn_str_is_lower(const char* s);
BOOLEAN wyn_str_is_print(const char* s);
BOOLEAN wyn_str_is_punct(const char* s);
BOOLEAN wyn_str_is_space(const char* s);
BOOLEAN wyn_str_is_upper(const char* s);
BOOLEAN wyn_str_is_xdigit(const char* s);
BOOLEAN wyn_str_is_invariant(const char* s);
/* In place; null on a null s. */
char* wyn_str_convert_to_lower(char* s);
char* wyn_str_convert_to_upper(char* s);
wchar_t wyn_str_convert_wchar_to_lower(wchar_t wc);
wchar_t wyn_str_convert_wchar_to_upper(wchar_t wc);
/* -1 on a fault. */
int wyn_str_convert_mb_to_wc(wchar_t* wc, const char* s);
int wyn_str_convert_wc_to_mb(char* dst, wchar_t wc);
long wyn_str_convert_mbs_to_wcs(wchar_t* dst, const char* src, long count);
long wyn_str_convert_wcs_to_mbs(char* dst, const wchar_t* src, long size);
/* 0 on a null s. */
long wyn_str_parse_long(const char* s, int base, char** end);
unsigned long wyn_str_parse_ulong(const char* s, int base, char** end);
double wyn_str_parse_double(const char* s, char** end);
/* -1 on a fault. */
int wyn_str_sprintf(char* buf, long size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
int wyn_str_vsprintf(char* buf, long size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));
/* Null on a fault. */
char* wyn_str_get_mnemonic(const char* text, int* index, char* buf, long size);
char* wyn_str_set_mnemonic(const char* text, int index, char* buf, long size);
BOOLEAN wyn_str_match(const char* s, const char* pattern, BOOLEAN case_sensitive);
/* Null when buf is given with size < 1. */
char* wyn_str_getstr(int id, char* buf, long size, const char* fallback);

/* --- file system: a missing record or buffer is reported --- */
BOOLEAN wyn_fsys_get_dir(DIRECTORY* dir);
BOOLEAN wyn_fsys_set_dir(const DIRECTORY* dir);
BOOLEAN wyn_fsys_get_default_dir(DIRECTORY* dir);
BOOLEAN wyn_fsys_save_dir(void);
BOOLEAN wyn_fsys_restore_dir(void);
BOOLEAN wyn_fsys_set_dir_startup(void);
BOOLEAN wyn_fsys_convert_dir_to_str(const DIRECTORY* dir, char* buf, long size);
BOOLEAN wyn_fsys_convert_str_to_dir(const char* path, DIRECTORY* dir);
BOOLEAN wyn_fsys_parse_pathname(const char* path, char* volume, char* directory, char* leaf,
                                char* extension, char* version);
BOOLEAN wyn_fsys_build_pathname(char* path, long size, const char* volume, const char* directory,
                                const char* leaf, const char* extension, const char* version);
BOOLEAN wyn_fsys_file_makepath(const FILE_SPEC* file_spec, char* path, long size);
BOOLEAN wyn_fsys_file_exists(const FILE_SPEC* file_spec);
SLIST wyn_fsys_list_files(const char* type, const char* pattern, BOOLEAN include_dirs);
/* -1 on a fault; asking a file-system attribute (2 to 10) of a missing file is one, asking
   whether it exists or reading the record's own fields is not. */
long wyn_fsys_get_file_attr(const FILE_SPEC* file_spec, int attr);
/* FALSE on a fault; readable and writable need the file to exist. */
BOOLEAN wyn_fsys_set_file_attr(FILE_SPEC* file_spec, int attr, long value);
BOOLEAN wyn_fsys_rem_file(const FILE_SPEC* file_spec);

/* --- rectangles: a null rectangle or point is reported (wyn_rect_is_empty takes null as
   empty); pointer results are null and numbers 0 on a fault --- */
RCT* wyn_rect_set(RCT* r, int left, int top, int right, int bottom);
RCT* wyn_rect_set_empty(RCT* r);
BOOLEAN wyn_rect_is_empty(const RCT* r);
int wyn_rect_get_width(const RCT* r);
int wyn_rect_get_height(const RCT* r);
RCT* wyn_rect_set_width(RCT* r, int width);
RCT* wyn_rect_set_height(RCT* r, int height);
PNT* wyn_rect_get_pos(const RCT* r, PNT* pos);
RCT* wyn_rect_set_pos(RCT* r, const PNT* pos);
RCT* wyn_rect_offset(RCT* r, int dh, int dv);
BOOLEAN wyn_rect_intersect(RCT* result, const RCT* a, const RCT* b);
BOOLEAN wyn_rect_has_point(const RCT* r, const PNT* p);
RCT* wyn_rect_repair(RCT* r);

/* --- resources --- */
WIN_DEF* wyn_res_get_win_def(int32_t id);
WIN_DEF* wyn_res_get_dlg_def(int32_t id);
MENU_ITEM* wyn_res_get_menu(int32_t id);
SLIST wyn_res_get_str_list(int32_t first, int32_t last);
/* A null def or tree is reported. */
void wyn_res_free_win_def(WIN_DEF* def);
void wyn_res_free_menu_tree(MENU_ITEM* tree);
/* Null on a null buf or a size below 1. */
char* wyn_res_get_str(int32_t id, char* buf, int32_t size);
/* Database string resource id into buf; null on a null buf or a size below 1. */
char* wyn_res_get_db_str(int32_t id, char* buf, int32_t size);
/* Font resource id into *font; FALSE on a null font or when there is none. */
BOOLEAN wyn_res_get_font_desc(int32_t id, WYN_RES_FONT* font);
/* Extension data of image, window, dialog and menu resources, as the wynv_res_ functions. */
int32_t wyn_res_get_image(int32_t id);
int32_t wyn_res_get_image_data(int32_t id, int32_t ext_tag, void* buf, int32_t size);
int32_t wyn_res_get_win_data(int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                             int32_t size);
int32_t wyn_res_get_dlg_data(int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                             int32_t size);
int32_t wyn_res_get_menu_data(int32_t id, int32_t tag, int32_t ext_tag, void* buf, int32_t size);
/* Key table id into keys (up to max); -1 on a null keys with max above 0 or when absent. */
int32_t wyn_res_get_key_table(int32_t id, WYN_RES_ACCEL* keys, int32_t max);

WYN_END_C
