/* Checked calls of colour palettes and of a window's palette. Each forwards to the library
   function of the same stem after its arguments have passed; a null palette is reported as
   0x1210004, a destroyed or foreign one as 0x1220004, and the call gives the failure value named
   below. */
#pragma once

#include <wyn/palette.h>

WYN_BEGIN_C

/* A new palette, as wynv_palet_create; null when the library refuses it. */
PALETTE wyn_palet_create(int32_t type, int size);
/* Frees the palette. */
void wyn_palet_destroy(PALETTE palette);
/* TRUE for a live palette; never reports. */
BOOLEAN wyn_palet_is_valid(PALETTE palette);
/* The system default palette. */
PALETTE wyn_palet_default(void);
/* Type, capacity, colours held and tolerance; -1 on a fault. */
int32_t wyn_palet_get_type(PALETTE palette);
int wyn_palet_get_size(PALETTE palette);
int wyn_palet_get_ncolors(PALETTE palette);
int wyn_palet_get_tolerance(PALETTE palette);
/* Sets the tolerance; a negative one is "Value too low"; FALSE on a fault. */
BOOLEAN wyn_palet_set_tolerance(PALETTE palette, int tolerance);
/* Copies up to max colours; a null array is "NULL handle", a negative max "Value too low"; -1
   on a fault. */
int wyn_palet_get_colors(PALETTE palette, COLOR* colors, int max);
/* Adds colours within the tolerance rule; null colours or a negative count as above; -1 on a
   fault. */
int wyn_palet_add_colors(PALETTE palette, const COLOR* colors, int count);
/* Adds an image's colours; a null image is 0x1210007, an invalid one 0x1220007; -1 on a fault. */
int wyn_palet_add_colors_from_image(PALETTE palette, IMAGE image);
/* Realises the palette for a live window object; FALSE on a fault. */
BOOLEAN wyn_palet_map_win(PALETTE palette, WINDOW win);
/* The palette of a live window object; null on a fault. */
PALETTE wyn_vobj_get_palet(WINDOW win);
/* Gives a live window object a live palette of its own; nothing on a fault or during E_UPDATE. */
void wyn_vobj_set_palet(WINDOW win, PALETTE palette);

WYN_END_C
