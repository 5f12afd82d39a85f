/* Text edit objects: multi-paragraph, word-wrapped, editable text in toolkit windows, with a
   selection, a caret, the clipboard, scrolling and the standard Edit menu items. */
#pragma once

#include <wyn/events.h>
#include <wyn/font.h>
#include <wyn/types.h>
#include <wyn/windef.h>

WYN_BEGIN_C

/* A text edit as the application knows it: the text edit's own child window when hosted
   (ATTR_TX_RAW 0), the library's slot number (1 and up) in raw mode. Null means none. */
typedef void* TX;

/* Attribute bits. 0x0020 and 0x0040 have no effect. */
#define TX_READONLY 0x0001u
#define TX_WRAP 0x0002u
#define TX_AUTO_VSCROLL 0x0004u /* scrolls vertically by itself to keep the caret in view */
#define TX_AUTO_HSCROLL 0x0008u /* scrolls horizontally by itself to keep the caret in view */
#define TX_BORDER 0x0010u       /* text area inset by 4 pixels, a border drawn around it */
#define TX_ONE_PAR 0x0080u      /* Enter does nothing, one paragraph only, pasted breaks dropped */
#define TX_NO_COPY 0x0100u
#define TX_NO_CUT 0x0200u
#define TX_NO_PASTE 0x0400u
#define TX_NO_MENU 0x0800u    /* the Edit menu items are left alone */
#define TX_CLEAR_ON 0x1000u   /* Clear stays enabled with an empty selection */
#define TX_OVERTYPE 0x2000u   /* a typed character replaces the one after the caret */
#define TX_DISABLED 0x4000u
#define TX_INVISIBLE 0x8000u

/* Paragraph index that means "after the last" for wynv_tx_add_par. */
#define TX_PAR_END 65535u

/* Largest number of paragraphs a text edit holds. */
#define TX_MAX_PARS 65534u

/* wynv_tx_get_line modes. */
#define TX_LINE_OPEN 0
#define TX_LINE_READ 1
#define TX_LINE_CLOSE 2

/* Colour-list components (pairs of component and colour, ended by component 0). */
#define TX_COLOR_TEXT 2u
#define TX_COLOR_BACK 4u
#define TX_COLOR_BORDER 32u

/* Control type in the change notification (E_CONTROL) of a hosted text edit. */
#define TX_CONTROL_TYPE 23

/* Error ids the library reports. */
#define TX_ERR_INVALID 0x1740001     /* bad handle, damaged record, inconsistency (fatal) */
#define TX_ERR_BAD_SLOT 0x1740002    /* destroying a slot outside the table (fatal) */
#define TX_ERR_RELEASE 0x1740003     /* a record cannot be released (fatal) */
#define TX_ERR_REENTERED 0x1740004   /* a delete key while another is handled (fatal) */
#define TX_ERR_NULL_WINDOW 0x1220002 /* a null window where one is required (fatal) */
#define TX_ERR_NO_MEMORY 0x1510002   /* out of memory: the text stays as it was */
#define TX_ERR_RANGE 0x1260002       /* paragraph or line past the last; paragraph too long */
#define TX_ERR_BLOCK 0x640000        /* a paragraph block or line table would reach 32767 bytes */

/* Called with the text edit, the number of lines above the first visible one, the total number
   of lines and the horizontal origin in pixels; each is -1 when it has not changed. */
typedef void (*WYN_TX_SCROLL_FN)(TX tx, int32_t vert_pos, int32_t total_lines, int32_t hor_origin);

/* --- creating and destroying --- */

/* A new, empty text edit in win: rct is its outer rectangle in win's pixels, attr its TX_*
   bits, font copied (null: win's font), margin the wrap width (0: the view width less 2;
   negative stored as 0), limit the most characters a paragraph takes (0: none). It becomes the
   active text edit of win. Null (reported) on failure. */
WYN_EXPORT TX wynv_tx_create(WINDOW win, const RCT* rct, uint16_t attr, FONT font, int16_t margin,
                             uint16_t limit);

/* A new text edit from a WT_TEXT_EDIT definition entry def (a WIN_DEF) in win: its rectangle in
   its units, tx_attrs, font, margin (low half of flags), limit (high half), control id and, when
   not empty, its text as the first paragraph. The base library's creation entry. */
WYN_EXPORT void* wynv_tx_create_def(const void* def, WINDOW win, intptr_t app_data);

/* Destroys tx: releases its text, font and slot and clears its area. */
WYN_EXPORT void wynv_tx_destroy(TX tx);

/* --- text --- */

/* Inserts a paragraph holding text before index par (clamped to the paragraph count; TX_PAR_END
   appends). TRUE on success; FALSE with TX_ONE_PAR once a paragraph exists, past 65534
   paragraphs, for a text over 65534 bytes (TX_ERR_RANGE) or without memory. */
WYN_EXPORT BOOLEAN wynv_tx_add_par(TX tx, uint16_t par, const char* text);

/* Inserts text at the end of paragraph par (clamped to the last), cut to the character limit.
   FALSE when tx has no paragraph or nothing fits. */
WYN_EXPORT BOOLEAN wynv_tx_append(TX tx, uint16_t par, const char* text);

/* Replaces the text of paragraph par; FALSE for a paragraph past the last. */
WYN_EXPORT BOOLEAN wynv_tx_set_par(TX tx, uint16_t par, const char* text);

/* Removes paragraph par; a paragraph past the last reports TX_ERR_RANGE and gives FALSE. */
WYN_EXPORT BOOLEAN wynv_tx_rem_par(TX tx, uint16_t par);

/* Removes every paragraph; TRUE. */
WYN_EXPORT BOOLEAN wynv_tx_clear(TX tx);

/* The paragraph count; the lines of paragraph par; the lines of all paragraphs; the characters
   of line `line` of paragraph par. A paragraph or line past the last reports TX_ERR_RANGE and
   gives 0. */
WYN_EXPORT uint16_t wynv_tx_get_num_pars(TX tx);
WYN_EXPORT uint16_t wynv_tx_get_num_par_lines(TX tx, uint16_t par);
WYN_EXPORT int32_t wynv_tx_get_num_lines(TX tx);
WYN_EXPORT uint16_t wynv_tx_get_num_chars(TX tx, uint16_t par, uint16_t line);

/* Reads lines: TX_LINE_OPEN opens paragraph par, TX_LINE_READ gives the start of line `line` of
   the open paragraph and its length in bytes in *len (not terminated at the line's end; valid
   until the close or the next change), TX_LINE_CLOSE closes it. Open and close give null; a
   read without an open paragraph, or a paragraph or line past the last (TX_ERR_RANGE), gives
   null and *len 0. */
WYN_EXPORT const char* wynv_tx_get_line(TX tx, uint16_t par, int16_t mode, uint16_t line,
                                        int32_t* len);

/* --- selection --- */

/* The selection as paragraph, line and character of its start and of its end, start first. Any
   output may be null. */
WYN_EXPORT void wynv_tx_get_sel(TX tx, uint16_t* start_par, uint16_t* start_line,
                                uint16_t* start_char, uint16_t* end_par, uint16_t* end_line,
                                uint16_t* end_char);

/* Sets the anchor and the caret end; numbers past the last paragraph, line or character are
   taken as the end of the last one. Redraws the highlight and scrolls the end into view as
   TX_AUTO_VSCROLL and TX_AUTO_HSCROLL allow. Nothing happens without paragraphs. */
WYN_EXPORT void wynv_tx_set_sel(TX tx, uint16_t anchor_par, uint16_t anchor_line,
                                uint16_t anchor_char, uint16_t end_par, uint16_t end_line,
                                uint16_t end_char);

/* --- settings --- */

/* Attributes (TX_*); setting lays out again or redraws as the change needs. */
WYN_EXPORT uint16_t wynv_tx_get_attr(TX tx);
WYN_EXPORT void wynv_tx_set_attr(TX tx, uint16_t attr);

/* get: a new copy of the font that the caller destroys; set: copies font, measures it and lays
   the text out again. */
WYN_EXPORT FONT wynv_tx_get_font(TX tx);
WYN_EXPORT void wynv_tx_set_font(TX tx, FONT font);

/* The wrap margin in pixels (negative is stored as 0); set lays out again. */
WYN_EXPORT uint16_t wynv_tx_get_margin(TX tx);
WYN_EXPORT void wynv_tx_set_margin(TX tx, int16_t margin);

/* The character limit of a paragraph (0: none); set does not shorten existing text. */
WYN_EXPORT uint16_t wynv_tx_get_limit(TX tx);
WYN_EXPORT void wynv_tx_set_limit(TX tx, uint16_t limit);

/* The tab width in average characters (at least 1); set lays out again. */
WYN_EXPORT int16_t wynv_tx_get_tabstop(TX tx);
WYN_EXPORT void wynv_tx_set_tabstop(TX tx, int16_t tabstop);

/* The control id given at creation. */
WYN_EXPORT int32_t wynv_tx_get_cid(TX tx);

/* The application's word. */
WYN_EXPORT intptr_t wynv_tx_get_data(TX tx);
WYN_EXPORT void wynv_tx_set_data(TX tx, intptr_t data);

/* The outer rectangle; the text area (hosted: in the parent window's coordinates); the window
   the text is drawn in. rct receives the rectangle and is returned. */
WYN_EXPORT RCT* wynv_tx_get_rect(TX tx, RCT* rct);
WYN_EXPORT RCT* wynv_tx_get_view(TX tx, RCT* rct);
WYN_EXPORT WINDOW wynv_tx_get_win(TX tx);

/* Gives tx a new outer rectangle and lays it out again. */
WYN_EXPORT void wynv_tx_move(TX tx, const RCT* rct);

/* --- scrolling and drawing --- */

/* The first visible line as paragraph and line, its number counted from the top of the text,
   and the horizontal origin in pixels. Any output may be null. */
WYN_EXPORT void wynv_tx_get_origin(TX tx, uint16_t* par, uint16_t* line, int32_t* first_line,
                                   int32_t* hor_origin);

/* Scrolls by lines (negative: towards the top) or pixels (negative: towards the left edge),
   stopping at the ends. */
WYN_EXPORT void wynv_tx_scroll_vert(TX tx, int32_t lines);
WYN_EXPORT void wynv_tx_scroll_hor(TX tx, int32_t pixels);

/* Installs the scroll call-back; null removes it. */
WYN_EXPORT void wynv_tx_set_scroll_callback(TX tx, WYN_TX_SCROLL_FN fn);

/* TRUE while the library moves window contents, so that an update handler can tell. */
WYN_EXPORT BOOLEAN wynv_tx_is_scroll_update(void);

/* suspend stops drawing and the scroll call-back and hides the caret; resume redraws all, reports
   the scroll state and shows the caret. */
WYN_EXPORT void wynv_tx_suspend(TX tx);
WYN_EXPORT void wynv_tx_resume(TX tx);

/* Lays out every paragraph again with the selection and the origin at the top, and redraws. */
WYN_EXPORT void wynv_tx_reset(TX tx);

/* --- colours --- */

/* Fixes the colours: colour lists no longer change them. */
WYN_EXPORT void wynv_tx_set_colors(TX tx, COLOR text, COLOR border, COLOR back);

/* Applies the colour list `colors` (component, colour pairs ended by 0) to every text edit drawn
   in or notifying win without fixed colours, redrawing those that changed; with reset the listed
   components take their reset values. Hosted, the list also becomes win's control colours. */
WYN_EXPORT void wynv_tx_reset_colors(WINDOW win, COLOR* colors, BOOLEAN reset);

/* --- finding and focus --- */

/* Makes tx the keyboard focus and the active text edit of its window. */
WYN_EXPORT void wynv_tx_set_active(TX tx);

/* The active text edit of the focus window; null when the focus is not on a text edit. */
WYN_EXPORT TX wynv_tx_get_active(void);

/* The text edit with control id cid in win (cid -1: the first one; a hosted text edit's own
   window gives itself), or null. The base library's look-up entry. */
WYN_EXPORT void* wynv_tx_get_tx(WINDOW win, int32_t cid);

/* The next live text edit after tx in slot order (tx null: the first) drawn in win (null: any),
   or null. */
WYN_EXPORT TX wynv_tx_get_next_tx(TX tx, WINDOW win);

/* TRUE for a live text edit; never reports. */
WYN_EXPORT BOOLEAN wynv_tx_is_valid(TX tx);

/* Raw mode: offers ev, an event of win, to win's text edits; TRUE when one consumed it. Hosted
   mode: FALSE. */
WYN_EXPORT BOOLEAN wynv_tx_process_event(WINDOW win, EVENT* ev);

WYN_END_C
