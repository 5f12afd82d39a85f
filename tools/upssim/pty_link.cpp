// Pseudo-terminal creation, its symbolic link, and paced writing of the replies.
#include "pty_link.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::string system_error(const char* what) {
    return std::string(what) + ": " + strerror(errno);
}

bool make_raw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B2400);
    cfsetospeed(&settings, B2400);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

pty_link::~pty_link() {
    close();
}

bool pty_link::open(const std::string& path, std::string& error) {
    close();
    master_ = unique_fd(posix_openpt(O_RDWR | O_NOCTTY));
    if (!master_) return error = system_error("posix_openpt"), false;
    char name[PATH_MAX];
    if (grantpt(master_.get()) != 0 || unlockpt(master_.get()) != 0 ||
        ptsname_r(master_.get(), name, sizeof name) != 0) {
        error = system_error("pseudo-terminal set-up");
        close();
        return false;
    }
    device_ = name;
    // Holding the device side open keeps the master from reporting a hang-up while no client
    // has the port open; the raw mode also stops the line discipline echoing our own replies.
    device_side_ = unique_fd(::open(name, O_RDWR | O_NOCTTY));
    if (!device_side_ || !make_raw(device_side_.get()) || !make_raw(master_.get()) ||
        fcntl(master_.get(), F_SETFL, fcntl(master_.get(), F_GETFL) | O_NONBLOCK) != 0) {
        error = system_error("pseudo-terminal mode");
        close();
        return false;
    }
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = path + " exists and is not a symbolic link";
            close();
            return false;
        }
    }
    // The link is made beside the path and renamed over it, so that a program polling the port
    // never finds the name missing while an old link is replaced (a missing "COMn" would send
    // it to the machine's own serial port).
    const std::string fresh = path + ".upssim-" + std::to_string(getpid());
    unlink(fresh.c_str());
    if (symlink(name, fresh.c_str()) != 0) {
        error = system_error(("symlink " + fresh).c_str());
        close();
        return false;
    }
    if (rename(fresh.c_str(), path.c_str()) != 0) {
        error = system_error(("rename to " + path).c_str());
        unlink(fresh.c_str());
        close();
        return false;
    }
    link_ = path;
    return true;
}

void pty_link::close() {
    if (!link_.empty()) {
        char target[PATH_MAX];
        const ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, static_cast<size_t>(n)) == device_) unlink(link_.c_str());
        link_.clear();
    }
    device_side_.close();
    master_.close();
    device_.clear();
}

void reply_sender::queue(const std::string& bytes, int64_t now_ms, unsigned interval_ms) {
    int64_t due = std::max(now_ms, pending_.empty() ? now_ms : pending_.back().due_ms);
    for (char byte : bytes) {
        pending_.push_back({byte, due});
        due += interval_ms;
    }
}

bool reply_sender::flush(int fd, int64_t now_ms) {
    std::string due;
    for (const timed_byte& item : pending_) {
        if (item.due_ms > now_ms) break;
        due += item.byte;
    }
    if (due.empty()) return true;
    const ssize_t written = write(fd, due.data(), due.size());
    if (written < 0) return errno == EAGAIN || errno == EINTR;
    pending_.erase(pending_.begin(), pending_.begin() + written);
    return true;
}

int64_t reply_sender::next_deadline(int64_t now_ms) const {
    if (pending_.empty()) return -1;
    return std::max<int64_t>(0, pending_.front().due_ms - now_ms);
}
