// Checked font calls: font objects and their mapping, the font families and the font chooser.
#include <wyn/checked/font.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
MARKED(kFont, wyn_font_create, (), wynv_font_create, ())
CHECKED(kFont, wyn_font_destroy, (FONT font),
        c.font(font), void(), wynv_font_destroy, (font))
CHECKED(kFont, wyn_font_copy, (FONT dest, FONT src, uint32_t mask),
        c.font(src) && (!dest || c.font(dest)), nullptr, wynv_font_copy, (dest, src, mask))
MARKED(kFont, wyn_font_is_valid, (FONT font), wynv_font_is_valid, (font))
CHECKED(kFont, wyn_font_get_family, (FONT font),
        c.font(font), nullptr, wynv_font_get_family, (font))
CHECKED(kFont, wyn_font_set_family, (FONT font, const char* family),
        c.font(font) && c.given(family), void(), wynv_font_set_family, (font, family))
CHECKED(kFont, wyn_font_get_style, (FONT font),
        c.font(font), 0, wynv_font_get_style, (font))
CHECKED(kFont, wyn_font_set_style, (FONT font, uint32_t style),
        c.font(font), void(), wynv_font_set_style, (font, style))
CHECKED(kFont, wyn_font_get_size, (FONT font),
        c.font(font), 0, wynv_font_get_size, (font))
CHECKED(kFont, wyn_font_set_size, (FONT font, int32_t size),
        c.font(font) && c.at_least(size, 1), void(), wynv_font_set_size, (font, size))
CHECKED(kFont, wyn_font_get_app_data, (FONT font),
        c.font(font), 0, wynv_font_get_app_data, (font))
CHECKED(kFont, wyn_font_set_app_data, (FONT font, intptr_t data),
        c.font(font), void(), wynv_font_set_app_data, (font, data))
CHECKED(kFont, wyn_font_get_native_desc, (FONT font),
        c.font(font), nullptr, wynv_font_get_native_desc, (font))
CHECKED(kFont, wyn_font_set_native_desc, (FONT font, const char* desc),
        c.font(font) && c.given(desc), FALSE, wynv_font_set_native_desc, (font, desc))
CHECKED(kFont, wyn_font_has_valid_native_desc, (FONT font),
        c.font(font), FALSE, wynv_font_has_valid_native_desc, (font))
CHECKED(kFont, wyn_font_get_win, (FONT font),
        c.font(font), nullptr, wynv_font_get_win, (font))
CHECKED(kFont, wyn_font_set_win, (FONT font, WINDOW win),
        c.font(font) && (!win || c.drawable(win)), void(), wynv_font_set_win, (font, win))
CHECKED(kFont, wyn_font_map, (FONT font, WINDOW win),
        c.font(font) && (!win || c.drawable(win)), FALSE, wynv_font_map, (font, win))
CHECKED(kFont, wyn_font_map_using_default, (FONT font),
        c.font(font), FALSE, wynv_font_map_using_default, (font))
CHECKED(kFont, wyn_font_is_mapped, (FONT font),
        c.font(font), FALSE, wynv_font_is_mapped, (font))
CHECKED(kFont, wyn_font_get_family_mapped, (FONT font),
        c.mapped_font(font), nullptr, wynk_font_get_family_mapped, (font))
CHECKED(kFont, wyn_font_get_size_mapped, (FONT font),
        c.mapped_font(font), 0, wynk_font_get_size_mapped, (font))
CHECKED(kFont, wyn_font_get_style_mapped, (FONT font),
        c.mapped_font(font), 0, wynk_font_get_style_mapped, (font))
CHECKED(kFont, wyn_font_get_metrics,
        (FONT font, int32_t* leading, int32_t* ascent, int32_t* descent),
        c.mapped_font(font) && c.given(leading) && c.given(ascent) && c.given(descent),
        FALSE, wynk_font_get_metrics, (font, leading, ascent, descent))
CHECKED(kFont, wyn_font_is_scalable, (FONT font),
        c.mapped_font(font), FALSE, wynk_font_is_scalable, (font))
CHECKED(kFont, wyn_font_is_print, (FONT font),
        c.mapped_font(font), FALSE, wynk_font_is_print, (font))
MARKED(kFont, wyn_font_get_plat_name, (), wynk_font_get_plat_name, ())
CHECKED(kFont, wyn_font_serialize, (FONT font, char* buffer, int32_t size),
        c.font(font) && (!buffer || c.at_least(size, 1)),
        0, wynv_font_serialize, (font, buffer, size))
CHECKED(kFont, wyn_font_deserialize, (FONT font, const char* text),
        c.font(font) && c.given(text), FALSE, wynv_font_deserialize, (font, text))
MARKED(kFont, wyn_fmap_get_families, (const void* print_rec), wynv_fmap_get_families, (print_rec))
CHECKED(kFont, wyn_fmap_get_family_styles, (const void* print_rec, const char* family),
        c.given(family), nullptr, wynv_fmap_get_family_styles, (print_rec, family))
CHECKED(kFont, wyn_fmap_get_family_sizes, (const void* print_rec, const char* family),
        c.given(family), nullptr, wynv_fmap_get_family_sizes, (print_rec, family))
CHECKED(kFont, wyn_fmap_get_familysize_styles,
        (const void* print_rec, const char* family, int32_t size),
        c.given(family) && c.at_least(size, 1),
        nullptr, wynv_fmap_get_familysize_styles, (print_rec, family, size))
CHECKED(kFont, wyn_fmap_get_familystyle_sizes,
        (const void* print_rec, const char* family, uint32_t style),
        c.given(family), nullptr, wynv_fmap_get_familystyle_sizes, (print_rec, family, style))
CHECKED(kDm, wyn_dm_post_font_sel, (WINDOW win, FONT font, const void* print_rec, uint32_t flags),
        c.outside_update() && (!win || c.drawable(win)) && c.font(font),
        FALSE, wynv_dm_post_font_sel, (win, font, print_rec, flags))
// clang-format on

void wyn_font_unmap(FONT font) {
    Call c(__func__, kFont);
    if (!c.font(font)) return;
    wynv_font_unmap(font);
    wynv_font_set_win(font, nullptr);
}
