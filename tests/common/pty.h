// A pseudo-terminal that stands in for a serial device in tests: the master side stays here, the
// code under test opens the slave path (or a symbolic link to it).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// Waits at most timeout_ms until fd has something to read or has hung up; false on time-out.
inline bool wait_readable(int fd, int timeout_ms) {
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&entry, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

class test_pty {
  public:
    // Opens a new master; ok() tells whether that worked.
    test_pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0) return;
        char name[128];
        if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
            ptsname_r(master_, name, sizeof name) != 0) {
            hang_up();
            return;
        }
        slave_path_ = name;
    }
    test_pty(const test_pty&) = delete;
    test_pty& operator=(const test_pty&) = delete;
    ~test_pty() {
        hang_up();
        for (const std::string& link : links_) unlink(link.c_str());
    }

    bool ok() const { return master_ >= 0; }
    int master() const { return master_; }
    const std::string& slave_path() const { return slave_path_; }

    // Makes path a symbolic link to the slave, removed again with this object; false on failure.
    bool link(const std::string& path) {
        if (symlink(slave_path_.c_str(), path.c_str()) != 0) return false;
        links_.push_back(path);
        return true;
    }

    // Writes all bytes on the master side within timeout_ms; false when they did not all go.
    bool write(std::string_view bytes, int timeout_ms = 2000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!bytes.empty()) {
            const ssize_t sent = ::write(master_, bytes.data(), bytes.size());
            if (sent > 0) {
                bytes.remove_prefix(static_cast<size_t>(sent));
                continue;
            }
            if (sent < 0 && errno != EAGAIN && errno != EINTR) return false;
            const int left = remaining_ms(deadline);
            if (left <= 0) return false;
            pollfd entry{master_, POLLOUT, 0};
            poll(&entry, 1, left);
        }
        return true;
    }

    // Reads from the master until want bytes arrived, the slave side closed or timeout_ms passed;
    // returns what arrived.
    std::string read(size_t want, int timeout_ms = 2000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        std::string got;
        std::vector<char> chunk(4096);
        while (got.size() < want) {
            const ssize_t n =
                ::read(master_, chunk.data(), std::min(chunk.size(), want - got.size()));
            if (n > 0) {
                got.append(chunk.data(), static_cast<size_t>(n));
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EINTR)) break;
            const int left = remaining_ms(deadline);
            if (left <= 0) break;
            pollfd entry{master_, POLLIN, 0};
            if (poll(&entry, 1, left) > 0 && !(entry.revents & POLLIN)) break;
        }
        return got;
    }

    // Closes the master: whoever holds the slave sees the device hang up.
    void hang_up() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }

  private:
    static int remaining_ms(std::chrono::steady_clock::time_point deadline) {
        return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    deadline - std::chrono::steady_clock::now())
                                    .count());
    }

    int master_ = -1;
    std::string slave_path_;
    std::vector<std::string> links_;
};
