// Scheduled shutdowns with their warnings, scheduled self-tests with their day rules, the
// once-a-minute start, the receptacle check and the supervision of a running test.
#include "monitor_fixture.h"

#include "engine/schedules.h"
#include "files/config_file.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

class schedules : public monitor_test {
  protected:
    void SetUp() override {
        monitor_test::SetUp();
        u = &g_app->local;
        u->valid = 1;
        u->power_state = 2;
    }

    // Stamps the poll time and checks the schedules as a normal-state poll does.
    void check_at(time_t t) {
        g_now = t;
        app_stamp_poll_time(*g_app, t);
        if (g_app->engine.monitor_state == MONITOR_NORMAL) check_schedules(*u);
    }

    // Panel texts posted while checking every 20 s from first to last, each with its hh:mm.
    std::vector<std::string> warnings_between(time_t first, time_t last) {
        std::vector<std::string> seen;
        for (time_t t = first; t <= last; t += 20) {
            const size_t before = g_panel.size();
            check_at(t);
            for (size_t i = before; i < g_panel.size(); ++i) {
                char stamp[8];
                snprintf(stamp, sizeof stamp, "%02d:%02d ", g_app->poll_clock.hour,
                         g_app->poll_clock.minute);
                seen.push_back(stamp + g_panel[i]);
            }
        }
        return seen;
    }

    void schedule_shutdown(int type, int hour, int minute) {
        u->shutdown_enabled = 1;
        u->shutdown_type = static_cast<int16_t>(type);
        u->shutdown_time.hour = hour;
        u->shutdown_time.minute = minute;
        u->shutdown_time.weekday = 2;
    }

    void schedule_selftest(int type) {
        u->selftest_enabled = 1;
        u->selftest_type = static_cast<int16_t>(type);
        u->selftest_time.hour = 2;
        u->selftest_time.weekday = 2; // Tuesday
    }

    // True when a self-test starts at 02:00 of that March 2024 day.
    bool selftest_starts_on(int day) {
        g_app->engine.monitor_state = MONITOR_NORMAL;
        check_at(at(2024, 3, day, 2, 0, 5));
        return g_app->engine.monitor_state == MONITOR_SELFTEST;
    }

    ups_status* u = nullptr;
};

TEST_F(schedules, DailyShutdownWarnsTenFiveTwoAndOneMinuteAheadOnceEach) {
    schedule_shutdown(SHUTDOWN_DAILY, 18, 30);
    EXPECT_EQ(warnings_between(at(2024, 3, 5, 18, 15, 0), at(2024, 3, 5, 18, 30, 0)),
              (std::vector<std::string>{"18:20 Scheduled shutdown in 10 minutes or less.",
                                        "18:25 Scheduled shutdown in 5 minutes or less.",
                                        "18:28 Scheduled shutdown in 2 minutes or less.",
                                        "18:29 Scheduled shutdown in 1 minute or less.",
                                        "18:30 Performing Scheduled daily shutdown."}));
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_EXPIRED);
    EXPECT_STREQ(u->status_line, "Performing Scheduled daily shutdown.");
}

TEST_F(schedules, ALateStartSkipsTheLongerWarningsUntilTheCountersAreReset) {
    schedule_shutdown(SHUTDOWN_DAILY, 18, 30);
    EXPECT_EQ(warnings_between(at(2024, 3, 5, 18, 26, 0), at(2024, 3, 5, 18, 27, 40)),
              std::vector<std::string>{"18:26 Scheduled shutdown in 5 minutes or less."});
    EXPECT_TRUE(warnings_between(at(2024, 3, 5, 18, 22, 0), at(2024, 3, 5, 18, 22, 0)).empty());

    u->counter_reset_request = 1;
    g_now = at(2024, 3, 5, 18, 22, 0);
    poll_tick();
    EXPECT_FALSE(u->counter_reset_request);
    EXPECT_EQ(g_panel.back(), "Scheduled shutdown in 10 minutes or less.");
}

TEST_F(schedules, ShutdownDayRules) {
    schedule_shutdown(SHUTDOWN_WEEKLY, 9, 0);
    check_at(at(2024, 3, 6, 9, 0, 0)); // a Wednesday
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_NORMAL);
    schedule_shutdown(SHUTDOWN_MONTHLY, 9, 0);
    check_at(at(2024, 3, 12, 9, 0, 0)); // the second Tuesday
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_NORMAL);
    schedule_shutdown(3, 9, 0); // not a shutdown type
    check_at(at(2024, 3, 5, 9, 0, 0));
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_NORMAL);
    schedule_shutdown(SHUTDOWN_MONTHLY, 9, 0);
    check_at(at(2024, 3, 5, 9, 0, 0));
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_EXPIRED);
    EXPECT_EQ(g_panel.back(), "Performing Scheduled monthly shutdown.");
}

TEST_F(schedules, SelftestDayRulesAndOneStartPerMinuteOfADate) {
    schedule_selftest(SELFTEST_WEEKLY);
    EXPECT_TRUE(selftest_starts_on(5));
    EXPECT_FALSE(selftest_starts_on(5)) << "not again in the same minute";
    EXPECT_TRUE(selftest_starts_on(12)) << "the next Tuesday of the same month";
    EXPECT_FALSE(selftest_starts_on(13));
    u->selftest_rearm_request = 1;
    g_now = at(2024, 3, 12, 2, 0, 30);
    poll_tick();
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_SELFTEST) << "a re-arm forgets the last start";

    schedule_selftest(SELFTEST_BIWEEKLY);
    EXPECT_EQ((std::vector<bool>{selftest_starts_on(5), selftest_starts_on(12),
                                 selftest_starts_on(19), selftest_starts_on(26)}),
              (std::vector<bool>{true, false, true, false}));
    schedule_selftest(SELFTEST_MONTHLY);
    EXPECT_EQ((std::vector<bool>{selftest_starts_on(5), selftest_starts_on(19)}),
              (std::vector<bool>{true, false}));
}

// October 2024 has Tuesdays on the 1st, 8th, 15th, 22nd and 29th: a week of the month is seven
// days, so a monthly schedule runs once and a bi-weekly one twice.
TEST_F(schedules, MonthlyAndBiweeklySchedulesRunOncePerWeekOfTheMonthWhateverDayItStarts) {
    const auto tuesdays_run = [&](auto&& runs_on) {
        std::vector<int> days;
        for (int day : {1, 8, 15, 22, 29})
            if (runs_on(day)) days.push_back(day);
        return days;
    };
    const auto selftest_on = [&](int day) {
        g_app->engine.monitor_state = MONITOR_NORMAL;
        forget_last_selftest_run();
        check_at(at(2024, 10, day, 2, 0, 5));
        return g_app->engine.monitor_state == MONITOR_SELFTEST;
    };
    const auto shutdown_on = [&](int day) {
        g_app->engine.monitor_state = MONITOR_NORMAL;
        check_at(at(2024, 10, day, 9, 0, 0));
        return g_app->engine.monitor_state == MONITOR_EXPIRED;
    };
    schedule_selftest(SELFTEST_MONTHLY);
    EXPECT_EQ(tuesdays_run(selftest_on), std::vector<int>{1});
    schedule_selftest(SELFTEST_BIWEEKLY);
    EXPECT_EQ(tuesdays_run(selftest_on), (std::vector<int>{1, 15}));
    schedule_shutdown(SHUTDOWN_MONTHLY, 9, 0);
    EXPECT_EQ(tuesdays_run(shutdown_on), std::vector<int>{1});

    // March 2024 has its first Tuesday on the 5th and its third on the 19th; a month whose
    // weekday first falls on the 7th still gets its run (May 2024: Tuesday the 7th and 21st).
    const auto may_selftest_on = [&](int day) {
        g_app->engine.monitor_state = MONITOR_NORMAL;
        forget_last_selftest_run();
        check_at(at(2024, 5, day, 2, 0, 5));
        return g_app->engine.monitor_state == MONITOR_SELFTEST;
    };
    schedule_selftest(SELFTEST_BIWEEKLY);
    EXPECT_EQ((std::vector<bool>{may_selftest_on(7), may_selftest_on(14), may_selftest_on(21),
                                 may_selftest_on(28)}),
              (std::vector<bool>{true, false, true, false}));
}

TEST_F(schedules, SelftestWithTheReceptaclesOffIsRefusedAndAnImmediateOneIsConsumed) {
    schedule_selftest(SELFTEST_WEEKLY);
    u->power_state = 1;
    EXPECT_FALSE(selftest_starts_on(5));
    EXPECT_EQ(g_panel, (std::vector<std::string>{"Scheduled weekly selftest was not performed",
                                                 "because the receptacles are off."}));
    schedule_selftest(SELFTEST_IMMEDIATE);
    u->power_state = 0;
    check_at(at(2024, 3, 6, 15, 17, 0));
    EXPECT_EQ(g_panel.back(), "because the receptacles are off.");
    EXPECT_FALSE(u->selftest_enabled);
}

TEST_F(schedules, RunningSelftestIsAnnouncedAndItsResultSaved) {
    schedule_selftest(SELFTEST_WEEKLY);
    g_now = at(2024, 3, 5, 1, 59, 50);
    connect();
    until_valid();
    for (int i = 0; i < 20 && g_app->engine.monitor_state != MONITOR_SELFTEST; ++i) tick();
    ASSERT_EQ(g_app->engine.monitor_state, MONITOR_SELFTEST);
    EXPECT_EQ(g_app->poll_clock.minute, 0) << "starts at the first poll of its minute";
    ups.selftest_status = 2;
    for (int i = 0; i < 6; ++i) tick();
    ups.selftest_status = 3;
    for (int i = 0; i < 6; ++i) tick();
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_NORMAL);
    EXPECT_EQ(count(ups.commands, ":A\r"), 1);
    EXPECT_EQ(count(g_panel, "Scheduled weekly selftest in progress."), 1);
    EXPECT_EQ(count(g_panel, "Self-test result: bad inverter."), 1);
    EXPECT_EQ(host.timers.back(), 3000);

    ups_status saved{};
    app_state app{};
    ASSERT_EQ(load_configuration(saved, app, g_now), 0);
    EXPECT_EQ(saved.last_selftest.day, 5);
    EXPECT_EQ(saved.last_selftest.month, 3);
    EXPECT_EQ(saved.last_selftest.year, 124);
}

// The result of a self-test is still reported when the configuration cannot take its date.
TEST_F(schedules, ASelftestDateThatCannotBeSavedIsReported) {
    ASSERT_EQ(save_configuration(*u, *g_app), 0);
    ASSERT_EQ(chmod(CONFIG_FILE, 0444), 0);
    schedule_selftest(SELFTEST_WEEKLY);
    g_now = at(2024, 3, 5, 1, 59, 50);
    connect();
    until_valid();
    for (int i = 0; i < 20 && g_app->engine.monitor_state != MONITOR_SELFTEST; ++i) tick();
    ups.selftest_status = 2;
    for (int i = 0; i < 6; ++i) tick();
    ups.selftest_status = 0;
    for (int i = 0; i < 6; ++i) tick();
    EXPECT_EQ(count(g_panel, "Self-test result: OK."), 1);
    EXPECT_EQ(count(g_panel, CONFIGURATION_SAVE_FAILED), 1);
    std::ifstream log("norva.log");
    const std::string logged((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(logged.find(configuration_save_failure(EACCES)), std::string::npos);
}

} // namespace
