// The power-failure countdown and the final steps that switch the UPS and the system off.
#pragma once

#include "model/ups_status.h"

#include <cstdint>

// Starts, restarts or cancels the countdown from the record's pending power and battery events.
void apply_power_events(ups_status& ups);

// True for the monitor states whose step shows the local UPS (the start of the countdown and its
// expiry): the poll cycle leaves the remote view before it runs them.
bool shutdown_step_shows_local_view(int16_t state);

// Runs one poll of the monitor states 3 to 9 for the local record; other states are left alone.
void run_shutdown_state(ups_status& ups);

// Ends a countdown: icon "Normal", monitor state normal, normal poll period, every countdown value,
// the announced and paged flags and the scheduled-shutdown warnings cleared.
void cancel_countdown();

// Seconds from the scheduled shutdown to the restart, less the grace time; at least 60 when the
// difference is 1 or less.
int restart_delay(const ups_status& ups);
