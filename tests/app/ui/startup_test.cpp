// The program's start: the set-up dialog when there is no configuration, its exit question,
// the task and status windows, "E&xit", the end of the session and the one-instance rule.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kTimeoutMs = 20000;
constexpr char kTask[] = "Norvane VoltSentry Plus";
constexpr char kSetup[] = "Norvane VoltSentry Plus Configuration";
constexpr char kStatus[] = "UPS Status";
constexpr char kExitQuestion[] =
    "ask No configuration data was saved.  Do you wish to exit VoltSentry+?";

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

long count(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}

// Lines that name a toolkit fault: none is expected from a sound run.
std::vector<std::string> faults(const std::vector<std::string>& lines) {
    std::vector<std::string> found;
    for (const std::string& l : lines)
        if (l.starts_with("toolkit-error") || l.starts_with("script-error")) found.push_back(l);
    return found;
}

using startup = program_test;

TEST_F(startup, without_configuration_setup_opens_first_and_cancel_then_yes_ends_cleanly) {
    auto p = start("run", {"press 2", "answer 1"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_EQ(windows_in(log), (std::vector<std::string>{kTask, kSetup}));
    EXPECT_TRUE(has(log, kExitQuestion));
    EXPECT_FALSE(has(log, std::string("window ") + kStatus));
    EXPECT_EQ(log.back(), "exit 0");
    EXPECT_TRUE(faults(log).empty()) << faults(log).front();
    EXPECT_TRUE(read_file(dir_.file("norva.cfg")).empty());
}

TEST_F(startup, answering_no_to_the_exit_question_opens_setup_again) {
    auto p = start("run", {"press 2", "answer 0", "press 2", "answer 1"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_EQ(count(log, std::string("window ") + kSetup), 2);
    EXPECT_EQ(count(log, kExitQuestion), 2);
    EXPECT_FALSE(has(log, std::string("window ") + kStatus));
}

TEST_F(startup, ok_saves_the_configuration_then_the_status_window_opens_and_exit_ends) {
    auto p = start("run", {"press 1", "command 1008"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_EQ(windows_in(log), (std::vector<std::string>{kTask, kSetup, kStatus}));
    EXPECT_FALSE(has(log, kExitQuestion));
    EXPECT_TRUE(has(log, "menubar 1"));
    EXPECT_EQ(log.back(), "exit 0");
    EXPECT_TRUE(faults(log).empty()) << faults(log).front();
    EXPECT_FALSE(read_file(dir_.file("norva.cfg")).empty());
}

TEST_F(startup, with_a_configuration_the_task_window_comes_up_with_its_menu_bar) {
    write_configuration();
    auto p = start("run", {"command 1008"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_EQ(windows_in(log), (std::vector<std::string>{kTask, kStatus}));
    EXPECT_TRUE(has(log, std::string("destroy ") + kTask));
    EXPECT_EQ(log.back(), "exit 0");
    EXPECT_TRUE(faults(log).empty()) << faults(log).front();
    EXPECT_TRUE(has(log, "menubar 1"));
}

TEST_F(startup, setup_option_in_any_case_opens_setup_although_configured) {
    write_configuration();
    auto p = start("run", {"press 2", "answer 1"}, {"/debug:comm", "/Setup"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_EQ(windows_in(log), (std::vector<std::string>{kTask, kSetup}));
}

TEST_F(startup, ok_on_an_unchanged_dialog_writes_the_same_configuration_back) {
    write_configuration();
    const std::string before = read_file(dir_.file("norva.cfg"));
    auto p = start("run", {"press 1", "command 1008"}, {"/SETUP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    EXPECT_EQ(read_file(dir_.file("norva.cfg")), before);
    const auto log = log_of("run");
    EXPECT_EQ(windows_in(log), (std::vector<std::string>{kTask, kSetup, kStatus}));
}

TEST_F(startup, ok_keeps_every_setting_in_range_and_clamps_those_outside) {
    write_configuration([](ups_status& u) {
        u.temperature_unit = 0;
        u.logging_enabled = 0;
        u.log_interval = 60;
        u.grace_time = 255;
        u.powerfail_time = 99;
        u.disruption_time = 60;
        u.low_battery_time = 0;
        u.message_time = 5;
        std::snprintf(u.ups_port, sizeof u.ups_port, "COM3");
        std::snprintf(u.ups_voltage_text, sizeof u.ups_voltage_text, "240");
        std::snprintf(u.ups_id, sizeof u.ups_id, "rack-7");
    });
    const std::string before = read_file(dir_.file("norva.cfg"));
    auto p = start("run", {"press 1", "command 1008"}, {"/SETUP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    std::string expected = before;
    const std::string message = "Message Time:5\r\n";
    ASSERT_NE(expected.find(message), std::string::npos);
    expected.replace(expected.find(message), message.size(), "Message Time:10\r\n");
    EXPECT_EQ(read_file(dir_.file("norva.cfg")), expected);
}

TEST_F(startup, the_session_ending_while_setup_is_open_ends_the_program_without_asking) {
    auto p = start("run", {});
    ASSERT_TRUE(wait_for_line("run", std::string("window ") + kSetup, kTimeoutMs));
    p->signal(SIGTERM);
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_FALSE(has(log, kExitQuestion));
    EXPECT_EQ(count(log, std::string("window ") + kSetup), 1);
    EXPECT_EQ(log.back(), "exit 0");
}

TEST_F(startup, a_second_start_shows_the_note_and_ends_while_the_first_runs_on) {
    write_configuration();
    auto first = start("first", {});
    ASSERT_TRUE(wait_for_line("first", std::string("window ") + kStatus, kTimeoutMs));

    auto second = start("second", {});
    ASSERT_EQ(second->wait(kTimeoutMs), 0);
    const auto log = log_of("second");
    EXPECT_TRUE(has(log, "note VoltSentry Plus is already running!"));
    EXPECT_FALSE(has(log, std::string("window ") + kStatus));
    EXPECT_FALSE(has(log, std::string("window ") + kSetup));

    // The first goes on until the session ends it.
    EXPECT_EQ(first->wait(100), -1);
    first->signal(SIGTERM);
    ASSERT_EQ(first->wait(kTimeoutMs), 0);
    EXPECT_EQ(log_of("first").back(), "exit 0");
}

} // namespace
