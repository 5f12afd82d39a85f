/* Raster images held in memory with a colour table: creation, pixels, rows, fills and scaled
   copies, and reading and writing image files. */
#pragma once

#include <stdio.h>
#include <wyn/iostr.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* An image handle. */
typedef struct wyn_image* IMAGE;

/* Image formats. Rows are padded to a multiple of 4 bytes in every format. */
#define WYN_IMAGE_INDEXED 1 /* one byte per pixel, an index into the colour table */
#define WYN_IMAGE_DIRECT 2  /* four bytes per pixel: blue, green, red, 0 */
#define WYN_IMAGE_MONO 3    /* one bit per pixel, most significant bit first */

/* Size of every colour table, and the value of an entry never set. */
#define WYN_IMAGE_CLUT_SIZE 256
#define WYN_IMAGE_CLUT_UNSET 0x10000000u

/* Largest width and height of an image. */
#define WYN_IMAGE_MAX_SIDE 32767

/* A new image of format, width and height (1 to WYN_IMAGE_MAX_SIDE; format 2 at most 16383
   wide so that its row fits the 16-bit stride), pixels zero. Formats 1 and 3 start with the
   table black, white, the rest unset, and 2 colours in use; format 2 has no table. Null, reported,
   for another format (0x1640003), a bad size or no memory. */
WYN_EXPORT IMAGE wynv_image_create(int32_t format, int width, int height);
/* Frees the image; null is ignored, a foreign handle reported. */
WYN_EXPORT void wynv_image_destroy(IMAGE image);
/* TRUE for an image of this process that has not been destroyed. */
WYN_EXPORT BOOLEAN wynv_image_is_valid(IMAGE image);
/* TRUE when (x, y) lies within a valid image. */
WYN_EXPORT BOOLEAN wynv_image_is_valid_pos(IMAGE image, int x, int y);
/* The format, or 0 for an invalid image. */
WYN_EXPORT int32_t wynv_image_get_format(IMAGE image);
/* Width and height (either pointer may be null); FALSE for an invalid image. */
WYN_EXPORT BOOLEAN wynv_image_get_dimensions(IMAGE image, int16_t* width, int16_t* height);
/* The row stride in bytes, or 0 for an invalid image. */
WYN_EXPORT int wynv_image_get_stride(IMAGE image);
/* Horizontal and vertical resolution in dots per inch, 0 when unknown. */
WYN_EXPORT BOOLEAN wynv_image_get_resolution(IMAGE image, int32_t* horz, int32_t* vert);
WYN_EXPORT BOOLEAN wynv_image_set_resolution(IMAGE image, int32_t horz, int32_t vert);
/* Colours in use: 0 to 256 in format 1, 0 to 2 in format 3, always 0 in format 2. */
WYN_EXPORT int wynv_image_get_ncolors(IMAGE image);
WYN_EXPORT BOOLEAN wynv_image_set_ncolors(IMAGE image, int ncolors);
/* Colour table entry 0 to 255 of an indexed image; WYN_IMAGE_CLUT_UNSET on a fault. */
WYN_EXPORT COLOR wynv_image_get_clut(IMAGE image, int index);
WYN_EXPORT BOOLEAN wynv_image_set_clut(IMAGE image, int index, COLOR color);
/* The colour 0xRRGGBB at (x, y); in indexed formats the table entry of the pixel. */
WYN_EXPORT COLOR wynv_image_get_pixel(IMAGE image, int x, int y);
/* Sets (x, y) to color (its standard-colour byte is ignored). In indexed formats the colour is
   looked up among the colours in use, added when missing and there is room, else the nearest
   colour in use is taken. FALSE outside the image. */
WYN_EXPORT BOOLEAN wynv_image_set_pixel(IMAGE image, int x, int y, COLOR color);
/* The bytes of row 0 to height - 1 (stride bytes); null outside the image. */
WYN_EXPORT uint8_t* wynv_image_get_scanline(IMAGE image, int row);
/* Sets every pixel of rect (null: the whole image) within the image to color. */
WYN_EXPORT BOOLEAN wynv_image_fill_rect(IMAGE image, const RCT* rect, COLOR color);
/* Copies src_rect of src into dst_rect of dst (null: the whole image), scaled to fit by taking
   the nearest source pixel; colours are carried across formats and tables. Parts outside
   either image are left out. FALSE for an invalid image or an empty rectangle. */
WYN_EXPORT BOOLEAN wynv_image_transfer(IMAGE dst, IMAGE src, const RCT* dst_rect,
                                       const RCT* src_rect);

/* Reads the file at path as whichever of the Windows bitmap, X bitmap and X pixmap formats its
   content is; null, reported, when it cannot be opened (0x1530001), is none of them (0x520000)
   or is damaged (the reader's parse message). */
WYN_EXPORT IMAGE wynv_image_read(const char* path);

/* The readers of each format: from a stream, from the file at a path, or from an open file from
   its current position. A Windows bitmap gives format 3 (1 bit), format 1 (4 and 8 bits) or
   format 2 (24 and 32 bits); an X bitmap format 3; an X pixmap format 1. Null, reported, for a
   damaged file. */
WYN_EXPORT IMAGE wynv_image_read_bmp(IOSTR stream);
WYN_EXPORT IMAGE wynv_image_read_bmp_from_fn(const char* path);
WYN_EXPORT IMAGE wynv_image_read_bmp_from_fp(FILE* file);
WYN_EXPORT IMAGE wynv_image_read_xbm(IOSTR stream);
WYN_EXPORT IMAGE wynv_image_read_xbm_from_fn(const char* path);
WYN_EXPORT IMAGE wynv_image_read_xbm_from_fp(FILE* file);
WYN_EXPORT IMAGE wynv_image_read_xpm(IOSTR stream);
WYN_EXPORT IMAGE wynv_image_read_xpm_from_fn(const char* path);
WYN_EXPORT IMAGE wynv_image_read_xpm_from_fp(FILE* file);
/* Recorded-drawing files are not supported on this platform: always null. */
WYN_EXPORT IMAGE wynv_image_read_macpict(IOSTR stream);
WYN_EXPORT IMAGE wynv_image_read_macpict_from_fn(const char* path);
WYN_EXPORT IMAGE wynv_image_read_macpict_from_fp(FILE* file);

/* Writes the image to the stream as a Windows bitmap with the 40-byte header: formats 3 and 1
   as 1 and 8 bits with their table, format 2 as 24 bits. FALSE, reported, on a write failure. */
WYN_EXPORT BOOLEAN wynv_image_write_winbmp(IMAGE image, IOSTR stream);
/* Recorded-drawing files are not supported on this platform: always FALSE. */
WYN_EXPORT BOOLEAN wynv_image_write_macpict(IMAGE image, IOSTR stream);

WYN_END_C
