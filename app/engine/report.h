// The application's one way to report: posted messages with their destinations, and diagnostics.
#pragma once

#include "engine/trace_sink.h"

// Message kind bits: the destinations of a posted text.
enum message_kind : int {
    MSG_PANEL = 1,     // message panel of the status window (or the pop-up while minimised)
    MSG_ALARM_LOG = 2, // alarm log
    MSG_FORWARD = 4,   // forwarded to the alert server while networking is enabled
    MSG_EVENT_LOG = 8  // event log
};

// Sends text to the destinations named by the bits of kind, in the order alarm log, panel,
// forwarding (forward_alert), event log, as the engine of the application state sets them up;
// without an application only the logs are written. A log that stops taking lines (alarm, event
// or data log, however it is written) is reported once in the event log, or on standard error
// when the event log itself fails, and once more when it takes lines again, with the count of
// those lost.
void post_message(const char* text, int kind);

// The message panel shows 43 characters a line: posts brief to the panel and detail to the other
// destinations of kind, for texts that would not fit.
void post_brief_message(const char* brief, const char* detail, int kind);

// Offers "<UPS id>: <text>" to the alert server through the engine's transport when networking is
// enabled; the transport result, or 0 when nothing was to be sent.
int forward_alert(const char* text);

// Posts a diagnostic line with kind 3 when the debug level is non-zero and equals category or 255.
void trace(const char* text, int category);

// Formats and traces a diagnostic line (only formatted when it would be shown).
void tracef(int category, const char* format, ...) __attribute__((format(printf, 2, 3)));
