// Feeds arbitrary text to the native font descriptor parser and to the reader of serialised
// fonts: what parses must write back to text that parses to the same fields.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "portable/font_desc.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void check_descriptor(std::string_view text) {
    const std::optional<FontDesc> desc = font_desc_parse(text);
    if (!desc) return;
    const std::optional<FontDesc> again = font_desc_parse(font_desc_format(*desc));
    check(again && again->num == desc->num && again->face == desc->face);
    // Completion from any attributes gives a descriptor without wildcards that parses.
    const FontLogical logical = font_desc_complete(
        *desc, text, 0xFFFFFFFFu, desc->num[0].value_or(12), desc->num[1].value_or(96));
    const std::optional<FontDesc> done = font_desc_parse(font_desc_format(logical));
    check(done && done->face.has_value());
    for (const auto& field : done->num) check(field.has_value());
}

void check_serialised(std::string_view text) {
    const std::optional<FontSerial> font = font_serial_parse(text);
    if (!font) return;
    const std::optional<FontSerial> again = font_serial_parse(font_serial_format(*font));
    check(again && again->family == font->family && again->style == font->style &&
          again->size == font->size && again->desc == font->desc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_descriptor(text);
    check_serialised(text);
    return 0;
}
