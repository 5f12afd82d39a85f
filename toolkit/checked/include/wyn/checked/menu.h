/* Checked menu calls: the menu bar of a window, its items by tag, pop-up menus and the menu's
   font selection. A null, destroyed or wrongly typed window, and a window without a menu bar, are
   reported ("Failed to access menu") and give the failure value named below; every call is
   refused while an E_UPDATE is processed. */
#pragma once

#include <wyn/menu.h>

WYN_BEGIN_C

/* TRUE when win has a menu bar; FALSE on a fault. */
BOOLEAN wyn_win_has_menu(WINDOW win);

/* Replaces win's menu bar with one built from tree (null is reported). */
void wyn_menu_set_tree(WINDOW win, const MENU_ITEM* tree);
/* A copy of win's menu as it stands, freed with wyn_res_free_menu_tree; null on a fault. */
MENU_ITEM* wyn_menu_get_tree(WINDOW win);
/* Checks or unchecks item tag (a state other than TRUE or FALSE is reported). */
void wyn_menu_set_item_checked(WINDOW win, int16_t tag, BOOLEAN checked);
/* Enables or greys item tag (a state other than TRUE or FALSE is reported). */
void wyn_menu_set_item_enabled(WINDOW win, int16_t tag, BOOLEAN enabled);
/* Replaces the title of item tag (null is reported). */
void wyn_menu_set_item_title(WINDOW win, int16_t tag, const char* title);
/* Redraws win's menu bar. */
void wyn_menu_update(WINDOW win);
/* Shows tree as a pop-up menu at pos in win (which needs no menu bar of its own); a null tree is
   reported. */
void wyn_menu_popup(const MENU_ITEM* tree, WINDOW win, PNT pos, int32_t align, int16_t tag);
/* Makes a copy of font (null clears) the font selection of win's menu; an invalid font is
   reported. */
void wyn_menu_set_font_sel(WINDOW win, FONT font);
/* The font selection of win's menu (a new copy when copy is TRUE); null on a fault or when none
   is set. */
FONT wyn_menu_get_font_sel(WINDOW win, BOOLEAN copy);

WYN_END_C
