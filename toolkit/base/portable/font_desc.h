// The "NT_01" native font descriptor: its thirteen numbers and face name, each of which may be a
// wildcard, parsed strictly (it arrives from files), completed from a font's portable attributes,
// and written back as text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Field indexes, in the descriptor's order.
enum FontDescField : int {
    FD_HEIGHT,
    FD_WIDTH,
    FD_ESCAPEMENT,
    FD_ORIENTATION,
    FD_WEIGHT,
    FD_ITALIC,
    FD_UNDERLINE,
    FD_STRIKEOUT,
    FD_CHARSET,
    FD_OUT_PRECISION,
    FD_CLIP_PRECISION,
    FD_QUALITY,
    FD_PITCH_FAMILY,
    FD_NUMBER_COUNT
};

// The longest face name in bytes, and the longest descriptor in bytes.
inline constexpr size_t kFontFaceMax = 63;
inline constexpr size_t kFontDescMax = 255;
// The largest size in points that a mapping honours.
inline constexpr int32_t kFontSizeMax = 9999;

// A descriptor; an empty optional is a wildcard.
struct FontDesc {
    std::array<std::optional<int32_t>, FD_NUMBER_COUNT> num{};
    std::optional<std::string> face;
};

// The same descriptor with every field filled.
struct FontLogical {
    std::array<int32_t, FD_NUMBER_COUNT> num{};
    std::string face;
};

// Parses text; nullopt when it is not "NT_01" followed by thirteen numbers within their native
// ranges and a face of at most kFontFaceMax bytes, or is longer than kFontDescMax.
std::optional<FontDesc> font_desc_parse(std::string_view text);

// The descriptor of a pure mapping: every field a wildcard.
FontDesc font_desc_wildcard();

// Writes desc as text, "*" for wildcards.
std::string font_desc_format(const FontDesc& desc);
std::string font_desc_format(const FontLogical& logical);

// The native height of a font of size points on a device of dpi dots per inch (negative: the
// character height); size is capped at kFontSizeMax and taken as 0 below 0.
int32_t font_height_for(int32_t size, int32_t dpi);

// Fills desc's wildcards from the portable attributes: the height from size and dpi, the weight
// and the italic, underline and strike-out flags from style, the face from face_for_family, and
// the remaining fields with the native defaults.
FontLogical font_desc_complete(const FontDesc& desc, std::string_view face_for_family,
                               uint32_t style, int32_t size, int32_t dpi);

// The logical values as a descriptor without wildcards.
FontDesc font_desc_from_logical(const FontLogical& logical);

// A font's text form: "01", family, style, size and native descriptor joined by backslashes.
struct FontSerial {
    std::string family;
    uint32_t style = 0;
    int32_t size = 0;
    std::string desc;
};

// The longest family name a text form may carry.
inline constexpr size_t kFontFamilyMax = 255;

// Splits text at its first four backslashes; nullopt when a separator is missing, the style or
// size is no integer of its width, the family is longer than kFontFamilyMax or the descriptor
// does not parse. The first field (the format version) is not checked.
std::optional<FontSerial> font_serial_parse(std::string_view text);

// The text form of a font.
std::string font_serial_format(const FontSerial& font);
