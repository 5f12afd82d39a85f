// Internal side of menus: the task window's bar at creation, and the path every menu command
// takes to its window.
#pragma once

#include <QString>
#include <wyn/menu.h>

// A portable title ("~" mnemonic, "~~" tilde) as the native menu shows it ("&" mnemonic).
QString menus_native_title(const char* title);

// Gives a task window its menu bar (menu-bar resource win->menu_id) and the accelerator table;
// other windows are left alone.
void menus_equip_window(WINDOW win);

// A command from win's menu, keys or a pop-up menu: an item chosen while F1 is held asks for help
// on itself (E_HELP with win and the tag), the standard items run their own actions,
// edit commands go to the focused edit control, any other item reaches win as E_COMMAND with the
// Shift and Ctrl state (from the keys only when win has a menu bar).
void menus_command(WINDOW win, int16_t tag, bool from_popup = false);
