// The one application state record and the process-wide values that go with it.
#pragma once

#include "ups_status.h"

#include <cstdint>
#include <ctime>

// Opaque toolkit window handle; the toolkit defines the structure behind it.
struct wyn_window;
using WINDOW = wyn_window*;

struct app_state {
    intptr_t task_window; // native handle of the task window
    WINDOW status_window;
    int32_t poll_timer;  // 0 when none
    int32_t poll_period; // seconds
    WINDOW alarm_popup;
    int16_t failed_polls;
    time_t poll_time;
    ups_clock poll_clock;
    uint8_t start_minimised;
    uint8_t remote_view;
    uint8_t remote_view_held;
    uint8_t network_enabled;
    uint8_t force_redraw;
    char ups_in_view[32];
    char alert_server[41];
    int32_t stale_file_limit;
    ups_status local;
    ups_status remote;
    int32_t serial_handle; // -1 when closed
};

// The current application state; null outside the task window's life.
extern app_state* g_app;

// Diagnostic level chosen on the command line; 0 shows nothing.
extern uint16_t g_debug_level;

// Fills a clock from a calendar time in local time.
void clock_from_time(time_t t, ups_clock& out);

// Stamps poll time and poll clock of the state with the given calendar time.
void app_stamp_poll_time(app_state& app, time_t now);
