// The alert log viewer: the alarm log's lines in a read-only text view, printed whole.
#pragma once

#include <wyn/events.h>
#include <wyn/types.h>

inline constexpr const char* ALERT_LOG_FILE = "norva.alm";
// The working name the network's alarm log is read under; deleted when a viewer closes.
inline constexpr const char* ALERT_WORK_FILE = "norvatmp.alm";
inline constexpr const char* ALERT_NO_DATA = "No data records available for viewing!";
inline constexpr const char* ALERT_TITLE = "File Viewer";

// Lines the view pages by, and the most its scroll bar's thumb stands for.
inline constexpr int ALERT_PAGE_LINES = 18;
// A longer line of the file goes on in the next paragraph, as the log's own lines never do.
inline constexpr int ALERT_LINE_CHARS = 131;

// Opens the alert log viewer (104) on the local alarm log (network 0) or on the network's
// (network 1), "View Alert Log" and "View Network Alert Log" disabled while it is open; a log with
// no line to show gives "No data records available for viewing!" and closes it again. A log of
// more lines than a text view holds shows its newest, and its title says so. False when the
// window could not be made.
bool open_alert_log(int network);

// The open viewer's window and its text view; null while there is none.
WINDOW alert_log_window();

// The window's event handler (104's controls: 1 the text, 2 its scroll bar, 3 print, 4 close).
int32_t alert_log_handler(WINDOW win, EVENT* ev);
