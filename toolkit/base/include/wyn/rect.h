/* Rectangle helpers over RCT; a rectangle covers left <= h < right and top <= v < bottom. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* Coordinate units of a rectangle. */
#define WYN_UNITS_PIXELS 0
#define WYN_UNITS_CHARS 1
#define WYN_UNITS_DIALOG 2

/* Coordinate meaning "the native default" (position or size); never converted. */
#define WYN_COORD_DEFAULT (-32767)

/* Sets all four sides; returns r. Coordinates beyond 16 bits are clamped. */
WYN_EXPORT RCT* wynv_rect_set(RCT* r, int left, int top, int right, int bottom);
/* Sets r to the empty rectangle (all zero); returns r. */
WYN_EXPORT RCT* wynv_rect_set_empty(RCT* r);
/* TRUE when r is null or covers no point. */
WYN_EXPORT BOOLEAN wynv_rect_is_empty(const RCT* r);
/* right - left and bottom - top (negative for an inverted rectangle; 0 for null). */
WYN_EXPORT int wynv_rect_get_width(const RCT* r);
WYN_EXPORT int wynv_rect_get_height(const RCT* r);
/* Moves right (or bottom) so that the width (or height) is the value; returns r. */
WYN_EXPORT RCT* wynv_rect_set_width(RCT* r, int width);
WYN_EXPORT RCT* wynv_rect_set_height(RCT* r, int height);
/* The top-left corner into *pos; returns pos. */
WYN_EXPORT PNT* wynv_rect_get_pos(const RCT* r, PNT* pos);
/* Moves r so its top-left corner is pos, keeping its size; returns r. */
WYN_EXPORT RCT* wynv_rect_set_pos(RCT* r, const PNT* pos);
/* Moves r by dh horizontally and dv vertically; returns r. */
WYN_EXPORT RCT* wynv_rect_offset(RCT* r, int dh, int dv);
/* The common part of a and b into *result (the empty rectangle when there is none); TRUE when
   not empty. result may be a or b. */
WYN_EXPORT BOOLEAN wynv_rect_intersect(RCT* result, const RCT* a, const RCT* b);
/* TRUE when p lies within r. */
WYN_EXPORT BOOLEAN wynv_rect_has_point(const RCT* r, const PNT* p);
/* Orders left/right and top/bottom; returns r. */
WYN_EXPORT RCT* wynv_rect_repair(RCT* r);
/* Converts r from units (character or dialog units) to pixels in place; TRUE on success. */
WYN_EXPORT BOOLEAN wynk_rect_to_pixels(RCT* r, int units);

struct s_win_def;
/* The rectangles and units of a WIN_DEF array, kept while it is converted to pixels. */
typedef struct wyn_windef_rects* WINDEF_RECTS;
/* Converts every rectangle of the def array to pixels (units become pixels) and returns what
   wynv_rect_restore needs to undo it; null (def unchanged) on failure. */
WYN_EXPORT WINDEF_RECTS wynv_rect_repair_windef(struct s_win_def* def);
/* Puts back the rectangles and units saved by wynv_rect_repair_windef and frees saved. */
WYN_EXPORT void wynv_rect_restore(struct s_win_def* def, WINDEF_RECTS saved);

WYN_END_C
