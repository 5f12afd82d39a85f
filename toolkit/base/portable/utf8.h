// UTF-8 stepping, decoding and encoding shared by the string, list and file services.
#pragma once

#include <stddef.h>
#include <wchar.h>

// Bytes of the character at s (1 to 4), reading at most limit bytes. An invalid or truncated
// sequence counts as a single byte, and a terminator is never stepped over.
int utf8_char_size(const char* s, size_t limit = static_cast<size_t>(-1));

// True when the sequence at s is a complete, well-formed character within limit bytes.
bool utf8_is_valid_char(const char* s, size_t limit = static_cast<size_t>(-1));

// Decodes the character at s into *out and returns its size in bytes. A byte that starts no
// valid sequence decodes to U+DC00 + byte, so that utf8_encode gives the same byte back.
int utf8_decode(const char* s, wchar_t* out, size_t limit = static_cast<size_t>(-1));

// Encodes wc into out (room for 4 bytes) and returns the bytes written, 0 when wc is no
// character (a surrogate other than an escaped byte, or beyond U+10FFFF).
int utf8_encode(wchar_t wc, char* out);

// Bytes that utf8_encode would write for wc (0 when it is no character).
int utf8_encoded_size(wchar_t wc);

// The next character after s (s itself at the terminator).
inline const char* utf8_next(const char* s) {
    return *s ? s + utf8_char_size(s) : s;
}
