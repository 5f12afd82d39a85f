// Starting, feeding, reading and ending child processes, and temporary directories.
#include "process_support.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Forks and execs argv in cwd with the given descriptors as standard input, output and error.
pid_t spawn(const std::vector<std::string>& argv, const std::string& cwd, int in, int out, int err,
            const std::vector<int>& to_close) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (int fd : to_close) close(fd);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
    execv(args[0], args.data());
    _exit(127);
}

int exit_status(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

long long monotonic_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

temp_dir::temp_dir() {
    char pattern[] = "/tmp/vs_tools_test.XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
}

temp_dir::~temp_dir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

child_process::child_process(const std::vector<std::string>& argv, const std::string& cwd,
                             const std::string& stderr_path) {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return;
    }
    const int err = open(stderr_path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    pid_ = spawn(argv, cwd, in[0], out[1], err >= 0 ? err : STDERR_FILENO, {});
    close(in[0]);
    close(out[1]);
    if (err >= 0) close(err);
    input_ = in[1];
    output_ = out[0];
}

child_process::~child_process() {
    close_input();
    if (pid_ > 0 && wait(0) == -1 && status_ == -1) {
        signal(SIGTERM);
        if (wait(2000) == -1 && status_ == -1) {
            signal(SIGKILL);
            wait(2000);
        }
    }
    if (output_ >= 0) close(output_);
}

bool child_process::write_line(const std::string& line) {
    if (input_ < 0) return false;
    const std::string text = line + "\n";
    const sighandler_t previous = ::signal(SIGPIPE, SIG_IGN);
    const ssize_t n = write(input_, text.data(), text.size());
    ::signal(SIGPIPE, previous);
    return n == static_cast<ssize_t>(text.size());
}

void child_process::close_input() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

void child_process::signal(int number) {
    if (pid_ > 0 && status_ == -1) kill(pid_, number);
}

std::string child_process::read_block(int timeout_ms) {
    const long long deadline = monotonic_ms() + timeout_ms;
    for (;;) {
        const size_t end = pending_.find("\n\n");
        if (end != std::string::npos) {
            std::string block = pending_.substr(0, end + 1);
            pending_.erase(0, end + 2);
            return block;
        }
        const long long left = deadline - monotonic_ms();
        pollfd fd{output_, POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, static_cast<int>(left)) <= 0) break;
        char buffer[1024];
        const ssize_t n = read(output_, buffer, sizeof buffer);
        if (n <= 0) break;
        pending_.append(buffer, static_cast<size_t>(n));
    }
    std::string rest;
    rest.swap(pending_);
    return rest;
}

int child_process::wait(int timeout_ms) {
    if (pid_ <= 0) return -1;
    if (status_ != -1) return exit_status(status_);
    const long long deadline = monotonic_ms() + timeout_ms;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = status;
            return exit_status(status);
        }
        if (done < 0 || monotonic_ms() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

run_result run_program(const std::vector<std::string>& argv, const std::string& cwd,
                       int timeout_ms) {
    run_result result;
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    const int null_in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = spawn(argv, cwd, null_in, out[1], err[1], {});
    close(null_in);
    close(out[1]);
    close(err[1]);
    const long long deadline = monotonic_ms() + timeout_ms;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open_pipes = 2;
    while (open_pipes > 0) {
        const long long left = deadline - monotonic_ms();
        if (left <= 0 || poll(fds, 2, static_cast<int>(left)) <= 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[1024];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open_pipes;
            }
        }
    }
    for (const pollfd& fd : fds)
        if (fd.fd >= 0) close(fd.fd);
    if (pid <= 0) return result;
    int status = 0;
    if (open_pipes > 0) kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    result.status = open_pipes > 0 ? -1 : exit_status(status);
    return result;
}

std::map<std::string, std::string> parse_keys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos) keys[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return keys;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool wait_for_path(const std::string& path, int timeout_ms) {
    const long long deadline = monotonic_ms() + timeout_ms;
    struct stat info {};
    while (lstat(path.c_str(), &info) != 0) {
        if (monotonic_ms() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}
