// The task window: the application's frame, which sets the application up and takes it down.
#pragma once

#include <cstdint>
#include <wyn/events.h>

// Plug-and-Play search flag: 1 while the UPS port is still to be searched for by hardware id.
extern uint8_t g_pnp_search;

// The task window's event handler: create, destroy, close, menu commands and quit; returns 0.
int32_t task_window_handler(WINDOW win, EVENT* ev);

// Ends the application (the toolkit's application-destroy operation).
void terminate_application();
