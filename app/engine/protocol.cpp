// The Norvane UPS command protocol: building commands, the echo check and the reply decoders.
#include "engine/protocol.h"

#include "engine/serial_io.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int REPLY_SIZE = 128;

// Wire lines are only formatted when the sink shows them.
bool wire_trace_on(const protocol_session& session) {
    return session.trace && session.trace->shows(TRACE_WIRE);
}

// Traces one wire line with carriage returns shown as '<' and line feeds as '~'.
void trace_wire(const protocol_session& session, const char* label, int count, const char* text) {
    char line[REPLY_SIZE + 64];
    snprintf(line, sizeof line, "%s[%d]\tString: [%s]", label, count, text);
    for (char* p = line; *p; ++p) {
        if (*p == '\r')
            *p = '<';
        else if (*p == '\n')
            *p = '~';
    }
    session.trace->line(line, TRACE_WIRE);
}

void trace_wire_note(const protocol_session& session, const char* text) {
    if (wire_trace_on(session)) session.trace->line(text, TRACE_WIRE);
}

int hex_digit_value(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Builds the command of a step; false for a step outside the table (the buffer then keeps the
// previous command, which is sent again).
bool build_command(const ups_status& ups, int step, char* out, size_t size) {
    static constexpr const char* fixed[] = {":W\r",  ":L\r",  ":V\r", ":S\r",  nullptr,
                                            ":D\r",  ":B\r",  ":I\r", nullptr, ":G\r",
                                            ":K0\r", nullptr, ":A\r", ":C\r"};
    if (step < 0 || step > STEP_SELFTEST_RESULT) return false;
    // The UPS reads exactly two and six hex digits; a value wider than that would be misread, so
    // it is held to the largest the field can carry.
    switch (step) {
    case STEP_SET_PHONE:
        snprintf(out, size, ":Q%d\r", ups.phone_option_setting);
        break;
    case STEP_GRACE:
        snprintf(out, size, ":N%02X\r", std::clamp<int>(ups.grace_time, 0, 0xFF));
        break;
    case STEP_RESTART:
        snprintf(out, size, ":H%06X\r", std::clamp<int>(ups.restart_delay, 0, 0xFFFFFF));
        break;
    default:
        snprintf(out, size, "%s", fixed[step]);
        break;
    }
    return true;
}

} // namespace

void protocol_prepare_command(protocol_session& session, ups_status& ups) {
    ups.last_step = ups.next_step;
    build_command(ups, ups.last_step, session.command, sizeof session.command);
}

unsigned decode_hex_field(const char* text, int n) {
    char scratch[8] = {};
    n = std::clamp(n, 0, static_cast<int>(sizeof scratch));
    int length = 0;
    while (length < n && text && text[length] != '\0') {
        scratch[length] = text[length];
        ++length;
    }
    std::reverse(scratch, scratch + length);
    unsigned result = 0;
    unsigned weight = 1;
    int previous = 0;
    for (int k = 0; k < n; ++k) {
        const int digit = hex_digit_value(static_cast<unsigned char>(scratch[k]));
        const int value = digit >= 0 ? digit : previous;
        result += static_cast<unsigned>(value) * weight;
        previous = value;
        weight *= 16;
    }
    return result;
}

uint16_t battery_charge_from_voltage(unsigned tenths) {
    static constexpr struct {
        unsigned from;
        uint16_t charge;
    } steps[] = {{132, 100}, {125, 90}, {122, 80}, {120, 70}, {118, 60},
                 {116, 50},  {114, 40}, {112, 30}, {110, 20}};
    for (const auto& step : steps)
        if (tenths >= step.from) return step.charge;
    return 10;
}

uint16_t frequency_from_raw(unsigned raw) {
    const unsigned hertz = raw / 10;
    if (hertz >= 58) return 60;
    if (hertz >= 49 && hertz <= 51) return 50;
    return static_cast<uint16_t>(hertz);
}

uint16_t scale_voltage(const ups_status& ups, unsigned raw) {
    double volts = raw;
    switch (ups.voltage_class) {
    case 1:
        volts = raw * 1.92;
        break;
    case 2:
        volts = raw * 0.83;
        break;
    case 3:
        volts = ups.nominal_voltage == 208 ? raw * 1.73 : raw * 2.0;
        break;
    default:
        break;
    }
    return static_cast<uint16_t>(volts);
}

int16_t fahrenheit_from_celsius(int16_t celsius) {
    return static_cast<int16_t>(celsius * 1.8f + 32.0f);
}

void name_model(ups_status& ups) {
    snprintf(ups.model_name, sizeof ups.model_name, ups.family == 1 ? "Corvel %d" : "Kestra %d",
             ups.va_rating);
}

void decode_identity(ups_status& ups, unsigned identity) {
    static constexpr uint16_t va_by_code[16] = {0,    500,  600, 750, 900, 1250, 1600, 2000,
                                                3000, 5000, 250, 400, 0,   0,    0,    0};
    ups.identity = static_cast<uint16_t>(identity);
    ups.extended_identity = 0;
    ups.family = 0;
    ups.voltage_class = 0;
    ups.identity_bit1 = 0;
    ups.identity_bits23 = 0;
    ups.va_rating = 0;
    if ((ups.protocol & 0x80) == 0) {
        ups.voltage_class = identity & 1;
        ups.identity_bit1 = (identity >> 1) & 1;
        ups.identity_bits23 = (identity >> 2) & 3;
        ups.va_rating = va_by_code[(identity >> 4) & 0xF];
    } else {
        const unsigned x = ((ups.protocol << 8) + identity) & 0xFFFF;
        ups.extended_identity = (x >> 15) & 1;
        ups.family = static_cast<int32_t>((x >> 14) & 1);
        ups.voltage_class = x & 3;
        ups.identity_bit1 = (x >> 2) & 1;
        ups.va_rating = static_cast<uint16_t>(((x >> 3) & 0x7FF) * 5);
    }
    if (ups.voltage_class != 3) ups.nominal_voltage = 0;
    name_model(ups);
}

void decode_status_reply(const char* text, ups_status& ups) {
    // Fields past the end of a short reply must read as terminators, never as what follows it.
    char payload[32] = {};
    memcpy(payload, text, strnlen(text, sizeof payload - 1));
    ups.battery_not_low = static_cast<uint8_t>(decode_hex_field(payload + 1, 1));
    ups.field2 = static_cast<uint8_t>(decode_hex_field(payload + 2, 1));
    const unsigned line_raw = decode_hex_field(payload + 3, 2);
    ups.regulator_state = static_cast<uint16_t>(decode_hex_field(payload + 5, 1));
    ups.power_state = static_cast<uint16_t>(decode_hex_field(payload + 6, 1));
    const unsigned temperature_raw = decode_hex_field(payload + 7, 2);
    ups.field8 = static_cast<uint16_t>(decode_hex_field(payload + 11, 2));
    ups.load = static_cast<uint16_t>(decode_hex_field(payload + 13, 2));
    const unsigned logged_raw = decode_hex_field(payload + 15, 2);
    const unsigned second_raw = decode_hex_field(payload + 17, 2);
    const unsigned frequency_raw = decode_hex_field(payload + 19, 3);

    ups.temperature_c = static_cast<int16_t>(temperature_raw * 0.3636 - 21.0);
    ups.temperature_f = fahrenheit_from_celsius(ups.temperature_c);
    ups.battery_charge = battery_charge_from_voltage(ups.battery_voltage);
    ups.frequency = frequency_from_raw(frequency_raw);
    const bool inverting = ups.power_state == 1 || ups.power_state == 3;
    ups.line_voltage = inverting ? 0 : scale_voltage(ups, line_raw);
    ups.logged_voltage = scale_voltage(ups, logged_raw);
    ups.second_voltage = scale_voltage(ups, second_raw);
}

int SendUPSCommand(protocol_session& session, int handle, ups_status& ups) {
    if (handle == SERIAL_INVALID) return 2;
    // What is still waiting is the late end of an earlier reply; left there it would stand in
    // front of the echo of this command and fail its reply too.
    SerialIO_DiscardInput(handle, session.trace);
    protocol_prepare_command(session, ups);
    int written = 0;
    const int result = SerialIO_Write(handle, session.command,
                                      static_cast<int>(strlen(session.command)), &written,
                                      session.trace);
    if (wire_trace_on(session)) trace_wire(session, "Wrote: ", written, session.command);
    return result;
}

int GetNorvaKestraUPSData(protocol_session& session, int handle, ups_status& ups) {
    if (handle == SERIAL_INVALID) return 2;
    uint16_t waiting = 0;
    if (SerialIO_GetStatus(handle, &waiting, nullptr, session.trace) != 0 || waiting == 0)
        return 2;

    char reply[REPLY_SIZE] = {};
    int count = 0;
    const int result = SerialIO_Read(handle, reply, REPLY_SIZE - 1, &count, session.trace);
    if (wire_trace_on(session)) trace_wire(session, "Read : ", count, reply);
    if (result != 0) return result;
    // Bytes were announced but none arrived: nothing was decoded, so this poll has failed.
    if (count <= 0) return 2;
    return decode_ups_reply(session, reply, count, ups);
}

int decode_ups_reply(const protocol_session& session, const char* reply, int count,
                     ups_status& ups) {
    if (!reply || count <= 0) return 2;
    const char* command = session.command;
    const size_t command_length = strnlen(command, sizeof session.command);
    if (command_length == 0 || static_cast<size_t>(count) < command_length ||
        memcmp(reply, command, command_length) != 0) {
        trace_wire_note(session, "No command echo match in GetNorvaKestraUPSData()");
        return 2;
    }
    if (static_cast<size_t>(count) == command_length) {
        trace_wire_note(session, "Command echo only in GetNorvaKestraUPSData()");
        return 2;
    }

    // A one-field reply cut short is read by the field rule, as UPS firmware answering with fewer
    // digits relies on. A status reply cut short in its fields would show a power state, and
    // readings, the UPS never sent, and a false power state can start a shutdown: it fails the
    // poll instead, and :D is asked again.
    if (ups.last_step == STEP_STATUS &&
        count - static_cast<int>(command_length) < 1 + reply_digits(STEP_STATUS)) {
        trace_wire_note(session, "Short reply in GetNorvaKestraUPSData()");
        return 2;
    }

    const char* payload = reply + command_length;
    switch (ups.last_step) {
    case STEP_PROTOCOL:
        ups.protocol = static_cast<uint16_t>(decode_hex_field(payload + 1, 2));
        ups.next_step = STEP_IDENTIFY;
        break;
    case STEP_IDENTIFY:
        decode_identity(ups, decode_hex_field(payload + 1, 2));
        ups.next_step = STEP_FIRMWARE;
        break;
    case STEP_FIRMWARE:
        ups.firmware = static_cast<uint16_t>(decode_hex_field(payload + 1, 2));
        ups.next_step = STEP_PHONE;
        break;
    case STEP_PHONE:
        ups.phone_option_value = static_cast<uint8_t>(decode_hex_field(payload + 1, 1));
        ups.next_step = STEP_BATTERY;
        break;
    case STEP_SET_PHONE:
        ups.next_step = STEP_PHONE;
        break;
    case STEP_STATUS:
        decode_status_reply(payload, ups);
        ups.next_step = STEP_BATTERY;
        break;
    case STEP_BATTERY:
        ups.battery_voltage = static_cast<uint16_t>(decode_hex_field(payload + 1, 2));
        ups.next_step = STEP_STATUS;
        break;
    case STEP_VOLTAGE:
        ups.logged_voltage = scale_voltage(ups, decode_hex_field(payload + 1, 2));
        ups.next_step = STEP_STATUS;
        break;
    case STEP_GRACE:
    case STEP_OFF:
    case STEP_OFF_NOW:
    case STEP_RESTART:
        ups.next_step = STEP_STATUS;
        break;
    case STEP_SELFTEST:
        ups.next_step = STEP_SELFTEST_RESULT;
        break;
    case STEP_SELFTEST_RESULT:
        ups.selftest_status = static_cast<uint16_t>(decode_hex_field(payload + 1, 2));
        ups.next_step = STEP_STATUS;
        break;
    default:
        // A step outside the table was never sent as itself; there is no reply to decode.
        return 2;
    }
    return 0;
}
