/* The clipboard: text, pictures and application formats registered by name, exchanged with the
   desktop's clipboard so that other programs can paste what is put here and the other way round. */
#pragma once

#include <wyn/pict.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* The clipboard formats. Any other number is a fatal error. */
#define CB_FORMAT_TEXT 0 /* text up to its terminator */
#define CB_FORMAT_PICT 1 /* a picture */
#define CB_FORMAT_APP 2  /* bytes of an application format registered by name */

/* Longest name of an application format, in bytes. */
#define CB_MAX_FORMAT_NAME 255

/* Opens the clipboard, emptying it when for_writing is TRUE. Opening it while it is open is
   reported and opens it afresh. Pending blocks of the last session are released. FALSE when the
   desktop's clipboard cannot be reached (no application yet). */
WYN_EXPORT BOOLEAN wynk_cb_open(BOOLEAN for_writing);
/* Releases the pending blocks and closes the clipboard if it is open; a close asked for while one
   runs returns TRUE at once. Always TRUE. */
WYN_EXPORT BOOLEAN wynk_cb_close(void);
/* TRUE when the clipboard holds format (for CB_FORMAT_APP, the format registered as name); it
   need not be open. */
WYN_EXPORT BOOLEAN wynk_cb_has_format(int32_t format, const char* name);
/* A writable block of size + 1 zero bytes for the next text or application-format put; the block
   replaces one allocated before and belongs to the library. A failure closes the clipboard, is
   reported as fatal and gives null. */
WYN_EXPORT void* wynk_cb_alloc_data(int32_t size);
/* Puts the block written since wynk_cb_alloc_data on the open clipboard as format: text up to its
   terminator, or the first size bytes of the block for CB_FORMAT_APP registered as name; the
   block is gone afterwards. For CB_FORMAT_PICT the bitmap of picture is copied there and the
   picture stays the caller's. Formats put in one writing session stand side by side. TRUE on
   success; a clipboard not open for writing, a missing block or picture, or a bad name is
   reported and gives FALSE. */
WYN_EXPORT BOOLEAN wynk_cb_put_data(int32_t format, const char* name, int32_t size,
                                    PICTURE picture);
/* What the open clipboard holds as format, or null when it holds none. Text comes back with its
   terminator and *size is its length without the terminator; an application format comes back
   with a zero byte after its *size bytes; a picture comes back as the locked bytes of a new picture
   that the library holds (a Windows bitmap file, as wynk_pict_create takes it) and *size is their
   number. The block stays valid until the next get, wynk_cb_free_data or wynk_cb_close. Reading
   a closed clipboard is reported; any failure closes the clipboard and gives null. size may be
   null. */
WYN_EXPORT void* wynk_cb_get_data(int32_t format, const char* name, int32_t* size);
/* Releases the block read last and a written block not yet put. */
WYN_EXPORT void wynk_cb_free_data(void);

WYN_END_C
