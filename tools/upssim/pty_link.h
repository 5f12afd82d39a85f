// The simulator's serial line: a pseudo-terminal reached through a symbolic link, and the
// paced sending of replies on it.
#pragma once

#include "support/unique_fd.h"

#include <cstdint>
#include <deque>
#include <string>

// A pseudo-terminal in raw mode whose device a symbolic link names. The simulator keeps the
// device side open too, so the line stays up between clients. The link is removed when the
// object ends, if it still names this device.
class pty_link {
  public:
    pty_link() = default;
    ~pty_link();
    pty_link(const pty_link&) = delete;
    pty_link& operator=(const pty_link&) = delete;

    // Creates the pseudo-terminal and the link (an existing symbolic link at path is replaced in
    // one step, so the name never goes missing; any other file is not); false with the reason.
    bool open(const std::string& path, std::string& error);

    // Removes the link and closes the pseudo-terminal, so that a program holding the device sees
    // a hang-up; safe to call when not open.
    void close();

    bool is_open() const { return static_cast<bool>(master_); }
    int master_fd() const { return master_.get(); }
    const std::string& device() const { return device_; }

  private:
    unique_fd master_;
    unique_fd device_side_;
    std::string device_;
    std::string link_;
};

// Bytes waiting to go out on the line, each byte at its own time so slow replies trickle.
class reply_sender {
  public:
    // Queues bytes to go out from now_ms on, one every interval_ms (0: all at once).
    void queue(const std::string& bytes, int64_t now_ms, unsigned interval_ms);

    // Writes the bytes that are due to fd; false when the line refused them for good.
    bool flush(int fd, int64_t now_ms);

    // Milliseconds until the next byte is due, or -1 when nothing waits.
    int64_t next_deadline(int64_t now_ms) const;

    // Forgets everything that has not gone out.
    void clear() { pending_.clear(); }

  private:
    struct timed_byte {
        char byte;
        int64_t due_ms;
    };
    std::deque<timed_byte> pending_;
};
