// The Norvane UPS command protocol: commands by step, reply reading with the echo check, decoding.
#pragma once

#include "engine/trace_sink.h"
#include "model/ups_status.h"

// Protocol steps, in command-table order.
enum protocol_step : int16_t {
    STEP_PROTOCOL = 0,        // :W
    STEP_IDENTIFY = 1,        // :L
    STEP_FIRMWARE = 2,        // :V
    STEP_PHONE = 3,           // :S
    STEP_SET_PHONE = 4,       // :Q<n>
    STEP_STATUS = 5,          // :D
    STEP_BATTERY = 6,         // :B
    STEP_VOLTAGE = 7,         // :I
    STEP_GRACE = 8,           // :N<hh>
    STEP_OFF = 9,             // :G
    STEP_OFF_NOW = 10,        // :K0
    STEP_RESTART = 11,        // :H<hhhhhh>
    STEP_SELFTEST = 12,       // :A
    STEP_SELFTEST_RESULT = 13 // :C
};

// Hex digits of payload that a complete reply to each step carries after its echo and the
// separator in payload position 0 (a reply then ends in a carriage return).
inline constexpr int8_t REPLY_DIGITS[] = {
    2,  // :W
    2,  // :L
    2,  // :V
    1,  // :S
    0,  // :Q<n>
    21, // :D
    2,  // :B
    2,  // :I
    0,  // :N<hh>
    0,  // :G
    0,  // :K0
    0,  // :H<hhhhhh>
    0,  // :A
    2   // :C
};

// Payload digits of a complete reply to step (REPLY_DIGITS); 0 for a step outside the table.
constexpr int reply_digits(int step) {
    return step >= 0 && step < static_cast<int>(sizeof REPLY_DIGITS) ? REPLY_DIGITS[step] : 0;
}

// What one conversation with a UPS keeps between a command and its reply: the command last built,
// whose echo the reply must carry, and the sink of the wire trace and the port's errors (null:
// none). A fresh session has sent nothing.
struct protocol_session {
    char command[32] = "";
    const trace_sink* trace = nullptr;
};

// Discards the bytes still waiting from earlier replies, then sends the command of the record's
// next step (and makes it the last step); the write result.
int SendUPSCommand(protocol_session& session, int handle, ups_status& ups);

// Reads and decodes the reply to the last command; 0 when decoded, 2 otherwise.
int GetNorvaKestraUPSData(protocol_session& session, int handle, ups_status& ups);

// Checks the echo of the last command in a reply of count bytes (NUL-terminated after them) and
// decodes it by the last step; 0 when decoded, 2 otherwise. A one-field reply cut short decodes
// its missing places by the hex field rule; a :D reply cut short in its fields fails.
int decode_ups_reply(const protocol_session& session, const char* reply, int count,
                     ups_status& ups);

// Builds the command of the record's next step into the session without sending it (for tests
// and tools); session.command then holds it, carriage return included.
void protocol_prepare_command(protocol_session& session, ups_status& ups);

// Decodes an n-digit hex field; short fields and non-hex characters repeat the place before.
unsigned decode_hex_field(const char* text, int n);

// Decodes the payload of a :D reply (after the echo) into the record.
void decode_status_reply(const char* payload, ups_status& ups);

// Decodes the :L identity value into family, voltage class, VA rating and model name.
void decode_identity(ups_status& ups, unsigned identity);

// Battery charge in percent from the battery voltage in tenths of a volt.
uint16_t battery_charge_from_voltage(unsigned tenths);

// Line frequency in hertz from the raw tenths, rounded to 50 or 60 near them.
uint16_t frequency_from_raw(unsigned raw);

// Scales a raw voltage by the record's voltage class (and nominal voltage for class 3).
uint16_t scale_voltage(const ups_status& ups, unsigned raw);

// Writes the model name "Kestra %d" or "Corvel %d" from family and VA rating.
void name_model(ups_status& ups);

// Degrees Fahrenheit from degrees Celsius, truncated toward zero.
int16_t fahrenheit_from_celsius(int16_t celsius);
