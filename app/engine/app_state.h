// The one application state record: what the engine and the windows share, and the engine itself.
#pragma once

#include "engine/engine_state.h"
#include "model/ups_status.h"

#include <cstdint>
#include <ctime>

// The settings of the configuration file come first; the windows' own handles are kept by the
// windows, which the engine reaches through its host.
struct app_state : app_settings {
    int32_t poll_period; // seconds
    int16_t failed_polls;
    time_t poll_time;
    ups_clock poll_clock;
    uint8_t remote_view;
    uint8_t remote_view_held;
    uint8_t network_enabled;
    uint8_t force_redraw;
    char ups_in_view[32];
    ups_status local;
    ups_status remote;
    int32_t serial_handle = -1; // -1 when closed
    engine_state engine;
};

// The current application state; null outside the task window's life. It is the one root of the
// application's state: a fresh app_state is a fresh engine.
extern app_state* g_app;

// The current calendar time from the application's clock (the system clock when there is no
// application or its engine has no clock of its own).
time_t app_now();

// Stamps poll time and poll clock of the state with the given calendar time.
void app_stamp_poll_time(app_state& app, time_t now);
