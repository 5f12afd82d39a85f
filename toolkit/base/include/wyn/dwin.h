/* Drawing in windows: the drawing tools (pen, brush, drawing mode, colours, opaque text), the
   clip rectangle, the drawing operations, and update control. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* Standard colours: the top byte is the toolkit's colour index, ignored by native colours. */
#define COLOR_BLACK 0x07000000u
#define COLOR_WHITE 0x0BFFFFFFu
#define COLOR_RED 0x01FF0000u
#define COLOR_GREEN 0x0200FF00u
#define COLOR_BLUE 0x030000FFu
#define COLOR_CYAN 0x0400FFFFu
#define COLOR_MAGENTA 0x05FF00FFu
#define COLOR_YELLOW 0x06FFFF00u
#define COLOR_DKGRAY 0x08404040u
#define COLOR_GRAY 0x09808080u
#define COLOR_LTGRAY 0x0AC0C0C0u
/* The red, green and blue parts of a colour. */
#define WYN_COLOR_RGB(c) ((c)&0xFFFFFFu)

/* Pen and brush patterns. */
#define PAT_HOLLOW 1u
#define PAT_SOLID 2u
#define PAT_HORZ 3u
#define PAT_VERT 4u
#define PAT_BDIAG 5u
#define PAT_FDIAG 6u
#define PAT_CROSS 7u
#define PAT_DIAG_CROSS 8u
#define PAT_RUBBER 9u /* pens only: a dotted line for rubber-banding */

/* Pen styles. */
#define PS_SOLID_LINE 0u
#define PS_DOTTED_LINE 1u
#define PS_DASHED_LINE 2u

/* Drawing modes: how the pen, brush or text combines with the pixels under it. */
#define M_COPY 0u
#define M_AND 1u      /* pen AND destination */
#define M_NOT_XOR 2u  /* NOT (pen XOR destination) */
#define M_NOT_OR 3u   /* NOT pen OR destination */
#define M_NOT_COPY 4u /* NOT pen */
#define M_NOT_AND 5u  /* NOT pen AND destination */
#define M_XOR 6u      /* pen XOR destination */
#define M_OR 7u       /* pen OR destination */

/* Standard pens and brushes of wynv_dwin_set_std_cpen and wynv_dwin_set_std_cbrush. */
#define STD_PEN_BLACK 1
#define STD_PEN_HOLLOW 2
#define STD_PEN_RUBBER 3
#define STD_PEN_WHITE 4
#define STD_BRUSH_BLACK 0
#define STD_BRUSH_WHITE 1

typedef struct s_draw_cpen {
    int16_t width;  /* pixels; 0 draws 1 pixel wide */
    uint32_t pat;   /* PAT_* */
    uint32_t style; /* PS_* */
    COLOR color;
} DRAW_CPEN;

typedef struct s_draw_cbrush {
    uint32_t pat; /* PAT_HOLLOW to PAT_DIAG_CROSS */
    COLOR color;
} DRAW_CBRUSH;

typedef struct s_draw_ctools {
    DRAW_CPEN pen;
    DRAW_CBRUSH brush;
    uint32_t mode;       /* M_* */
    COLOR fore_color;    /* text colour */
    COLOR back_color;    /* background of text and of hatched brushes */
    BOOLEAN opaque_text; /* text cells are filled with back_color */
} DRAW_CTOOLS;

/* Fills ct with the default tools (black solid pen of width 1, white solid brush, copy mode, black
   text on white, transparent text); returns ct. */
WYN_EXPORT DRAW_CTOOLS* wynv_app_get_default_ctools(DRAW_CTOOLS* ct);

/* Copies win's tools into ct and returns ct; null when win cannot draw. */
WYN_EXPORT DRAW_CTOOLS* wynk_dwin_get_draw_ctools(WINDOW win, DRAW_CTOOLS* ct);
/* Replaces win's tools, or parts of them. */
WYN_EXPORT void wynk_dwin_set_draw_ctools(WINDOW win, const DRAW_CTOOLS* ct);
WYN_EXPORT void wynk_dwin_set_cpen(WINDOW win, const DRAW_CPEN* pen);
WYN_EXPORT void wynk_dwin_set_cbrush(WINDOW win, const DRAW_CBRUSH* brush);
WYN_EXPORT void wynk_dwin_set_draw_mode(WINDOW win, uint32_t mode);
WYN_EXPORT void wynk_dwin_set_fore_color(WINDOW win, COLOR color);
WYN_EXPORT void wynk_dwin_set_back_color(WINDOW win, COLOR color);
/* Sets standard pen id (STD_PEN_*; others give the black pen). */
WYN_EXPORT void wynv_dwin_set_std_cpen(WINDOW win, int32_t id);
/* Sets standard brush id (STD_BRUSH_*; others give the white brush). */
WYN_EXPORT void wynv_dwin_set_std_cbrush(WINDOW win, int32_t id);
/* Limits drawing to rct; null removes the limit. */
WYN_EXPORT void wynk_dwin_set_clip(WINDOW win, const RCT* rct);
/* Copies the clip rectangle (0, 0, 25000, 25000 when none was set) into rct; returns rct. */
WYN_EXPORT RCT* wynk_dwin_get_clip(WINDOW win, RCT* rct);

/* Shapes in client coordinates; rectangles cover left <= h < right, top <= v < bottom. Outlines
   use the pen, insides the brush, both combined by the drawing mode. */
WYN_EXPORT void wynk_dwin_draw_rect(WINDOW win, const RCT* rct);
WYN_EXPORT void wynk_dwin_draw_roundrect(WINDOW win, const RCT* rct, int oval_width,
                                         int oval_height);
WYN_EXPORT void wynk_dwin_draw_oval(WINDOW win, const RCT* rct);
/* Counter-clockwise from the radial through start to the radial through stop; equal radials
   give the whole ellipse. */
WYN_EXPORT void wynk_dwin_draw_arc(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop);
WYN_EXPORT void wynk_dwin_draw_pie(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop);
WYN_EXPORT void wynk_dwin_draw_polygon(WINDOW win, const PNT* points, int count);
WYN_EXPORT void wynk_dwin_draw_polyline(WINDOW win, const PNT* points, int count);
/* Moves the current position. */
WYN_EXPORT void wynk_dwin_draw_set_pos(WINDOW win, const PNT* pos);
/* The current position into pos; returns pos. */
WYN_EXPORT PNT* wynk_dwin_get_pos(WINDOW win, PNT* pos);
/* A line from the current position up to (not including) pos, which becomes current. */
WYN_EXPORT void wynk_dwin_draw_line(WINDOW win, const PNT* pos);
/* As wynk_dwin_draw_line, with a filled arrowhead whose tip is at the start and/or the end. */
WYN_EXPORT void wynk_dwin_draw_aline(WINDOW win, const PNT* pos, BOOLEAN arrow_start,
                                     BOOLEAN arrow_end);
/* Text with its baseline at y, in the window's font; len bytes, or the whole text when -1. */
WYN_EXPORT void wynk_dwin_draw_text(WINDOW win, int x, int y, const char* text, int len);
/* Width in pixels of the text in the window's font; len as for wynk_dwin_draw_text. */
WYN_EXPORT int wynk_dwin_get_text_width(WINDOW win, const char* text, int len);
/* The program's icon resource id with its top-left corner at (x, y); FALSE when there is none. */
WYN_EXPORT BOOLEAN wynk_dwin_draw_icon(WINDOW win, int x, int y, int32_t icon_id);
/* Fills the client area with color, leaving the tools as they were. */
WYN_EXPORT void wynv_dwin_clear(WINDOW win, COLOR color);

/* Marks rct (null: the client area) for repainting: an E_UPDATE follows. */
WYN_EXPORT void wynk_dwin_invalidate_rect(WINDOW win, const RCT* rct);
/* TRUE when drawing rct could show: during an E_UPDATE, when it meets the area being repainted;
   at other times always. */
WYN_EXPORT BOOLEAN wynk_dwin_is_update_needed(WINDOW win, const RCT* rct);
/* Delivers win's pending E_UPDATE now. */
WYN_EXPORT void wynk_dwin_update(WINDOW win);
/* Moves the pixels of rct (cut to the client area) by dh, dv and invalidates what was
   uncovered. */
WYN_EXPORT void wynk_dwin_scroll_rect(WINDOW win, const RCT* rct, int dh, int dv);

WYN_END_C
