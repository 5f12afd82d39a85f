// The one-instance lock over flock.
#include "engine/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

instance_lock::instance_lock(const std::string& path) {
    // Close-on-exec, so that programs started from here (the shutdown script) do not keep the lock.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        taken_elsewhere_ = errno == EWOULDBLOCK;
        ::close(fd);
        return;
    }
    fd_ = fd;
}

instance_lock::~instance_lock() {
    if (fd_ >= 0) ::close(fd_);
}
