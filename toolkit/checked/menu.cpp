// Checked menu calls: the window and its menu bar are checked before the library is asked.
#include <wyn/checked/menu.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr char kMenu[] = "tmenu";

// A live window of a window type that has a menu bar.
bool menu_window(Call& c, WINDOW win) {
    if (!c.window(win, kWindowTypes)) return false;
    return wynk_win_has_menu(win) || c.fail(WYN_MSG_ACCESS_MENU);
}

bool changing_menu(Call& c, WINDOW win) {
    return c.outside_update() && menu_window(c, win);
}

bool state_value(Call& c, BOOLEAN state) {
    return state == TRUE || state == FALSE || c.fail(WYN_MSG_BAD_VALUE);
}

} // namespace

// clang-format off
CHECKED(kWin, wyn_win_has_menu, (WINDOW win),
        c.window(win, kWindowTypes), FALSE, wynk_win_has_menu, (win))
CHECKED(kMenu, wyn_menu_popup,
        (const MENU_ITEM* tree, WINDOW win, PNT pos, int32_t align, int16_t tag),
        c.outside_update() && c.window(win, kWindowTypes) && c.given(tree),
        void(), wynk_menu_popup, (tree, win, pos, align, tag))
// clang-format on

void wyn_menu_set_tree(WINDOW win, const MENU_ITEM* tree) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win) || !c.given(tree)) return;
    wynk_menu_set_tree(win, tree);
}

MENU_ITEM* wyn_menu_get_tree(WINDOW win) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win)) return nullptr;
    return wynk_menu_get_tree(win);
}

void wyn_menu_set_item_checked(WINDOW win, int16_t tag, BOOLEAN checked) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win) || !state_value(c, checked)) return;
    wynk_menu_set_item_checked(win, tag, checked);
}

void wyn_menu_set_item_enabled(WINDOW win, int16_t tag, BOOLEAN enabled) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win) || !state_value(c, enabled)) return;
    wynk_menu_set_item_enabled(win, tag, enabled);
}

void wyn_menu_set_item_title(WINDOW win, int16_t tag, const char* title) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win) || !c.given(title)) return;
    wynk_menu_set_item_title(win, tag, title);
}

void wyn_menu_update(WINDOW win) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win)) return;
    wynk_menu_update(win);
}

void wyn_menu_set_font_sel(WINDOW win, FONT font) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win) || (font && !c.font(font))) return;
    wynk_menu_set_font_sel(win, font);
}

FONT wyn_menu_get_font_sel(WINDOW win, BOOLEAN copy) {
    Call c(__func__, kMenu);
    if (!changing_menu(c, win) || !state_value(c, copy)) return nullptr;
    return wynk_menu_get_font_sel(win, copy);
}
