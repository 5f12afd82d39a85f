// The modem parameters dialog, opened from the configuration dialog.
#pragma once

#include "model/ups_status.h"

#include <cstdint>
#include <wyn/events.h>

// The pager's settings as the modem dialog edits them.
struct modem_settings {
    char port[sizeof(ups_status::modem_port)];
    int16_t time; // minutes
    char command[sizeof(ups_status::modem_command)];
    uint8_t page_on_shutdown;
};

// The record's pager settings, and storing them back into a record.
modem_settings modem_settings_of(const ups_status& ups);
void store_modem_settings(ups_status& ups, const modem_settings& values);

// Opens the modeless modem parameters dialog (117) on values; its "OK" stores into values, which
// the caller keeps alive until it calls close_modem_dialog. When the dialog is open already it is
// brought to the top and goes on editing what it was opened on. False when it could not be made.
bool open_modem_dialog(modem_settings& values);

// Closes the modem dialog when it is open, dropping what it shows; nothing otherwise.
void close_modem_dialog();

// The modem dialog's event handler; its application data is the modem_settings it edits.
int32_t modem_dialog_handler(WINDOW dlg, EVENT* ev);
