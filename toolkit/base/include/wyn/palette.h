/* Colour palettes: the colours a window's drawing is mapped onto, gathered with a tolerance so
   that near-identical colours are held once. */
#pragma once

#include <wyn/image.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* A palette handle. */
typedef struct wyn_palette* PALETTE;

/* Palette types: an application's own palette, and the system default palette. */
#define WYN_PALET_NORMAL 0
#define WYN_PALET_SYSTEM 1

/* Largest number of colours a palette can hold. */
#define WYN_PALET_MAX_SIZE 256

/* A new empty palette of type WYN_PALET_NORMAL holding up to size (1 to 256) colours, tolerance
   0; null, reported, for another type or size, or without memory. */
WYN_EXPORT PALETTE wynv_palet_create(int32_t type, int size);
/* Frees the palette; null and the default palette are ignored, a foreign handle reported. */
WYN_EXPORT void wynv_palet_destroy(PALETTE palette);
/* TRUE for a palette of this process that has not been destroyed (the default included). */
WYN_EXPORT BOOLEAN wynv_palet_is_valid(PALETTE palette);
/* The system default palette: the twenty colours every display keeps; owned by the library. */
WYN_EXPORT PALETTE wynv_palet_default(void);
/* Type, capacity and colours held; -1 for an invalid palette. */
WYN_EXPORT int32_t wynv_palet_get_type(PALETTE palette);
WYN_EXPORT int wynv_palet_get_size(PALETTE palette);
WYN_EXPORT int wynv_palet_get_ncolors(PALETTE palette);
/* Copies up to max colours held into colors; returns how many were copied (-1 on a fault). */
WYN_EXPORT int wynv_palet_get_colors(PALETTE palette, COLOR* colors, int max);
/* Adds each of count colours unless a colour held lies within the tolerance of it, until the
   palette is full; returns the number added (-1 on a fault). The default palette is fixed. */
WYN_EXPORT int wynv_palet_add_colors(PALETTE palette, const COLOR* colors, int count);
/* Adds the colours of an image's table (indexed formats, the colours in use) or of its pixels
   (format 2) as wynv_palet_add_colors does; returns the number added (-1 on a fault). */
WYN_EXPORT int wynv_palet_add_colors_from_image(PALETTE palette, IMAGE image);
/* The tolerance: the largest distance (square root of the summed squares of the red, green and
   blue differences) at which a colour counts as already held; -1 for an invalid palette. */
WYN_EXPORT int wynv_palet_get_tolerance(PALETTE palette);
/* Sets the tolerance (0 or more); FALSE, reported, for a negative value or invalid palette. */
WYN_EXPORT BOOLEAN wynv_palet_set_tolerance(PALETTE palette, int tolerance);

/* Realises the palette for the window. The display is true colour, so every colour is shown as
   it is; TRUE for a valid palette and window. */
WYN_EXPORT BOOLEAN wynv_palet_map_win(PALETTE palette, WINDOW win);
/* The palette a window draws with: its own, else the nearest one of its parents', else the
   default palette; null (reported) for a dead window. A destroyed palette no longer counts. */
WYN_EXPORT PALETTE wynv_vobj_get_palet(WINDOW win);
/* Gives the window its own palette; null gives it back the palette of its parents. A dead window
   or palette is reported and nothing changes. */
WYN_EXPORT void wynv_vobj_set_palet(WINDOW win, PALETTE palette);

WYN_END_C
