// A toolkit font object held for the length of a window's life and destroyed with its holder.
#pragma once

#include <memory>
#include <type_traits>
#include <wyn/checked/font.h>

struct font_deleter {
    void operator()(FONT font) const {
        if (wyn_font_is_valid(font)) wyn_font_destroy(font);
    }
};
using font_ptr = std::unique_ptr<std::remove_pointer_t<FONT>, font_deleter>;

// A new font of family, plain style, at size points; null when none could be made.
inline font_ptr make_plain_font(const char* family, int32_t size) {
    font_ptr font(wyn_font_create());
    if (!font) return font;
    wyn_font_set_family(font.get(), family);
    wyn_font_set_style(font.get(), 0);
    wyn_font_set_size(font.get(), size);
    return font;
}
