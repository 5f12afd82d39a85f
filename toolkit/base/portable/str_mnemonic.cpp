// Mnemonic markers ("~" before the key letter) in control and menu titles.
#include <cstring>

#include "portable/utf8.h"
#include <wyn/str.h>

namespace {

constexpr char kMarker = '~';

// Copies text into buf leaving out the byte at skip (none when skip is negative).
char* copy_without(const char* text, long skip, char* buf, long size) {
    long len = static_cast<long>(std::strlen(text));
    long out_len = skip >= 0 ? len - 1 : len;
    if (out_len + 1 > size) return nullptr;
    if (skip < 0) {
        std::memmove(buf, text, len + 1);
    } else {
        std::memmove(buf, text, skip);
        std::memmove(buf + skip, text + skip + 1, len - skip);
    }
    return buf;
}

bool starts_character(const char* text, long index) {
    long pos = 0;
    while (pos < index && text[pos]) pos += utf8_char_size(text + pos);
    return pos == index && text[pos] != '\0';
}

} // namespace

// A marker must precede a character: a marker at the very end (also the text "~" alone) stays.
char* wynv_str_get_mnemonic(const char* text, int* index, char* buf, long size) {
    if (!text || !buf) return nullptr;
    const char* marker = std::strchr(text, kMarker);
    long pos = marker && marker[1] != '\0' ? marker - text : -1;
    if (index) *index = pos >= 0 ? static_cast<int>(pos) : WYN_NO_MNEMONIC;
    return copy_without(text, pos, buf, size);
}

// An index inside a multibyte character would split it, so it counts as outside the text.
char* wynv_str_set_mnemonic(const char* text, int index, char* buf, long size) {
    if (!text || !buf) return nullptr;
    long len = static_cast<long>(std::strlen(text));
    if (index < 0 || !starts_character(text, index)) return copy_without(text, -1, buf, size);
    if (len + 2 > size) return nullptr;
    std::memmove(buf + index + 1, text + index, len - index + 1);
    std::memmove(buf, text, index);
    buf[index] = kMarker;
    return buf;
}
