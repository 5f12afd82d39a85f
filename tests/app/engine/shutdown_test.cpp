// The shutdown sequence against a UPS on a pseudo-terminal: countdown messages and icons, the UPS
// switch-off commands, cancellation, the pager, the restart delay and the operating-system end.
#include "monitor_fixture.h"

#include "common/scoped_env.h"

#include "engine/alarms.h"
#include "engine/os_shutdown.h"
#include "engine/serial_io.h"
#include "engine/shutdown.h"

#include <csignal>
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
        for (int i = 0; i < limit && g_app->engine.monitor_state != state; ++i) tick();
        return g_app->engine.monitor_state == state;
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
    while (g_app->engine.monitor_state == MONITOR_COUNTDOWN && g_now < start + 300) {
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

// The port closes as gone (an adapter pulled out) before the UPS could be told to switch off: the
// countdown must still end in SHUTDOWN.BAT and the power-off, one poll later.
TEST_F(shutdown_sequence, AUpsUnpluggedDuringTheCountdownStillEndsInTheShutdown) {
    g_app->local.powerfail_time = 1;
    fail_power();
    ups.pty.hang_up();
    ASSERT_TRUE(tick_until(MONITOR_UPS_OFF, 120));
    ASSERT_EQ(g_app->serial_handle, SERIAL_INVALID);
    tick();
    tick();
    ASSERT_EQ(g_app->engine.monitor_state, MONITOR_OS_SHUTDOWN) << "state 6 goes on after one poll without :N";
    tick();
    ASSERT_EQ(g_app->engine.monitor_state, MONITOR_END);
    EXPECT_TRUE(has(g_panel, "The UPS could not be told to switch off."));
    EXPECT_EQ(g_panel.back(), "System is shutting down now!");
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n");
    EXPECT_EQ(host.terminations, 1);
}

TEST_F(shutdown_sequence, ASilentUpsDuringTheCountdownIsStillToldAndTheSystemShutDown) {
    g_app->local.powerfail_time = 1;
    fail_power();
    ups.silent = true;
    const size_t from = ups.commands.size();
    ASSERT_TRUE(tick_until(MONITOR_END, 120));
    EXPECT_TRUE(sent_in_a_row(from, ":N78\r", ":G\r"));
    EXPECT_FALSE(has(g_panel, "The UPS could not be told to switch off."));
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n");
}

// Once :G has gone out the UPS will switch off: neither the mains' return nor a low battery may
// cancel or restart the countdown then.
TEST_F(shutdown_sequence, PowerEventsAfterTheUpsWasToldToSwitchOffChangeNothing) {
    g_app->local.powerfail_time = 1;
    host.end_frees_state = false;
    fail_power();
    ASSERT_TRUE(tick_until(MONITOR_OS_SHUTDOWN, 120));
    ups_status& u = g_app->local;
    u.power_event_pending = 1;
    u.on_battery = 0;
    apply_power_events(u);
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_OS_SHUTDOWN);
    u.battery_event_pending = 1;
    u.battery_low = 1;
    u.on_battery = 1;
    apply_power_events(u);
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_OS_SHUTDOWN);
    ups.power_state = 2; // the mains come back at the very poll that shuts down
    tick();
    EXPECT_EQ(g_app->engine.monitor_state, MONITOR_END);
    EXPECT_FALSE(has(g_panel, "System shutdown terminated."));
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n");
}

TEST_F(shutdown_sequence, PowerOffRefusalIsDecidedByRootLogindAndTheStandIn) {
    power_off_facts facts;
    facts.logind_answer = "no";
    EXPECT_NE(power_off_refusal(facts).find("answers \"no\""), std::string::npos);
    facts.logind_answer = "";
    EXPECT_NE(power_off_refusal(facts).find("cannot be asked"), std::string::npos);
    for (const char* allowed : {"yes", "challenge"}) {
        facts.logind_answer = allowed;
        EXPECT_EQ(power_off_refusal(facts), "") << allowed;
    }
    facts.logind_answer = "na";
    facts.root = true;
    EXPECT_EQ(power_off_refusal(facts), "");
    facts.forbidden = true;
    EXPECT_NE(power_off_refusal(facts), "") << "a test run never powers off, even as root";
    facts.stand_in = true;
    EXPECT_EQ(power_off_refusal(facts), "") << "the stand-in command decides for itself";
}

// A refused or failed power-off is said where a person looks, and SHUTDOWN.BAT still runs, for
// a script may shut the machine down by its own means.
TEST_F(shutdown_sequence, ARefusedOrFailedPowerOffStillRunsTheScriptAndIsReported) {
    scoped_env poweroff(POWEROFF_VARIABLE, nullptr);
    testing::internal::CaptureStderr();
    const int refused = shutdown_system(30);
    const std::string refused_err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(file_text("poweroff.mark"), "bat\n");
    const std::string said = "The machine cannot be powered off: test runs never power the machine off.";
    EXPECT_TRUE(has(g_panel, "The machine cannot be powered off!"));
    EXPECT_NE(refused_err.find(said), std::string::npos);
    EXPECT_NE(file_text("norva.log").find(said), std::string::npos);
    EXPECT_NE(file_text("norva.alm").find(said), std::string::npos);

    poweroff.set("exit 3");
    testing::internal::CaptureStderr();
    EXPECT_EQ(shutdown_system(30), 2);
    const std::string failed_err = testing::internal::GetCapturedStderr();
    const std::string failed = "Power-off failed: the VOLTSENTRY_POWEROFF command ended with status 3.";
    EXPECT_EQ(g_panel.back(), "Power-off failed!");
    EXPECT_NE(failed_err.find(failed), std::string::npos);
    EXPECT_NE(file_text("norva.log").find(failed), std::string::npos);
}

TEST_F(shutdown_sequence, AStartUpWarningNamesAPowerOffThatWillBeRefused) {
    EXPECT_FALSE(warn_if_power_off_refused()) << "the stand-in command is set";
    EXPECT_TRUE(g_panel.empty());
    const scoped_env poweroff(POWEROFF_VARIABLE, nullptr);
    testing::internal::CaptureStderr();
    const bool warned = warn_if_power_off_refused();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(warned);
    // Three lines that fit the panel's 43 characters; the whole story in the log and on stderr.
    EXPECT_EQ(g_panel, (std::vector<std::string>{"Warning: the power-off will be refused:",
                                                 "test runs never power the machine off.",
                                                 "Run as root, or see norva.log for help."}));
    for (const std::string& line : g_panel) EXPECT_LE(line.size(), 43u) << line;
    const std::string detail = "Warning: this machine cannot be powered off at a power failure: "
                               "test runs never power the machine off.";
    EXPECT_NE(file_text("norva.log").find(detail), std::string::npos);
    EXPECT_NE(file_text("norva.log").find("set VOLTSENTRY_POWEROFF"), std::string::npos);
    EXPECT_NE(err.find(detail), std::string::npos);
}

// A script that hangs is ended after its time on the application's clock, with what it started,
// and the power-off follows.
TEST_F(shutdown_sequence, AHangingShutdownScriptIsEndedAndThePowerOffFollows) {
    EXPECT_EQ(shutdown_script_limit(120), 105);
    EXPECT_EQ(shutdown_script_limit(30), 30);
    EXPECT_EQ(shutdown_script_limit(0), 30);
    std::ofstream("SHUTDOWN.BAT", std::ios::trunc)
        << "echo bat >> poweroff.mark\nsleep 600 & echo $! > child.pid\nwait\n";
    // Each look at the clock moves it a second on.
    g_app->engine.clock = [] { return ++g_now; };
    EXPECT_EQ(shutdown_system(30), 0);
    EXPECT_EQ(file_text("poweroff.mark"), "bat\noff\n");
    EXPECT_TRUE(has(g_panel, "SHUTDOWN.BAT hung and was ended."));
    EXPECT_NE(file_text("norva.log").find(
                  "SHUTDOWN.BAT did not finish within 30 seconds and was ended; powering off."),
              std::string::npos);
    const pid_t child = std::stoi(file_text("child.pid"));
    EXPECT_TRUE(kill(child, 0) != 0 || file_text(("/proc/" + std::to_string(child) + "/stat").c_str())
                                               .find(" Z ") != std::string::npos)
        << "what the script started is ended too";
}

} // namespace
