// Paging an operator through a modem, and forwarding alerts to the alert server.
#pragma once

#include "engine/ups_status.h"

// Sends the record's modem command (with a carriage return) to its modem port, reopening the
// port first; the result of the write, or 2 when the port could not be opened (that is posted,
// and nothing is written).
int page_operator(const ups_status& ups);

// Closes the modem port when it is open (it is otherwise kept open until the next page).
void close_modem_port();

// The means of reaching an alert server; 0 when the text was handed over.
using alert_transport = int (*)(const char* server, const char* text);

// Installs the transport; null restores the built-in one, which sends nothing and reports success.
void set_alert_transport(alert_transport transport);

// Hands an already formatted line to the transport; fits message_destinations::forward.
void send_alert(const char* server, const char* text);

// Offers "<UPS id>: <text>" to the alert server when networking is enabled; the transport result,
// or 0 when nothing was to be sent.
int forward_alert(const char* text);
