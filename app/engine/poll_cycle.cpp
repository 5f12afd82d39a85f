// One poll of the UPS and the supervision of its link, driven by the poll timer.
#include "engine/poll_cycle.h"

#include "engine/alarms.h"
#include "engine/app_state.h"
#include "engine/monitor_state.h"
#include "engine/protocol.h"
#include "engine/report.h"
#include "engine/schedules.h"
#include "engine/serial_io.h"
#include "engine/shutdown.h"
#include "files/logs.h"

#include <cstdio>
#include <cstring>

namespace {

// Line settings of the UPS port: 2400 baud, 8 data bits, no parity, 1 stop bit.
constexpr int UPS_RATE = 2400;
constexpr int UPS_DATA_BITS = 8;
constexpr int UPS_PARITY_NONE = 0;
constexpr int UPS_STOP_BITS = 1;

// Message kind that clears the message panel when the view changes: panel and the bit of 16.
constexpr int KIND_VIEW_CHANGE = 17;

int open_port_quietly() {
    return SerialIO_Open(&g_app->serial_handle, ups_port_in_use().c_str(), UPS_RATE,
                         UPS_DATA_BITS, UPS_PARITY_NONE, UPS_STOP_BITS, &engine_trace());
}

// A USB adapter that was pulled out or a port that hung up never answers again through the same
// descriptor; it is closed here and opened afresh at the following polls.
void drop_gone_port() {
    if (g_app->serial_handle == SERIAL_INVALID || !serial_device_gone(g_app->serial_handle)) return;
    tracef(TRACE_ERROR, "UPSSVC: device gone on COM port: %s!", ups_port_in_use().c_str());
    SerialIO_Close(&g_app->serial_handle, &engine_trace());
}

// A "COMn" whose link in the program directory went away with its adapter names the machine's
// own serial port meanwhile; polling whatever is wired there is worse than waiting for the UPS.
void reopen_lost_port(ups_status& ups) {
    const engine_state& engine = g_app->engine;
    if (!engine.port_wanted || g_app->serial_handle != SERIAL_INVALID) return;
    if (serial_resolve_port(ups_port_in_use().c_str()) != engine.port_device) return;
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
    if (ups.valid && !g_app->remote_view) set_poll_period(POLL_NORMAL_SECONDS);
    check_schedules(ups);
    // A self-test or shutdown started just now has queued its own command; the phone option
    // waits for the next normal poll rather than overwrite it.
    if (ups.phone_option_pending && g_app->engine.monitor_state == MONITOR_NORMAL) {
        ups.phone_option_pending = 0;
        ups.next_step = STEP_SET_PHONE;
    }
}

void run_selftest_state(ups_status& ups) {
    if (ups.selftest_status != SELFTEST_RUNNING && ups.last_step == STEP_STATUS)
        g_app->engine.monitor_state = MONITOR_NORMAL;
    else if (ups.last_step != STEP_SELFTEST_RESULT)
        ups.next_step = STEP_SELFTEST_RESULT;
}

// The data log queues :I after each record, but only in place of the plain :B/:D alternation: a
// command queued by the shutdown or the phone option must not be lost to it, and with records due
// at every poll :D must still come between two :I.
void log_data(ups_status& ups) {
    if (!log_data_when_due(g_app->engine.logs, ups, g_app->poll_time)) return;
    const bool plain = ups.next_step == STEP_STATUS || ups.next_step == STEP_BATTERY;
    if (plain && ups.last_step != STEP_VOLTAGE) ups.next_step = STEP_VOLTAGE;
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
    if (!g_app->engine.in_poll) poll_tick();
}

// Runs the monitor state's part of a poll; the shutdown steps that show the local UPS have it
// shown before they run.
void run_monitor_state(ups_status& ups) {
    switch (g_app->engine.monitor_state) {
    case MONITOR_NORMAL:
        run_normal_state(ups);
        break;
    case MONITOR_SELFTEST:
        run_selftest_state(ups);
        break;
    default:
        if (shutdown_step_shows_local_view(g_app->engine.monitor_state)) leave_remote_view();
        run_shutdown_state(ups);
        break;
    }
}

} // namespace

std::string ups_port_in_use() {
    if (!g_app) return {};
    const ups_status& ups = g_app->local;
    const char* port = ups.port_found ? ups.found_port : ups.ups_port;
    return std::string(port, strnlen(port, PORT_NAME_SIZE));
}

int ups_port_open() {
    if (!g_app) return 2;
    engine_state& engine = g_app->engine;
    engine.port_wanted = true;
    if (g_app->serial_handle != SERIAL_INVALID)
        SerialIO_Close(&g_app->serial_handle, &engine_trace());
    engine.port_device = serial_resolve_port(ups_port_in_use().c_str());
    const int result = open_port_quietly();
    if (result != 0) {
        tracef(TRACE_ERROR, "UPSSVC: SerialIO_Open error on COM port: %s!",
               ups_port_in_use().c_str());
        return result;
    }
    g_app->local.next_step = STEP_PROTOCOL;
    SendUPSCommand(engine.protocol, g_app->serial_handle, g_app->local);
    return 0;
}

int ups_port_close() {
    if (!g_app) return 2;
    g_app->engine.port_wanted = false;
    const int result = SerialIO_Close(&g_app->serial_handle, &engine_trace());
    if (result != 0)
        tracef(TRACE_ERROR, "UPSSVC: SerialIO_Close error on COM port: %s!",
               ups_port_in_use().c_str());
    return result;
}

int check_link(ups_status& ups) {
    engine_state& engine = g_app->engine;
    const int result = GetNorvaKestraUPSData(engine.protocol, g_app->serial_handle, ups);
    ups.message_source = 0;
    // Room for the whole port name: a device path names the port only when it is shown whole.
    char text[32 + PORT_NAME_SIZE];
    if (result != 0) {
        // The count stops short of wrapping, so a UPS that stays away for days is not reported
        // lost again.
        if (g_app->failed_polls < INT16_MAX) ++g_app->failed_polls;
        if (g_app->failed_polls >= LOST_LINK_POLLS && !engine.link_lost) {
            engine.link_lost = true;
            ups.valid = 0;
            snprintf(text, sizeof text, "UPS not responding on %s!", ups_port_in_use().c_str());
            post_message(text, MSG_PANEL);
        }
        return 2;
    }
    g_app->failed_polls = 0;
    if (engine.link_lost) {
        engine.link_lost = false;
        ups.next_step = STEP_IDENTIFY;
        snprintf(text, sizeof text, "UPS connected on %s.", ups_port_in_use().c_str());
        post_message(text, MSG_PANEL);
    }
    if (ups.last_step == STEP_STATUS) ups.valid = 1;
    return 0;
}

void poll_tick() {
    if (!g_app || g_app->engine.in_poll) return;
    g_app->engine.in_poll = true;
    app_state* const app = g_app;
    monitor_host* host = g_app->engine.host;
    app_stamp_poll_time(*g_app, app_now());
    if (host) host->draw_clock();

    ups_status& ups = g_app->local;
    reopen_lost_port(ups);
    const int r = check_link(ups);
    if (r != 0) drop_gone_port();
    if (r == 0 && ups.last_step == STEP_IDENTIFY) adjust_voltage_thresholds(ups);

    run_monitor_state(ups);
    // The last shutdown step ends the program, which destroys the windows and frees the state this
    // poll was working on (the engine's with it): nothing of it may be touched after that.
    if (g_app != app) return;

    if (r == 0) {
        if (g_app->engine.monitor_state != MONITOR_SELFTEST) {
            check_thresholds(ups);
            check_power_events(ups);
            log_data(ups);
            apply_power_events(ups);
        } else {
            supervise_selftest(ups);
        }
    }

    if (g_app->remote_view && !g_app->remote_view_held) watch_remote(g_app->remote);

    if (SendUPSCommand(g_app->engine.protocol, g_app->serial_handle, ups) != 0) drop_gone_port();
    if (host) host->refresh_status();
    g_app->engine.in_poll = false;
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
