// Internal side of the application timers: native ticks, the clock, and window clean-up.
#pragma once

#include <cstdint>
#include <wyn/win.h>

#include "kernel/kernel_state.h"

class QObject;

// Handles native timer native_id firing on widget; false when it is not an application timer.
bool timers_native_tick(QObject* widget, int native_id);

// Applies the delivery rule to one tick of slot id (2 to 16) at the clock's current time.
void timers_tick(int32_t id);

// Stops every timer of win.
void timers_kill_window(WINDOW win);

// Stops every timer.
void timers_kill_all();

// The native period of timer id in ms, 0 when the slot is free.
int32_t timers_native_period(int32_t id);

// Replaces the millisecond clock (null: the system's monotonic clock); returns the previous.
TickClock timers_set_clock(TickClock clock);
