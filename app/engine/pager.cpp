// The modem pager and the alert transport.
#include "engine/pager.h"

#include "engine/app_state.h"
#include "engine/report.h"
#include "engine/serial_io.h"

#include <cstdio>
#include <cstring>

namespace {

int g_modem = SERIAL_INVALID;

int no_transport(const char*, const char*) {
    return 0;
}

alert_transport g_transport = no_transport;

// Settings of the modem line: 2400 baud, 8 data bits, no parity, 1 stop bit.
constexpr int MODEM_RATE = 2400;
constexpr int MODEM_DATA_BITS = 8;
constexpr int MODEM_PARITY_NONE = 0;
constexpr int MODEM_STOP_BITS = 1;

} // namespace

void close_modem_port() {
    if (g_modem != SERIAL_INVALID) SerialIO_Close(&g_modem);
}

int page_operator(const ups_status& ups) {
    close_modem_port();
    char port[sizeof ups.modem_port + 1] = {};
    memcpy(port, ups.modem_port, strnlen(ups.modem_port, sizeof ups.modem_port));
    if (SerialIO_Open(&g_modem, port, MODEM_RATE, MODEM_DATA_BITS, MODEM_PARITY_NONE,
                      MODEM_STOP_BITS) != 0 ||
        g_modem == SERIAL_INVALID) {
        char text[64];
        snprintf(text, sizeof text, "Error opening port: %s!", port);
        post_message(text, MSG_PANEL | MSG_ALARM_LOG);
        // Nothing may be written through a port that is not ours.
        return 2;
    }
    char command[sizeof ups.modem_command + 2] = {};
    const int length =
        snprintf(command, sizeof command, "%.*s\r",
                 static_cast<int>(strnlen(ups.modem_command, 63)), ups.modem_command);
    int written = 0;
    return SerialIO_Write(g_modem, command, length, &written);
}

void set_alert_transport(alert_transport transport) {
    g_transport = transport ? transport : no_transport;
}

void send_alert(const char* server, const char* text) {
    g_transport(server, text);
}

int forward_alert(const char* text) {
    if (!g_app || !g_app->network_enabled) return 0;
    char line[256];
    snprintf(line, sizeof line, "%.*s: %s", static_cast<int>(strnlen(g_app->local.ups_id, 15)),
             g_app->local.ups_id, text ? text : "");
    return g_transport(g_app->alert_server, line);
}
