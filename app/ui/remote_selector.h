// The remote system selector: the UPS systems of the network to choose one to view.
#pragma once

#include <string>
#include <vector>
#include <wyn/events.h>
#include <wyn/types.h>

inline constexpr const char* REMOTE_NONE = "No remote systems are available.";

// Opens the remote system selector (113) on the systems this program knows of, which are none:
// it shows "No remote systems are available." and closes again. False when the window could not
// be made.
bool open_remote_selector();

// Opens the selector on systems, each a table line: a one-character mark, then the system's name.
// With no system it tells so and closes; otherwise "OK" views the name of the first selected
// line. False when the window could not be made.
bool open_remote_selector_on(const std::vector<std::string>& systems);

// The open selector's window; null while there is none.
WINDOW remote_selector_window();

// The window's event handler (113's controls: 1 and 2 the tables, 5 OK, 6 Cancel).
int32_t remote_selector_handler(WINDOW win, EVENT* ev);
