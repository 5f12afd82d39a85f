// The windows' own state: the handles of the task window, the status window, the alarm pop-up and
// the poll timer, which the engine never sees.
#pragma once

#include <cstdint>

// Opaque toolkit window handle; the toolkit defines the structure behind it.
struct wyn_window;
using WINDOW = wyn_window*;

struct ui_state {
    intptr_t task_window = 0;     // native handle of the task window, stored after set-up
    WINDOW status_window = nullptr; // set by its create event, cleared by its destroy event
    int32_t poll_timer = 0;       // 0 when none
    WINDOW alarm_popup = nullptr; // while it exists
    int working_copy_holders = 0; // windows reading the data log's working copy
};

// The program's one UI state; a fresh value while no windows exist.
extern ui_state g_ui;
