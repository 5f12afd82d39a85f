/* List boxes, list buttons and list edits: their elements and selection. */
#pragma once

#include <wyn/slist.h>
#include <wyn/win.h>

WYN_BEGIN_C

/* Inserts text at pos (-1: at the end), or every string of text in order when it is an SLIST
   handle; FALSE (reported) when the control refuses. A list button that then holds exactly one
   element has it selected. */
WYN_EXPORT BOOLEAN wynk_list_add(WINDOW ctl, int32_t pos, const char* text);

/* Removes element index; FALSE (reported "Value too high") when there is none. */
WYN_EXPORT BOOLEAN wynk_list_rem(WINDOW ctl, int32_t index);

/* Removes every element. */
WYN_EXPORT void wynk_list_clear(WINDOW ctl);

/* The number of elements; -1 (reported) for an object that is not a list. */
WYN_EXPORT int32_t wynk_list_count_all(WINDOW ctl);

/* The number of selected elements. */
WYN_EXPORT int32_t wynk_list_count_sel(WINDOW ctl);

/* A new list of all (or the selected) element texts, each with its index as data word; free it
   with wynv_slist_destroy. Null on failure. */
WYN_EXPORT SLIST wynk_list_get_all(WINDOW ctl);
WYN_EXPORT SLIST wynk_list_get_sel(WINDOW ctl);

/* Copies element index into buf (size bytes, terminated); FALSE for an index outside the
   list. */
WYN_EXPORT BOOLEAN wynk_list_get_elt(WINDOW ctl, int32_t index, char* buf, int32_t size);

/* Copies the first selected element into buf; FALSE when nothing is selected. */
WYN_EXPORT BOOLEAN wynk_list_get_first_sel(WINDOW ctl, char* buf, int32_t size);

/* The index of the first selected element, or -1. */
WYN_EXPORT int32_t wynk_list_get_sel_index(WINDOW ctl);

/* TRUE when element index is selected (for list buttons and list edits: the current one). */
WYN_EXPORT BOOLEAN wynk_list_is_sel(WINDOW ctl, int32_t index);

/* Selects or deselects element index without any E_CONTROL; FALSE for a single-selection list
   clears the selection. */
WYN_EXPORT void wynk_list_set_sel(WINDOW ctl, int32_t index, BOOLEAN select);

/* Stops and restarts the redrawing of a list box; resuming repaints it whole. */
WYN_EXPORT void wynk_list_suspend(WINDOW ctl);
WYN_EXPORT void wynk_list_resume(WINDOW ctl);

WYN_END_C
