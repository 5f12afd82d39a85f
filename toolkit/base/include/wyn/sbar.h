/* Scroll bars: a window's own horizontal and vertical bars and scroll-bar controls, each with a
   range, a position and a proportion (the visible part, shown as the thumb's size). */
#pragma once

#include <wyn/win.h>

WYN_BEGIN_C

/* Which bar of an object. */
typedef enum { SCROLL_HORZ = 0, SCROLL_VERT = 1, SCROLL_CTL = 2 } SCROLL_TYPE;

/* Sets the range min..max of a bar; the position stays within it. */
WYN_EXPORT void wynk_sbar_set_range(WINDOW win, SCROLL_TYPE which, int32_t min, int32_t max);

/* Reads the range of a bar (0, 0 when it has none). */
WYN_EXPORT void wynk_sbar_get_range(WINDOW win, SCROLL_TYPE which, int32_t* min, int32_t* max);

/* Sets the position, kept within min..max - proportion. */
WYN_EXPORT void wynk_sbar_set_pos(WINDOW win, SCROLL_TYPE which, int32_t pos);

/* The position of a bar (0 when it has none). */
WYN_EXPORT int32_t wynk_sbar_get_pos(WINDOW win, SCROLL_TYPE which);

/* Sets the proportion (the visible part, at least 0). */
WYN_EXPORT void wynk_sbar_set_proportion(WINDOW win, SCROLL_TYPE which, int32_t proportion);

/* The proportion of a bar. */
WYN_EXPORT int32_t wynk_sbar_get_proportion(WINDOW win, SCROLL_TYPE which);

WYN_END_C
