// The running program against the simulated UPS on a pseudo-terminal, on a fast clock: the data
// log, a power failure and its countdown, the end of a countdown, and a UPS that goes away.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/scoped_env.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr int kTimeoutMs = 20000;
const std::string LOST = "UPS not responding on COM1!";
const std::string FOUND = "UPS connected on COM1.";

// True when every expected text appears in texts, in that order (others may come between).
bool in_order(const std::vector<std::string>& texts, const std::vector<std::string>& expected) {
    auto at = texts.begin();
    for (const std::string& e : expected) {
        at = std::find(at, texts.end(), e);
        if (at == texts.end()) return false;
        ++at;
    }
    return true;
}

class live_monitor : public program_test {
  protected:
    // A UPS on COM1 with short times; edit changes them further.
    void start_monitor(int time_scale, const std::function<void(ups_status&)>& edit = nullptr) {
        write_configuration([&](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
            std::snprintf(u.ups_id, sizeof u.ups_id, "rack-7");
            u.logging_enabled = 1;
            u.log_interval = 1;
            u.disruption_time = 10;
            u.powerfail_time = 2;
            u.low_battery_time = 180;
            u.message_time = 30;
            u.grace_time = 120;
            if (edit) edit(u);
        });
        std::ofstream(dir_.file("SHUTDOWN.BAT")) << "echo script >> " << POWEROFF_TRAIL << '\n';
        sim_ = std::make_unique<sim_session>(std::vector<std::string>{}, dir_.file("COM1"));
        ASSERT_TRUE(sim_->ready());
        time_scale_ = time_scale;
        program_ = start("run", {}, {"/NOPNP"});
        ASSERT_TRUE(program_->started());
    }

    // No run may have met a toolkit fault, whatever its scenario.
    void TearDown() override { expect_no_toolkit_error("run"); }

    // The texts the program showed in its message panel so far.
    std::vector<std::string> messages() const { return messages_of("run"); }

    bool wait_for_message(const std::string& text, int count = 1) const {
        return wait_until(
            [&] {
                const auto texts = messages();
                return std::count(texts.begin(), texts.end(), text) >= count;
            },
            kTimeoutMs);
    }

    std::vector<std::string> data_records() const {
        return lines_of(read_file(dir_.file("norva.dat")));
    }

    // The commands the UPS received, as the transcript writes them; with a note, only those
    // after the first transcript line that starts with it.
    std::vector<std::string> commands(const std::string& after_note = {}) const {
        std::vector<std::string> found;
        bool counting = after_note.empty();
        for (const std::string& line : lines_of(sim_->transcript())) {
            if (!counting)
                counting = line.starts_with("# " + after_note);
            else if (line.starts_with("> "))
                found.push_back(line.substr(2));
        }
        return found;
    }

    // Waits for the program to end after a shutdown; checks how it ended and what it ran.
    void expect_shutdown_with(const std::string& last_command) {
        ASSERT_EQ(program_->wait(kTimeoutMs), 0);
        const auto log = log_of("run");
        EXPECT_EQ(log.back(), "exit 0");
        const auto texts = messages();
        EXPECT_TRUE(in_order(texts, {"UPS is being turned off.", "System is shutting down now!"}));
        // SHUTDOWN.BAT ran, and ended, before the machine was asked to power off.
        EXPECT_EQ(read_file(dir_.file(POWEROFF_TRAIL)), "script\npoweroff\n");
        const auto sent = commands();
        const auto grace = std::find(sent.begin(), sent.end(), ":N78<CR>");
        ASSERT_NE(grace, sent.end());
        ASSERT_NE(grace + 1, sent.end());
        EXPECT_EQ(*(grace + 1), last_command);
    }

    std::unique_ptr<sim_session> sim_;
    std::unique_ptr<child_process> program_;
};

TEST_F(live_monitor, a_data_record_is_written_every_log_interval_with_the_readings_of_the_ups) {
    start_monitor(30);
    ASSERT_TRUE(wait_until([&] { return data_records().size() >= 3; }, kTimeoutMs));
    // Over two minutes and more, a poll every 3 seconds: some 40 of them (a poll every 6 seconds
    // would give about 20; the margin is for a machine too busy to keep the fast clock's pace).
    EXPECT_GE(commands().size(), 32u);
    const auto ups = sim_->state();
    const std::regex record(R"((\d\d)/(\d\d)/(\d\d) ,(\d\d):(\d\d):00,rack-7 *,(-?\d+) *,)"
                            R"((-?\d+) *,(-?\d+) *,(-?\d+) *,(\d))");
    int previous = -1;
    for (const std::string& line : data_records()) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, record)) << line;
        EXPECT_EQ(m[6], ups.at("line_voltage"));
        EXPECT_EQ(m[8], ups.at("battery_charge"));
        EXPECT_EQ(m[9], ups.at("temperature_c"));
        EXPECT_EQ(m[10], "2");
        // One record a minute: the next comes at the first poll a full interval later.
        const int minute = std::stoi(m[4]) * 60 + std::stoi(m[5]);
        if (previous >= 0) {
            const int gap = (minute - previous + 24 * 60) % (24 * 60);
            EXPECT_TRUE(gap == 1 || gap == 2) << line;
        }
        previous = minute;
    }
}

TEST_F(live_monitor, a_mains_failure_counts_down_a_low_battery_restarts_it_and_power_back_ends_it) {
    // A modem on COM2 takes the pager's dial string at the countdown's first tick.
    sim_session modem({}, dir_.file("COM2"));
    ASSERT_TRUE(modem.ready());
    start_monitor(30, [](ups_status& u) {
        u.page_on_shutdown = 1;
        u.modem_time = 4;
        std::snprintf(u.modem_port, sizeof u.modem_port, "COM2");
        std::snprintf(u.modem_command, sizeof u.modem_command, "ATDT5551234");
    });
    ASSERT_TRUE(wait_until([&] { return !data_records().empty(); }, kTimeoutMs));
    sim_->send("mains off");
    ASSERT_TRUE(wait_for_message("System shutdown in 2 minutes or less."));
    const std::regex remaining(R"(Time remaining until shutdown 01:[0-3]\d\.)");
    ASSERT_TRUE(wait_until(
        [&] {
            const auto texts = messages();
            return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
                return std::regex_match(t, remaining);
            });
        },
        kTimeoutMs));
    sim_->send("battery low");
    ASSERT_TRUE(wait_for_message("System shutdown in 3 minutes or less."));
    sim_->send("mains on");
    ASSERT_TRUE(wait_for_message("System shutdown terminated."));
    sim_->send("battery ok");
    ASSERT_TRUE(wait_for_message("Battery back to normal."));
    // A second outage pages again.
    sim_->send("mains off");
    ASSERT_TRUE(wait_for_message("Sending notify via pager.", 2));
    sim_->send("mains on");
    ASSERT_TRUE(wait_for_message("System shutdown terminated.", 2));
    EXPECT_TRUE(in_order(messages(), {"On battery backup.", "System shutdown in 2 minutes or less.",
                                      "Sending notify via pager.", "Low battery.",
                                      "System shutdown in 3 minutes or less.", "Power restored.",
                                      "System shutdown terminated.", "Battery back to normal."}));
    const auto dialled = lines_of(modem.transcript());
    EXPECT_EQ(std::count(dialled.begin(), dialled.end(), "> ATDT5551234<CR>"), 2);
    // The power events went to the alarm log as well.
    const auto alarms = lines_of(read_file(dir_.file("norva.alm")));
    EXPECT_TRUE(std::any_of(alarms.begin(), alarms.end(), [](const std::string& line) {
        return line.ends_with(",On battery backup.");
    }));
    EXPECT_EQ(program_->wait(0), -1);
    EXPECT_TRUE(read_file(dir_.file(POWEROFF_TRAIL)).empty());
}

TEST_F(live_monitor, a_countdown_run_out_on_battery_switches_the_ups_off_and_shuts_down) {
    start_monitor(60, [](ups_status& u) { u.powerfail_time = 1; });
    ASSERT_TRUE(wait_until([&] { return !data_records().empty(); }, kTimeoutMs));
    sim_->send("mains off");
    expect_shutdown_with(":G<CR>");
    EXPECT_TRUE(in_order(messages(), {"On battery backup.", "System shutdown in 1 minutes or less.",
                                      "UPS is being turned off."}));
}

TEST_F(live_monitor,
       a_scheduled_shutdown_with_mains_present_sets_the_restart_delay_and_shuts_down) {
    // Daily at the minute four minutes from now, the UPS back on two hours after that.
    const time_t at = std::time(nullptr) + 4 * 60;
    std::tm target{};
    localtime_r(&at, &target);
    start_monitor(60, [&](ups_status& u) {
        u.shutdown_enabled = 1;
        u.shutdown_type = 1;
        u.shutdown_time.hour = target.tm_hour;
        u.shutdown_time.minute = target.tm_min;
        u.restart_enabled = 1;
        u.restart_time.hour = (target.tm_hour + 2) % 24;
        u.restart_time.minute = target.tm_min;
    });
    // 2 hours less the grace time of 120 seconds: 7080 seconds.
    expect_shutdown_with(":H001BA8<CR>");
    EXPECT_TRUE(in_order(messages(), {"Scheduled shutdown in 1 minute or less.",
                                      "Performing Scheduled daily shutdown."}));
}

// Whatever the link does once the countdown runs, the countdown ends in SHUTDOWN.BAT and the
// power-off: an unplugged UPS cannot be told to switch off (and that is said), a silent one still
// gets its commands.
TEST_F(live_monitor, a_countdown_ends_in_the_shutdown_when_the_ups_is_unplugged_or_silent) {
    for (const std::string fault : {"unplug", "silent"}) {
        SCOPED_TRACE(fault);
        start_monitor(60, [](ups_status& u) { u.powerfail_time = 1; });
        ASSERT_TRUE(wait_until([&] { return !data_records().empty(); }, kTimeoutMs));
        sim_->send("mains off");
        ASSERT_TRUE(wait_for_message("System shutdown in 1 minutes or less."));
        sim_->send(fault);
        ASSERT_EQ(program_->wait(kTimeoutMs), 0);
        EXPECT_EQ(read_file(dir_.file(POWEROFF_TRAIL)), "script\npoweroff\n");
        const auto texts = messages();
        EXPECT_EQ(texts.back(), "System is shutting down now!");
        const bool told = std::find(texts.begin(), texts.end(),
                                    "The UPS could not be told to switch off.") == texts.end();
        EXPECT_EQ(told, fault == "silent");
        if (fault == "silent") {
            const auto sent = commands("fault silent");
            const auto grace = std::find(sent.begin(), sent.end(), ":N78<CR>");
            ASSERT_NE(grace, sent.end());
            ASSERT_NE(grace + 1, sent.end());
            EXPECT_EQ(grace[1], ":G<CR>");
        }
        sim_.reset();
        std::remove(dir_.file(POWEROFF_TRAIL).c_str());
        std::remove(dir_.file("run.log").c_str());
        std::remove(dir_.file("norva.dat").c_str());
    }
}

// A power-off that fails still comes after SHUTDOWN.BAT, and the failure is in the event log and
// on standard error, not only in a debug trace.
TEST_F(live_monitor, a_failed_power_off_runs_the_script_and_is_logged_and_written_to_stderr) {
    const scoped_env poweroff("VOLTSENTRY_POWEROFF", "false");
    start_monitor(60, [](ups_status& u) { u.powerfail_time = 1; });
    ASSERT_TRUE(wait_until([&] { return !data_records().empty(); }, kTimeoutMs));
    sim_->send("mains off");
    ASSERT_EQ(program_->wait(kTimeoutMs), 0);
    const std::string failed = "Power-off failed: the VOLTSENTRY_POWEROFF command ended with status 1.";
    EXPECT_EQ(read_file(dir_.file(POWEROFF_TRAIL)), "script\n");
    EXPECT_NE(read_file(dir_.file("norva.log")).find(failed), std::string::npos);
    EXPECT_NE(read_file(dir_.file("norva.alm")).find(failed), std::string::npos);
    EXPECT_NE(read_file(dir_.file("run.err")).find(failed), std::string::npos);
}

// A program that will not be allowed to power the machine off says so when it starts, where it
// stays to be seen, rather than when the battery runs out.
TEST_F(live_monitor, a_power_off_that_will_be_refused_is_warned_of_at_start_up) {
    {
        // A test run refuses the real power-off, so it will be refused.
        const scoped_env no_poweroff("VOLTSENTRY_POWEROFF", nullptr);
        start_monitor(30);
    }
    const std::string warning = "Warning: this machine cannot be powered off at a power failure: "
                                "test runs never power the machine off.";
    ASSERT_TRUE(wait_for_message("Run as root, or see norva.log for help."));
    EXPECT_TRUE(in_order(messages(), {"Warning: the power-off will be refused:",
                                      "test runs never power the machine off.",
                                      "Run as root, or see norva.log for help."}));
    EXPECT_NE(read_file(dir_.file("norva.log")).find(warning), std::string::npos);
    EXPECT_NE(read_file(dir_.file("run.err")).find(warning), std::string::npos);
    program_->signal(SIGTERM);
    EXPECT_EQ(program_->wait(kTimeoutMs), 0);
}

TEST_F(live_monitor, a_silent_or_unplugged_ups_is_reported_lost_and_found_again) {
    start_monitor(30);
    ASSERT_TRUE(wait_until([&] { return !data_records().empty(); }, kTimeoutMs));
    sim_->send("silent");
    ASSERT_TRUE(wait_for_message(LOST));
    // Twenty unanswered commands, each read back in vain at the next poll, before the message.
    EXPECT_GE(commands("fault silent").size(), 20u);
    sim_->send("normal");
    ASSERT_TRUE(wait_for_message(FOUND));
    // The first reply after the silence brings the link back, and the UPS is identified afresh.
    const auto after = commands("fault normal");
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(after[1], ":L<CR>");
    sim_->send("unplug");
    ASSERT_TRUE(wait_for_message(LOST, 2));
    sim_->send("replug");
    ASSERT_TRUE(wait_for_message(FOUND, 2));
    const auto texts = messages();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), LOST), 2);
    EXPECT_TRUE(in_order(texts, {LOST, FOUND, LOST, FOUND}));
}

} // namespace
