// What is scheduled, told in notes, and the question that cancels a scheduled self-test.
#pragma once

#include "model/ups_status.h"

#include <string>

// Shows the note of the self-test scheduled in the record in view.
void show_selftest_schedule();

// Shows the note of the shutdown and restart scheduled in the record in view.
void show_shutdown_schedule();

// Asks whether to cancel the scheduled self-test of the record in view ("No" first and the
// default); "Yes" switches it off in that record and writes the configuration. With nothing
// scheduled, says so in a note instead.
void cancel_selftest_schedule();

// The three-letter name of a weekday, 0 = "Sun" to 6 = "Sat"; "?" for a day outside the week,
// which a configuration edited by hand may hold.
const char* weekday_name(int weekday);

// True when the record holds a self-test its schedule will start: enabled, and weekly, bi-weekly
// or monthly.
bool selftest_scheduled(const ups_status& ups);

// The note of the record's self-test schedule: "No self-test is currently scheduled.", or the
// scheduled sentence in the wrapper of its type, as "A Weekly Self-Test is scheduled for Tue @
// 09:05.".
std::string selftest_schedule_note(const ups_status& ups);

// The question that cancels the record's scheduled self-test, as "A Weekly Self-Test is scheduled
// for Tue @ 09:05.   Cancel this test?"; only meaningful while selftest_scheduled(ups).
std::string selftest_cancel_question(const ups_status& ups);

// The note of the record's shutdown schedule: the shutdown part ("No shutdown is currently
// scheduled." or the scheduled sentence in the wrapper of its type) joined to the restart part
// ("No restart is currently scheduled." or a new line and "Restart is scheduled for ...").
std::string shutdown_schedule_note(const ups_status& ups);
