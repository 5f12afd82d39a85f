// A file of this test process alone in the tests' scratch directory, removed when it goes, so
// test programs run side by side never share one.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

class scratch_file {
public:
    explicit scratch_file(const std::string& name)
        : path_(::testing::TempDir() + "/" + std::to_string(::getpid()) + "_" + name) {
        std::remove(path_.c_str());
    }
    ~scratch_file() { std::remove(path_.c_str()); }
    scratch_file(const scratch_file&) = delete;
    scratch_file& operator=(const scratch_file&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};
