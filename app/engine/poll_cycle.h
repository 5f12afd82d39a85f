// The poll cycle: the UPS port, link supervision, the monitor states' polls and the view.
#pragma once

#include "model/ups_status.h"

#include <string>

// Number of failed polls in a row after which the link is reported lost.
inline constexpr int LOST_LINK_POLLS = 20;

// The port the local UPS is polled on: the found port when the search found one, else the
// configured port; empty without an application.
std::string ups_port_in_use();

// Opens the UPS port and sends :W at once; 0 or the SerialIO_Open result. From then on a port
// that is lost is opened again by the poll cycle.
int ups_port_open();

// Closes the UPS port (polling no longer reopens it); 0 or the SerialIO_Close result.
int ups_port_close();

// Reads the reply to the last command with the failed-poll count and the lost/regained messages;
// 0 when a reply was decoded, else 2.
int check_link(ups_status& ups);

// One poll: read, supervise, advance the monitor state, alarms, data log, send, refresh.
void poll_tick();

// Shows the remote UPS of that name; nothing when it is shown already.
void enter_remote_view(const char* name);

// Shows the local UPS again; nothing when it is shown already.
void leave_remote_view();
