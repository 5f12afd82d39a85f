// The task window's menu bar as the application switches its items.
#pragma once

#include <cstdint>
#include <wyn/types.h>

// True when win has a menu bar.
bool has_menu_bar(WINDOW win);

// Enables or greys menu item tag of win; nothing when win has no menu bar (the toolkit reports
// menu operations on a window without one as errors).
void enable_menu_item(WINDOW win, int16_t tag, bool enabled);
