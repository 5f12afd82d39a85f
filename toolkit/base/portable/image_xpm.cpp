// X pixmap files: the declaration, the values, the colours, the pixel rows and the extensions,
// read into a colour-indexed image.
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "portable/image_colors.h"
#include "portable/image_internal.h"
#include "portable/image_text.h"
#include "portable/report_hook.h"

namespace {

constexpr char kReportUnit[] = "vxpm";
constexpr std::string_view kMarker = "/* XPM */";
constexpr long kMaxCharsPerPixel = 10;
constexpr int kNotFoundString = 31403;

IMAGE fail(uint32_t id, int line, IMAGE image = nullptr) {
    if (image) wynv_image_destroy(image);
    image_report(id, PORTABLE_ERROR, kReportUnit, line);
    return nullptr;
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::span<const uint8_t> bytes_of(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// The words of s separated by white space.
std::vector<std::string_view> words_of(std::string_view s) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && blank(s[i])) ++i;
        const size_t start = i;
        while (i < s.size() && !blank(s[i])) ++i;
        if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

// "#" and 3, 6, 9 or 12 hexadecimal digits, each component cut to its top 8 bits.
std::optional<COLOR> hex_color(std::string_view s) {
    const size_t digits = s.size() - 1;
    if (digits == 0 || digits % 3 != 0 || digits > 12) return std::nullopt;
    const size_t per = digits / 3;
    COLOR rgb = 0;
    for (size_t c = 0; c < 3; ++c) {
        unsigned v = 0;
        for (size_t i = 0; i < per; ++i) {
            const char ch = s[1 + c * per + i];
            const int d = ch >= '0' && ch <= '9'   ? ch - '0'
                          : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                          : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                   : -1;
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<unsigned>(d);
        }
        v = per == 1 ? v * 17 : v >> (per * 4 - 8);
        rgb = rgb << 8 | v;
    }
    return rgb;
}

void log_not_found(std::string_view name) {
    std::string line = portable_string(kNotFoundString, "Named color '%s' not found.\n");
    const size_t at = line.find("%s");
    if (at != std::string::npos) line.replace(at, 2, name);
    portable_debug_line(line.c_str());
}

// The colour of one value; nothing when it names no colour.
std::optional<COLOR> resolve(std::string_view value) {
    if (value.empty()) {
        image_report(IMAGE_EMPTY_COLOR, PORTABLE_WARNING, kReportUnit, __LINE__);
        return 0xFFFFFFu;
    }
    // The image holds no mask: transparent pixels show the usual white background.
    if (equal_ignoring_case(value, "none")) return 0xFFFFFFu;
    if (value[0] == '#') return hex_color(value);
    std::optional<COLOR> named = image_color_by_name(value);
    if (!named) log_not_found(value);
    return named;
}

// The colour line after its pixel characters: key and value pairs, the colour key preferred,
// then the grey-scale and monochrome ones. Nothing when the line holds no pair at all; the
// unset value when none of its colours is known.
std::optional<COLOR> color_of_line(std::string_view pairs) {
    static constexpr std::array<std::string_view, 5> kKeys = {"c", "g", "g4", "m", "s"};
    std::array<std::string, 5> values;
    std::array<bool, 5> present{};
    int current = -1;
    for (std::string_view w : words_of(pairs)) {
        int key = -1;
        for (int k = 0; k < 5; ++k)
            if (w == kKeys[k]) key = k;
        if (key >= 0 && !present[key]) {
            current = key;
            present[key] = true;
            continue;
        }
        if (current < 0) return std::nullopt;
        std::string& v = values[current];
        if (!v.empty()) v += ' ';
        v.append(w);
    }
    if (current < 0) return std::nullopt;
    for (int k = 0; k < 4; ++k) {
        if (!present[k]) continue;
        if (std::optional<COLOR> rgb = resolve(values[k])) return rgb;
    }
    return WYN_IMAGE_CLUT_UNSET;
}

struct Values {
    long width, height, ncolors, cpp;
    bool extensions;
};

bool parse_values(std::string_view s, Values& v) {
    const std::vector<std::string_view> w = words_of(s);
    if (w.size() < 4 || w.size() > 7) return false;
    long n[6] = {};
    const size_t numbers = w.size() >= 6 ? 6 : 4;
    for (size_t i = 0; i < numbers; ++i) {
        ImageText text(bytes_of(w[i]));
        std::optional<long> value = text.number(1L << 30);
        if (!value || !text.at_end()) return false;
        n[i] = *value;
    }
    if (w.size() == 5 || w.size() == 7) {
        if (w.back() != "XPMEXT") return false;
    } else if (w.size() == 6 && w.back() == "XPMEXT") {
        return false;
    }
    v = {n[0], n[1], n[2], n[3], w.back() == "XPMEXT"};
    return v.cpp >= 1 && v.ncolors >= 1;
}

// Pixel characters to colour indices: a direct table for one character, a map otherwise.
class Keys {
  public:
    explicit Keys(long cpp) : cpp_(cpp) { single_.fill(-1); }
    void add(std::string_view key, int index) {
        if (cpp_ == 1)
            single_[static_cast<uint8_t>(key[0])] = static_cast<int16_t>(index);
        else
            multi_.emplace(key, index);
    }
    int find(std::string_view key) const {
        if (cpp_ == 1) return single_[static_cast<uint8_t>(key[0])];
        const auto it = multi_.find(key);
        return it == multi_.end() ? -1 : it->second;
    }

  private:
    long cpp_;
    std::array<int16_t, 256> single_;
    std::unordered_map<std::string_view, int> multi_;
};

} // namespace

bool xpm_detect(std::span<const uint8_t> data) {
    ImageText text(data);
    while (!text.at_end() && blank(text.peek())) text.advance();
    return text.take(kMarker);
}

IMAGE xpm_parse(std::span<const uint8_t> data) {
    ImageText text(data);
    while (!text.at_end() && blank(text.peek())) text.advance();
    if (!text.take(kMarker)) return fail(XPM_DECLARATION, __LINE__);
    const size_t open = text.find('{');
    if (open == std::string_view::npos ||
        text.rest().substr(0, open - text.pos()).find("char") == std::string_view::npos)
        return fail(XPM_DECLARATION, __LINE__);
    text.seek(open + 1);

    Values v{};
    const std::optional<std::string_view> values = text.string();
    if (!values || !parse_values(*values, v)) return fail(XPM_VALUES, __LINE__);
    if (v.cpp > kMaxCharsPerPixel) return fail(XPM_CHARS_PER_PIXEL, __LINE__);
    if (v.width < 1 || v.width > WYN_IMAGE_MAX_SIDE || v.height < 1 ||
        v.height > WYN_IMAGE_MAX_SIDE || v.ncolors > WYN_IMAGE_CLUT_SIZE)
        return fail(XPM_CREATE_IMAGE, __LINE__);
    // The rows must be there in full before their image is made.
    if (static_cast<size_t>(v.width) * v.cpp * static_cast<size_t>(v.height) > text.left())
        return fail(XPM_PIXELS, __LINE__);
    IMAGE image = image_create(WYN_IMAGE_INDEXED, static_cast<int>(v.width),
                               static_cast<int>(v.height), false);
    if (!image) return fail(XPM_CREATE_IMAGE, __LINE__);
    image->ncolors = static_cast<uint16_t>(v.ncolors);

    Keys keys(v.cpp);
    for (int i = 0; i < v.ncolors; ++i) {
        const std::optional<std::string_view> line = text.string();
        if (!line || static_cast<long>(line->size()) < v.cpp)
            return fail(XPM_COLORS, __LINE__, image);
        const std::optional<COLOR> rgb = color_of_line(line->substr(static_cast<size_t>(v.cpp)));
        if (!rgb) return fail(XPM_COLORS, __LINE__, image);
        image->clut[i] = *rgb;
        keys.add(line->substr(0, static_cast<size_t>(v.cpp)), i);
    }

    const size_t row_chars = static_cast<size_t>(v.width * v.cpp);
    for (int y = 0; y < v.height; ++y) {
        const std::optional<std::string_view> row = text.string();
        if (!row || row->size() < row_chars) return fail(XPM_PIXELS, __LINE__, image);
        uint8_t* out = image->pixels + static_cast<size_t>(y) * image->stride;
        for (long x = 0; x < v.width; ++x) {
            const int index =
                keys.find(row->substr(static_cast<size_t>(x * v.cpp), static_cast<size_t>(v.cpp)));
            if (index < 0) return fail(XPM_PIXELS, __LINE__, image);
            out[x] = static_cast<uint8_t>(index);
        }
    }

    if (v.extensions) {
        for (;;) {
            const std::optional<std::string_view> line = text.string();
            if (!line) return fail(XPM_EXTENSIONS, __LINE__, image);
            if (line->substr(0, 9) == "XPMENDEXT") break;
        }
    }
    return image;
}
