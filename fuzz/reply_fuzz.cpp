// Feeds arbitrary bytes to the UPS reply decoder as the answer to each command of the protocol.
#include "engine/protocol.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    protocol_session session;
    ups_status ups{};
    ups.next_step = static_cast<int16_t>(data[0] % 16);
    ups.protocol = static_cast<uint16_t>(data[0] & 0x80);
    ups.voltage_class = static_cast<uint16_t>((data[0] >> 4) & 3);
    ups.nominal_voltage = (data[0] & 0x40) ? 208 : 240;
    protocol_prepare_command(session, ups);

    // The engine reads at most 127 bytes into a zero-filled 128-byte buffer.
    char reply[128] = {};
    const size_t count = size - 1 < 127 ? size - 1 : 127;
    memcpy(reply, data + 1, count);
    const size_t echo = strlen(session.command);
    if (decode_ups_reply(session, reply, static_cast<int>(count), ups) == 0) {
        // A status reply cut short in its fields never decodes: it could show a false power state.
        if (ups.last_step == STEP_STATUS && count < echo + 1 + reply_digits(STEP_STATUS)) abort();
        if (ups.model_name[sizeof ups.model_name - 1] != '\0') abort();
        if (ups.battery_charge > 100 || ups.frequency > 409) abort();
        if (ups.temperature_c < -21 || ups.temperature_c > 71) abort();
    }
    return 0;
}
