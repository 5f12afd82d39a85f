// The running program against the simulated UPS while a question or dialog waits for the user:
// polling, power events and the shutdown go on; and a logged run refuses every real serial port.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/scoped_env.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 20000;
const std::string ASKED = "ask Please enter the voltage of your UPS:";
const std::string QUESTION = "Question";
const std::string SETUP = "Norvane VoltSentry Plus Configuration";

class open_question : public program_test {
  protected:
    // A UPS with the given simulator options on COM1, a countdown of powerfail_minutes; the
    // script answers for the user.
    void start_monitor(const std::vector<std::string>& sim_options,
                       const std::vector<std::string>& script, int powerfail_minutes = 5) {
        write_configuration([&](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
            u.disruption_time = 10;
            u.powerfail_time = static_cast<int16_t>(powerfail_minutes);
            u.low_battery_time = 180;
            u.message_time = 30;
            u.grace_time = 60;
        });
        std::ofstream(dir_.file("SHUTDOWN.BAT")) << "echo script >> " << POWEROFF_TRAIL << '\n';
        sim_ = std::make_unique<sim_session>(sim_options, dir_.file("COM1"));
        ASSERT_TRUE(sim_->ready());
        time_scale_ = 30;
        program_ = start("run", script, {"/NOPNP"});
        ASSERT_TRUE(program_->started());
    }

    void TearDown() override {
        expect_no_toolkit_error("run");
        if (HasFailure()) std::fprintf(stderr, "%s", read_file(dir_.file("run.log")).c_str());
    }

    bool logged(const std::string& line) const {
        const auto log = log_of("run");
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    bool wait_for(const std::string& line) const { return wait_for_line("run", line, kTimeoutMs); }

    // How many commands the UPS has received so far.
    size_t commands_received() const {
        std::istringstream in(sim_->transcript());
        size_t count = 0;
        for (std::string line; std::getline(in, line);)
            if (line.starts_with("> ")) ++count;
        return count;
    }

    // Waits until the UPS has received more commands than it had: the program polls on.
    bool polls_go_on() const {
        const size_t before = commands_received();
        return wait_until([&] { return commands_received() >= before + 3; }, kTimeoutMs);
    }

    std::string configuration() const { return read_file(dir_.file("norva.cfg")); }

    std::unique_ptr<sim_session> sim_;
    std::unique_ptr<child_process> program_;
};

TEST_F(open_question, a_power_failure_is_seen_and_counted_down_while_the_voltage_question_waits) {
    // The question stays open until the test overloads the UPS, however slow the machine.
    const std::string overload = "UPS Overloaded - unplug device: 95%.";
    start_monitor({"--extended", "--voltage-class", "3"}, {"answer 1 when " + overload});
    ASSERT_TRUE(wait_for(ASKED));
    ASSERT_TRUE(wait_for("window " + QUESTION));
    EXPECT_TRUE(polls_go_on());
    sim_->send("mains off");
    ASSERT_TRUE(wait_for("message On battery backup."));
    ASSERT_TRUE(wait_for("message System shutdown in 5 minutes or less."));
    sim_->send("mains on");
    ASSERT_TRUE(wait_for("message System shutdown terminated."));
    // All of it while the question was still open and unanswered.
    EXPECT_FALSE(logged("destroy " + QUESTION));
    EXPECT_EQ(configuration().find("UPS Voltage:240"), std::string::npos);
    // The answer, when it comes, is stored; the question was asked once.
    sim_->send("load 95");
    ASSERT_TRUE(wait_for("message " + overload));
    ASSERT_TRUE(wait_for("destroy " + QUESTION));
    ASSERT_TRUE(wait_until(
        [&] { return configuration().find("UPS Voltage:240") != std::string::npos; }, kTimeoutMs));
    const auto log = log_of("run");
    EXPECT_EQ(std::count(log.begin(), log.end(), ASKED), 1);
    EXPECT_EQ(program_->wait(0), -1);
}

TEST_F(open_question, a_countdown_runs_out_to_the_power_off_while_the_question_is_never_answered) {
    start_monitor({"--extended", "--voltage-class", "3"}, {"answer 1 after 600000"}, 1);
    ASSERT_TRUE(wait_for(ASKED));
    sim_->send("mains off");
    ASSERT_EQ(program_->wait(kTimeoutMs * 2), 0);
    EXPECT_EQ(log_of("run").back(), "exit 0");
    EXPECT_EQ(read_file(dir_.file(POWEROFF_TRAIL)), "script\npoweroff\n");
    // The question closed with the application: its answer was never stored.
    EXPECT_TRUE(logged("destroy " + QUESTION));
    EXPECT_EQ(configuration().find("UPS Voltage:2"), std::string::npos);
}

TEST_F(open_question, polling_goes_on_while_the_setup_dialog_from_the_menu_is_open) {
    start_monitor({}, {"command 1015", "press 2 after 600000"});
    ASSERT_TRUE(wait_for("window " + SETUP));
    EXPECT_TRUE(polls_go_on());
    sim_->send("mains off");
    ASSERT_TRUE(wait_for("message On battery backup."));
    EXPECT_FALSE(logged("destroy " + SETUP));
}

using logged_run = program_test;

TEST_F(logged_run, a_log_alone_keeps_the_program_off_every_port_but_a_pseudo_terminal) {
    write_configuration(
        [](ups_status& u) { std::snprintf(u.ups_port, sizeof u.ups_port, "COM1"); });
    ASSERT_EQ(symlink("/dev/null", dir_.file("COM1").c_str()), 0);
    // Started by hand: the helper always hands the program a script.
    std::optional<scoped_env> log_env(std::in_place, "VOLTSENTRY_TEST_LOG", dir_.file("run.log"));
    child_process program({dir_.file("voltsentry"), "/NOPNP", "/DEBUG:ERROR"}, "/",
                          dir_.file("run.err"));
    log_env.reset();
    ASSERT_TRUE(program.started());
    // Refused before it is opened (permission denied), not opened and found no serial line.
    ASSERT_TRUE(wait_for_line("run", "message Error opening port: COM1!", kTimeoutMs));
    EXPECT_TRUE(wait_for_line("run", "message open error: 13 on port: COM1.", 0));
}

} // namespace
