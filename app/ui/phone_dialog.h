// The phone option dialog: whether a call to the UPS reboots it or switches it on.
#pragma once

#include <cstdint>
#include <wyn/events.h>

// Runs the modal phone option dialog (107) on the record in view; false when it could not be made.
bool run_phone_dialog();

// The phone option dialog's event handler. "OK" hands the choice to the engine, which sends it to
// the UPS at its next quiet poll, and saves the configuration.
int32_t phone_dialog_handler(WINDOW dlg, EVENT* ev);
