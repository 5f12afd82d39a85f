// Parsing, completion and formatting of the "NT_01" native font descriptor.
#include "portable/font_desc.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

constexpr std::string_view kPrefix = "NT_01";

// The native record keeps these fields in bytes; the others are signed 32-bit values.
bool in_range(int field, int64_t v) {
    switch (field) {
    case FD_WEIGHT:
        return v >= 0 && v <= 1000;
    case FD_ITALIC:
    case FD_UNDERLINE:
    case FD_STRIKEOUT:
    case FD_CHARSET:
    case FD_OUT_PRECISION:
    case FD_CLIP_PRECISION:
    case FD_QUALITY:
    case FD_PITCH_FAMILY:
        return v >= 0 && v <= 255;
    default:
        return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
    }
}

std::optional<int64_t> parse_int(std::string_view s) {
    if (s.empty() || s.size() > 12) return std::nullopt;
    int64_t v = 0;
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return v;
}

std::optional<int64_t> parse_in(std::string_view s, int64_t lo, int64_t hi) {
    std::optional<int64_t> v = parse_int(s);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return v;
}

// At most kFontFaceMax bytes of name, never ending inside a character.
std::string face_prefix(std::string_view name) {
    if (name.size() <= kFontFaceMax) return std::string(name);
    size_t n = kFontFaceMax;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
    return std::string(name.substr(0, n));
}

} // namespace

std::optional<FontDesc> font_desc_parse(std::string_view text) {
    if (text.size() > kFontDescMax || text.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    text.remove_prefix(kPrefix.size());
    FontDesc desc;
    for (int field = 0; field < FD_NUMBER_COUNT; ++field) {
        if (text.empty() || text.front() != '/') return std::nullopt;
        text.remove_prefix(1);
        const size_t slash = text.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        const std::string_view item = text.substr(0, slash);
        text.remove_prefix(slash);
        if (item == "*") continue;
        const std::optional<int64_t> v = parse_int(item);
        if (!v || !in_range(field, *v)) return std::nullopt;
        desc.num[field] = static_cast<int32_t>(*v);
    }
    // The face is everything after the last separator; a face may not hide a terminator.
    text.remove_prefix(1);
    if (text.size() > kFontFaceMax || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    if (text != "*") desc.face = std::string(text);
    return desc;
}

FontDesc font_desc_wildcard() {
    return FontDesc{};
}

std::string font_desc_format(const FontDesc& desc) {
    std::string out(kPrefix);
    for (const std::optional<int32_t>& v : desc.num) {
        out += '/';
        out += v ? std::to_string(*v) : "*";
    }
    out += '/';
    out += desc.face ? *desc.face : "*";
    return out;
}

std::string font_desc_format(const FontLogical& logical) {
    return font_desc_format(font_desc_from_logical(logical));
}

int32_t font_height_for(int32_t size, int32_t dpi) {
    const int64_t points = size < 0 ? 0 : (size > kFontSizeMax ? kFontSizeMax : size);
    const int64_t res = dpi <= 0 ? 96 : dpi;
    const int64_t height = (points * res + 36) / 72;
    return static_cast<int32_t>(-std::min<int64_t>(height, std::numeric_limits<int32_t>::max()));
}

FontLogical font_desc_complete(const FontDesc& desc, std::string_view face_for_family,
                               uint32_t style, int32_t size, int32_t dpi) {
    FontLogical out;
    auto pick = [&desc](int field, int32_t fallback) { return desc.num[field].value_or(fallback); };
    out.num[FD_HEIGHT] = pick(FD_HEIGHT, font_height_for(size, dpi));
    out.num[FD_WIDTH] = pick(FD_WIDTH, 0);
    out.num[FD_ESCAPEMENT] = pick(FD_ESCAPEMENT, 0);
    out.num[FD_ORIENTATION] = pick(FD_ORIENTATION, 0);
    out.num[FD_WEIGHT] = pick(FD_WEIGHT, (style & 0x1u) ? 700 : 400);
    out.num[FD_ITALIC] = pick(FD_ITALIC, (style & 0x2u) ? 1 : 0);
    out.num[FD_UNDERLINE] = pick(FD_UNDERLINE, (style & 0x10u) ? 1 : 0);
    out.num[FD_STRIKEOUT] = pick(FD_STRIKEOUT, (style & 0x200u) ? 1 : 0);
    out.num[FD_CHARSET] = pick(FD_CHARSET, 1);
    out.num[FD_OUT_PRECISION] = pick(FD_OUT_PRECISION, 0);
    out.num[FD_CLIP_PRECISION] = pick(FD_CLIP_PRECISION, 0);
    out.num[FD_QUALITY] = pick(FD_QUALITY, 2);
    out.num[FD_PITCH_FAMILY] = pick(FD_PITCH_FAMILY, 32);
    out.face = desc.face ? *desc.face : face_prefix(face_for_family);
    return out;
}

FontDesc font_desc_from_logical(const FontLogical& logical) {
    FontDesc desc;
    for (int i = 0; i < FD_NUMBER_COUNT; ++i) desc.num[i] = logical.num[i];
    desc.face = logical.face;
    return desc;
}

std::optional<FontSerial> font_serial_parse(std::string_view text) {
    std::string_view fields[4];
    for (std::string_view& field : fields) {
        const size_t sep = text.find('\\');
        if (sep == std::string_view::npos) return std::nullopt;
        field = text.substr(0, sep);
        text.remove_prefix(sep + 1);
    }
    const auto style = parse_in(fields[2], std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<uint32_t>::max());
    const auto size = parse_in(fields[3], std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
    if (!style || !size || fields[1].size() > kFontFamilyMax ||
        fields[1].find('\0') != std::string_view::npos || !font_desc_parse(text))
        return std::nullopt;
    return FontSerial{std::string(fields[1]), static_cast<uint32_t>(*style),
                      static_cast<int32_t>(*size), std::string(text)};
}

std::string font_serial_format(const FontSerial& font) {
    std::string text = "01";
    for (const std::string& field :
         {font.family, std::to_string(font.style), std::to_string(font.size), font.desc}) {
        text += '\\';
        text += field;
    }
    return text;
}
