// A scratch directory a benchmark runs inside, as the program runs in its own directory: made
// fresh, entered once its files are written, and left and removed with everything in it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

class bench_scratch_dir {
  public:
    // A new directory /tmp/<prefix>.XXXXXX; ok() is false when it could not be made.
    explicit bench_scratch_dir(const char* prefix) {
        std::string pattern = std::string("/tmp/") + prefix + ".XXXXXX";
        if (!mkdtemp(pattern.data()) || !getcwd(cwd_, sizeof cwd_)) return;
        dir_ = pattern;
    }
    ~bench_scratch_dir() {
        if (dir_.empty()) return;
        if (entered_ && chdir(cwd_) != 0) std::perror("chdir");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    bench_scratch_dir(const bench_scratch_dir&) = delete;
    bench_scratch_dir& operator=(const bench_scratch_dir&) = delete;

    // The path of name inside the directory.
    std::string file(const char* name) const { return dir_ + "/" + name; }
    // Makes the directory the current one; false when it could not be made or entered.
    bool enter() {
        entered_ = !dir_.empty() && chdir(dir_.c_str()) == 0;
        return entered_;
    }
    bool ok() const { return entered_; }

  private:
    std::string dir_;
    char cwd_[4096] = {};
    bool entered_ = false;
};
