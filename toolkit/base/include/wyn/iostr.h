/* Byte streams over an open file or over caller functions: the sources and sinks of the image
   readers and writers. */
#pragma once

#include <stdio.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* A stream handle. */
typedef struct wyn_iostr* IOSTR;

/* Reads up to size bytes into buf; returns the bytes read, 0 at the end, -1 on failure. */
typedef long (*WYN_IOSTR_READ_FN)(void* context, void* buf, long size);
/* Writes size bytes of buf; returns the bytes written, -1 on failure. */
typedef long (*WYN_IOSTR_WRITE_FN)(void* context, const void* buf, long size);

/* A read stream over an open file (not closed by the stream); null for a null file. */
WYN_EXPORT IOSTR wynv_iostr_create_fread(FILE* file);
/* A write stream over an open file (not closed by the stream). */
WYN_EXPORT IOSTR wynv_iostr_create_fwrite(FILE* file);
/* A read stream over fn and its context. */
WYN_EXPORT IOSTR wynv_iostr_create_read(WYN_IOSTR_READ_FN fn, void* context);
/* A write stream over fn and its context. */
WYN_EXPORT IOSTR wynv_iostr_create_write(WYN_IOSTR_WRITE_FN fn, void* context);
/* The context of a function stream, or the FILE* of a file stream. */
WYN_EXPORT void* wynv_iostr_get_context(IOSTR stream);
/* Frees the stream (never the file or context under it). */
WYN_EXPORT void wynv_iostr_destroy(IOSTR stream);

/* Reads up to size bytes; the bytes read, 0 at the end, -1 on failure or a write stream. */
WYN_EXPORT long wynv_iostr_read(IOSTR stream, void* buf, long size);
/* Reads one byte (0 to 255), or -1 at the end or on failure. */
WYN_EXPORT int wynv_iostr_getc(IOSTR stream);
/* Writes size bytes; TRUE when all were written. */
WYN_EXPORT BOOLEAN wynv_iostr_write(IOSTR stream, const void* buf, long size);
/* Returns a file stream to its start (a function stream cannot); TRUE on success. */
WYN_EXPORT BOOLEAN wynv_iostr_rewind(IOSTR stream);

WYN_END_C
