// One poll of the UPS and the supervision of its link, driven by the poll timer.
#include "engine/poll_cycle.h"

#include "engine/alarms.h"
#include "engine/app_state.h"
#include "engine/monitor_host.h"
#include "engine/pager.h"
#include "engine/protocol.h"
#include "engine/report.h"
#include "engine/schedules.h"
#include "engine/serial_io.h"
#include "engine/shutdown.h"
#include "files/clock.h"
#include "files/logs.h"

#include <cstdio>
#include <cstring>
#include <string>

int16_t g_monitor_state = MONITOR_NORMAL;

namespace {

// Line settings of the UPS port: 2400 baud, 8 data bits, no parity, 1 stop bit.
constexpr int UPS_RATE = 2400;
constexpr int UPS_DATA_BITS = 8;
constexpr int UPS_PARITY_NONE = 0;
constexpr int UPS_STOP_BITS = 1;

// Message kind that clears the message panel when the view changes: panel and the bit of 16.
constexpr int KIND_VIEW_CHANGE = 17;

bool g_link_lost = false;
// The port was opened by the windows and not closed since: a port that goes away is reopened.
bool g_port_wanted = false;
// A poll is running; a view change made from inside it must not start another one.
bool g_in_poll = false;

// A poll timer that could not be made is reported once until one can be made again.
bool g_timer_failure_reported = false;

char g_port_name[8] = "";
// The device the windows opened the port at; a lost port is opened again only there.
std::string g_port_device;

int open_port_quietly() {
    return SerialIO_Open(&g_app->serial_handle, ups_port_in_use(), UPS_RATE, UPS_DATA_BITS,
                         UPS_PARITY_NONE, UPS_STOP_BITS);
}

// A USB adapter that was pulled out or a port that hung up never answers again through the same
// descriptor; it is closed here and opened afresh at the following polls.
void drop_gone_port() {
    if (g_app->serial_handle == SERIAL_INVALID || !serial_device_gone(g_app->serial_handle)) return;
    tracef(1, "UPSSVC: device gone on COM port: %s!", ups_port_in_use());
    SerialIO_Close(&g_app->serial_handle);
}

// A "COMn" whose link in the program directory went away with its adapter names the machine's
// own serial port meanwhile; polling whatever is wired there is worse than waiting for the UPS.
void reopen_lost_port(ups_status& ups) {
    if (!g_port_wanted || g_app->serial_handle != SERIAL_INVALID) return;
    if (serial_resolve_port(ups_port_in_use()) != g_port_device) return;
    if (open_port_quietly() == 0) ups.next_step = STEP_PROTOCOL;
}

void run_normal_state(ups_status& ups) {
    if (ups.counter_reset_request) {
        ups.counter_reset_request = 0;
        forget_shutdown_announcements();
    }
    if (ups.selftest_rearm_request) {
        ups.selftest_rearm_request = 0;
        forget_last_selftest_run();
    }
    if (ups.valid && !g_app->remote_view) set_poll_period(3);
    check_schedules(ups);
    // A self-test or shutdown started just now has queued its own command; the phone option
    // waits for the next normal poll rather than overwrite it.
    if (ups.phone_option_pending && g_monitor_state == MONITOR_NORMAL) {
        ups.phone_option_pending = 0;
        ups.next_step = STEP_SET_PHONE;
    }
}

void run_selftest_state(ups_status& ups) {
    if (ups.selftest_status != SELFTEST_RUNNING && ups.last_step == STEP_STATUS)
        g_monitor_state = MONITOR_NORMAL;
    else if (ups.last_step != STEP_SELFTEST_RESULT)
        ups.next_step = STEP_SELFTEST_RESULT;
}

// The data log queues :I after each record, but only in place of the plain :B/:D alternation: a
// command queued by the shutdown or the phone option must not be lost to it, and with records due
// at every poll :D must still come between two :I.
void log_data(ups_status& ups) {
    int16_t step = ups.next_step;
    log_data_when_due(ups, step, g_app->poll_time);
    const bool plain = ups.next_step == STEP_STATUS || ups.next_step == STEP_BATTERY;
    if (plain && ups.last_step != STEP_VOLTAGE) ups.next_step = step;
}

void watch_remote(ups_status& remote) {
    remote.message_source = 1;
    if (remote.selftest_status != SELFTEST_RUNNING) {
        check_thresholds(remote);
        check_power_events(remote);
    }
    supervise_selftest(remote);
    remote.status_line[sizeof remote.status_line - 1] = '\0';
    if (remote.status_line[0]) {
        post_message(remote.status_line, MSG_PANEL);
        remote.status_line[0] = '\0';
    }
}

void change_view(bool remote, const char* name) {
    post_message("", KIND_VIEW_CHANGE);
    snprintf(g_app->ups_in_view, sizeof g_app->ups_in_view, "%s", name);
    g_app->remote_view = remote;
    if (remote) {
        g_app->remote.valid = 0;
        g_app->remote.selftest_status = SELFTEST_NO_RESULT;
    }
    g_app->force_redraw = 1;
    if (!g_in_poll) poll_tick();
}

} // namespace

int set_poll_period(int seconds) {
    if (!g_app) return 2;
    if (seconds == g_app->poll_period && g_app->poll_timer != 0) return 0;
    monitor_host* host = current_monitor_host();
    // The new timer comes first: when it cannot be made, the old one keeps polling at its period
    // (and the change is tried again at the next request), for an engine without a timer would
    // never see the next power failure.
    const int timer = host ? host->create_poll_timer(seconds * 1000) : 0;
    if (timer <= 0) {
        if (!g_timer_failure_reported) {
            g_timer_failure_reported = true;
            char text[96];
            snprintf(text, sizeof text, "Cannot set the poll period to %d seconds.", seconds);
            post_message(text, MSG_PANEL | MSG_EVENT_LOG);
        }
        return 2;
    }
    g_timer_failure_reported = false;
    if (g_app->poll_timer != 0) host->destroy_poll_timer(g_app->poll_timer);
    g_app->poll_period = seconds;
    g_app->poll_timer = timer;
    return 0;
}

const char* ups_port_in_use() {
    const ups_status& ups = g_app->local;
    const char* port = ups.port_found ? ups.found_port : ups.ups_port;
    const size_t length = strnlen(port, sizeof ups.ups_port);
    memcpy(g_port_name, port, length);
    g_port_name[length] = '\0';
    return g_port_name;
}

int ups_port_open() {
    if (!g_app) return 2;
    g_port_wanted = true;
    if (g_app->serial_handle != SERIAL_INVALID) SerialIO_Close(&g_app->serial_handle);
    g_port_device = serial_resolve_port(ups_port_in_use());
    const int result = open_port_quietly();
    if (result != 0) {
        tracef(1, "UPSSVC: SerialIO_Open error on COM port: %s!", ups_port_in_use());
        return result;
    }
    g_app->local.next_step = STEP_PROTOCOL;
    SendUPSCommand(g_app->serial_handle, g_app->local);
    return 0;
}

int ups_port_close() {
    if (!g_app) return 2;
    g_port_wanted = false;
    const int result = SerialIO_Close(&g_app->serial_handle);
    if (result != 0) tracef(1, "UPSSVC: SerialIO_Close error on COM port: %s!", ups_port_in_use());
    return result;
}

int check_link(ups_status& ups) {
    const int result = GetNorvaKestraUPSData(g_app->serial_handle, ups);
    ups.message_source = 0;
    char text[64];
    if (result != 0) {
        // The count stops short of wrapping, so a UPS that stays away for days is not reported
        // lost again.
        if (g_app->failed_polls < INT16_MAX) ++g_app->failed_polls;
        if (g_app->failed_polls >= LOST_LINK_POLLS && !g_link_lost) {
            g_link_lost = true;
            ups.valid = 0;
            snprintf(text, sizeof text, "UPS not responding on %s!", ups_port_in_use());
            post_message(text, MSG_PANEL);
        }
        return 2;
    }
    g_app->failed_polls = 0;
    if (g_link_lost) {
        g_link_lost = false;
        ups.next_step = STEP_IDENTIFY;
        snprintf(text, sizeof text, "UPS connected on %s.", ups_port_in_use());
        post_message(text, MSG_PANEL);
    }
    if (ups.last_step == STEP_STATUS) ups.valid = 1;
    return 0;
}

void poll_tick() {
    if (!g_app || g_in_poll) return;
    g_in_poll = true;
    app_state* const app = g_app;
    monitor_host* host = current_monitor_host();
    app_stamp_poll_time(*g_app, app_now());
    if (host) host->draw_clock();

    ups_status& ups = g_app->local;
    reopen_lost_port(ups);
    const int r = check_link(ups);
    if (r != 0) drop_gone_port();
    if (r == 0 && ups.last_step == STEP_IDENTIFY) adjust_voltage_thresholds(ups);

    switch (g_monitor_state) {
    case MONITOR_NORMAL:
        run_normal_state(ups);
        break;
    case MONITOR_SELFTEST:
        run_selftest_state(ups);
        break;
    default:
        run_shutdown_state(ups);
        break;
    }
    // The last shutdown step ends the program, which destroys the windows and frees the state this
    // poll was working on: nothing of it may be touched after that.
    if (g_app != app) {
        g_in_poll = false;
        return;
    }

    if (r == 0) {
        if (g_monitor_state != MONITOR_SELFTEST) {
            check_thresholds(ups);
            check_power_events(ups);
            log_data(ups);
            apply_power_events(ups);
        } else {
            supervise_selftest(ups);
        }
    }

    if (g_app->remote_view && !g_app->remote_view_held) watch_remote(g_app->remote);

    if (SendUPSCommand(g_app->serial_handle, ups) != 0) drop_gone_port();
    if (host) host->refresh_status();
    g_in_poll = false;
}

void enter_remote_view(const char* name) {
    if (!g_app || g_app->remote_view) return;
    change_view(true, name ? name : "");
}

void leave_remote_view() {
    if (!g_app || !g_app->remote_view) return;
    char id[sizeof g_app->local.ups_id + 1] = {};
    memcpy(id, g_app->local.ups_id, strnlen(g_app->local.ups_id, sizeof g_app->local.ups_id));
    change_view(false, id);
}

void reset_monitor_engine() {
    g_monitor_state = MONITOR_NORMAL;
    g_link_lost = false;
    g_port_wanted = false;
    g_port_device.clear();
    g_in_poll = false;
    g_timer_failure_reported = false;
    reset_countdown();
    forget_shutdown_announcements();
    forget_last_selftest_run();
    close_modem_port();
    reset_data_log_timer();
}
