// Internal side of the attribute store: readings that only the native window system can give.
#pragma once

#include <wyn/attr.h>

// Provided by the kernel layer: the system's window colour, and the screen size in pixels.
ATTR_VALUE native_back_color();
ATTR_VALUE native_screen_height();
ATTR_VALUE native_screen_width();
