// Child processes and temporary directories for the tool tests: a running simulator with a
// pipe to its input, and programs run to completion with their output captured.
#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// A fresh directory under /tmp, removed with its files when the object ends.
class temp_dir {
  public:
    temp_dir();
    ~temp_dir();
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;

    const std::string& path() const { return path_; }
    // The path of a file in the directory.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// A program running beside the test, with pipes to its standard input and from its standard
// output; its standard error goes to a file. Ending the object closes the input, sends SIGTERM
// and waits (SIGKILL after two seconds).
class child_process {
  public:
    // Starts argv[0] (a path) in directory cwd with standard error appended to stderr_path.
    child_process(const std::vector<std::string>& argv, const std::string& cwd,
                  const std::string& stderr_path);
    ~child_process();
    child_process(const child_process&) = delete;
    child_process& operator=(const child_process&) = delete;

    bool started() const { return pid_ > 0; }

    // Writes one line (a newline is added) to the child's input; false when the pipe is gone.
    bool write_line(const std::string& line);

    // Closes the child's input.
    void close_input();

    // Sends a signal to the child.
    void signal(int number);

    // Reads standard output up to an empty line (not included), or what came within timeout_ms.
    std::string read_block(int timeout_ms);

    // Waits for the child to end; its exit status, or -1 when it did not end within timeout_ms.
    int wait(int timeout_ms);

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    int status_ = -1;
    std::string pending_;
};

// What a program run to completion gave.
struct run_result {
    int status = -1; // exit status, -1 when killed or timed out
    std::string out;
    std::string err;
};

// Runs argv[0] in cwd to its end, killing it after timeout_ms.
run_result run_program(const std::vector<std::string>& argv, const std::string& cwd,
                       int timeout_ms);

// Parses "key: value" lines.
std::map<std::string, std::string> parse_keys(const std::string& text);

// Reads a whole file; empty when it cannot be read.
std::string read_file(const std::string& path);

// The lines of a text, each without its line feed and a carriage return before it.
std::vector<std::string> lines_of(const std::string& text);

// Waits until a path exists (as a link or file) within timeout_ms.
bool wait_for_path(const std::string& path, int timeout_ms);

// Milliseconds of a monotonic clock.
long long monotonic_ms();
