// Internal side of creation from definitions: the controls of a definition array.
#pragma once

#include <wyn/windef.h>

// Gives win the control font and colours of def's entry 0, then creates each further entry
// inside win in order (text edits through the text-edit library); false at the first that
// fails.
bool win_create_controls(WINDOW win, const WIN_DEF* def);

// Destroys a window whose building failed; nothing more reaches its handler.
void win_discard(WINDOW win);
