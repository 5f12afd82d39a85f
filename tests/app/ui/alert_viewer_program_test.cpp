// The alert log viewer in the running program: "View Alert Log" worked by a script shows one
// paragraph per line of the alarm log and prints them all; a log of empty lines, and the
// network's log, give the note and close the window again.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/scoped_env.h"
#include "tools/sim_support.h"

#include "ui/alert_viewer.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

constexpr int kTimeoutMs = 30000;

class alert_viewer_program : public single_run_test {
  protected:
    void write_alarm_log(const std::string& text) {
        std::ofstream(dir_.file(ALERT_LOG_FILE), std::ios::binary) << text;
    }
    // Runs the script against a simulated UPS on COM1, so that the program's own start adds no
    // line to the alarm log.
    std::vector<std::string> run(const std::vector<std::string>& script) {
        write_configuration([](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
        });
        sim_session sim({}, dir_.file("COM1"));
        EXPECT_TRUE(sim.ready());
        auto program = start("run", script, {"/NOPNP"});
        EXPECT_TRUE(program->started());
        EXPECT_EQ(program->wait(kTimeoutMs), 0);
        const auto log = log_of("run");
        for (const std::string& l : log) EXPECT_FALSE(l.starts_with("script-error")) << l;
        return log;
    }
    static long count(const std::vector<std::string>& log, const std::string& line) {
        return std::count(log.begin(), log.end(), line);
    }
};

TEST_F(alert_viewer_program, view_alert_log_shows_each_line_and_prints_them_all) {
    std::string alarms;
    for (int i = 0; i < 40; ++i) {
        alarms += "12/09/26 08:" + std::to_string(10 + i) + ":00 Battery Charge out of range #" +
                  std::to_string(i) + "\r\n";
        if (i % 7 == 0) alarms += "\r\n";
    }
    write_alarm_log(alarms);
    const std::string pdf = dir_.file("alerts.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    const auto log = run({"command 1025", "window File Viewer", "inspect 1", "click 3", "press 4",
                          "command 1008"});
    EXPECT_EQ(count(log, "window File Viewer"), 1);
    EXPECT_EQ(count(log, "destroy File Viewer"), 1);
    EXPECT_EQ(count(log, "control 1 enabled 1 shown 1 checked 0 value 40 text 12/09/26 08:10:00 "
                         "Battery Charge out of range #0"),
              1);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(count(log, "paragraph 1 " + std::to_string(i) + " 12/09/26 08:" +
                                 std::to_string(10 + i) + ":00 Battery Charge out of range #" +
                                 std::to_string(i)),
                  1)
            << i;
    const std::string text_file = dir_.file("alerts.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text_file).c_str()), 0);
    const std::string text = read_file(text_file);
    for (int i = 0; i < 40; ++i)
        EXPECT_NE(text.find("Battery Charge out of range #" + std::to_string(i) + "\n"),
                  std::string::npos)
            << i;
}

TEST_F(alert_viewer_program, a_log_of_empty_lines_and_the_network_log_give_the_note_and_close) {
    write_alarm_log("\r\n\r\n\n\r\n");
    // The network's working file is made afresh each time: what an earlier viewing left is gone.
    std::ofstream(dir_.file(ALERT_WORK_FILE), std::ios::binary) << "left behind\r\n";
    const auto log = run({"command 1025", "command 1019", "command 1008"});
    EXPECT_EQ(count(log, std::string("note ") + ALERT_NO_DATA), 2);
    EXPECT_EQ(count(log, "window File Viewer"), 2);
    EXPECT_EQ(count(log, "destroy File Viewer"), 2);
    EXPECT_FALSE(std::ifstream(dir_.file(ALERT_WORK_FILE)).good());
}

} // namespace
