// Windows text files: CR LF translation, buffered line reading, appends and atomic rewrites.
#include "files/text_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

unique_fd::~unique_fd() {
    close();
}

unique_fd& unique_fd::operator=(unique_fd&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.release();
    }
    return *this;
}

int unique_fd::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool unique_fd::close() {
    if (fd_ < 0) return true;
    const int result = ::close(release());
    return result == 0;
}

text_reader::text_reader(const char* path) : fd_(::open(path, O_RDONLY | O_CLOEXEC)) {
    if (!fd_) error_ = errno;
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

int append_text(const char* path, std::string_view text) {
    unique_fd fd(::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!fd) return 2;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return 2;
    if (!write_all(fd.get(), to_crlf(text))) {
        const int saved = errno;
        // A partial record would shift every later record of a fixed-width log: take it back.
        [[maybe_unused]] const int undone = ::ftruncate(fd.get(), st.st_size);
        errno = saved;
        return 2;
    }
    return fd.close() ? 0 : 2;
}

std::string atomic_text_file::temporary_name(const char* path) {
    return std::string(path) + ".tmp";
}

atomic_text_file::atomic_text_file(const char* path)
    : path_(path), temp_(temporary_name(path)),
      fd_(::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) {
    if (!fd_) error_ = errno;
    created_ = static_cast<bool>(fd_);
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
    if (!fd_ || !flush()) return 2;
    if ((durable && ::fsync(fd_.get()) != 0) || !fd_.close()) {
        error_ = errno;
        return 2;
    }
    return 0;
}

int atomic_text_file::publish() {
    if (!created_ || fd_ || error_ != 0) return 2;
    if (::rename(temp_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
        return 2;
    }
    created_ = false;
    return 0;
}

int atomic_text_file::commit(bool durable) {
    return prepare(durable) == 0 ? publish() : 2;
}

int rewrite_text_file(const char* path, std::string_view text) {
    atomic_text_file file(path);
    if (!file.is_open()) return 2;
    file.write(text);
    return file.commit(true);
}
