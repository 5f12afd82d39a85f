// The modem parameters dialog, opened from the configuration dialog.
#pragma once

// Opens the modeless modem parameters dialog (117) on the record in view; false when it could not
// be made.
bool open_modem_dialog();
