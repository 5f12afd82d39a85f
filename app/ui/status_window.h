// The status window: the UPS readings, gauges and messages inside the task window.
#pragma once

#include <cstdint>
#include <wyn/events.h>

// Creates the status window from its resource as a child of the task window; null on failure.
WINDOW create_status_window(WINDOW task);

// The status window's event handler; returns 0.
int32_t status_window_handler(WINDOW win, EVENT* ev);
