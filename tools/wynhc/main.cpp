// wynhc: compiles the help topics' sources into one help file, or reports every fault and
// writes nothing.
#include "help_sources.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A file descriptor that is closed when it goes.
class descriptor {
public:
    explicit descriptor(int fd) : fd_(fd) {}
    descriptor(const descriptor&) = delete;
    descriptor& operator=(const descriptor&) = delete;
    ~descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool read_source(const char* path, wynhc::source_file& out, std::string& error) {
    out.name = path;
    descriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = std::string(path) + ":1: cannot be read: " + std::strerror(errno);
        return false;
    }
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = std::string(path) + ":1: cannot be read: " + std::strerror(errno);
            return false;
        }
        if (got == 0) return true;
        // One byte past the limit is enough for the compiler to report the size.
        if (out.text.size() > wynhc::source_max) continue;
        out.text.append(chunk, static_cast<size_t>(got));
    }
}

bool write_all(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Replaces path by bytes through a temporary file beside it, so a reader never sees half a file.
bool write_file(const std::string& path, const std::string& bytes, std::string& error) {
    std::string temp = path + ".tmp" + std::to_string(::getpid());
    descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    bool ok = fd.get() >= 0 && write_all(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close() &&
              ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        error = path + ": cannot be written: " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    // The rename lives in the directory: sync it too, or a power loss may bring the old file back.
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    descriptor dir_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir_fd.get() >= 0) ::fsync(dir_fd.get());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string output;
    std::vector<const char*> inputs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            output.clear();
            break;
        } else {
            inputs.push_back(argv[i]);
        }
    }
    if (output.empty() || inputs.empty()) {
        std::fprintf(stderr, "usage: wynhc -o OUT.hlp TOPIC.md...\n");
        return 1;
    }
    std::vector<wynhc::source_file> sources(inputs.size());
    std::vector<std::string> messages;
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string error;
        if (!read_source(inputs[i], sources[i], error)) messages.push_back(error);
    }
    wynhelp::help_book book;
    if (messages.empty() && wynhc::compile_sources(sources, book, messages)) {
        std::string error;
        if (write_file(output, wynhelp::help_write(book), error)) return 0;
        messages.push_back(error);
    }
    for (const std::string& message : messages) std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}
