// The continuous log viewer: the data log's records in a table, printed whole or by screen.
#pragma once

#include "ui/working_copy.h"

#include <wyn/events.h>
#include <wyn/types.h>

// The data log's working copy the viewer reads; deleted when the viewer closes.
inline constexpr const char* LOG_WORK_FILE = WORKING_COPY_FILE;
inline constexpr const char* LOG_NO_DATA = "no data available for viewing";

// Opens the continuous log viewer (114) on a fresh copy of the data log, "View Continuous Log"
// disabled while it is open; with no data log it shows "no data available for viewing" and
// closes again. False when the window could not be made.
bool open_continuous_log();

// The open viewer's window and its table control; null while there is none.
WINDOW continuous_log_window();
WINDOW continuous_log_table();

// Byte position in the working copy of the last line the table read (line x 58), where
// "Print Screen" reads around.
long continuous_log_position();

// The window's event handler (114's controls: 1 the table, 2 print file, 3 close, 4 print screen).
int32_t continuous_log_handler(WINDOW win, EVENT* ev);
