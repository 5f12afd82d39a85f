// A file descriptor owned by one object and closed when it goes.
#pragma once

#include <unistd.h>

// A file descriptor closed on destruction; -1 holds none.
class unique_fd {
  public:
    unique_fd() = default;
    explicit unique_fd(int fd) : fd_(fd) {}
    ~unique_fd() { close(); }
    unique_fd(unique_fd&& other) noexcept : fd_(other.release()) {}
    unique_fd& operator=(unique_fd&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = other.release();
        }
        return *this;
    }
    unique_fd(const unique_fd&) = delete;
    unique_fd& operator=(const unique_fd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

    // Hands the descriptor over to the caller; the object then holds none.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    // Closes the descriptor now; false when close reported an error (such as a deferred write).
    // Linux releases the descriptor even then, so it is never closed twice.
    bool close() {
        if (fd_ < 0) return true;
        return ::close(release()) == 0;
    }

  private:
    int fd_ = -1;
};
