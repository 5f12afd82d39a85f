// The toolkit's debug log: a file the user enables by creating it in the start-up directory.
#pragma once

#include <cstdarg>

// Writes the formatted text and a line feed to the debug log (see wynv_debug_printf).
void debug_log_vprintf(const char* format, va_list args);
