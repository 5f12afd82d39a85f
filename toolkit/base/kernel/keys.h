// Translation of key presses into E_CHAR events, and the help key while dialogs and menus run.
#pragma once

#include <QString>
#include <Qt>
#include <wyn/events.h>

// Fills ev with the E_CHAR for a pressed key, text the characters it produced; false when the
// key gives no event.
bool translate_key(int key, Qt::KeyboardModifiers mods, const QString& text, EVENT& ev);

// Installs, once per toolkit run, the application-wide filter that stands in for the help-key
// hook: F1 while a dialog or menu runs becomes a help request (see keys.cpp).
void keys_install_help_filter();

// True when F1 went down in a menu and is still held: the item chosen then asks for help on
// itself. Taking the state clears it, so that it serves one choice only.
bool keys_take_help_held();
