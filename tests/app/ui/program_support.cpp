// Program runs for the start-up tests.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/scoped_env.h"

#include "engine/app_state.h"
#include "files/config_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kPollMs = 20;

// Runs a block with another current directory.
class scoped_cwd {
  public:
    explicit scoped_cwd(const std::string& dir) {
        if (getcwd(old_, sizeof old_) == nullptr) old_[0] = '\0';
        ok_ = chdir(dir.c_str()) == 0;
    }
    ~scoped_cwd() {
        if (old_[0] && chdir(old_) != 0) std::abort();
    }
    scoped_cwd(const scoped_cwd&) = delete;
    scoped_cwd& operator=(const scoped_cwd&) = delete;
    bool ok() const { return ok_; }

  private:
    char old_[4096];
    bool ok_ = false;
};

} // namespace

void program_test::SetUp() {
    ASSERT_EQ(symlink(VS_BIN_DIR "/voltsentry", dir_.file("voltsentry").c_str()), 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Set for every run and never unset: a run that shuts down must not reach the real power-off.
    const std::string poweroff = "echo poweroff >> '" + dir_.file(POWEROFF_TRAIL) + "'";
    setenv("VOLTSENTRY_POWEROFF", poweroff.c_str(), 1);
}

std::unique_ptr<child_process> program_test::start(const std::string& name,
                                                   const std::vector<std::string>& script,
                                                   const std::vector<std::string>& args) {
    const std::string script_path = dir_.file(name + ".script");
    {
        std::ofstream out(script_path);
        for (const std::string& line : script) out << line << '\n';
    }
    // The child inherits these; the test's own process keeps none of them afterwards.
    const scoped_env script_env("VOLTSENTRY_TEST_SCRIPT", script_path);
    const scoped_env log_env("VOLTSENTRY_TEST_LOG", dir_.file(name + ".log"));
    const scoped_env scale_env("VOLTSENTRY_TEST_TIMESCALE",
                               time_scale_ > 0 ? std::to_string(time_scale_).c_str() : nullptr);
    std::vector<std::string> argv{dir_.file("voltsentry")};
    argv.insert(argv.end(), args.begin(), args.end());
    return std::make_unique<child_process>(argv, "/", dir_.file(name + ".err"));
}

std::vector<std::string> program_test::log_of(const std::string& name) const {
    std::vector<std::string> lines;
    std::istringstream in(read_file(dir_.file(name + ".log")));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> program_test::messages_of(const std::string& name) const {
    std::vector<std::string> texts;
    for (const std::string& line : log_of(name))
        if (line.starts_with("message ")) texts.push_back(line.substr(8));
    return texts;
}

void program_test::expect_no_toolkit_error(const std::string& name) const {
    for (const std::string& line : log_of(name))
        EXPECT_FALSE(line.starts_with("toolkit-error")) << line;
}

void single_run_test::TearDown() {
    expect_no_toolkit_error("run");
    if (HasFailure()) std::fprintf(stderr, "%s", read_file(dir_.file("run.log")).c_str());
}

bool program_test::wait_for_line(const std::string& name, const std::string& line,
                                 int timeout_ms) const {
    return wait_until(
        [&] {
            const std::vector<std::string> lines = log_of(name);
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        },
        timeout_ms);
}

bool program_test::wait_until(const std::function<bool()>& holds, int timeout_ms) {
    const long long end = monotonic_ms() + timeout_ms;
    while (!holds()) {
        if (monotonic_ms() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return true;
}

void program_test::write_configuration(const std::function<void(ups_status&)>& edit) const {
    scoped_cwd cwd(dir_.path());
    ASSERT_TRUE(cwd.ok());
    auto app = std::make_unique<app_state>();
    load_configuration(app->local, *app, time(nullptr));
    if (edit) edit(app->local);
    ASSERT_EQ(save_configuration(app->local, *app), 0);
}

std::vector<std::string> program_test::windows_in(const std::vector<std::string>& log) {
    std::vector<std::string> titles;
    for (const std::string& line : log)
        if (line.starts_with("window ")) titles.push_back(line.substr(7));
    return titles;
}
