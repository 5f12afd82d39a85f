// The history graph in the running program: "History Graphs" opens it on today's data, a second
// command brings the same window forward, and the headless picture of the task window shows it.
#include <gtest/gtest.h>

#include "app/ui/history_graph_support.h"
#include "app/ui/program_support.h"
#include "common/scoped_env.h"

#include "ui/history_graph_data.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

constexpr int kTimeoutMs = 30000;

using history_graph_program = single_run_test;

TEST_F(history_graph_program, opens_on_today_and_leaves_no_working_files) {
    write_configuration();
    const time_t now = time(nullptr);
    std::ofstream(dir_.file("norva.dat"), std::ios::binary)
        << graph_records(graph_day_of(now - 86400), 200, 118, 100)
        << graph_records(graph_day_of(now), 120, 121, 90);
    const std::string picture = dir_.file("graph.png");
    const scoped_env snapshot("WYN_SNAPSHOT", picture);
    // The thresholds dialog, held open, keeps the program up while the picture is taken.
    auto program = start("run", {"command 1018", "command 1018", "command 1016", "press 2 after 2500",
                                 "command 1008"},
                         {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    EXPECT_EQ(std::count(log.begin(), log.end(), "window History Graphs"), 1);
    EXPECT_EQ(std::find_if(log.begin(), log.end(),
                           [](const std::string& l) { return l.starts_with("note There is no"); }),
              log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "destroy History Graphs"), log.end());
    EXPECT_FALSE(std::ifstream(dir_.file(GRAPH_WORK_FILE)).good());
    EXPECT_FALSE(std::ifstream(dir_.file(GRAPH_DAY_FILE)).good());
    EXPECT_TRUE(std::ifstream(picture).good());
    const std::string kept = std::string(VS_BIN_DIR) + "/../history_graph_window.png";
    std::ifstream in(picture, std::ios::binary);
    std::ofstream(kept, std::ios::binary) << in.rdbuf();
}

TEST_F(history_graph_program, says_when_there_is_nothing_to_graph) {
    write_configuration();
    std::ofstream(dir_.file("norva.dat"), std::ios::binary)
        << graph_records("01/02/03", 5, 118, 100);
    auto program = start("run", {"command 1018", "command 1008"}, {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    auto log = log_of("run");
    EXPECT_NE(std::find(log.begin(), log.end(), "note There is no graphing data available for today."),
              log.end());
    std::remove(dir_.file("norva.dat").c_str());
    program = start("run2", {"command 1018", "command 1008"}, {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    log = log_of("run2");
    EXPECT_NE(std::find(log.begin(), log.end(), "note There is no graphing data available."),
              log.end());
}

TEST_F(history_graph_program, a_script_works_the_window_and_prints_every_days_battery_graph) {
    write_configuration([](ups_status& u) { std::snprintf(u.ups_id, sizeof u.ups_id, "RACK-7"); });
    const time_t now = time(nullptr);
    // Yesterday's battery ran lower than today's: "Select All" must show yesterday's minimum.
    std::ofstream(dir_.file("norva.dat"), std::ios::binary)
        << graph_records(graph_day_of(now - 86400), 30, 118, 40)
        << graph_records(graph_day_of(now), 30, 121, 90);
    const std::string pdf = dir_.file("graph.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    auto program = start("run", {"command 1018", "window History Graphs", "choose 7 Select All",
                                 "check 5", "click 3", "click 6", "press 1", "command 1008"},
                         {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    for (const std::string& l : log)
        EXPECT_FALSE(l.starts_with("script-error") || l.starts_with("error ")) << l;
    const std::string text_file = dir_.file("graph.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text_file).c_str()), 0);
    const std::string text = read_file(text_file);
    EXPECT_NE(text.find("VoltSentry Plus History Graph"), std::string::npos) << text;
    EXPECT_NE(text.find("Workstation Name: RACK-7"), std::string::npos) << text;
    EXPECT_NE(text.find("Min Batt Percent: 40"), std::string::npos) << text;
}

} // namespace
