// UTF-8 stepping, decoding and encoding shared by the string, list and file services.
#include "portable/utf8.h"

namespace {

// An undecodable byte b (always >= 0x80) becomes the lone surrogate U+DC00 + b.
constexpr wchar_t kEscapeBase = 0xDC00;

inline bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length and value of the well-formed sequence at s, 0 when it is not one; overlong forms,
// surrogates and values beyond U+10FFFF are refused as the Unicode standard requires.
int decode_strict(const unsigned char* s, size_t limit, wchar_t* out) {
    if (limit == 0) return 0;
    unsigned char c = s[0];
    if (c < 0x80) {
        *out = c;
        return 1;
    }
    int len;
    wchar_t value;
    wchar_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2, value = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, value = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, value = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (static_cast<size_t>(len) > limit) return 0;
    for (int i = 1; i < len; ++i) {
        // A terminator fails this test, so a truncated sequence never reaches past it.
        if (!continuation(s[i])) return 0;
        value = (value << 6) | (s[i] & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *out = value;
    return len;
}

} // namespace

int utf8_char_size(const char* s, size_t limit) {
    wchar_t ignored;
    int len = decode_strict(reinterpret_cast<const unsigned char*>(s), limit, &ignored);
    return len ? len : 1;
}

bool utf8_is_valid_char(const char* s, size_t limit) {
    wchar_t ignored;
    return decode_strict(reinterpret_cast<const unsigned char*>(s), limit, &ignored) != 0;
}

int utf8_decode(const char* s, wchar_t* out, size_t limit) {
    auto* bytes = reinterpret_cast<const unsigned char*>(s);
    int len = decode_strict(bytes, limit, out);
    if (len) return len;
    *out = kEscapeBase + bytes[0];
    return 1;
}

int utf8_encoded_size(wchar_t wc) {
    if (wc < 0) return 0;
    if (wc < 0x80) return 1;
    if (wc < 0x800) return 2;
    if (wc >= 0xDC80 && wc <= 0xDCFF) return 1;
    if (wc >= 0xD800 && wc <= 0xDFFF) return 0;
    if (wc < 0x10000) return 3;
    return wc <= 0x10FFFF ? 4 : 0;
}

int utf8_encode(wchar_t wc, char* out) {
    auto* o = reinterpret_cast<unsigned char*>(out);
    int len = utf8_encoded_size(wc);
    switch (len) {
    case 1:
        o[0] = static_cast<unsigned char>(wc >= 0xDC80 ? wc - kEscapeBase : wc);
        break;
    case 2:
        o[0] = static_cast<unsigned char>(0xC0 | (wc >> 6));
        o[1] = static_cast<unsigned char>(0x80 | (wc & 0x3F));
        break;
    case 3:
        o[0] = static_cast<unsigned char>(0xE0 | (wc >> 12));
        o[1] = static_cast<unsigned char>(0x80 | ((wc >> 6) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (wc & 0x3F));
        break;
    case 4:
        o[0] = static_cast<unsigned char>(0xF0 | (wc >> 18));
        o[1] = static_cast<unsigned char>(0x80 | ((wc >> 12) & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | ((wc >> 6) & 0x3F));
        o[3] = static_cast<unsigned char>(0x80 | (wc & 0x3F));
        break;
    default:
        break;
    }
    return len;
}
