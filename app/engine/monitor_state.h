// The monitor state of the engine, its poll periods, and the change of the poll period.
#pragma once

#include <cstdint>

// The engine's state; 1 is never entered.
enum monitor_state_value : int16_t {
    MONITOR_NORMAL = 0,
    MONITOR_SELFTEST = 2,
    MONITOR_COUNTDOWN_START = 3,
    MONITOR_COUNTDOWN = 4,
    MONITOR_EXPIRED = 5,
    MONITOR_UPS_OFF = 6,
    MONITOR_OS_SHUTDOWN = 7,
    MONITOR_END = 8,
    MONITOR_CANCELLED = 9
};

// Poll periods in seconds: fast during start-up, a self-test and a countdown; normal once valid
// data flows in the normal state.
inline constexpr int POLL_FAST_SECONDS = 1;
inline constexpr int POLL_NORMAL_SECONDS = 3;

// Sets the poll period in seconds, starting the new timer through the host; 0, or 2 when there is
// no application or the timer could not be made (the one running then goes on, and the failure is
// reported once until a timer can be made again). The same period with a running timer changes
// nothing.
int set_poll_period(int seconds);
