// Windows text files: CR LF translation, buffered line reading, appends and atomic rewrites.
#include "files/text_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The directory part of a path ("." for a bare name, "/" for a name in the root).
std::string directory_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links leads to (path itself when it is no link), which may not
// exist yet; false with errno set when the chain is too long or a link cannot be read.
bool follow_links(const char* path, std::string& out) {
    out = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(out.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(out.c_str(), target, sizeof target - 1);
        if (n < 0) return false;
        target[n] = '\0';
        // A relative link is relative to the directory that holds it.
        const std::size_t slash = out.rfind('/');
        out = target[0] == '/' || slash == std::string::npos ? std::string(target)
                                                             : out.substr(0, slash + 1) + target;
    }
    errno = ELOOP;
    return false;
}

} // namespace

text_reader::text_reader(const char* path)
    : fd_(::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
    if (!fd_) {
        error_ = errno;
        return;
    }
    // Opened without waiting, so that a FIFO in the file's place cannot hold the program for ever;
    // only a regular file is read.
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        not_regular_ = true;
        error_ = EINVAL;
        fd_.close();
    }
}

bool text_reader::fill() {
    if (!fd_) return false;
    for (;;) {
        const ssize_t n = ::read(fd_.get(), buffer_, sizeof buffer_);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        pos_ = 0;
        len_ = static_cast<std::size_t>(n);
        return true;
    }
}

int text_reader::raw() {
    if (pos_ == len_ && !fill()) return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
}

int text_reader::next() {
    const int c = raw();
    if (c != '\r') return c;
    // Only a CR directly before a LF belongs to the line end; peek without consuming otherwise.
    if (pos_ == len_ && !fill()) return '\r';
    if (buffer_[pos_] == '\n') {
        ++pos_;
        return '\n';
    }
    return '\r';
}

bool text_reader::read_piece(std::string& out, std::size_t max) {
    out.clear();
    while (out.size() < max) {
        const int c = next();
        if (c < 0) break;
        out.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !out.empty();
}

bool text_reader::read_line(std::string& out, std::size_t max) {
    if (!read_piece(out, max)) return false;
    if (out.back() == '\n') return true;
    // The line was longer than wanted: drop the rest so that it still counts as one line.
    int c = next();
    while (c >= 0 && c != '\n') c = next();
    return true;
}

bool text_reader::rewind() {
    if (!fd_ || ::lseek(fd_.get(), 0, SEEK_SET) != 0) return false;
    pos_ = len_ = 0;
    return true;
}

std::string to_crlf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 2);
    for (const char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

int append_text(const char* path, std::string_view text, std::size_t record_size) {
    // Without waiting: a FIFO without a reader in the log's place fails instead of blocking.
    unique_fd fd(
        ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd) return 2;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return 2;
    std::string out;
    const std::size_t partial =
        record_size > 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) % record_size : 0;
    if (partial > 0) {
        // The damaged last record is padded with blanks and closed with CR LF, so that it stays
        // one (unreadable) line and every later record starts on its boundary; a record short of
        // its last byte only lacks the LF of its CR LF.
        const std::size_t pad = record_size - partial;
        if (pad >= 2) out.assign(pad - 2, ' ');
        out += pad >= 2 ? "\r\n" : "\n";
    }
    out += to_crlf(text);
    if (!write_all(fd.get(), out)) {
        const int saved = errno;
        // A partial record would shift every later record of a fixed-width log: take it back.
        [[maybe_unused]] const int undone = ::ftruncate(fd.get(), st.st_size);
        errno = saved;
        return 2;
    }
    return fd.close() ? 0 : 2;
}

std::string atomic_text_file::temporary_name(const char* path, int attempt) {
    std::string name = std::string(path) + "." + std::to_string(::getpid());
    if (attempt > 0) name += "-" + std::to_string(attempt);
    return name + ".tmp";
}

atomic_text_file::atomic_text_file(const char* path, int mode) : path_(path) {
    // A file left at a name by an earlier run, or a link planted there, is never opened: the
    // next name is tried instead.
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = temporary_name(path, attempt);
        fd_ = unique_fd(::open(
            temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
        if (fd_ || errno != EEXIST) break;
    }
    if (!fd_) {
        error_ = errno;
        return;
    }
    created_ = true;
    if (mode >= 0 && ::fchmod(fd_.get(), static_cast<mode_t>(mode)) != 0) error_ = errno;
}

atomic_text_file::~atomic_text_file() {
    if (created_) {
        fd_.close();
        ::unlink(temp_.c_str());
    }
}

void atomic_text_file::write(std::string_view text) {
    for (const char c : text) {
        if (c == '\n') pending_.push_back('\r');
        pending_.push_back(c);
    }
    if (pending_.size() >= 65536) flush();
}

bool atomic_text_file::flush() {
    if (!fd_ || error_ != 0) return false;
    if (!write_all(fd_.get(), pending_)) {
        error_ = errno;
        return false;
    }
    pending_.clear();
    return true;
}

int atomic_text_file::prepare(bool durable) {
    durable_ = durable;
    if (!fd_ || !flush()) return 2;
    if ((durable && ::fsync(fd_.get()) != 0) || !fd_.close()) {
        error_ = errno;
        return 2;
    }
    return 0;
}

int atomic_text_file::publish(directory_sync_observer observer) {
    if (!created_ || fd_ || error_ != 0) return 2;
    if (::rename(temp_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
        return 2;
    }
    created_ = false;
    // The rename lives in the directory: without this sync a power loss can bring the old file
    // back, or none.
    if (durable_ && sync_directory_of(path_.c_str(), observer) != 0) {
        error_ = errno;
        return 2;
    }
    return 0;
}

int atomic_text_file::commit(bool durable, directory_sync_observer observer) {
    return prepare(durable) == 0 ? publish(observer) : 2;
}

int sync_directory_of(const char* path, directory_sync_observer observer) {
    const std::string dir = directory_of(path);
    unique_fd fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return 2;
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != ENOTSUP) return 2;
    if (observer) observer(dir.c_str());
    return 0;
}

int rewrite_text_file(const char* path, std::string_view text, directory_sync_observer observer) {
    std::string target;
    if (!follow_links(path, target)) return 2;
    int mode = -1;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        // A read-only file is a request to leave it alone, even of a process that could write
        // anyway; replacing it by a rename would go round that.
        if ((st.st_mode & 0222) == 0 ||
            ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            errno = EACCES;
            return 2;
        }
        mode = static_cast<int>(st.st_mode & 0777);
    }
    int error = 0;
    {
        atomic_text_file file(target.c_str(), mode);
        if (!file.is_open() || file.error() != 0) {
            error = file.error();
        } else {
            file.write(text);
            if (file.commit(true, observer) != 0) error = file.error();
        }
    }
    // Set once the temporary file is gone, whose removal may change errno.
    errno = error;
    return error == 0 ? 0 : 2;
}
