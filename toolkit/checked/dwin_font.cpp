// Checked calls on a window's current font.
#include <wyn/checked/font.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
CHECKED(kDwin, wyn_dwin_get_font, (WINDOW win),
        c.drawable(win), nullptr, wynk_dwin_get_font, (win))
CHECKED(kDwin, wyn_dwin_set_font, (WINDOW win, FONT font),
        c.drawable(win) && c.font(font), void(), wynv_dwin_set_font, (win, font))
CHECKED(kDwin, wyn_dwin_get_font_family, (WINDOW win),
        c.drawable(win), nullptr, wynv_dwin_get_font_family, (win))
CHECKED(kDwin, wyn_dwin_set_font_family, (WINDOW win, const char* family),
        c.drawable(win) && c.given(family), void(), wynv_dwin_set_font_family, (win, family))
CHECKED(kDwin, wyn_dwin_get_font_style, (WINDOW win),
        c.drawable(win), 0, wynv_dwin_get_font_style, (win))
CHECKED(kDwin, wyn_dwin_set_font_style, (WINDOW win, uint32_t style),
        c.drawable(win), void(), wynv_dwin_set_font_style, (win, style))
CHECKED(kDwin, wyn_dwin_get_font_size, (WINDOW win),
        c.drawable(win), 0, wynv_dwin_get_font_size, (win))
CHECKED(kDwin, wyn_dwin_set_font_size, (WINDOW win, int32_t size),
        c.drawable(win) && c.at_least(size, 1), void(), wynv_dwin_set_font_size, (win, size))
CHECKED(kDwin, wyn_dwin_get_font_native_desc, (WINDOW win),
        c.drawable(win), nullptr, wynv_dwin_get_font_native_desc, (win))
CHECKED(kDwin, wyn_dwin_set_font_native_desc, (WINDOW win, const char* desc),
        c.drawable(win) && c.given(desc), FALSE, wynv_dwin_set_font_native_desc, (win, desc))
CHECKED(kDwin, wyn_dwin_get_font_app_data, (WINDOW win),
        c.drawable(win), 0, wynv_dwin_get_font_app_data, (win))
CHECKED(kDwin, wyn_dwin_set_font_app_data, (WINDOW win, intptr_t data),
        c.drawable(win), void(), wynv_dwin_set_font_app_data, (win, data))
CHECKED(kDwin, wyn_dwin_get_font_family_mapped, (WINDOW win),
        c.drawable(win), nullptr, wynv_dwin_get_font_family_mapped, (win))
CHECKED(kDwin, wyn_dwin_get_font_style_mapped, (WINDOW win),
        c.drawable(win), 0, wynv_dwin_get_font_style_mapped, (win))
CHECKED(kDwin, wyn_dwin_get_font_size_mapped, (WINDOW win),
        c.drawable(win), 0, wynv_dwin_get_font_size_mapped, (win))
// clang-format on
