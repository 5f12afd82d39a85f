/* Pictures (recorded drawings and bitmaps the toolkit holds), pixmaps (off-screen windows every
   drawing call works on), and the calls that draw images, pictures and pixmaps into windows. */
#pragma once

#include <wyn/image.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* A picture handle. */
typedef struct wyn_pict* PICTURE;

/* The kind and type of a pixmap's window object. */
#define WK_PIXMAP 0x400u
#define WT_PIXMAP 8

/* Pixmap types: colour as the display shows it, or black and white (what is drawn is read back
   as black where it is darker than middle grey, else white). */
#define PMAP_DISPLAY 1
#define PMAP_MONO 2

/* Largest width and height of a picture or pixmap. */
#define WYN_PICT_MAX_SIDE 16383

/* A new bitmap picture holding the pixels of data, size bytes of a Windows bitmap file (as
   wynv_image_write_winbmp writes); null, reported (0x1520008), when they are no such bitmap. */
WYN_EXPORT PICTURE wynk_pict_create(const void* data, uint32_t size);
/* Frees the picture. A locked picture is not freed: the error dialog "Picture still locked."
   (string 30013) is shown and the picture stays valid. Null and foreign handles are ignored. */
WYN_EXPORT void wynk_pict_destroy(PICTURE pict);
/* TRUE for a picture of this process that has not been destroyed. */
WYN_EXPORT BOOLEAN wynk_pict_is_valid(PICTURE pict);
/* Locks the picture for direct access: its bytes (a Windows bitmap file for a bitmap picture, the
   recording's own form for a recorded one) and their number in *size (size may be null). Locks
   count; each needs its unlock, and changes made through the pointer take effect at the last
   unlock. Null for an invalid picture. */
WYN_EXPORT void* wynk_pict_lock(PICTURE pict, uint32_t* size);
/* Undoes one lock; FALSE when the picture is invalid or not locked. */
WYN_EXPORT BOOLEAN wynk_pict_unlock(PICTURE pict);
/* The picture's width and height in pixels (either pointer may be null); FALSE for an invalid
   picture. */
WYN_EXPORT BOOLEAN wynk_pict_get_size(PICTURE pict, int16_t* width, int16_t* height);

/* Starts recording win's drawing: from now on every drawing call on win goes into a picture the
   size of rct, first filled with the window's background, instead of onto the window; what is
   drawn at rct's top-left corner lands at the picture's. FALSE when win cannot draw, rct is empty
   or larger than WYN_PICT_MAX_SIDE, or a recording is already open on win. */
WYN_EXPORT BOOLEAN wynk_dwin_open_pict(WINDOW win, const RCT* rct);
/* Ends the recording on win and returns the picture of what was drawn in between (the caller
   destroys it); null when no recording was open. */
WYN_EXPORT PICTURE wynk_dwin_close_pict(WINDOW win);

/* Draw a picture, the src part of an image or pixmap (null: all of it) stretched into dst (null:
   at 0, 0 at its own size), combined with what is there by the drawing mode's bitmap operation
   (copy, AND, NOT XOR, NOT source OR, NOT source, NOT source AND, XOR, OR) and clipped as any
   drawing. FALSE when there is nothing to draw (an invalid window, picture, image or pixmap, an
   empty rectangle or one outside the source). */
WYN_EXPORT BOOLEAN wynk_dwin_draw_pict(WINDOW win, PICTURE pict, const RCT* dst);
WYN_EXPORT BOOLEAN wynk_dwin_draw_image(WINDOW win, IMAGE image, const RCT* dst, const RCT* src);
WYN_EXPORT BOOLEAN wynk_dwin_draw_pmap(WINDOW win, WINDOW pmap, const RCT* dst, const RCT* src);

/* A new pixmap of type (PMAP_*) and width x height pixels (1 to WYN_PICT_MAX_SIDE), filled white:
   a window object of kind WK_PIXMAP inside win, on which every drawing call works. It is
   destroyed with wynk_vobj_destroy, or with win. Null, reported, for a dead win (0x1220002),
   another type (0x1230002), a bad size (0x1260001) or no memory (0x1520009). */
WYN_EXPORT WINDOW wynk_pmap_create(WINDOW win, int32_t type, int width, int height);
/* TRUE for a live pixmap. */
WYN_EXPORT BOOLEAN wynk_pmap_is_valid(WINDOW pmap);
/* A new image of the pixmap's pixels: format 2, or format 3 for a black-and-white pixmap; null
   for an invalid pixmap. */
WYN_EXPORT IMAGE wynk_image_get_from_pmap(WINDOW pmap);

WYN_END_C
