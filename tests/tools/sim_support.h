// The simulator as the tool tests use it: started on a link in a fresh directory, fed lines,
// asked for its state, talked to byte by byte or through the probe.
#pragma once

#include "process_support.h"
#include "support/unique_fd.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// Path of a built program.
std::string tool_path(const std::string& name);

class sim_session {
  public:
    // Starts upssim --link DIR/COM1 --transcript DIR/transcript.txt with the extra options and
    // waits for the link; a link path given replaces DIR/COM1.
    explicit sim_session(const std::vector<std::string>& options = {},
                         const std::string& link = {});

    bool ready() const { return ready_; }
    const std::string& link() const { return link_; }
    const temp_dir& dir() const { return dir_; }
    child_process& process() { return *process_; }

    // Sends an input line.
    bool send(const std::string& line) { return process_->write_line(line); }

    // The simulator's "state" report.
    std::map<std::string, std::string> state();

    // Runs upsprobe on the link with the extra options.
    run_result probe(const std::vector<std::string>& options = {}) const;

    // The transcript written so far, and standard error.
    std::string transcript() const { return read_file(dir_.file("transcript.txt")); }
    std::string errors() const { return read_file(dir_.file("stderr.txt")); }

  private:
    temp_dir dir_;
    std::string link_;
    std::unique_ptr<child_process> process_;
    bool ready_ = false;
};

// A raw client on the simulator's line, as the program's serial layer would see it.
class wire_client {
  public:
    explicit wire_client(const std::string& path);

    bool is_open() const { return static_cast<bool>(fd_); }

    // Sends a command (CR added) and collects bytes until `until` bytes arrived or timeout_ms;
    // the default only bounds a reply that never comes, so a loaded machine does not fail it.
    std::string ask(const std::string& command, size_t until, int timeout_ms = 10000);

    // Collects whatever arrives within timeout_ms.
    std::string collect(int timeout_ms, size_t until = 4096);

  private:
    unique_fd fd_;
};
