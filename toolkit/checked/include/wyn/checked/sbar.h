/* Checked scroll-bar calls: a window's own bar (SCROLL_HORZ, SCROLL_VERT) or a scroll-bar
   control (SCROLL_CTL); any other SCROLL_TYPE is reported. Getters give 0 on a fault. */
#pragma once

#include <wyn/sbar.h>

WYN_BEGIN_C

/* Sets the range min..max (max below min is reported). */
void wyn_sbar_set_range(WINDOW win, SCROLL_TYPE which, int32_t min, int32_t max);
/* Reads the range into *min and *max. */
void wyn_sbar_get_range(WINDOW win, SCROLL_TYPE which, int32_t* min, int32_t* max);
/* Sets the position. */
void wyn_sbar_set_pos(WINDOW win, SCROLL_TYPE which, int32_t pos);
/* The position. */
int32_t wyn_sbar_get_pos(WINDOW win, SCROLL_TYPE which);
/* Sets the proportion (below 0 is reported). */
void wyn_sbar_set_proportion(WINDOW win, SCROLL_TYPE which, int32_t proportion);
/* The proportion. */
int32_t wyn_sbar_get_proportion(WINDOW win, SCROLL_TYPE which);

WYN_END_C
