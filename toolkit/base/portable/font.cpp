// Font objects: creation, attributes, copying, the text form, and the per-process font state.
#include <cstring>
#include <new>
#include <strings.h>
#include <unordered_set>

#include "portable/font_desc.h"
#include "portable/font_object.h"
#include "portable/report_hook.h"
#include "portable/res.h"
#include "portable/static_block.h"

namespace {

constexpr const char* kReportUnit = "font.cpp";
constexpr uint32_t kWrongFormat = 0x240000;

struct BuiltinFace {
    const char* family;
    int string_id;
    const char* fallback;
};
constexpr BuiltinFace kBuiltinFaces[kBuiltinFaceCount] = {
    {"system", 30021, "System"},       {"helvetica", 30022, "Arial"},
    {"fixed", 30023, "Courier New"},   {"times", 30024, "Times New Roman"},
    {"courier", 30025, "Courier New"},
};

} // namespace

struct FontState {
    std::unordered_set<std::string> names;
    std::string faces[kBuiltinFaceCount];
    bool face_known[kBuiltinFaceCount] = {};
    FontCache cache;
};

namespace {

FontState& state() {
    return *static_block<FontState>();
}

const std::string& wildcard_text() {
    static const std::string text = font_desc_format(font_desc_wildcard());
    return text;
}

// A portable attribute changed: the descriptor fields it decides go back to wildcards, so that
// the next mapping follows the new value instead of the values of the last one.
void reopen_fields(FONT font, std::initializer_list<int> fields, bool face) {
    std::optional<FontDesc> desc = font_desc_parse(font->native->request);
    if (!desc) return;
    for (int f : fields) desc->num[f].reset();
    if (face) desc->face.reset();
    font->native->request = font->native->desc = font_desc_format(*desc);
}

void unmap(FONT font) {
    font->mapped = FALSE;
    font->native->font.reset();
    font->native->dpi = 0;
}

} // namespace

FontCache& font_cache() {
    return state().cache;
}

const char* font_intern(std::string_view name) {
    return state().names.emplace(name).first->c_str();
}

std::string font_face_for_family(const char* family) {
    if (!family) family = "system";
    FontState& st = state();
    for (int i = 0; i < kBuiltinFaceCount; ++i) {
        if (strcasecmp(family, kBuiltinFaces[i].family) != 0) continue;
        if (!st.face_known[i]) {
            st.faces[i] = portable_string(kBuiltinFaces[i].string_id, kBuiltinFaces[i].fallback);
            st.face_known[i] = true;
        }
        return st.faces[i];
    }
    return family;
}

bool font_family_is_fixed(const char* family) {
    return family && (strcasecmp(family, "fixed") == 0 || strcasecmp(family, "courier") == 0);
}

bool font_alive(FONT font) {
    return font && font->magic == WYN_FONT_MAGIC && font->native;
}

FONT wynv_font_create(void) {
    auto* font = new (std::nothrow) wyn_font{};
    auto* native = font ? new (std::nothrow) wyn_font_native{} : nullptr;
    if (!native) {
        delete font;
        PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
        return nullptr;
    }
    native->desc = native->request = wildcard_text();
    font->native = native;
    font->magic = WYN_FONT_MAGIC;
    font->family = font_intern("system");
    font->size = 12;
    return font;
}

void wynv_font_destroy(FONT font) {
    if (!font_alive(font)) return;
    font->magic = 0;
    delete font->native;
    font->native = nullptr;
    delete font;
}

FONT wynv_font_copy(FONT dest, FONT src, uint32_t mask) {
    if (!font_alive(src)) return nullptr;
    if (dest && !font_alive(dest)) return nullptr;
    FONT out = dest ? dest : wynv_font_create();
    if (!out || out == src) return out;
    if (mask & FA_FAMILY) out->family = src->family;
    if (mask & FA_STYLE) out->style = src->style;
    if (mask & FA_SIZE) out->size = src->size;
    if (mask & FA_APP_DATA) out->app_data = src->app_data;
    if (mask & FA_NATIVE_DESC) {
        out->native->desc = src->native->desc;
        out->native->request = src->native->request;
    }
    if (mask & FA_WIN) out->win = src->win;
    // Only a copy of everything is the same native font; any other mix must be mapped anew.
    if ((mask & FA_ALL) == FA_ALL) {
        out->native->font = src->native->font;
        out->native->dpi = src->native->dpi;
        out->mapped = src->mapped;
    } else {
        unmap(out);
    }
    return out;
}

BOOLEAN wynv_font_is_valid(FONT font) {
    return font_alive(font) ? TRUE : FALSE;
}

const char* wynv_font_get_family(FONT font) {
    return font_alive(font) ? font->family : nullptr;
}

void wynv_font_set_family(FONT font, const char* family) {
    if (!font_alive(font) || !family) return;
    font->family = font_intern(family);
    reopen_fields(font, {}, true);
    unmap(font);
}

uint32_t wynv_font_get_style(FONT font) {
    return font_alive(font) ? font->style : 0;
}

void wynv_font_set_style(FONT font, uint32_t style) {
    if (!font_alive(font)) return;
    font->style = style;
    reopen_fields(font, {FD_WEIGHT, FD_ITALIC, FD_UNDERLINE, FD_STRIKEOUT}, false);
    unmap(font);
}

int32_t wynv_font_get_size(FONT font) {
    return font_alive(font) ? font->size : 0;
}

void wynv_font_set_size(FONT font, int32_t size) {
    if (!font_alive(font)) return;
    font->size = size;
    reopen_fields(font, {FD_HEIGHT}, false);
    unmap(font);
}

intptr_t wynv_font_get_app_data(FONT font) {
    return font_alive(font) ? font->app_data : 0;
}

void wynv_font_set_app_data(FONT font, intptr_t data) {
    if (font_alive(font)) font->app_data = data;
}

const char* wynv_font_get_native_desc(FONT font) {
    return font_alive(font) ? font->native->desc.c_str() : nullptr;
}

BOOLEAN wynv_font_set_native_desc(FONT font, const char* desc) {
    if (!font_alive(font)) return FALSE;
    if (!desc || !font_desc_parse(desc)) {
        PORTABLE_REPORT(kWrongFormat, PORTABLE_ERROR);
        return FALSE;
    }
    font->native->desc = font->native->request = desc;
    unmap(font);
    return TRUE;
}

BOOLEAN wynv_font_has_valid_native_desc(FONT font) {
    return font_alive(font) && font_desc_parse(font->native->desc) ? TRUE : FALSE;
}

WINDOW wynv_font_get_win(FONT font) {
    return font_alive(font) ? font->win : nullptr;
}

void wynv_font_set_win(FONT font, WINDOW win) {
    if (!font_alive(font)) return;
    font->win = win;
    unmap(font);
}

void wynv_font_unmap(FONT font) {
    if (font_alive(font)) unmap(font);
}

BOOLEAN wynv_font_is_mapped(FONT font) {
    return font_alive(font) && font->mapped ? TRUE : FALSE;
}

int32_t wynv_font_serialize(FONT font, char* buffer, int32_t size) {
    if (!font_alive(font)) return 0;
    const std::string text =
        font_serial_format(FontSerial{font->family, font->style, font->size, font->native->desc});
    const auto needed = static_cast<int32_t>(text.size() + 1);
    if (!buffer) return needed;
    if (size < needed) {
        if (size > 0) buffer[0] = '\0';
        PORTABLE_REPORT(PORTABLE_BUFFER_TOO_SMALL, PORTABLE_ERROR);
        return 0;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = '\0';
    return needed;
}

BOOLEAN wynv_font_deserialize(FONT font, const char* text) {
    if (!font_alive(font)) return FALSE;
    std::optional<FontSerial> read = text ? font_serial_parse(text) : std::nullopt;
    if (!read) {
        PORTABLE_REPORT(kWrongFormat, PORTABLE_ERROR);
        return FALSE;
    }
    font->family = font_intern(read->family);
    font->style = read->style;
    font->size = read->size;
    font->native->desc = font->native->request = std::move(read->desc);
    unmap(font);
    return TRUE;
}

// A resource's descriptor may be another platform's name or the bare platform name: those map
// purely.
FONT font_from_resource(const WYN_RES_FONT* res) {
    FONT font = wynv_font_create();
    if (!font || !res) return font;
    font->family =
        font_intern(std::string_view(res->family, strnlen(res->family, sizeof res->family)));
    font->style = res->style;
    font->size = res->size;
    const std::string_view native(res->native, strnlen(res->native, sizeof res->native));
    if (font_desc_parse(native)) font->native->desc = font->native->request = std::string(native);
    return font;
}

void fonts_install_resource_hooks() {
    wyn::res::set_font_hooks(font_from_resource, wynv_font_destroy);
}
