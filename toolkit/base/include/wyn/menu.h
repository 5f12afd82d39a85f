/* Window menu bars and pop-up menus built from portable menu trees; chosen items reach the window
   as E_COMMAND (or as the standard items' own actions). */
#pragma once

#include <wyn/font.h>
#include <wyn/types.h>
#include <wyn/windef.h>

WYN_BEGIN_C

/* Standard menu items the toolkit handles itself. */
#define MENU_TAG_HELP_ABOUT_TOPIC 32006 /* help topic sent when the about box ends with button 1   \
                                         */
#define MENU_TAG_ABOUT 32010
#define MENU_TAG_CUT 32027
#define MENU_TAG_COPY 32028
#define MENU_TAG_PASTE 32029
#define MENU_TAG_CLEAR 32030
#define MENU_TAG_FONT 32050
#define MENU_TAG_FONT_ALT 32051
#define MENU_TAG_HELP 32451
#define MENU_TAG_ABOUT_ALT 32459
#define MENU_TAG_FONT_ALIAS 32766 /* stands for MENU_TAG_FONT when enabling */

/* The accelerator table every program carries. */
#define MENU_ACCEL_TABLE 9001

/* Replaces win's menu bar with one built from tree (a null tree is reported). */
WYN_EXPORT void wynk_menu_set_tree(WINDOW win, const MENU_ITEM* tree);
/* A copy of win's menu as it stands now, or null when it has none; free with
   wynv_res_free_menu_tree. */
WYN_EXPORT MENU_ITEM* wynk_menu_get_tree(WINDOW win);
/* Checks or unchecks item tag; an unknown tag below 32000 is reported, standard tags ignored. */
WYN_EXPORT void wynk_menu_set_item_checked(WINDOW win, int16_t tag, BOOLEAN checked);
/* Enables or greys item tag (32766 means 32050); unknown tags as for checking. */
WYN_EXPORT void wynk_menu_set_item_enabled(WINDOW win, int16_t tag, BOOLEAN enabled);
/* Replaces the title of item tag ("~" marks the mnemonic), keeping its state. */
WYN_EXPORT void wynk_menu_set_item_title(WINDOW win, int16_t tag, const char* title);
/* Redraws win's menu bar, or the task window's for a window that shares it. */
WYN_EXPORT void wynk_menu_update(WINDOW win);
/* Shows tree as a pop-up menu at pos in win's client coordinates: align 0 centres it, 2 aligns
   its right edge, others its left edge; item tag is placed under pos when the menu still fits.
   The chosen item reaches win as a menu command. */
WYN_EXPORT void wynk_menu_popup(const MENU_ITEM* tree, WINDOW win, PNT pos, int32_t align,
                                int16_t tag);
/* Makes a copy of font the font selection of win's menu (null clears it). */
WYN_EXPORT void wynk_menu_set_font_sel(WINDOW win, FONT font);
/* The font selection of win's menu: null when none is set, a new copy when copy is TRUE, else the
   menu's own font. */
WYN_EXPORT FONT wynk_menu_get_font_sel(WINDOW win, BOOLEAN copy);
/* TRUE when win has a menu bar of its own. */
WYN_EXPORT BOOLEAN wynk_win_has_menu(WINDOW win);

WYN_END_C
