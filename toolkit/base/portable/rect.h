// Internal connection of the unit conversion to the window system's dialog font.
#pragma once

// Records the dialog base width and height (average character cell of the dialog font, in
// pixels) that character and dialog units are converted with; the kernel sets it at start-up.
void portable_set_dialog_base_units(int width, int height);
