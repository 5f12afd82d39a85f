// The monitor state's poll periods, and the change of the poll period (the states themselves are
// named with the engine's state).
#pragma once

#include "engine/engine_state.h"

// Poll periods in seconds: fast during start-up, a self-test and a countdown; normal once valid
// data flows in the normal state.
inline constexpr int POLL_FAST_SECONDS = 1;
inline constexpr int POLL_NORMAL_SECONDS = 3;

// Sets the poll period in seconds, starting the new timer through the host; 0, or 2 when there is
// no application or the timer could not be made (the one running then goes on, and the failure is
// reported once until a timer can be made again). The same period with a running timer changes
// nothing.
int set_poll_period(int seconds);
