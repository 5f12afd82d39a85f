// Reading message texts from an ERRCODES.TXT message file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <wyn/errmsg.h>

// Longest line of a message file, line feed excluded.
inline constexpr size_t ERRCODES_LINE_MAX = 255;

// When line starts with id (decimal, 0x-hex or 0-octal), decodes its text into out (size bytes,
// always terminated) and returns true.
bool errcodes_match_line(const char* line, WYN_MSG_ID id, char* out, size_t size);

// Reads file from its current position for the first line that starts with id; true when found.
bool errcodes_find(std::FILE* file, WYN_MSG_ID id, char* out, size_t size);
