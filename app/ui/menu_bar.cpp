// Menu items of the task window.
#include "ui/menu_bar.h"

#include <wyn/checked/menu.h>

bool has_menu_bar(WINDOW win) {
    return wyn_win_has_menu(win) != FALSE;
}

void enable_menu_item(WINDOW win, int16_t tag, bool enabled) {
    if (has_menu_bar(win)) wyn_menu_set_item_enabled(win, tag, enabled ? TRUE : FALSE);
}
