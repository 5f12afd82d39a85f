// The shutdown countdown with its messages, icons and pager, and the UPS switch-off commands.
#include "engine/shutdown.h"

#include "engine/alarms.h"
#include "engine/app_state.h"
#include "engine/monitor_state.h"
#include "engine/os_shutdown.h"
#include "engine/pager.h"
#include "engine/protocol.h"
#include "engine/report.h"
#include "engine/schedules.h"
#include "engine/serial_io.h"

#include <algorithm>
#include <cstdio>

namespace {

// Message kind of "UPS is being turned off.": panel, alarm log and the bit of value 16.
constexpr int KIND_TURN_OFF = 19;
// A switch-off the UPS never got is shown and goes to both logs.
constexpr int KIND_NOT_TOLD = MSG_PANEL | MSG_ALARM_LOG | MSG_EVENT_LOG;
constexpr int ICON_STEPS = 7;

void show_icon(const char* name) {
    if (monitor_host* host = g_app->engine.host) host->set_icon(name);
}

int16_t& monitor_state() {
    return g_app->engine.monitor_state;
}

int16_t to_short(long value) {
    return static_cast<int16_t>(std::clamp(value, -32768L, 32767L));
}

void start_countdown(ups_status& ups, long seconds) {
    ups.shutdown_delay = to_short(seconds);
    set_poll_period(POLL_FAST_SECONDS);
    monitor_state() = MONITOR_COUNTDOWN_START;
}

void announce_countdown(ups_status& ups) {
    char text[80];
    if (ups.shutdown_delay / 60 > 0)
        snprintf(text, sizeof text, "System shutdown in %d minutes or less.",
                 ups.shutdown_delay / 60);
    else
        snprintf(text, sizeof text, "System shutdown in 1 minute or less.");
    post_status_line(ups, text, KIND_POWER);
}

void advance_icon(time_t now, int16_t delay) {
    countdown_values& c = g_app->engine.countdown;
    if (c.last_icon_step == 0) c.last_icon_step = now;
    if (c.icon_step == 0) c.icon_step = static_cast<int16_t>(delay / ICON_STEPS);
    if (now - c.last_icon_step >= c.icon_step) {
        c.next_icon = c.current_icon + 1;
        c.last_icon_step = now;
    }
    if (c.current_icon < c.next_icon && c.next_icon <= ICON_STEPS) {
        c.current_icon = c.next_icon;
        char name[24];
        snprintf(name, sizeof name, "Battery%d", c.current_icon);
        show_icon(name);
    }
}

void countdown_tick(ups_status& ups) {
    countdown_values& c = g_app->engine.countdown;
    const time_t now = g_app->poll_time;
    if (c.start == 0) c.start = now;
    if (c.last_message == 0) c.last_message = now;
    c.elapsed = static_cast<long>(now - c.start);
    c.remaining = to_short(ups.shutdown_delay - c.elapsed);

    advance_icon(now, ups.shutdown_delay);

    if (std::max<time_t>(now - c.last_message, 0) >= ups.message_time) {
        c.last_message = now;
        // A poll that comes late (a busy machine, a clock step) may find the time already past;
        // the message then says 00:00 rather than a negative time.
        const int left = std::max<int>(c.remaining, 0);
        char text[80];
        snprintf(text, sizeof text, "Time remaining until shutdown %02d:%02d.", left / 60,
                 left % 60);
        post_status_line(ups, text, KIND_POWER);
    }

    if (ups.page_on_shutdown && c.remaining <= ups.modem_time * 60 && ups_on_battery(ups) &&
        !c.paged) {
        c.paged = true;
        post_status_line(ups, "Sending notify via pager.", KIND_POWER);
        page_operator(ups);
    }

    if (ups.shutdown_delay <= c.elapsed) monitor_state() = MONITOR_EXPIRED;
}

void switch_ups_off(ups_status& ups) {
    if (ups.grace_time == 0) {
        monitor_state() = MONITOR_OS_SHUTDOWN;
        return;
    }
    if (!g_app->engine.countdown.announced_off) {
        g_app->engine.countdown.announced_off = true;
        post_message("UPS is being turned off.", KIND_TURN_OFF);
    }
    if (ups.last_step != STEP_GRACE) {
        // A port closed as gone sends nothing, so :N would be waited for at every poll while the
        // battery drains; a command that could not go out counts as not sent, and the machine
        // is shut down all the same.
        if (g_app->engine.countdown.grace_queued) {
            monitor_state() = MONITOR_OS_SHUTDOWN;
            return;
        }
        g_app->engine.countdown.grace_queued = true;
        ups.next_step = STEP_GRACE;
        return;
    }
    if (ups_on_battery(ups)) {
        ups.next_step = STEP_OFF;
    } else if (ups.restart_enabled) {
        ups.restart_delay = restart_delay(ups);
        ups.next_step = STEP_RESTART;
    } else {
        ups.next_step = STEP_OFF_NOW;
    }
    monitor_state() = MONITOR_OS_SHUTDOWN;
}

// The switch-off command went out at the end of the last poll over a port that is still open.
bool ups_was_told_off(const ups_status& ups) {
    const bool off_command = ups.last_step == STEP_OFF || ups.last_step == STEP_OFF_NOW ||
                             ups.last_step == STEP_RESTART;
    return off_command && g_app->serial_handle != SERIAL_INVALID;
}

void end_application() {
    if (monitor_host* host = g_app->engine.host) host->terminate_application();
}

} // namespace

bool shutdown_step_shows_local_view(int16_t state) {
    return state == MONITOR_COUNTDOWN_START || state == MONITOR_EXPIRED;
}

void cancel_countdown() {
    show_icon("Normal");
    monitor_state() = MONITOR_NORMAL;
    set_poll_period(POLL_NORMAL_SECONDS);
    g_app->engine.countdown = countdown_values{};
    forget_shutdown_announcements();
}

int restart_delay(const ups_status& ups) {
    const int s = ups.shutdown_time.hour * 3600 + ups.shutdown_time.minute * 60;
    const int r = ups.restart_time.hour * 3600 + ups.restart_time.minute * 60;
    int days = 0;
    if (ups.shutdown_type == 1) {
        days = r <= s ? 1 : 0;
    } else {
        const int restart_day = ups.restart_time.weekday;
        const int shutdown_day = ups.shutdown_time.weekday;
        if (restart_day > shutdown_day)
            days = restart_day - shutdown_day;
        else if (restart_day < shutdown_day)
            days = restart_day - shutdown_day + 7;
        else
            days = r > s ? 0 : 7;
    }
    const int delay = r - s + days * 86400 - ups.grace_time;
    return delay <= 1 ? 60 : delay;
}

void apply_power_events(ups_status& ups) {
    // Once the UPS has been told to switch off, it will, whatever the mains do now: the system
    // must go down with it, so no event may restart or cancel the countdown.
    if (monitor_state() == MONITOR_OS_SHUTDOWN || monitor_state() == MONITOR_END) {
        ups.power_event_pending = 0;
        ups.battery_event_pending = 0;
        return;
    }
    if (ups.power_event_pending) {
        ups.power_event_pending = 0;
        if (!ups.on_battery) {
            monitor_state() = MONITOR_CANCELLED;
            return;
        }
        start_countdown(ups, ups.battery_low ? ups.low_battery_time : ups.powerfail_time * 60L);
        return;
    }
    if (!ups.battery_event_pending) return;
    ups.battery_event_pending = 0;
    if (!ups.battery_low) {
        if (!ups.on_battery && monitor_state() != MONITOR_NORMAL)
            monitor_state() = MONITOR_CANCELLED;
        return;
    }
    if (ups.on_battery) {
        g_app->engine.countdown.start = 0;
        g_app->engine.countdown.last_message = 0;
        start_countdown(ups, ups.low_battery_time);
    }
}

void run_shutdown_state(ups_status& ups) {
    switch (monitor_state()) {
    case MONITOR_COUNTDOWN_START:
        monitor_state() = MONITOR_COUNTDOWN;
        announce_countdown(ups);
        break;
    case MONITOR_COUNTDOWN:
        countdown_tick(ups);
        break;
    case MONITOR_EXPIRED:
        set_poll_period(POLL_NORMAL_SECONDS);
        show_icon("Battery7");
        monitor_state() = MONITOR_UPS_OFF;
        break;
    case MONITOR_UPS_OFF:
        switch_ups_off(ups);
        break;
    case MONITOR_OS_SHUTDOWN:
        if (ups.grace_time != 0 && !ups_was_told_off(ups))
            post_message("The UPS could not be told to switch off.", KIND_NOT_TOLD);
        post_status_line(ups, "System is shutting down now!", KIND_POWER);
        monitor_state() = MONITOR_END;
        shutdown_system(shutdown_script_limit(ups.grace_time));
        end_application();
        break;
    case MONITOR_END:
        end_application();
        break;
    case MONITOR_CANCELLED:
        cancel_countdown();
        post_status_line(ups, "System shutdown terminated.", KIND_POWER);
        break;
    default:
        break;
    }
}
