// Schedules: day rules, shutdown warnings, the once-a-minute self-test and its supervision.
#include "engine/schedules.h"

#include "engine/alarms.h"
#include "engine/app_state.h"
#include "engine/monitor_state.h"
#include "engine/protocol.h"
#include "engine/report.h"
#include "files/config_file.h"

#include <cerrno>
#include <cstdio>

namespace {

// Message kind of the shutdown warnings: panel, alarm log and the bit of value 16.
constexpr int KIND_WARNING = 19;

constexpr int WARNING_MINUTES[SHUTDOWN_WARNING_COUNT] = {10, 5, 2, 1};

// Monthly windows cover the first week, bi-weekly ones the first and third, each with the
// configured weekday. Each window is exactly seven days, so it holds every weekday once: a wider
// one would run a "monthly" schedule twice when the weekday falls on the 1st and the 8th.
bool in_first_week(int day) {
    return day >= 1 && day <= 7;
}
bool in_third_week(int day) {
    return day >= 15 && day <= 21;
}

bool weekday_matches(const ups_clock& today, const ups_clock& when) {
    return today.weekday == when.weekday;
}

bool shutdown_day_matches(const ups_status& ups, const ups_clock& today) {
    switch (ups.shutdown_type) {
    case SHUTDOWN_IMMEDIATE:
    case SHUTDOWN_DAILY:
        return true;
    case SHUTDOWN_WEEKLY:
        return weekday_matches(today, ups.shutdown_time);
    case SHUTDOWN_MONTHLY:
        return weekday_matches(today, ups.shutdown_time) && in_first_week(today.day);
    default:
        return false;
    }
}

bool selftest_day_matches(const ups_status& ups, const ups_clock& today) {
    if (!weekday_matches(today, ups.selftest_time)) return false;
    switch (ups.selftest_type) {
    case SELFTEST_WEEKLY:
        return true;
    case SELFTEST_BIWEEKLY:
        return in_first_week(today.day) || in_third_week(today.day);
    case SELFTEST_MONTHLY:
        return in_first_week(today.day);
    default:
        return false;
    }
}

bool at_minute(const ups_clock& now, const ups_clock& when) {
    return now.hour == when.hour && now.minute == when.minute;
}

// Gives the warning that m minutes before the shutdown calls for, once; a warning also stands
// for every longer one, so a late start never gives them afterwards.
void warn_ahead(ups_status& ups, int m) {
    if (m < 0 || m > 10) return;
    const int index = m >= 6 ? 0 : m >= 3 ? 1 : m == 2 ? 2 : 3;
    bool* warned = g_app->engine.warned;
    if (warned[index]) return;
    for (int i = 0; i <= index; ++i) warned[i] = true;
    announce_shutdown(ups, WARNING_MINUTES[index]);
}

bool is_local(const ups_status& ups) {
    return g_app && &ups == &g_app->local;
}

const char* selftest_result_text(int status) {
    switch (status) {
    case SELFTEST_OK:
        return "OK";
    case SELFTEST_BAD_BATTERY:
        return "bad battery";
    case SELFTEST_BAD_INVERTER:
        return "bad inverter";
    default:
        return "unknown";
    }
}

} // namespace

const char* selftest_type_text(int type) {
    switch (type) {
    case SELFTEST_IMMEDIATE:
        return "Immediate";
    case SELFTEST_WEEKLY:
        return "Scheduled weekly";
    case SELFTEST_BIWEEKLY:
        return "Scheduled bi-weekly";
    case SELFTEST_MONTHLY:
        return "Scheduled monthly";
    default:
        return "Unknown";
    }
}

const char* shutdown_type_text(int type) {
    switch (type) {
    case SHUTDOWN_IMMEDIATE:
        return "Immediate";
    case SHUTDOWN_DAILY:
        return "Scheduled daily";
    case SHUTDOWN_WEEKLY:
        return "Scheduled weekly";
    case SHUTDOWN_MONTHLY:
        return "Scheduled monthly";
    default:
        return "Unknown";
    }
}

void forget_shutdown_announcements() {
    if (!g_app) return;
    for (bool& warned : g_app->engine.warned) warned = false;
}

void forget_last_selftest_run() {
    if (g_app) g_app->engine.last_selftest_run = ups_clock{};
}

void announce_shutdown(ups_status& ups, int minutes) {
    char text[80];
    snprintf(text, sizeof text,
             minutes == 1 ? "Scheduled shutdown in %d minute or less."
                          : "Scheduled shutdown in %d minutes or less.",
             minutes);
    post_status_line(ups, text, KIND_WARNING);
}

int check_shutdown_schedule(ups_status& ups) {
    if (!ups.shutdown_enabled || !g_app) return 0;
    const ups_clock& now = g_app->poll_clock;
    if (!shutdown_day_matches(ups, now)) return 0;

    // Both ends fall on today at whole minutes, so the distance is counted in minutes of the day.
    const int target = ups.shutdown_time.hour * 60 + ups.shutdown_time.minute;
    warn_ahead(ups, target - (now.hour * 60 + now.minute));

    if (ups.shutdown_type != SHUTDOWN_IMMEDIATE && !at_minute(now, ups.shutdown_time)) return 0;
    char text[80];
    snprintf(text, sizeof text, "Performing %s shutdown.", shutdown_type_text(ups.shutdown_type));
    post_status_line(ups, text, KIND_POWER);
    g_app->engine.monitor_state = MONITOR_EXPIRED;
    return 1;
}

int check_selftest_schedule(ups_status& ups) {
    if (!ups.selftest_enabled || !g_app) return 0;
    const ups_clock& now = g_app->poll_clock;
    // One start per minute of a date: without the day of month, the first weekly test of a month
    // would stop every later one that falls on the same weekday and time.
    const ups_clock& last = g_app->engine.last_selftest_run;
    if (now.minute == last.minute && now.hour == last.hour && now.weekday == last.weekday &&
        now.day == last.day && now.month == last.month && now.year == last.year)
        return 0;

    if (ups.selftest_type == SELFTEST_IMMEDIATE) {
        ups.selftest_enabled = 0;
    } else if (ups.selftest_type < SELFTEST_IMMEDIATE || ups.selftest_type > SELFTEST_MONTHLY ||
               !selftest_day_matches(ups, now) || !at_minute(now, ups.selftest_time)) {
        return 0;
    }

    const char* type = selftest_type_text(ups.selftest_type);
    g_app->engine.last_selftest_run = now;
    if (ups.power_state != 0 && ups.power_state != 1) {
        g_app->engine.monitor_state = MONITOR_SELFTEST;
        ups.next_step = STEP_SELFTEST;
        set_poll_period(POLL_FAST_SECONDS);
        return 1;
    }
    char text[80];
    snprintf(text, sizeof text, "%s selftest was not performed", type);
    post_message(text, KIND_POWER);
    post_message("because the receptacles are off.", KIND_POWER);
    return 0;
}

void check_schedules(ups_status& ups) {
    if (!ups.valid) return;
    if (check_shutdown_schedule(ups)) return;
    check_selftest_schedule(ups);
}

void supervise_selftest(ups_status& ups) {
    const int kind = g_app && g_app->remote_view ? MSG_PANEL : KIND_POWER;
    char text[80];
    if (ups.selftest_status == SELFTEST_RUNNING && !ups.selftest_announced) {
        ups.selftest_announced = 1;
        set_poll_period(POLL_FAST_SECONDS);
        snprintf(text, sizeof text, "%s selftest in progress.",
                 selftest_type_text(ups.selftest_type));
        post_message(text, kind);
    } else if (ups.selftest_status != SELFTEST_RUNNING && ups.selftest_announced) {
        ups.selftest_announced = 0;
        snprintf(text, sizeof text, "Self-test result: %s.",
                 selftest_result_text(ups.selftest_status));
        post_message(text, kind);
        if (is_local(ups) && !g_app->remote_view) {
            ups.last_selftest = g_app->poll_clock;
            ups.last_selftest.month += 1;
            if (save_configuration(ups, *g_app) != 0)
                post_brief_message(CONFIGURATION_SAVE_FAILED, configuration_save_failure(errno).c_str(),
                               MSG_PANEL | MSG_EVENT_LOG);
        }
        set_poll_period(POLL_NORMAL_SECONDS);
    }
}
