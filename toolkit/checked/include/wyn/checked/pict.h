/* Checked calls of pictures, pixmaps and the drawing of images, pictures and pixmaps. Each
   forwards to the library function of the same stem after its arguments have passed: a null
   picture is reported as 0x1210005 and a destroyed or foreign one as 0x1220005, a null pixmap as
   0x1210006 and a window that is no live pixmap as 0x1220006, a null image as 0x1210007 and a
   dead one as 0x1220007; windows are checked as for any drawing. The call then gives the failure
   value named below. */
#pragma once

#include <wyn/pict.h>

WYN_BEGIN_C

/* A new bitmap picture from size bytes of a bitmap file; null data is "NULL handle", a size of 0
   "Value too low"; null on a fault. */
PICTURE wyn_pict_create(const void* data, uint32_t size);
/* Frees the picture (a locked one stays, with its dialog). */
void wyn_pict_destroy(PICTURE pict);
/* TRUE for a live picture; never reports. */
BOOLEAN wyn_pict_is_valid(PICTURE pict);
/* Locks the picture for its bytes; null on a fault. */
void* wyn_pict_lock(PICTURE pict, uint32_t* size);
/* Undoes one lock; FALSE on a fault or when the picture is not locked. */
BOOLEAN wyn_pict_unlock(PICTURE pict);
/* The picture's size; FALSE on a fault. */
BOOLEAN wyn_pict_get_size(PICTURE pict, int16_t* width, int16_t* height);

/* Starts recording on a drawable window; a null rectangle is "NULL handle", an inverted one is
   warned of (0x1240003) and the call goes on; FALSE on a fault. */
BOOLEAN wyn_dwin_open_pict(WINDOW win, const RCT* rct);
/* Ends the recording on a drawable window; null on a fault. */
PICTURE wyn_dwin_close_pict(WINDOW win);
/* Draw into a drawable window; the rectangles may be null; FALSE on a fault. */
BOOLEAN wyn_dwin_draw_pict(WINDOW win, PICTURE pict, const RCT* dst);
BOOLEAN wyn_dwin_draw_image(WINDOW win, IMAGE image, const RCT* dst, const RCT* src);
BOOLEAN wyn_dwin_draw_pmap(WINDOW win, WINDOW pmap, const RCT* dst, const RCT* src);

/* A new pixmap inside a drawable window; a type other than PMAP_DISPLAY and PMAP_MONO is
   0x1230002 "Incorrect Pixmap type", a width or height below 1 "Value too low"; null on a
   fault. */
WINDOW wyn_pmap_create(WINDOW win, int32_t type, int width, int height);
/* TRUE for a live pixmap; never reports. */
BOOLEAN wyn_pmap_is_valid(WINDOW pmap);
/* A new image of a pixmap's pixels; null on a fault. */
IMAGE wyn_image_get_from_pmap(WINDOW pmap);

WYN_END_C
