// The application's one way to report: posted messages with their destinations, and diagnostics.
#pragma once

// Message kind bits: the destinations of a posted text.
enum message_kind : int {
    MSG_PANEL = 1,     // message panel of the status window (or the pop-up while minimised)
    MSG_ALARM_LOG = 2, // alarm log
    MSG_FORWARD = 4,   // forwarded to the alert server while networking is enabled
    MSG_EVENT_LOG = 8  // event log
};

// Diagnostic categories of trace().
enum trace_category : int { TRACE_ERROR = 1, TRACE_WIRE = 16 };

// The destinations that the windows and the notifier provide; a null entry drops that destination.
struct message_destinations {
    void (*panel)(const char* text);
    void (*forward)(const char* server, const char* text);
};

// Installs the window and forwarding destinations.
void set_message_destinations(const message_destinations& destinations);

// Turns the alarm- and event-log destinations on or off (on by default; tools that only talk to a
// UPS turn them off so they leave no log files behind).
void set_log_writing(bool on);

// Sends text to the destinations named by the bits of kind, in the order alarm log, panel,
// forwarding, event log. A log that stops taking lines (alarm, event or data log, however it is
// written) is reported once in the event log, or on standard error when the event log itself
// fails, and once more when it takes lines again, with the count of those lost.
void post_message(const char* text, int kind);

// Posts a diagnostic line with kind 3 when the debug level is non-zero and equals category or 255.
void trace(const char* text, int category);

// Formats and traces a diagnostic line (only formatted when it would be shown).
void tracef(int category, const char* format, ...) __attribute__((format(printf, 2, 3)));
