// Translation of key presses into E_CHAR events.
#pragma once

#include <QString>
#include <Qt>
#include <wyn/events.h>

// Fills ev with the E_CHAR for a pressed key, text the characters it produced; false when the
// key gives no event.
bool translate_key(int key, Qt::KeyboardModifiers mods, const QString& text, EVENT& ev);
