// Starting the simulator for a test, and a raw terminal client on its line.
#include "sim_support.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// How long to wait for what the simulator must do: only a simulator that never does it meets it.
constexpr int kWaitMs = 20000;

} // namespace

std::string tool_path(const std::string& name) {
    return std::string(VS_BIN_DIR) + "/" + name;
}

sim_session::sim_session(const std::vector<std::string>& options, const std::string& link) {
    link_ = link.empty() ? dir_.file("COM1") : link;
    std::vector<std::string> argv = {tool_path("upssim"), "--link", link_, "--transcript",
                                     dir_.file("transcript.txt")};
    argv.insert(argv.end(), options.begin(), options.end());
    process_ = std::make_unique<child_process>(argv, dir_.path(), dir_.file("stderr.txt"));
    ready_ = process_->started() && wait_for_path(link_, kWaitMs);
}

std::map<std::string, std::string> sim_session::state() {
    if (!send("state")) return {};
    return parse_keys(process_->read_block(kWaitMs));
}

run_result sim_session::probe(const std::vector<std::string>& options) const {
    std::vector<std::string> argv = {tool_path("upsprobe")};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(link_);
    return run_program(argv, dir_.path(), 60000);
}

wire_client::wire_client(const std::string& path) {
    fd_ = unique_fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    termios settings{};
    if (fd_ && tcgetattr(fd_.get(), &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd_.get(), TCSANOW, &settings);
    }
}

std::string wire_client::ask(const std::string& command, size_t until, int timeout_ms) {
    const std::string bytes = command + "\r";
    if (write(fd_.get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return {};
    return collect(timeout_ms, until);
}

std::string wire_client::collect(int timeout_ms, size_t until) {
    std::string got;
    const long long deadline = monotonic_ms() + timeout_ms;
    while (got.size() < until) {
        const long long left = deadline - monotonic_ms();
        pollfd fd{fd_.get(), POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, static_cast<int>(left)) <= 0) break;
        char buffer[256];
        const ssize_t n = read(fd_.get(), buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}
