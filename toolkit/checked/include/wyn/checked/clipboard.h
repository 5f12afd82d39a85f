/* Checked clipboard calls: every call is refused while an E_UPDATE is processed; an application
   format needs its name, a picture put needs a live picture, and sizes cannot be negative. A
   fault is reported and gives FALSE or null. A format number other than the three is passed on
   and ends the application as a fatal error. */
#pragma once

#include <wyn/clipboard.h>

WYN_BEGIN_C

/* Opens the clipboard, emptying it when for_writing is TRUE. */
BOOLEAN wyn_cb_open(BOOLEAN for_writing);
/* Releases the pending blocks and closes the clipboard. */
BOOLEAN wyn_cb_close(void);
/* TRUE when the clipboard holds format (name: an application format's name). */
BOOLEAN wyn_cb_has_format(int32_t format, const char* name);
/* A writable block of size + 1 zero bytes for the next put (a negative size is reported). */
void* wyn_cb_alloc_data(int32_t size);
/* Puts the written block (text, or size bytes of application format name) or the bitmap of
   picture on the clipboard. */
BOOLEAN wyn_cb_put_data(int32_t format, const char* name, int32_t size, PICTURE picture);
/* What the clipboard holds as format, with its size (text: without the terminator; a picture:
   the bytes of a Windows bitmap file). */
void* wyn_cb_get_data(int32_t format, const char* name, int32_t* size);
/* Releases the block read last. */
void wyn_cb_free_data(void);

WYN_END_C
