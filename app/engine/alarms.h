// Threshold alarms and the two power events of a UPS status record.
#pragma once

#include "model/ups_status.h"

// Message kind of the power events and the shutdown messages: panel, alarm log, forwarding and
// the kind bit of value 16.
inline constexpr int KIND_POWER = 23;
// Message kind of local messages while the remote UPS is in view: alarm log and forwarding.
inline constexpr int KIND_LOCAL_IN_REMOTE_VIEW = 6;

// Posts each of the five readings' crossings of its threshold once, in both directions; nothing
// while the record is not valid.
void check_thresholds(ups_status& ups);

// Latches the change to and from battery operation (after the disruption time) and the low
// battery, posting each change and setting its pending flag; nothing while not valid.
void check_power_events(ups_status& ups);

// Moves the line-voltage thresholds between 100/130 and 190/250 to suit the voltage class.
void adjust_voltage_thresholds(ups_status& ups);

// True while the power state says the UPS runs on battery (1 or 3).
bool ups_on_battery(const ups_status& ups);

// The message kind for a record's message: kind for the local UPS in view, 6 for the local UPS
// while the remote one is in view, 1 for readings that came from a server.
int message_kind_for(const ups_status& ups, int kind);

// Stores text as the record's status line and posts it with kind.
void post_status_line(ups_status& ups, const char* text, int kind);
