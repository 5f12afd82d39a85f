// X bitmap files: the width and height definitions and the hexadecimal bytes between braces,
// read into a monochrome image.
#include <string_view>

#include "portable/image_internal.h"
#include "portable/image_text.h"
#include "portable/report_hook.h"

namespace {

constexpr char kReportUnit[] = "vxbm";

IMAGE fail(uint32_t id, int line) {
    image_report(id, PORTABLE_ERROR, kReportUnit, line);
    return nullptr;
}

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One value of the list: hexadecimal digits, with or without 0x; nothing for anything else.
std::optional<unsigned> hex_value(ImageText& text, unsigned limit) {
    if (text.peek() == '0') {
        text.advance();
        if (text.peek() == 'x' || text.peek() == 'X') {
            text.advance();
            if (hex_digit(text.peek()) < 0) return std::nullopt;
        } else if (hex_digit(text.peek()) < 0) {
            return 0u;
        }
    }
    if (hex_digit(text.peek()) < 0) return std::nullopt;
    unsigned value = 0;
    for (int d; (d = hex_digit(text.peek())) >= 0; text.advance()) {
        value = value * 16 + static_cast<unsigned>(d);
        if (value > limit) return std::nullopt;
    }
    return value;
}

bool identifier_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// True when word stands in text on its own, not as part of a longer name.
bool has_word(std::string_view text, std::string_view word) {
    for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const size_t end = at + word.size();
        if ((at == 0 || !identifier_char(text[at - 1])) &&
            (end == text.size() || !identifier_char(text[end])))
            return true;
    }
    return false;
}

// Reads the "#define name_width n" lines at the cursor.
bool read_defines(ImageText& text, long& width, long& height) {
    while (text.skip_blanks() && text.take("#define")) {
        text.skip_blanks();
        const std::string_view name = text.word();
        text.skip_blanks();
        const std::optional<long> value = text.number(WYN_IMAGE_MAX_SIDE);
        if (!value) return false;
        if (ends_with(name, "_width")) width = *value;
        if (ends_with(name, "_height")) height = *value;
    }
    return width > 0 && height > 0;
}

} // namespace

bool xbm_detect(std::span<const uint8_t> data) {
    ImageText text(data);
    if (!text.skip_blanks() || !text.take("#define")) return false;
    text.skip_blanks();
    return ends_with(text.word(), "_width");
}

IMAGE xbm_parse(std::span<const uint8_t> data) {
    ImageText text(data);
    long width = 0, height = 0;
    if (!read_defines(text, width, height)) return fail(IMAGE_PARSE_FAILURE, __LINE__);
    const size_t open = text.find('{');
    if (open == std::string_view::npos) return fail(IMAGE_PARSE_FAILURE, __LINE__);
    // The older form holds 16 pixels to a value.
    const bool shorts = has_word(text.rest().substr(0, open - text.pos()), "short");
    text.seek(open + 1);
    const size_t close = text.find('}');
    if (close == std::string_view::npos) return fail(XBM_NO_TERMINATOR, __LINE__);

    const unsigned bits = shorts ? 16 : 8;
    const size_t per_row = (static_cast<size_t>(width) + bits - 1) / bits;
    const size_t values = per_row * static_cast<size_t>(height);
    // Each value takes a digit and a separator at least: a list too short for the size declared
    // is refused before the image is made.
    if (values > (close - open) / 2 + 1) return fail(IMAGE_PARSE_FAILURE, __LINE__);
    IMAGE image =
        image_create(WYN_IMAGE_MONO, static_cast<int>(width), static_cast<int>(height), false);
    if (!image) return fail(IMAGE_PARSE_FAILURE, __LINE__);
    // A set bit is foreground: index 1, black.
    image->clut[0] = 0xFFFFFF;
    image->clut[1] = 0;
    for (size_t i = 0; i < values; ++i) {
        while (text.skip_blanks() && text.peek() == ',') text.advance();
        std::optional<unsigned> value;
        if (text.pos() < close) value = hex_value(text, (1u << bits) - 1);
        if (!value || text.pos() > close) {
            wynv_image_destroy(image);
            return fail(IMAGE_PARSE_FAILURE, __LINE__);
        }
        const int y = static_cast<int>(i / per_row);
        const int x0 = static_cast<int>(i % per_row * bits);
        uint8_t* row = image->pixels + static_cast<size_t>(y) * image->stride;
        for (unsigned b = 0; b < bits && x0 + static_cast<int>(b) < width; ++b) {
            const int x = x0 + static_cast<int>(b);
            if (*value >> b & 1u) row[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7));
        }
    }
    return image;
}
