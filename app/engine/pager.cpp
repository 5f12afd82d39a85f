// The modem pager.
#include "engine/pager.h"

#include "engine/app_state.h"
#include "engine/report.h"
#include "engine/serial_io.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Settings of the modem line: 2400 baud, 8 data bits, no parity, 1 stop bit.
constexpr int MODEM_RATE = 2400;
constexpr int MODEM_DATA_BITS = 8;
constexpr int MODEM_PARITY_NONE = 0;
constexpr int MODEM_STOP_BITS = 1;

} // namespace

int page_operator(const ups_status& ups) {
    if (!g_app) return 2;
    engine_state& engine = g_app->engine;
    if (engine.modem) {
        int fd = engine.modem.release();
        SerialIO_Close(&fd, &engine_trace());
    }
    char port[sizeof ups.modem_port + 1] = {};
    memcpy(port, ups.modem_port, strnlen(ups.modem_port, sizeof ups.modem_port));
    int modem = SERIAL_INVALID;
    const int opened = SerialIO_Open(&modem, port, MODEM_RATE, MODEM_DATA_BITS, MODEM_PARITY_NONE,
                                     MODEM_STOP_BITS, &engine_trace());
    engine.modem = unique_fd(modem);
    if (opened != 0 || modem == SERIAL_INVALID) {
        const std::string text = std::string("Error opening port: ") + port + "!";
        post_message(text.c_str(), MSG_PANEL | MSG_ALARM_LOG);
        // Nothing may be written through a port that is not ours.
        return 2;
    }
    char command[sizeof ups.modem_command + 2] = {};
    const int length =
        snprintf(command, sizeof command, "%.*s\r",
                 static_cast<int>(strnlen(ups.modem_command, 63)), ups.modem_command);
    int written = 0;
    return SerialIO_Write(modem, command, length, &written, &engine_trace());
}
