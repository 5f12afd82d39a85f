/* SLIST: a singly linked list of strings, each with a data word. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* A list handle; its first byte is 0xFF, which no stored string may start with. A handle may be
   passed where a list function expects a string, to move that list's elements (see below). */
typedef struct wyn_slist* SLIST;
/* One element of a list. */
typedef struct wyn_slist_elt* SLIST_ELT;

/* A new empty list; null (reported) when out of memory. */
WYN_EXPORT SLIST wynv_slist_create(void);
/* Frees the list and all its elements. */
WYN_EXPORT void wynv_slist_destroy(SLIST list);
/* Number of elements; 0 for null. */
WYN_EXPORT int wynv_slist_count(SLIST list);
/* Inserts str with data before the element at pos (0 the front; beyond the end or negative
   appends). When str is another list handle, all its elements move here and it is left empty.
   FALSE only on allocation failure or a bad argument. */
WYN_EXPORT BOOLEAN wynv_slist_add_at_pos(SLIST list, int pos, const char* str, long data);
/* Inserts str (or another list's elements) after elt, or at the end when elt is null; an elt not
   in the list is reported and str is appended. */
WYN_EXPORT BOOLEAN wynv_slist_add_at_elt(SLIST list, SLIST_ELT elt, const char* str, long data);
/* Inserts str before the first element not smaller (collation order when case_sensitive, else
   case-insensitive); with unique set an equal element makes it a successful no-op. */
WYN_EXPORT BOOLEAN wynv_slist_add_sorted(SLIST list, const char* str, long data, BOOLEAN unique,
                                         BOOLEAN case_sensitive);
/* Unlinks and frees elt; FALSE (reported) when elt is not in the list. */
WYN_EXPORT BOOLEAN wynv_slist_rem(SLIST list, SLIST_ELT elt);
/* The string of elt, and its data word into *data when data is not null; null for a null elt. */
WYN_EXPORT const char* wynv_slist_get(SLIST list, SLIST_ELT elt, long* data);
/* The string of the element at index (from 0) and its data word; null beyond the end. */
WYN_EXPORT const char* wynv_slist_get_elt(SLIST list, int index, long* data);
/* Address of elt's data word; null for null. */
WYN_EXPORT long* wynv_slist_get_data(SLIST_ELT elt);
/* The first element, null when the list is empty. */
WYN_EXPORT SLIST_ELT wynv_slist_get_first(SLIST list);
/* The element after elt, null at the end. */
WYN_EXPORT SLIST_ELT wynv_slist_get_next(SLIST list, SLIST_ELT elt);
/* TRUE when list is a live list handle of this process. */
WYN_EXPORT BOOLEAN wynv_slist_is_valid(SLIST list);
/* Writes the list, one line per element, to the debug log. */
WYN_EXPORT void wynv_slist_debug(SLIST list);

WYN_END_C
