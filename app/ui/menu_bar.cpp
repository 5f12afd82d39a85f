// Menu items of the task window, switched only where the toolkit provides menu bars.
#include "ui/menu_bar.h"

// Toolkits without menu operations give the task window no menu bar to switch.
#if __has_include(<wyn/checked/menu.h>)
#include <wyn/checked/menu.h>

bool has_menu_bar(WINDOW win) {
    return wyn_win_has_menu(win) != FALSE;
}

void enable_menu_item(WINDOW win, int16_t tag, bool enabled) {
    if (has_menu_bar(win)) wyn_menu_set_item_enabled(win, tag, enabled ? TRUE : FALSE);
}
#else
bool has_menu_bar(WINDOW) {
    return false;
}

void enable_menu_item(WINDOW, int16_t, bool) {}
#endif
