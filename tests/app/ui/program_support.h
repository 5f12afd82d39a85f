// Runs the built voltsentry program from a fresh program directory, with a test script of the
// user's answers, and reads the log of what it showed.
#pragma once

#include "tools/process_support.h"

#include "model/ups_status.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class program_test : public ::testing::Test {
  protected:
    void SetUp() override;

    // Starts the program (from the root directory, so it must find its own) with the script
    // lines as the user's answers; name keys its script, log and error files.
    std::unique_ptr<child_process> start(const std::string& name,
                                         const std::vector<std::string>& script,
                                         const std::vector<std::string>& args = {});

    // The lines of the log of run name so far.
    std::vector<std::string> log_of(const std::string& name) const;

    // The texts run name showed in its message panel so far, in order.
    std::vector<std::string> messages_of(const std::string& name) const;

    // Fails the test for each toolkit fault the log of run name records: no run may meet one,
    // whatever its scenario.
    void expect_no_toolkit_error(const std::string& name) const;

    // Waits (polling, bounded) until the log of run name holds line; false on timeout.
    bool wait_for_line(const std::string& name, const std::string& line, int timeout_ms) const;

    // Checks holds every few milliseconds until it is true (true) or timeout_ms have passed.
    static bool wait_until(const std::function<bool()>& holds, int timeout_ms);

    // Writes a configuration file with the default settings, changed by edit when given, into the
    // program's directory.
    void write_configuration(const std::function<void(ups_status&)>& edit = nullptr) const;

    // The "window ..." lines of a log, in order, without their prefix.
    static std::vector<std::string> windows_in(const std::vector<std::string>& log);

    temp_dir dir_;
    // When above 0, the programs started run their clock and poll timer this many times as fast.
    int time_scale_ = 0;
};

// A test of one program run named "run": the run may meet no toolkit fault, and a failing test
// shows the run's log.
class single_run_test : public program_test {
  protected:
    void TearDown() override;
};

// The stand-in for the machine's power-off that every program run gets: it appends "poweroff" to
// this file in the program's directory.
inline constexpr char POWEROFF_TRAIL[] = "shutdown.trail";
