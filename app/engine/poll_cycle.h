// The poll cycle: the poll timer, the UPS port, link supervision, the monitor state and one poll.
#pragma once

#include "engine/ups_status.h"

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

// Number of failed polls in a row after which the link is reported lost.
inline constexpr int LOST_LINK_POLLS = 20;

// The current monitor state (process-wide, 0 at start).
extern int16_t g_monitor_state;

// Sets the poll period in seconds, recreating the timer through the host; 0, or 2 when the timer
// could not be created. The same period with a running timer changes nothing.
int set_poll_period(int seconds);

// The port the local UPS is polled on: the found port when the search found one, else the
// configured port.
const char* ups_port_in_use();

// Opens the UPS port and sends :W at once; 0 or the SerialIO_Open result. From then on a port
// that is lost is opened again by the poll cycle.
int ups_port_open();

// Closes the UPS port (polling no longer reopens it); 0 or the SerialIO_Close result.
int ups_port_close();

// Reads the reply to the last command with the failed-poll count and the lost/regained messages;
// 0 when a reply was decoded, else 2.
int check_link(ups_status& ups);

// One poll: read, supervise, advance the monitor state, alarms, data log, send, refresh.
void poll_tick();

// Shows the remote UPS of that name; nothing when it is shown already.
void enter_remote_view(const char* name);

// Shows the local UPS again; nothing when it is shown already.
void leave_remote_view();

// Puts the whole engine back to its start-up state (monitor state, link, countdown, schedules).
void reset_monitor_engine();
