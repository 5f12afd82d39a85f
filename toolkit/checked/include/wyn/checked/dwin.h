/* Checked drawing calls on the drawable objects (task, top-level, child, print and dialog
   windows; never text edits). Missing tools, rectangles and points are reported; an inverted
   rectangle to invalidate and an unknown standard pen or brush are only warned about. */
#pragma once

#include <wyn/dwin.h>

WYN_BEGIN_C

/* Fills ct with the default tools; null on a null ct. */
DRAW_CTOOLS* wyn_app_get_default_ctools(DRAW_CTOOLS* ct);
/* Copies win's tools into ct; null on a fault. */
DRAW_CTOOLS* wyn_dwin_get_draw_ctools(WINDOW win, DRAW_CTOOLS* ct);
/* Replaces win's tools. */
void wyn_dwin_set_draw_ctools(WINDOW win, const DRAW_CTOOLS* ct);
/* Sets win's pen. */
void wyn_dwin_set_cpen(WINDOW win, const DRAW_CPEN* pen);
/* Sets win's brush. */
void wyn_dwin_set_cbrush(WINDOW win, const DRAW_CBRUSH* brush);
/* Sets the drawing mode (M_COPY to M_OR; others are reported). */
void wyn_dwin_set_draw_mode(WINDOW win, uint32_t mode);
/* Sets the text colour. */
void wyn_dwin_set_fore_color(WINDOW win, COLOR color);
/* Sets the background colour of text and hatched brushes. */
void wyn_dwin_set_back_color(WINDOW win, COLOR color);
/* Sets standard pen id (1 to 4); another id is warned about and the black pen (1) used. */
void wyn_dwin_set_std_cpen(WINDOW win, int32_t id);
/* Sets standard brush id (0 or 1); another id is warned about and the white brush (1) used. */
void wyn_dwin_set_std_cbrush(WINDOW win, int32_t id);
/* Limits drawing to rct; null removes the limit. */
void wyn_dwin_set_clip(WINDOW win, const RCT* rct);
/* Copies the clip rectangle into rct; null on a fault. */
RCT* wyn_dwin_get_clip(WINDOW win, RCT* rct);
/* Outline with the pen, inside with the brush. */
void wyn_dwin_draw_rect(WINDOW win, const RCT* rct);
void wyn_dwin_draw_roundrect(WINDOW win, const RCT* rct, int oval_width, int oval_height);
void wyn_dwin_draw_oval(WINDOW win, const RCT* rct);
void wyn_dwin_draw_arc(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop);
void wyn_dwin_draw_pie(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop);
/* count points, at least one. */
void wyn_dwin_draw_polygon(WINDOW win, const PNT* points, int count);
void wyn_dwin_draw_polyline(WINDOW win, const PNT* points, int count);
/* Moves the current position. */
void wyn_dwin_draw_set_pos(WINDOW win, const PNT* pos);
/* The current position into pos; null on a fault. */
PNT* wyn_dwin_get_pos(WINDOW win, PNT* pos);
/* A line from the current position to pos. */
void wyn_dwin_draw_line(WINDOW win, const PNT* pos);
/* A line with arrowheads at its start and/or end. */
void wyn_dwin_draw_aline(WINDOW win, const PNT* pos, BOOLEAN arrow_start, BOOLEAN arrow_end);
/* Text with its baseline at y; len bytes, or all when -1. */
void wyn_dwin_draw_text(WINDOW win, int x, int y, const char* text, int len);
/* Width in pixels of the text; 0 on a fault. */
int wyn_dwin_get_text_width(WINDOW win, const char* text, int len);
/* Draws icon resource icon_id at (x, y); FALSE on a fault or when there is none. */
BOOLEAN wyn_dwin_draw_icon(WINDOW win, int x, int y, int32_t icon_id);
/* Fills the client area with color. */
void wyn_dwin_clear(WINDOW win, COLOR color);
/* Marks rct (null: the client area) for repainting; an inverted rct is warned about and used. */
void wyn_dwin_invalidate_rect(WINDOW win, const RCT* rct);
/* TRUE when drawing rct could show; FALSE on a fault. */
BOOLEAN wyn_dwin_is_update_needed(WINDOW win, const RCT* rct);
/* Delivers win's pending E_UPDATE now; refused during E_UPDATE. */
void wyn_dwin_update(WINDOW win);
/* Moves the pixels of rct by dh, dv; refused during E_UPDATE. */
void wyn_dwin_scroll_rect(WINDOW win, const RCT* rct, int dh, int dv);

WYN_END_C
