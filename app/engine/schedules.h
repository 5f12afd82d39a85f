// The self-test and shutdown schedules, their warnings, and the supervision of a running self-test.
#pragma once

#include "model/ups_status.h"

#include <cstdint>

// Self-test types.
enum selftest_type : int16_t {
    SELFTEST_IMMEDIATE = 0,
    SELFTEST_WEEKLY = 1,
    SELFTEST_BIWEEKLY = 2,
    SELFTEST_MONTHLY = 3
};

// Shutdown types (3 is not one).
enum shutdown_type : int16_t {
    SHUTDOWN_IMMEDIATE = 0,
    SHUTDOWN_DAILY = 1,
    SHUTDOWN_WEEKLY = 2,
    SHUTDOWN_MONTHLY = 4
};

// Self-test status values of the :C reply.
enum selftest_status_value : uint16_t {
    SELFTEST_OK = 0,
    SELFTEST_BAD_BATTERY = 1,
    SELFTEST_RUNNING = 2,
    SELFTEST_BAD_INVERTER = 3,
    SELFTEST_NO_RESULT = 5
};

// Runs at each normal-state poll of a valid record: the shutdown schedule, then the self-test one.
void check_schedules(ups_status& ups);

// Gives the 10/5/2/1-minute warnings and starts a due shutdown (monitor state 5); 1 when it did.
int check_shutdown_schedule(ups_status& ups);

// Starts a due self-test (monitor state 2, :A, fast polls); 1 when it did. At most one start
// per minute of the poll clock.
int check_selftest_schedule(ups_status& ups);

// Posts "Scheduled shutdown in %d minute(s) or less." as the record's status line.
void announce_shutdown(ups_status& ups, int minutes);

// Announces a running self-test and reports its result; run at each valid self-test poll.
void supervise_selftest(ups_status& ups);

// Clears the four shutdown warnings, so they are given again.
void forget_shutdown_announcements();

// Forgets the minute of the last scheduled self-test, so it may start again in that minute.
void forget_last_selftest_run();

// "Immediate", "Scheduled weekly" ... by self-test type; "Unknown" outside 0-3.
const char* selftest_type_text(int type);

// "Immediate", "Scheduled daily" ... by shutdown type; "Unknown" for any other type.
const char* shutdown_type_text(int type);
