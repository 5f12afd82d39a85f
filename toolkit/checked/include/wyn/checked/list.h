/* Checked calls on list boxes, list buttons and list edits; the changing ones are refused while
   an E_UPDATE is processed. Faults give FALSE, null, or -1 for counts. */
#pragma once

#include <wyn/list.h>

WYN_BEGIN_C

/* Inserts text (or an SLIST's strings) at pos (-1: the end). */
BOOLEAN wyn_list_add(WINDOW ctl, int32_t pos, const char* text);
/* Removes element index; FALSE on a fault. */
BOOLEAN wyn_list_rem(WINDOW ctl, int32_t index);
/* Removes every element. */
void wyn_list_clear(WINDOW ctl);
/* The number of elements; -1 on a fault. */
int32_t wyn_list_count_all(WINDOW ctl);
/* The number of selected elements; -1 on a fault. */
int32_t wyn_list_count_sel(WINDOW ctl);
/* A new list of all element texts; null on a fault. */
SLIST wyn_list_get_all(WINDOW ctl);
/* A new list of the selected element texts; null on a fault. */
SLIST wyn_list_get_sel(WINDOW ctl);
/* Copies element index into buf (size bytes); FALSE on a fault. */
BOOLEAN wyn_list_get_elt(WINDOW ctl, int32_t index, char* buf, int32_t size);
/* Copies the first selected element into buf; FALSE on a fault or no selection. */
BOOLEAN wyn_list_get_first_sel(WINDOW ctl, char* buf, int32_t size);
/* The index of the first selected element; -1 on a fault or when nothing is selected. */
int32_t wyn_list_get_sel_index(WINDOW ctl);
/* TRUE when element index is selected; FALSE on a fault. */
BOOLEAN wyn_list_is_sel(WINDOW ctl, int32_t index);
/* Selects or deselects element index. */
void wyn_list_set_sel(WINDOW ctl, int32_t index, BOOLEAN select);
/* Stops the list's redrawing. */
void wyn_list_suspend(WINDOW ctl);
/* Restarts the list's redrawing and repaints it. */
void wyn_list_resume(WINDOW ctl);

WYN_END_C
