// Where the program keeps its files, run from the build tree or installed, chosen with
// --data-dir, and the session's autostart entry that --autostart writes and removes.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/scoped_env.h"

#include <fstream>
#include <sys/stat.h>

namespace {

constexpr int kTimeoutMs = 20000;

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

class install_layout : public program_test {
  protected:
    void SetUp() override {
        program_test::SetUp();
        ASSERT_EQ(::mkdir(dir_.file("bin").c_str(), 0755), 0);
        ASSERT_EQ(symlink(VS_BIN_DIR "/voltsentry", dir_.file("bin/voltsentry").c_str()), 0);
    }

    // Makes dir_/bin/voltsentry an installed program: its share directory beside its bin.
    void install() const {
        ASSERT_EQ(::mkdir(dir_.file("share").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(dir_.file("share/voltsentry").c_str(), 0755), 0);
    }

    // Runs program with args until it ends, as a user who cancels the set-up dialog and leaves;
    // HOME points into the test's directory, XDG_DATA_HOME is xdg_data and XDG_CONFIG_HOME unset.
    run_result run(const std::string& program, const std::vector<std::string>& args,
                   const char* xdg_data = nullptr) const {
        {
            std::ofstream script(dir_.file("run.script"));
            script << "press 2\nanswer 1\n";
        }
        const scoped_env home("HOME", dir_.file("home"));
        const scoped_env data("XDG_DATA_HOME", xdg_data);
        const scoped_env config("XDG_CONFIG_HOME", nullptr);
        const scoped_env script("VOLTSENTRY_TEST_SCRIPT", dir_.file("run.script"));
        const scoped_env log("VOLTSENTRY_TEST_LOG", dir_.file("run.log"));
        std::vector<std::string> argv{program};
        argv.insert(argv.end(), args.begin(), args.end());
        return run_program(argv, "/", kTimeoutMs);
    }
};

TEST_F(install_layout, a_build_tree_run_keeps_its_files_beside_the_program) {
    const run_result r = run(dir_.file("bin/voltsentry"), {"/NOPNP"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(exists(dir_.file("bin/norva.tsh")));
    EXPECT_FALSE(exists(dir_.file("home/.local/share/voltsentry")));
}

TEST_F(install_layout, installed_it_makes_and_uses_the_users_data_directory) {
    install();
    const run_result r = run(dir_.file("bin/voltsentry"), {"/NOPNP"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string data = dir_.file("home/.local/share/voltsentry");
    EXPECT_TRUE(exists(data + "/norva.tsh"));
    EXPECT_TRUE(exists(data + "/tlog.log"));
    EXPECT_FALSE(exists(dir_.file("bin/norva.tsh")));
    struct stat st {};
    ASSERT_EQ(::stat(data.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // XDG_DATA_HOME moves it; a relative value is ignored, as the base directories want.
    ASSERT_EQ(run(dir_.file("bin/voltsentry"), {"/NOPNP"}, dir_.file("xdg").c_str()).status, 0);
    EXPECT_TRUE(exists(dir_.file("xdg/voltsentry/norva.tsh")));
    ASSERT_EQ(run(dir_.file("bin/voltsentry"), {"/NOPNP"}, "xdg").status, 0);
    EXPECT_FALSE(exists("/xdg"));
}

TEST_F(install_layout, data_dir_wins_over_both_layouts_and_is_taken_out_of_the_command_line) {
    install();
    const run_result r = run(dir_.file("bin/voltsentry"), {"--data-dir", dir_.file("a/b"), "/NOPNP"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(exists(dir_.file("a/b/norva.tsh")));
    EXPECT_FALSE(exists(dir_.file("home/.local/share/voltsentry")));

    const run_result beside = run(dir_.file("voltsentry"), {"--data-dir=" + dir_.file("c")});
    ASSERT_EQ(beside.status, 0) << beside.err;
    EXPECT_TRUE(exists(dir_.file("c/norva.tsh")));
    EXPECT_FALSE(exists(dir_.file("norva.tsh")));
}

TEST_F(install_layout, a_data_directory_that_cannot_be_made_is_reported_before_any_window) {
    { std::ofstream(dir_.file("plain")) << "a file\n"; }
    const run_result r = run(dir_.file("bin/voltsentry"), {"--data-dir", dir_.file("plain/sub")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot make the program directory " + dir_.file("plain/sub")),
              std::string::npos) << r.err;
    EXPECT_TRUE(read_file(dir_.file("run.log")).empty());

    const run_result missing = run(dir_.file("bin/voltsentry"), {"--data-dir"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("--data-dir needs a value"), std::string::npos) << missing.err;
}

TEST_F(install_layout, autostart_on_writes_the_entry_and_off_removes_it) {
    const std::string entry = dir_.file("home/.config/autostart/voltsentry.desktop");
    const run_result on = run(dir_.file("bin/voltsentry"), {"--autostart", "on"});
    ASSERT_EQ(on.status, 0) << on.err;
    const std::string text = read_file(entry);
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\n")) << text;
    EXPECT_NE(text.find("\nExec=" + dir_.file("bin/voltsentry") + "\n"), std::string::npos)
        << text;
    EXPECT_FALSE(exists(dir_.file("bin/norva.tsh"))); // the program itself did not start

    // A data directory goes along, quoted as the entry's rules want when it must be.
    const std::string odd = dir_.file("my \"ups\" 100%");
    ASSERT_EQ(run(dir_.file("bin/voltsentry"), {"--autostart=on", "--data-dir", odd}).status, 0);
    EXPECT_NE(read_file(entry).find(" --data-dir \"" + dir_.file("my \\\\\"ups\\\\\" 100%%") +
                                    "\"\n"),
              std::string::npos)
        << read_file(entry);

    EXPECT_EQ(run(dir_.file("bin/voltsentry"), {"--autostart", "off"}).status, 0);
    EXPECT_FALSE(exists(entry));
    EXPECT_EQ(run(dir_.file("bin/voltsentry"), {"--autostart", "off"}).status, 0);
}

TEST_F(install_layout, autostart_failures_are_reported_with_a_failing_status) {
    { std::ofstream(dir_.file("home")) << "not a directory\n"; }
    const run_result r = run(dir_.file("bin/voltsentry"), {"--autostart", "on"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write " + dir_.file("home/.config/autostart/voltsentry.desktop")),
              std::string::npos) << r.err;

    const run_result wrong = run(dir_.file("bin/voltsentry"), {"--autostart", "maybe"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("--autostart takes on or off"), std::string::npos) << wrong.err;
}

} // namespace
