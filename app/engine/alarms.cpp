// Threshold alarms and power events.
#include "engine/alarms.h"

#include "engine/app_state.h"
#include "engine/report.h"

#include <cstdio>

namespace {

struct alarm_rule {
    bool high; // out of range when the reading is above the threshold, else below it
    const char* leaving;
    const char* returning;
};

constexpr alarm_rule rules[ALARM_COUNT] = {
    {false, "Line Voltage out of range: %d volts.", "Line Voltage returned to normal: %d volts."},
    {true, "Line Voltage out of range: %d volts.", "Line Voltage returned to normal: %d volts."},
    {true, "UPS Overloaded - unplug device: %d%%.", "UPS load returned to normal: %d%%."},
    {false, "Below Battery Threshold: %d%%.", "Battery Charge returned to normal: %d%%."},
    {true, "Temperature out of range: %d.", "Temperature returned to normal: %d."}};

int reading_of(const ups_status& ups, int index) {
    switch (index) {
    case ALARM_LOW_LINE:
    case ALARM_HIGH_LINE:
        return ups.line_voltage;
    case ALARM_LOAD:
        return ups.load;
    case ALARM_BATTERY:
        return ups.battery_charge;
    default:
        return ups.temperature_unit == 1 ? ups.temperature_f : ups.temperature_c;
    }
}

bool remote_view_on() {
    return g_app && g_app->remote_view;
}

} // namespace

bool ups_on_battery(const ups_status& ups) {
    return ups.power_state == 1 || ups.power_state == 3;
}

int message_kind_for(const ups_status& ups, int kind) {
    if (ups.message_source) return MSG_PANEL;
    return remote_view_on() ? KIND_LOCAL_IN_REMOTE_VIEW : kind;
}

void post_status_line(ups_status& ups, const char* text, int kind) {
    snprintf(ups.status_line, sizeof ups.status_line, "%s", text);
    post_message(text, kind);
}

void check_thresholds(ups_status& ups) {
    if (!ups.valid) return;
    for (int i = 0; i < ALARM_COUNT; ++i) {
        const int reading = reading_of(ups, i);
        const int threshold = ups.thresholds[i].value;
        const bool out = rules[i].high ? threshold < reading : threshold > reading;
        const char* format = nullptr;
        if (out && !ups.alarm_active[i]) format = rules[i].leaving;
        if (!out && ups.alarm_active[i]) format = rules[i].returning;
        ups.alarm_active[i] = out;
        if (!format) continue;
        char text[96];
        snprintf(text, sizeof text, format, reading);
        post_message(text, message_kind_for(ups, ups.thresholds[i].kind));
    }
}

void check_power_events(ups_status& ups) {
    if (!ups.valid) return;
    const int kind = message_kind_for(ups, KIND_POWER);
    const time_t now = g_app ? g_app->poll_time : 0;
    if (ups_on_battery(ups)) {
        if (!ups.on_battery) {
            if (ups.outage_start == 0) {
                ups.outage_start = now;
            } else if (now - ups.outage_start >= ups.disruption_time) {
                post_message("On battery backup.", kind);
                ups.outage_start = 0;
                ups.on_battery = 1;
                ups.power_event_pending = 1;
            }
        }
    } else {
        if (ups.on_battery) {
            post_message("Power restored.", kind);
            ups.on_battery = 0;
            ups.power_event_pending = 1;
        }
        ups.outage_start = 0;
    }

    const bool low = ups.battery_not_low == 0;
    if (!low && ups.battery_low) {
        post_message("Battery back to normal.", kind);
        ups.battery_low = 0;
        ups.battery_event_pending = 1;
    } else if (low && !ups.battery_low) {
        post_message("Low battery.", kind);
        ups.battery_low = 1;
        ups.battery_event_pending = 1;
    }
}

void adjust_voltage_thresholds(ups_status& ups) {
    ups_threshold& low = ups.thresholds[ALARM_LOW_LINE];
    ups_threshold& high = ups.thresholds[ALARM_HIGH_LINE];
    bool changed = false;
    if (ups.voltage_class != 0 && high.value < 136) {
        high.value = 250;
        low.value = 190;
        changed = true;
    } else if (ups.voltage_class == 0 && high.value >= 240) {
        high.value = 130;
        low.value = 100;
        changed = true;
    }
    if (changed && g_app) g_app->force_redraw = 1;
}
