// The shutdown sequence against a UPS on a pseudo-terminal: countdown messages and icons, the UPS
// switch-off commands, cancellation, the pager, the restart delay and the operating-system end.
#include "monitor_fixture.h"

#include "engine/alarms.h"
#include "engine/os_shutdown.h"
#include "engine/shutdown.h"

#include <fstream>
#include <sstream>

namespace {

std::string file_text(const char* name) {
    std::ifstream in(name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class shutdown_sequence : public monitor_test {
  protected:
    void SetUp() override {
        monitor_test::SetUp();
        g_app->local.thresholds[ALARM_LOW_LINE].kind = 0; // on battery the line reads 0 volts
        std::ofstream("SHUTDOWN.BAT") << "echo bat >> poweroff.mark\n";
    }

    // Ticks one second apart until the monitor state is state; false when limit ticks pass first.
    bool tick_until(int state, int limit = 400) {
        for (int i = 0; i < limit && g_monitor_state != state; ++i) tick();
        return g_monitor_state == state;
    }

    // Lets the mains fail and ticks until the countdown runs (its first tick is the next one).
    void fail_power() {
        connect();
        until_valid();
        ups.power_state = 3;
        ASSERT_TRUE(tick_until(MONITOR_COUNTDOWN, 30));
    }

    // The commands sent from index from on.
    std::vector<std::string> sent_from(size_t from) const {
        return {ups.commands.begin() + static_cast<long>(from), ups.commands.end()};
    }

    static bool has(const std::vector<std::string>& texts, const std::string& text) {
        return count(texts, text) > 0;
    }

    // True when the commands sent from index from hold first immediately followed by second.
    bool sent_in_a_row(size_t from, const std::string& first, const std::string& second) const {
        const auto sent = sent_from(from);
        const auto at = std::find(sent.begin(), sent.end(), first);
        return at != sent.end() && at + 1 != sent.end() && at[1] == second;
    }

    // A daily shutdown at 23:00 with the UPS on mains and a restart at 07:00 (when enabled);
    // the commands sent from the start of the shutdown on.
    std::vector<std::string> scheduled_shutdown(bool restart) {
        ups_status& u = g_app->local;
        u.shutdown_enabled = 1;
        u.shutdown_type = 1;
        u.shutdown_time.hour = 23;
        u.restart_time.hour = 7;
        u.restart_enabled = restart;
        g_now = at(2024, 3, 5, 22, 59, 40);
        connect();
        until_valid();
        const size_t from = ups.commands.size();
        EXPECT_TRUE(tick_until(MONITOR_END, 40));
        EXPECT_TRUE(has(g_panel, "Performing Scheduled daily shutdown."));
        EXPECT_EQ(host.terminations, 1);
        return sent_from(from);
    }
};

TEST_F(shutdown_sequence, PowerFailureCountsDownWarnsStepsTheIconAndSwitchesTheUpsOff) {
    g_app->local.logging_enabled = 1; // a data record after every poll queues :I each time
    fail_power();
    EXPECT_EQ(g_panel.back(), "System shutdown in 4 minutes or less.");
    EXPECT_EQ(host.timers.back(), 1000);
    g_panel.clear();
    const time_t start = g_now + 1;
    std::vector<time_t> icon_times;
    while (g_monitor_state == MONITOR_COUNTDOWN && g_now < start + 300) {
        const size_t icons = host.icons.size();
        tick();
        if (host.icons.size() > icons) icon_times.push_back(g_now - start);
    }
    EXPECT_EQ(g_now - start, 240);
    EXPECT_EQ(icon_times, (std::vector<time_t>{0, 34, 68, 102, 136, 170, 204}));
    EXPECT_EQ(host.icons.back(), "Battery7");
    std::vector<std::string> expected;
    for (int left = 210; left >= 0; left -= 30) {
        char text[64];
        snprintf(text, sizeof text, "Time remaining until shutdown %02d:%02d.", left / 60,
                 left % 60);
        expected.push_back(text);
    }
    std::vector<std::string> remaining;
    std::copy_if(g_panel.begin(), g_panel.end(), std::back_inserter(remaining),
                 [](const std::string& t) { return t.rfind("Time remaining", 0) == 0; });
    EXPECT_EQ(remaining, expected);

    const size_t from = ups.commands.size();
    ASSERT_TRUE(tick_until(MONITOR_END, 10));
    EXPECT_TRUE(sent_in_a_row(from, ":N78\r", ":G\r"));
    EXPECT_EQ(host.timers.back(), 3000);
    EXPECT_EQ(count(g_panel, "UPS is being turned off."), 1);
    EXPECT_EQ(g_panel.back(), "System is shutting down now!");
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n") << "SHUTDOWN.BAT runs before the power-off";
    EXPECT_EQ(host.terminations, 1);
}

TEST_F(shutdown_sequence, EndingTheProgramInsideAPollLeavesTheFreedStateAlone) {
    host.end_frees_state = true;
    fail_power();
    for (int i = 0; i < 400 && g_app; ++i) tick();
    EXPECT_EQ(g_app, nullptr);
    EXPECT_EQ(host.terminations, 1);
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n");
}

TEST_F(shutdown_sequence, ScheduledShutdownWithMainsTellsTheUpsWhenToComeBack) {
    const auto sent = scheduled_shutdown(true);
    EXPECT_EQ(g_app->local.restart_delay, 28680);
    const size_t n = ups.commands.size() - sent.size();
    EXPECT_TRUE(sent_in_a_row(n, ":N78\r", ":H007008\r"));
}

TEST_F(shutdown_sequence, ScheduledShutdownWithoutRestartSwitchesTheUpsOffAtOnce) {
    const auto sent = scheduled_shutdown(false);
    EXPECT_TRUE(sent_in_a_row(ups.commands.size() - sent.size(), ":N78\r", ":K0\r"));
}

TEST_F(shutdown_sequence, NoGraceTimeSendsNoSwitchOffCommand) {
    g_app->local.grace_time = 0;
    g_app->local.low_battery_time = 5;
    ups.battery_not_low = 0; // low battery on battery: a 5-second countdown
    fail_power();
    const size_t from = ups.commands.size();
    ASSERT_TRUE(tick_until(MONITOR_END, 20));
    for (const std::string& c : sent_from(from)) EXPECT_TRUE(c == ":D\r" || c == ":B\r") << c;
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n");
}

TEST_F(shutdown_sequence, ShortCountdownStepsTheIconAtEveryPoll) {
    g_app->local.low_battery_time = 5;
    ups.battery_not_low = 0;
    fail_power();
    host.icons.clear();
    for (int i = 0; i < 4; ++i) tick();
    EXPECT_EQ(host.icons,
              (std::vector<std::string>{"Battery1", "Battery2", "Battery3", "Battery4"}));
}

TEST_F(shutdown_sequence, PowerBackDuringTheCountdownCancelsIt) {
    fail_power();
    for (int i = 0; i < 50; ++i) tick();
    ups.power_state = 2;
    ASSERT_TRUE(tick_until(MONITOR_NORMAL, 5));
    const auto restored = std::find(g_panel.begin(), g_panel.end(), "Power restored.");
    ASSERT_NE(restored, g_panel.end());
    EXPECT_EQ(restored[1], "System shutdown terminated.");
    EXPECT_EQ(host.icons.back(), "Normal");
    EXPECT_EQ(host.timers.back(), 3000);
    for (int i = 0; i < 300; ++i) tick();
    EXPECT_EQ(host.terminations, 0);
}

TEST_F(shutdown_sequence, LowBatteryRestartsTheCountdownWithTheLowBatteryTime) {
    fail_power();
    for (int i = 0; i < 100; ++i) tick();
    ups.battery_not_low = 0;
    ASSERT_TRUE(tick_until(MONITOR_COUNTDOWN_START, 5));
    const time_t restart = g_now;
    ASSERT_TRUE(tick_until(MONITOR_EXPIRED, 200));
    EXPECT_TRUE(has(g_panel, "System shutdown in 1 minutes or less."));
    EXPECT_LE(g_now - restart, 63);
}

TEST_F(shutdown_sequence, PagerDialsOncePerCountdownAndAgainAfterACancel) {
    ups_status& u = g_app->local;
    u.page_on_shutdown = 1;
    u.modem_time = 4;
    strcpy(u.modem_command, "ATDT5551234");
    fake_ups modem;
    ASSERT_TRUE(modem.plug(work_dir / "MODEM"));
    fail_power();
    tick();
    EXPECT_TRUE(has(g_panel, "Sending notify via pager."));
    EXPECT_EQ(modem.pty.read(12, 1000), "ATDT5551234\r");
    for (int i = 0; i < 10; ++i) tick();
    EXPECT_EQ(count(g_panel, "Sending notify via pager."), 1);

    ups.power_state = 2;
    ASSERT_TRUE(tick_until(MONITOR_NORMAL, 5));
    std::filesystem::remove(work_dir / "MODEM"); // the modem is gone by the second outage
    ups.power_state = 3;
    ASSERT_TRUE(tick_until(MONITOR_COUNTDOWN, 30));
    tick();
    EXPECT_EQ(count(g_panel, "Sending notify via pager."), 2);
    EXPECT_TRUE(has(g_panel, "Error opening port: MODEM!"));
}

TEST_F(shutdown_sequence, CountdownLeavesTheRemoteViewWithoutASecondPoll) {
    connect();
    until_valid();
    enter_remote_view("server");
    ups.answer(g_app->serial_handle);
    ups.power_state = 3;
    ASSERT_TRUE(tick_until(MONITOR_COUNTDOWN, 30));
    EXPECT_FALSE(g_app->remote_view);
    EXPECT_EQ(host.clock_draws, ticks + 1) << "one poll per timer tick, plus the view change";
    EXPECT_EQ(ups.commands.size(), static_cast<size_t>(ticks + 2));
    EXPECT_EQ(count(g_panel, "System shutdown in 4 minutes or less."), 1);
}

TEST(restart_delay, CountsDaysFromTheShutdownToTheRestartLessTheGraceTime) {
    ups_status u{};
    u.grace_time = 120;
    u.shutdown_type = 1;
    u.shutdown_time.hour = 23;
    u.restart_time.hour = 7;
    EXPECT_EQ(restart_delay(u), 28680);
    u.restart_time.hour = 23;
    u.restart_time.minute = 30;
    EXPECT_EQ(restart_delay(u), 1800 - 120) << "daily, later the same day";

    u.shutdown_type = 2; // weekly: by weekday
    u.shutdown_time.weekday = 5;
    u.restart_time.weekday = 1;
    u.restart_time.hour = 7;
    u.restart_time.minute = 0;
    EXPECT_EQ(restart_delay(u), 3 * 86400 - 16 * 3600 - 120);
    u.restart_time.weekday = 5;
    EXPECT_EQ(restart_delay(u), 7 * 86400 - 16 * 3600 - 120) << "same weekday, earlier hour";
    u.restart_time.hour = 23;
    u.restart_time.minute = 1;
    EXPECT_EQ(restart_delay(u), 60) << "a delay of 1 s or less becomes 60";
}

TEST_F(shutdown_sequence, PowerOffNeedsTheStandInWhileTestsRun) {
    const std::string path = getenv("PATH");
    unsetenv(POWEROFF_VARIABLE);
    setenv("PATH", "/nonexistent", 1);
    g_debug_level = 1;
    const int result = shutdown_system();
    setenv("PATH", path.c_str(), 1);
    setenv(POWEROFF_VARIABLE, "echo off >> poweroff.mark", 1);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(std::filesystem::exists("poweroff.mark")) << "not even SHUTDOWN.BAT runs";
    EXPECT_EQ(g_panel, std::vector<std::string>{"AdjustTokenPrivileges error: 1"});

    setenv(POWEROFF_VARIABLE, "exit 3", 1);
    EXPECT_EQ(shutdown_system(), 2);
    setenv(POWEROFF_VARIABLE, "echo off >> poweroff.mark", 1);
    g_debug_level = 0;
    EXPECT_EQ(g_panel.back(), "InitiateSystemShutdown error: 3");
}

} // namespace
