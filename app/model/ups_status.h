// The UPS status record: configuration, thresholds, schedules and last readings of one UPS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

// Room for a port name with its terminating NUL: "COM1" or a device path such as
// /dev/serial/by-id/usb-..., held whole. A configuration line of 131 bytes must still carry the
// longest one after its key ("Modem Port:" is the longest port key).
inline constexpr std::size_t PORT_NAME_SIZE = 120;

// A broken-down local time kept as nine ints, in the order of struct tm.
struct ups_clock {
    int second;
    int minute;
    int hour;
    int day;     // day of month, 1-31
    int month;   // 0-11
    int year;    // years since 1900
    int weekday; // 0 = Sunday
    int yearday;
    int daylight;
};

// The clock of a broken-down time.
inline ups_clock clock_from_tm(const struct tm& tm) {
    return ups_clock{tm.tm_sec,  tm.tm_min,  tm.tm_hour, tm.tm_mday, tm.tm_mon,
                     tm.tm_year, tm.tm_wday, tm.tm_yday, tm.tm_isdst};
}

// Threshold order in the alarm arrays.
enum alarm_index : int {
    ALARM_LOW_LINE = 0,
    ALARM_HIGH_LINE = 1,
    ALARM_LOAD = 2,
    ALARM_BATTERY = 3,
    ALARM_TEMPERATURE = 4,
    ALARM_COUNT = 5
};

struct ups_threshold {
    int16_t value;
    int16_t kind; // message kind posted when the alarm fires
};

struct ups_status {
    uint16_t firmware;        // :V reply
    uint16_t identity;        // :L reply
    uint16_t protocol;        // :W reply; bit 7 selects extended identification
    uint16_t nominal_voltage; // 0, 208 or 240; only meaningful for voltage class 3
    uint16_t extended_identity;
    int32_t family; // 1 = Corvel, 0 = Kestra
    uint16_t voltage_class;
    uint16_t identity_bit1;
    uint16_t identity_bits23;
    uint16_t va_rating;
    char model_name[32];
    uint8_t battery_not_low; // 0 means the battery is low
    uint8_t field2;
    uint16_t line_voltage;
    uint16_t regulator_state;
    uint16_t power_state; // bit 0: on battery; bit 1 clear: receptacles off
    int16_t temperature_c;
    int16_t temperature_f;
    uint16_t battery_charge;
    uint16_t field8;
    uint16_t load;
    uint16_t logged_voltage;
    uint16_t second_voltage;
    uint16_t frequency;
    uint16_t battery_voltage; // tenths of a volt
    uint16_t selftest_status; // 2 while running, 5 before any result
    uint8_t phone_option_value;
    int16_t phone_option_setting; // 1 "Reboot", 0 "Remote ON"
    int16_t grace_time;           // seconds
    int32_t restart_delay;        // seconds
    uint8_t restart_enabled;
    int16_t last_step;
    int16_t next_step;
    char ups_port[PORT_NAME_SIZE];
    uint8_t logging_enabled;
    int16_t log_interval;     // minutes
    int16_t temperature_unit; // 1 = Fahrenheit
    int16_t disruption_time;  // seconds
    int16_t low_battery_time; // seconds
    int16_t message_time;     // seconds
    int16_t powerfail_time;   // minutes
    int16_t modem_time;
    char modem_command[64];
    char modem_port[PORT_NAME_SIZE];
    uint8_t page_on_shutdown;
    int32_t alarm_file_setting;
    uint8_t selftest_enabled;
    int16_t selftest_type;
    ups_clock selftest_time;
    ups_clock last_selftest;
    uint8_t shutdown_enabled;
    int16_t shutdown_type;
    ups_clock shutdown_time;
    ups_clock restart_time;
    char ups_id[15];
    char ups_voltage_text[9]; // "Default", "208" or "240"
    ups_threshold thresholds[ALARM_COUNT];
    uint8_t valid;
    uint8_t phone_option_pending;
    uint8_t counter_reset_request;
    uint8_t selftest_rearm_request;
    int16_t shutdown_delay;
    char status_line[80];
    uint8_t message_source; // 1 while the readings come from a server
    uint8_t selftest_announced;
    uint8_t alarm_active[ALARM_COUNT];
    uint8_t on_battery;
    uint8_t battery_low;
    uint8_t power_event_pending;
    uint8_t battery_event_pending;
    time_t outage_start;
    uint8_t port_found;
    char port_in_use[PORT_NAME_SIZE];
    char found_port[PORT_NAME_SIZE];
    char hardware_id[9];
};

// What the configuration file keeps for the application besides the UPS record.
struct app_settings {
    char alert_server[41];
    uint8_t start_minimised;
    int32_t stale_file_limit;
};
