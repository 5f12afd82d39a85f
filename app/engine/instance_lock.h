// The one-instance rule: an exclusive lock on a file in the program's directory.
#pragma once

#include "support/unique_fd.h"

#include <string>

// Holds an exclusive advisory lock on a file for as long as it lives; the file is created when
// missing and left behind (removing it would let a third process lock a fresh file).
class instance_lock {
  public:
    // Tries to lock path without waiting; held() tells whether it succeeded.
    explicit instance_lock(const std::string& path);
    instance_lock(const instance_lock&) = delete;
    instance_lock& operator=(const instance_lock&) = delete;

    // True when this object holds the lock.
    bool held() const { return static_cast<bool>(fd_); }

    // True when another process (or another open of the file) holds the lock; false when it is
    // held here or the file could not be opened at all.
    bool taken_elsewhere() const { return taken_elsewhere_; }

  private:
    unique_fd fd_;
    bool taken_elsewhere_ = false;
};

// The name of the lock file inside the program's directory.
inline constexpr const char* INSTANCE_LOCK_FILE = "voltsentry.lck";
