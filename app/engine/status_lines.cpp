// Formats the decoded UPS record as "key: value" lines.
#include "engine/status_lines.h"

#include <cstdio>

std::string status_lines(const ups_status& u) {
    char text[1024];
    snprintf(text, sizeof text,
             "model: %s\n"
             "va_rating: %u\n"
             "family: %s\n"
             "voltage_class: %u\n"
             "firmware: 0x%02X\n"
             "protocol: 0x%02X\n"
             "identity: 0x%02X\n"
             "line_voltage: %u\n"
             "frequency: %u\n"
             "load: %u\n"
             "battery_voltage: %u.%u\n"
             "battery_charge: %u\n"
             "battery_low: %d\n"
             "power_state: %u\n"
             "on_battery: %d\n"
             "regulator: %u\n"
             "temperature_c: %d\n"
             "temperature_f: %d\n"
             "selftest_status: %u\n"
             "phone_option: %u\n",
             u.model_name, u.va_rating, u.family == 1 ? "Corvel" : "Kestra", u.voltage_class,
             u.firmware, u.protocol, u.identity, u.line_voltage, u.frequency, u.load,
             u.battery_voltage / 10, u.battery_voltage % 10, u.battery_charge,
             u.battery_not_low == 0 ? 1 : 0, u.power_state, (u.power_state & 1) ? 1 : 0,
             u.regulator_state, u.temperature_c, u.temperature_f, u.selftest_status,
             u.phone_option_value);
    return text;
}
