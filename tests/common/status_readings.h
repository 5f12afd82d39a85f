// The readings the status window's tests and benchmark draw: a valid 120 V UPS, middling values.
#pragma once

#include "engine/app_state.h"

#include <cstring>

// Fills the local record and the poll clock of app with a Kestra 1400 at 120 V, 50 % load.
inline void fill_status_readings(app_state& app) {
    ups_status& u = app.local;
    u.valid = 1;
    u.voltage_class = 0;
    std::strcpy(u.model_name, "Kestra 1400");
    std::strcpy(u.ups_id, "BENCH-7");
    std::strcpy(app.alert_server, "OPSHOST");
    u.line_voltage = 120;
    u.frequency = 60;
    u.regulator_state = 0;
    u.power_state = 2;
    u.battery_not_low = 1;
    u.load = 50;
    u.battery_charge = 100;
    u.temperature_c = 31;
    u.selftest_status = 0;
    u.last_selftest.month = 11; // kept 1-12, as the scheduler stores it
    u.last_selftest.day = 24;
    u.last_selftest.year = 126;
    u.thresholds[ALARM_HIGH_LINE].value = 125;
    u.thresholds[ALARM_LOW_LINE].value = 100;
    u.thresholds[ALARM_LOAD].value = 80;
    u.thresholds[ALARM_BATTERY].value = 30;
    app.poll_clock = ups_clock{5, 4, 10, 8, 11, 126, 2, 341, 0};
}
