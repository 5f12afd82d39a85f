// On-line help in the running program against the simulated UPS: the Help menu and F1 show their
// topics in the viewer, and a missing help file is asked for only when help is wanted.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/scoped_env.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr int kTimeoutMs = 30000;
constexpr char kPrompt[] = "file-open Please Find and Open help file...";

class help_program : public program_test {
  protected:
    void SetUp() override {
        program_test::SetUp();
        write_configuration(
            [](ups_status& u) { std::snprintf(u.ups_port, sizeof u.ups_port, "COM1"); });
        sim_ = std::make_unique<sim_session>(std::vector<std::string>{}, dir_.file("COM1"));
        ASSERT_TRUE(sim_->ready());
    }
    void TearDown() override {
        expect_no_toolkit_error("run");
        for (const std::string& line : log_of("run"))
            EXPECT_FALSE(line.starts_with("script-error")) << line;
        if (HasFailure())
            std::fprintf(stderr, "%s\n%s", read_file(dir_.file("run.log")).c_str(),
                         read_file(dir_.file("help.trace")).c_str());
    }

    // Puts the built help file (and its association file, when there is one) at name.
    void give_help_file(const std::string& name) const {
        namespace fs = std::filesystem;
        const fs::path target = dir_.file(name);
        fs::create_directories(target.parent_path());
        fs::copy_file(VS_BIN_DIR "/norva.hlp", target);
        if (fs::exists(VS_BIN_DIR "/norva.csa"))
            fs::copy_file(VS_BIN_DIR "/norva.csa", fs::path(target).replace_extension(".csa"));
    }

    // Runs the script, then "Exit", with nothing but the program's directory to find help in.
    void run(std::vector<std::string> script) {
        script.push_back("command 1008");
        const scoped_env trace("WYN_HELP_TRACE", dir_.file("help.trace"));
        const scoped_env help("HELP", nullptr);
        const scoped_env wynpath("WYNPATH", nullptr);
        const scoped_env path("PATH", "/usr/bin:/bin");
        auto program = start("run", script, {"/NOPNP"});
        ASSERT_TRUE(program->started());
        ASSERT_EQ(program->wait(kTimeoutMs), 0);
    }

    std::vector<std::string> trace_lines(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : lines_of(read_file(dir_.file("help.trace"))))
            if (line.starts_with(prefix)) found.push_back(line);
        return found;
    }

    long prompts() const {
        const std::vector<std::string> log = log_of("run");
        return std::count(log.begin(), log.end(), std::string(kPrompt));
    }

    std::unique_ptr<sim_session> sim_;
};

TEST_F(help_program, contents_in_the_help_menu_shows_the_contents_topic) {
    give_help_file("norva.hlp");
    run({"command 32462"});
    EXPECT_EQ(trace_lines("shown 32006 ").size(), 1u);
    EXPECT_EQ(prompts(), 0) << "the file beside the program is found";
}

TEST_F(help_program, f1_in_the_thresholds_dialog_shows_its_topic_and_its_buttons) {
    give_help_file("norva.hlp");
    // The association file gives the "Defaults" button a topic of its own.
    run({"command 1016", "key 0 f1", "key 24 f1", "press 2"});
    EXPECT_EQ(trace_lines("shown 107 ").size(), 1u);
    EXPECT_EQ(trace_lines("shown 230 ").size(), 1u);
    EXPECT_TRUE(trace_lines("shown 32006 ").empty());
}

TEST_F(help_program, without_the_file_help_asks_for_it_each_time_until_one_is_chosen) {
    give_help_file("manuals/norva.hlp");
    // The first request is cancelled and goes on to the window; the next asks again.
    run({"file cancel", "command 32462", "file manuals/norva.hlp", "command 32462"});
    EXPECT_EQ(prompts(), 2);
    EXPECT_EQ(trace_lines("shown 32006 ").size(), 1u);
}

TEST_F(help_program, starting_and_never_asking_for_help_shows_no_dialog) {
    run({"command 1016", "press 2"});
    EXPECT_EQ(prompts(), 0);
    for (const std::string& line : log_of("run")) {
        EXPECT_FALSE(line.starts_with("note ")) << line;
        EXPECT_FALSE(line.starts_with("error ")) << line;
    }
    EXPECT_TRUE(trace_lines("").empty());
}

} // namespace
