// The configuration dialog: the UPS settings of the record in view, saved to the configuration.
#pragma once

#include <cstdint>

// Runs the modal configuration dialog on the record in view; *saved (when given) becomes 1 when
// the user saves with "OK" and 0 when the user cancels. False when the dialog could not be made.
bool run_setup_dialog(uint8_t* saved);
