// The viewers in the running program: "View Continuous Log" worked by a script, printed whole and
// by screen after Ctrl+End, its note without a data log, and "View Remote UPS" with no remote
// systems.
#include <gtest/gtest.h>

#include "app/ui/log_viewer_support.h"
#include "app/ui/program_support.h"
#include "common/scoped_env.h"

#include "ui/log_viewer.h"
#include "ui/remote_selector.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

constexpr int kTimeoutMs = 30000;

class log_viewer_program : public single_run_test {
  protected:
    static bool holds(const std::vector<std::string>& log, const std::string& line) {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST_F(log_viewer_program, a_script_opens_the_log_prints_every_record_and_closes_it) {
    write_configuration();
    constexpr int kRecords = 90;
    std::ofstream(dir_.file("norva.dat"), std::ios::binary) << numbered_records(kRecords);
    const std::string pdf = dir_.file("log.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    auto program = start("run", {"command 1024", "window Continuous Log File", "click 2", "press 3",
                                 "command 1024", "window Continuous Log File", "press 3",
                                 "command 1008"},
                         {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    for (const std::string& l : log)
        EXPECT_FALSE(l.starts_with("script-error") || l.starts_with("error ")) << l;
    // The log names a window by the title it was made with.
    EXPECT_EQ(std::count(log.begin(), log.end(), "window Continuous Log File"), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "destroy Continuous Log File"), 2);
    EXPECT_FALSE(holds(log, std::string("note ") + LOG_NO_DATA));
    EXPECT_FALSE(std::ifstream(dir_.file(LOG_WORK_FILE)).good());
    const std::string text_file = dir_.file("log.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text_file).c_str()), 0);
    const std::string text = collapsed(read_file(text_file));
    for (int i = 0; i < kRecords; ++i)
        EXPECT_NE(text.find(collapsed(view_record_text(numbered_record(i)))), std::string::npos)
            << "record " << i;

    // Ctrl+End shows the last record, so a print of the screen ends with it: a key given to the
    // window reaches its table, which has the focus, as does a key given to the table itself.
    const std::string screen_pdf = dir_.file("screen.pdf");
    const scoped_env screen_file("WYN_PRINT_FILE", screen_pdf);
    for (const char* key : {"key 0 ctrl+end", "key 1 ctrl+end"}) {
        SCOPED_TRACE(key);
        std::remove(screen_pdf.c_str());
        program = start("screen", {"command 1024", "window Continuous Log File", key, "click 4",
                                   "press 3", "command 1008"},
                        {"/NOPNP"});
        ASSERT_TRUE(program->started());
        ASSERT_EQ(program->wait(kTimeoutMs), 0);
        expect_no_toolkit_error("screen");
        for (const std::string& l : log_of("screen"))
            EXPECT_FALSE(l.starts_with("script-error")) << l;
        ASSERT_EQ(std::system(("pdftotext -layout " + screen_pdf + " " + text_file).c_str()), 0);
        const std::string screen = collapsed(read_file(text_file));
        EXPECT_NE(screen.find(collapsed(view_record_text(numbered_record(kRecords - 1)))),
                  std::string::npos) << screen;
        EXPECT_EQ(screen.find(collapsed(view_record_text(numbered_record(kRecords - 13)))),
                  std::string::npos) << screen;
    }
}

TEST_F(log_viewer_program, a_print_that_cannot_be_written_says_so_and_leaves_the_viewer_open) {
    write_configuration();
    std::ofstream(dir_.file("norva.dat"), std::ios::binary) << numbered_records(5);
    const scoped_env print_file("WYN_PRINT_FILE", dir_.file("missing/log.pdf"));
    // The toolkit reports the document it could not start; no other fault may show.
    auto program = start("failing", {"command 1024", "window Continuous Log File", "click 4",
                                     "click 2", "press 3", "command 1008"},
                         {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    const auto log = log_of("failing");
    for (const std::string& l : log)
        EXPECT_TRUE(!l.starts_with("toolkit-error") || l.starts_with("toolkit-error 0x1520001 "))
            << l;
    EXPECT_EQ(std::count(log.begin(), log.end(), "error Printing failed!"), 2);
    // Closed by its Close button, after both failures, not by them.
    EXPECT_EQ(std::count(log.begin(), log.end(), "destroy Continuous Log File"), 1);
    EXPECT_LT(std::find(log.begin(), log.end(), "error Printing failed!"),
              std::find(log.begin(), log.end(), "destroy Continuous Log File"));
}

// The picture of the task window with the viewer open over the status window: the log stays open
// while the thresholds dialog, held open, keeps the program up for the picture.
TEST_F(log_viewer_program, the_open_viewer_is_pictured_over_the_status_window) {
    write_configuration();
    std::ofstream(dir_.file("norva.dat"), std::ios::binary) << numbered_records(300);
    const std::string picture = dir_.file("log.png");
    const scoped_env snapshot("WYN_SNAPSHOT", picture);
    auto program = start("run", {"command 1024", "command 1016", "press 2 after 2500",
                                 "command 1008"},
                         {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    ASSERT_TRUE(std::ifstream(picture).good());
    std::ifstream in(picture, std::ios::binary);
    std::ofstream(std::string(VS_BIN_DIR) + "/../continuous_log_window.png", std::ios::binary)
        << in.rdbuf();
}

TEST_F(log_viewer_program, without_a_data_log_or_remote_systems_the_viewers_say_so_and_close) {
    write_configuration();
    auto program = start("run", {"command 1024", "command 1010", "command 1008"}, {"/NOPNP"});
    ASSERT_TRUE(program->started());
    ASSERT_EQ(program->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    const auto at = [&](const std::string& line) { return std::find(log.begin(), log.end(), line); };
    ASSERT_TRUE(holds(log, std::string("note ") + LOG_NO_DATA));
    EXPECT_LT(at("window Continuous Log File"), at(std::string("note ") + LOG_NO_DATA));
    EXPECT_LT(at(std::string("note ") + LOG_NO_DATA), at("destroy Continuous Log File"));
    ASSERT_TRUE(holds(log, std::string("note ") + REMOTE_NONE));
    EXPECT_LT(at("window Select Remote"), at(std::string("note ") + REMOTE_NONE));
    EXPECT_LT(at(std::string("note ") + REMOTE_NONE), at("destroy Select Remote"));
    EXPECT_FALSE(holds(log, "error Can't open window"));
    EXPECT_FALSE(std::ifstream(dir_.file(LOG_WORK_FILE)).good());
}

} // namespace
