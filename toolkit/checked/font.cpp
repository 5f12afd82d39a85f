// Checked font calls: font objects and their mapping, the font families and the font chooser.
#include <wyn/checked/font.h>

#include "check.h"

using namespace wyn_checked;

FONT wyn_font_create(void) {
    Call c(__func__, kFont);
    return wynv_font_create();
}

void wyn_font_destroy(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return;
    wynv_font_destroy(font);
}

FONT wyn_font_copy(FONT dest, FONT src, uint32_t mask) {
    Call c(__func__, kFont);
    if (!c.font(src) || (dest && !c.font(dest))) return nullptr;
    return wynv_font_copy(dest, src, mask);
}

BOOLEAN wyn_font_is_valid(FONT font) {
    Call c(__func__, kFont);
    return wynv_font_is_valid(font);
}

const char* wyn_font_get_family(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return nullptr;
    return wynv_font_get_family(font);
}

void wyn_font_set_family(FONT font, const char* family) {
    Call c(__func__, kFont);
    if (!c.font(font) || !c.given(family)) return;
    wynv_font_set_family(font, family);
}

uint32_t wyn_font_get_style(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return 0;
    return wynv_font_get_style(font);
}

void wyn_font_set_style(FONT font, uint32_t style) {
    Call c(__func__, kFont);
    if (!c.font(font)) return;
    wynv_font_set_style(font, style);
}

int32_t wyn_font_get_size(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return 0;
    return wynv_font_get_size(font);
}

void wyn_font_set_size(FONT font, int32_t size) {
    Call c(__func__, kFont);
    if (!c.font(font) || !c.at_least(size, 1)) return;
    wynv_font_set_size(font, size);
}

intptr_t wyn_font_get_app_data(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return 0;
    return wynv_font_get_app_data(font);
}

void wyn_font_set_app_data(FONT font, intptr_t data) {
    Call c(__func__, kFont);
    if (!c.font(font)) return;
    wynv_font_set_app_data(font, data);
}

const char* wyn_font_get_native_desc(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return nullptr;
    return wynv_font_get_native_desc(font);
}

BOOLEAN wyn_font_set_native_desc(FONT font, const char* desc) {
    Call c(__func__, kFont);
    if (!c.font(font) || !c.given(desc)) return FALSE;
    return wynv_font_set_native_desc(font, desc);
}

BOOLEAN wyn_font_has_valid_native_desc(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return FALSE;
    return wynv_font_has_valid_native_desc(font);
}

WINDOW wyn_font_get_win(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return nullptr;
    return wynv_font_get_win(font);
}

void wyn_font_set_win(FONT font, WINDOW win) {
    Call c(__func__, kFont);
    if (!c.font(font) || (win && !c.drawable(win))) return;
    wynv_font_set_win(font, win);
}

BOOLEAN wyn_font_map(FONT font, WINDOW win) {
    Call c(__func__, kFont);
    if (!c.font(font) || (win && !c.drawable(win))) return FALSE;
    return wynv_font_map(font, win);
}

BOOLEAN wyn_font_map_using_default(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return FALSE;
    return wynv_font_map_using_default(font);
}

void wyn_font_unmap(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return;
    wynv_font_unmap(font);
    wynv_font_set_win(font, nullptr);
}

BOOLEAN wyn_font_is_mapped(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return FALSE;
    return wynv_font_is_mapped(font);
}

const char* wyn_font_get_family_mapped(FONT font) {
    Call c(__func__, kFont);
    if (!c.mapped_font(font)) return nullptr;
    return wynk_font_get_family_mapped(font);
}

int32_t wyn_font_get_size_mapped(FONT font) {
    Call c(__func__, kFont);
    if (!c.mapped_font(font)) return 0;
    return wynk_font_get_size_mapped(font);
}

uint32_t wyn_font_get_style_mapped(FONT font) {
    Call c(__func__, kFont);
    if (!c.mapped_font(font)) return 0;
    return wynk_font_get_style_mapped(font);
}

BOOLEAN wyn_font_get_metrics(FONT font, int32_t* leading, int32_t* ascent, int32_t* descent) {
    Call c(__func__, kFont);
    if (!c.mapped_font(font)) return FALSE;
    if (!c.given(leading) || !c.given(ascent) || !c.given(descent)) return FALSE;
    return wynk_font_get_metrics(font, leading, ascent, descent);
}

BOOLEAN wyn_font_is_scalable(FONT font) {
    Call c(__func__, kFont);
    if (!c.mapped_font(font)) return FALSE;
    return wynk_font_is_scalable(font);
}

BOOLEAN wyn_font_is_print(FONT font) {
    Call c(__func__, kFont);
    if (!c.mapped_font(font)) return FALSE;
    return wynk_font_is_print(font);
}

const char* wyn_font_get_plat_name(void) {
    Call c(__func__, kFont);
    return wynk_font_get_plat_name();
}

int32_t wyn_font_serialize(FONT font, char* buffer, int32_t size) {
    Call c(__func__, kFont);
    if (!c.font(font) || (buffer && !c.at_least(size, 1))) return 0;
    return wynv_font_serialize(font, buffer, size);
}

BOOLEAN wyn_font_deserialize(FONT font, const char* text) {
    Call c(__func__, kFont);
    if (!c.font(font) || !c.given(text)) return FALSE;
    return wynv_font_deserialize(font, text);
}

SLIST wyn_fmap_get_families(const void* print_rec) {
    Call c(__func__, kFont);
    return wynv_fmap_get_families(print_rec);
}

SLIST wyn_fmap_get_family_styles(const void* print_rec, const char* family) {
    Call c(__func__, kFont);
    if (!c.given(family)) return nullptr;
    return wynv_fmap_get_family_styles(print_rec, family);
}

SLIST wyn_fmap_get_family_sizes(const void* print_rec, const char* family) {
    Call c(__func__, kFont);
    if (!c.given(family)) return nullptr;
    return wynv_fmap_get_family_sizes(print_rec, family);
}

SLIST wyn_fmap_get_familysize_styles(const void* print_rec, const char* family, int32_t size) {
    Call c(__func__, kFont);
    if (!c.given(family) || !c.at_least(size, 1)) return nullptr;
    return wynv_fmap_get_familysize_styles(print_rec, family, size);
}

SLIST wyn_fmap_get_familystyle_sizes(const void* print_rec, const char* family, uint32_t style) {
    Call c(__func__, kFont);
    if (!c.given(family)) return nullptr;
    return wynv_fmap_get_familystyle_sizes(print_rec, family, style);
}

BOOLEAN wyn_dm_post_font_sel(WINDOW win, FONT font, const void* print_rec, uint32_t flags) {
    Call c(__func__, kDm);
    if (!c.outside_update() || (win && !c.drawable(win)) || !c.font(font)) return FALSE;
    return wynv_dm_post_font_sel(win, font, print_rec, flags);
}
