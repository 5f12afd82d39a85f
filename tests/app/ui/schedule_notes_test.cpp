// The sentences of the schedule notes and of the question that cancels a self-test.
#include <gtest/gtest.h>

#include "ui/schedule_notes.h"

namespace {

ups_clock at(int weekday, int hour, int minute) {
    ups_clock c{};
    c.weekday = weekday;
    c.hour = hour;
    c.minute = minute;
    return c;
}

ups_status selftest(int16_t type, uint8_t enabled = 1) {
    ups_status u{};
    u.selftest_enabled = enabled;
    u.selftest_type = type;
    u.selftest_time = at(2, 9, 5);
    return u;
}

ups_status shutdown(int16_t type, uint8_t enabled = 1, uint8_t restart = 0) {
    ups_status u{};
    u.shutdown_enabled = enabled;
    u.shutdown_type = type;
    u.shutdown_time = at(5, 18, 30);
    u.restart_enabled = restart;
    u.restart_time = at(1, 7, 0);
    return u;
}

TEST(schedule_notes, a_scheduled_selftest_is_told_in_the_wrapper_of_its_type) {
    EXPECT_EQ(selftest_schedule_note(selftest(1)),
              "A Weekly Self-Test is scheduled for Tue @ 09:05.");
    EXPECT_EQ(selftest_schedule_note(selftest(2)),
              "Bi-Weekly Self-Test is scheduled for Tue @ 09:05.");
    EXPECT_EQ(selftest_schedule_note(selftest(3)),
              "A Monthly Self-Test is scheduled for Tue @ 09:05.");
    EXPECT_EQ(selftest_cancel_question(selftest(1)),
              "A Weekly Self-Test is scheduled for Tue @ 09:05.   Cancel this test?");
}

TEST(schedule_notes, a_selftest_the_schedule_never_starts_is_not_called_scheduled) {
    // Disabled, immediate (it runs once at the next poll, not on a schedule), or a type the
    // schedule ignores.
    for (const ups_status& u : {selftest(1, 0), selftest(0), selftest(7), selftest(-1)}) {
        EXPECT_FALSE(selftest_scheduled(u)) << u.selftest_type;
        EXPECT_EQ(selftest_schedule_note(u), "No self-test is currently scheduled.");
    }
}

TEST(schedule_notes, a_shutdown_note_joins_the_shutdown_and_restart_parts) {
    // Without a restart the two sentences run on without a line break.
    EXPECT_EQ(shutdown_schedule_note(shutdown(2)),
              "A Weekly Shutdown is scheduled for Fri @ 18:30.No restart is currently scheduled.");
    EXPECT_EQ(
        shutdown_schedule_note(shutdown(1, 1, 1)),
        "Daily Shutdown is scheduled for Fri @ 18:30.\nRestart is scheduled for Mon @ 07:00.");
    EXPECT_EQ(shutdown_schedule_note(shutdown(4)),
              "A Monthly Shutdown is scheduled for Fri @ 18:30.No restart is currently scheduled.");
    // The restart part follows its own flag, whatever the shutdown part says.
    EXPECT_EQ(shutdown_schedule_note(shutdown(0, 1, 1)),
              "No shutdown is currently scheduled.\nRestart is scheduled for Mon @ 07:00.");
    for (const ups_status& u : {shutdown(2, 0), shutdown(3)})
        EXPECT_EQ(shutdown_schedule_note(u),
                  "No shutdown is currently scheduled.No restart is currently scheduled.");
}

TEST(schedule_notes, a_day_outside_the_week_is_named_without_reading_past_the_names) {
    EXPECT_STREQ(weekday_name(0), "Sun");
    EXPECT_STREQ(weekday_name(6), "Sat");
    EXPECT_STREQ(weekday_name(7), "?");
    EXPECT_STREQ(weekday_name(-1), "?");
    ups_status u = selftest(1);
    u.selftest_time = at(9, 23, 59);
    EXPECT_EQ(selftest_schedule_note(u), "A Weekly Self-Test is scheduled for ? @ 23:59.");
}

} // namespace
