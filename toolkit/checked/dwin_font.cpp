// Checked calls on a window's current font.
#include <wyn/checked/font.h>

#include "check.h"

using namespace wyn_checked;

FONT wyn_dwin_get_font(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return nullptr;
    return wynk_dwin_get_font(win);
}

void wyn_dwin_set_font(WINDOW win, FONT font) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.font(font)) return;
    wynv_dwin_set_font(win, font);
}

const char* wyn_dwin_get_font_family(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return nullptr;
    return wynv_dwin_get_font_family(win);
}

void wyn_dwin_set_font_family(WINDOW win, const char* family) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(family)) return;
    wynv_dwin_set_font_family(win, family);
}

uint32_t wyn_dwin_get_font_style(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return 0;
    return wynv_dwin_get_font_style(win);
}

void wyn_dwin_set_font_style(WINDOW win, uint32_t style) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    wynv_dwin_set_font_style(win, style);
}

int32_t wyn_dwin_get_font_size(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return 0;
    return wynv_dwin_get_font_size(win);
}

void wyn_dwin_set_font_size(WINDOW win, int32_t size) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.at_least(size, 1)) return;
    wynv_dwin_set_font_size(win, size);
}

const char* wyn_dwin_get_font_native_desc(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return nullptr;
    return wynv_dwin_get_font_native_desc(win);
}

BOOLEAN wyn_dwin_set_font_native_desc(WINDOW win, const char* desc) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(desc)) return FALSE;
    return wynv_dwin_set_font_native_desc(win, desc);
}

intptr_t wyn_dwin_get_font_app_data(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return 0;
    return wynv_dwin_get_font_app_data(win);
}

void wyn_dwin_set_font_app_data(WINDOW win, intptr_t data) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    wynv_dwin_set_font_app_data(win, data);
}

const char* wyn_dwin_get_font_family_mapped(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return nullptr;
    return wynv_dwin_get_font_family_mapped(win);
}

uint32_t wyn_dwin_get_font_style_mapped(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return 0;
    return wynv_dwin_get_font_style_mapped(win);
}

int32_t wyn_dwin_get_font_size_mapped(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return 0;
    return wynv_dwin_get_font_size_mapped(win);
}
