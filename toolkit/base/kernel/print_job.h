// Internal side of the print job: the status dialog of the open print window, for the kernel's
// own tests to work it as a person would.
#pragma once

#include <wyn/win.h>

// The status dialog of the current print window, or null when no print window is open.
WINDOW print_status_dialog();
