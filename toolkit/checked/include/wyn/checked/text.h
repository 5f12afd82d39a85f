/* Checked text-edit calls, for the text views the program's windows hold: a null or dead text
   edit is reported and the call does nothing (getters give 0 or null). */
#pragma once

#include <wyn/text.h>

WYN_BEGIN_C

/* The text edit with control id cid in win (a live window), or null; none found is no fault. */
TX wyn_tx_get_tx(WINDOW win, int32_t cid);
/* Gives tx a copy of font (a live font) and lays the text out again. */
void wyn_tx_set_font(TX tx, FONT font);
/* Removes every paragraph. */
BOOLEAN wyn_tx_clear(TX tx);
/* Appends a paragraph holding text (not null); FALSE when it could not be added. */
BOOLEAN wyn_tx_add_par(TX tx, const char* text);
/* The attributes (TX_*). */
uint16_t wyn_tx_get_attr(TX tx);
/* The paragraph count. */
uint16_t wyn_tx_get_num_pars(TX tx);
/* The first visible line counted from the top of the text. */
int32_t wyn_tx_get_first_line(TX tx);
/* Scrolls by lines, negative towards the top, stopping at the ends. */
void wyn_tx_scroll_vert(TX tx, int32_t lines);
/* Installs the scroll call-back (null removes it). */
void wyn_tx_set_scroll_callback(TX tx, WYN_TX_SCROLL_FN fn);
/* Makes tx the keyboard focus and the active text edit of its window. */
void wyn_tx_set_active(TX tx);
/* Stops drawing; resume draws all again and reports the scroll state. */
void wyn_tx_suspend(TX tx);
void wyn_tx_resume(TX tx);
/* Reads line `line` of paragraph par into buf (size bytes, terminated, cut to fit); the number
   of bytes the line holds, or -1 for a paragraph or line past the last. */
int32_t wyn_tx_copy_line(TX tx, uint16_t par, uint16_t line, char* buf, int32_t size);

WYN_END_C
