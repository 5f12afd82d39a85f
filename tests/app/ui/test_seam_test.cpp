// The test seam's script steps: a dialog worked control by control before its press, the lines it
// cannot carry out reported, and menu commands that wait for the dialog before them.
#include <gtest/gtest.h>

#include "app/ui/history_graph_support.h"
#include "app/ui/program_support.h"

#include "ui/history_graph_data.h"

#include <algorithm>
#include <ctime>
#include <fstream>

namespace {

constexpr int kTimeoutMs = 20000;
constexpr char kSetup[] = "Norvane VoltSentry Plus Configuration";

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> starting_with(const std::vector<std::string>& lines,
                                       const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& l : lines)
        if (l.starts_with(prefix)) found.push_back(l);
    return found;
}

using test_seam = program_test;

TEST_F(test_seam, steps_work_the_dialog_control_by_control_before_its_press) {
    // No configuration: the set-up dialog opens first and its "OK" writes what the steps set.
    auto p = start("run", {"set 5 50",                // down time
                           "scroll 9 line-down",      // disruption time 10 -> 11
                           "set 13 999",              // low battery time, held to its bar's 60
                           "type 42 Rack # 7",        // workstation name, '#' and all
                           "choose 44 COM3",          // port
                           "uncheck 34",              // logging off hides its interval
                           "uncheck 34",              // already off: no click
                           "inspect 34", "inspect 35", "inspect 13", "inspect 44",
                           "press 1", "command 1008"},
                   {"/NOPNP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_TRUE(starting_with(log, "script-error").empty()) << starting_with(log, "script-error")[0];
    EXPECT_TRUE(has(log, "control 34 enabled 1 shown 1 checked 0 value 0 text Logging:"));
    EXPECT_TRUE(starting_with(log, "control 35 enabled 1 shown 0 checked 0").size() == 1);
    EXPECT_TRUE(starting_with(log, "control 13 enabled 1 shown 1 checked 0 value 60").size() == 1);
    EXPECT_TRUE(has(log, "control 44 enabled 1 shown 1 checked 0 value 2 text COM3"));
    const std::string cfg = read_file(dir_.file("norva.cfg"));
    for (const char* line : {"UPS port:COM3\r\n", "Logging:0\r\n", "UPS id:Rack # 7\r\n",
                             "Disruption Time:11\r\n", "Low Battery Time:60\r\n",
                             "Powerfail Time:50\r\n"})
        EXPECT_NE(cfg.find(line), std::string::npos) << line << " not in\n" << cfg;
}

TEST_F(test_seam, lines_it_cannot_read_or_carry_out_are_logged_and_the_press_still_comes) {
    auto p = start("run", {"set 5", "scroll 9 sideways", "choose 44", "frobnicate 3",
                           "key 0 ctrl+sideways", "key 0 end now", "click 999", "choose 44 COM9",
                           "press 2", "answer 1"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto errors = starting_with(log_of("run"), "script-error");
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "script-error set 5", "script-error scroll 9 sideways",
                          "script-error choose 44", "script-error frobnicate 3",
                          "script-error key 0 ctrl+sideways", "script-error key 0 end now",
                          "script-error control 999: not in this dialog",
                          "script-error control 44: no entry COM9"}));
    EXPECT_TRUE(read_file(dir_.file("norva.cfg")).empty());
}

TEST_F(test_seam, a_command_waits_until_the_modal_dialog_before_it_is_closed) {
    write_configuration();
    auto p = start("run", {"command 1015", "press 2 after 300", "command 1015", "press 2",
                           "command 1008"},
                   {"/NOPNP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    std::vector<std::string> setup;
    for (const std::string& l : log)
        if (l.ends_with(kSetup)) setup.push_back(l.substr(0, l.find(' ')));
    // The second dialog opens only once the first has closed.
    EXPECT_EQ(setup, (std::vector<std::string>{"window", "destroy", "window", "destroy"}));
    EXPECT_EQ(log.back(), "exit 0");
}

TEST_F(test_seam, a_window_named_by_its_title_is_worked_as_a_dialog_and_commands_wait_for_it) {
    write_configuration();
    const time_t now = std::time(nullptr);
    std::ofstream(dir_.file("norva.dat"), std::ios::binary)
        << graph_records(graph_day_of(now - 86400), 20, 118, 100)
        << graph_records(graph_day_of(now), 20, 121, 90);
    // The history graph is a window, not a dialog: the press before it must not be taken by it.
    auto p = start("run", {"command 1018", "window History Graphs", "inspect 7",
                           "choose 7 Select All", "inspect 7", "check 5", "inspect 5",
                           "press 1", "command 1015", "press 2", "command 1008"},
                   {"/NOPNP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_TRUE(starting_with(log, "script-error").empty()) << starting_with(log, "script-error")[0];
    const auto controls = starting_with(log, "control ");
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_TRUE(controls[0].ends_with("value 1 text " + graph_day_of(now))) << controls[0];
    EXPECT_TRUE(controls[1].ends_with("value 2 text Select All")) << controls[1];
    EXPECT_TRUE(controls[2].starts_with("control 5 enabled 1 shown 1 checked 1")) << controls[2];
    // Closed by its press before the next command opened the set-up dialog.
    const auto closed = std::find(log.begin(), log.end(), "destroy History Graphs");
    const auto setup = std::find(log.begin(), log.end(), std::string("window ") + kSetup);
    EXPECT_LT(closed, setup);
    EXPECT_NE(setup, log.end());
    EXPECT_EQ(log.back(), "exit 0");
}

} // namespace
