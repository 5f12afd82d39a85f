// The monitor engine's state: everything it remembers between polls, gathered in one record.
#pragma once

#include "engine/monitor_host.h"
#include "engine/protocol.h"
#include "engine/trace_sink.h"
#include "files/clock.h"
#include "files/logs.h"
#include "model/ups_status.h"
#include "support/unique_fd.h"

#include <cstdint>
#include <ctime>
#include <string>

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

// The message panel that the windows provide; null drops panel texts.
using panel_destination = void (*)(const char* text);

// The means of reaching an alert server; 0 when the text was handed over. Null stands for the
// built-in transport, which sends nothing and reports success.
using alert_transport = int (*)(const char* server, const char* text);

// The two hooks through which a fresh engine reports, given by the reporting (report.cpp): the
// trace sink shows a category by the debug level of the application's engine and posts its lines
// with kind 3, as trace does; the listener reports a turn in a log's appends as post_message
// describes.
const trace_sink& engine_trace();
void report_log_append(const log_append_change& change);

// Where a power-failure countdown stands; a fresh value is no countdown.
struct countdown_values {
    time_t start = 0;
    time_t last_message = 0;
    time_t last_icon_step = 0;
    long elapsed = 0;
    int16_t remaining = 0;
    int16_t icon_step = 0;
    int current_icon = 0;
    int next_icon = 1;
    bool announced_off = false;
    bool paged = false;
    // :N was queued at the previous poll of state 6; if it still has not gone out, it never will.
    bool grace_queued = false;
};

// The warnings given before a scheduled shutdown: 10, 5, 2 and 1 minutes.
inline constexpr int SHUTDOWN_WARNING_COUNT = 4;

// The engine lives as long as the application state that holds it: it starts as a fresh object
// (the start-up state) and ends with it, closing what it holds open. The UPS port itself belongs
// to the windows, which open and close it through the poll cycle.
struct engine_state {
    int16_t monitor_state = MONITOR_NORMAL;

    // The link: lost after too many failed polls; the port was opened by the windows and not
    // closed since (a port that goes away is then reopened, but only at the device it was opened
    // at); a poll is running (a view change made from inside it must not start another one).
    bool link_lost = false;
    bool port_wanted = false;
    std::string port_device;
    bool in_poll = false;

    // The poll timer runs; a timer that could not be made is reported once until one can be made.
    bool timer_running = false;
    bool timer_failure_reported = false;

    countdown_values countdown;

    // The scheduled-shutdown warnings given, and the minute the last scheduled self-test started.
    bool warned[SHUTDOWN_WARNING_COUNT] = {};
    ups_clock last_selftest_run{};

    // The conversation with the UPS; its diagnostics go to the engine's trace.
    protocol_session protocol{.trace = &engine_trace()};

    // Reporting: the debug level of the command line, the panel, whether the alarm and event logs
    // are written (tools that only talk to a UPS leave no log files behind), the logs' memory and
    // the alert transport.
    uint16_t debug_level = 0;
    panel_destination panel = nullptr;
    bool log_writing = true;
    log_book logs{.listener = report_log_append};
    alert_transport transport = nullptr;

    // The modem port, kept open from one page to the next.
    unique_fd modem;

    // The windows, and the clock (null: the system's).
    monitor_host* host = nullptr;
    app_clock_source clock = nullptr;
};
