// The one-instance lock over flock.
#include "engine/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <utility>

instance_lock::instance_lock(const std::string& path) {
    // Close-on-exec, so that programs started from here (the shutdown script) do not keep the lock.
    unique_fd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!fd) return;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        taken_elsewhere_ = errno == EWOULDBLOCK;
        return;
    }
    fd_ = std::move(fd);
}
