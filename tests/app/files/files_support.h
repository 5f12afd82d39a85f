// Shared helpers of the file tests: a fresh working directory, a fixed clock and file bytes.
#pragma once

#include "files/logs.h"

#include <ctime>
#include <gtest/gtest.h>
#include <string>

// Runs each test in a fresh temporary directory on a fixed clock in UTC, and cleans up after it.
class files_test : public ::testing::Test {
  public:
    // What the test's clock returns (set_now).
    static time_t now();

  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the test's clock return t.
    static void set_now(time_t t);

    // The logs' memory, fresh for each test.
    log_book book_;
    std::string dir_;
    std::string previous_dir_;
};

// 2001-02-03 04:05:06 UTC and 2026-03-14 09:26:53 UTC (a Saturday).
inline constexpr time_t T2001 = 981173106;
inline constexpr time_t T2026 = 1773480413;

// The bytes of a file; empty when it cannot be read.
std::string read_bytes(const char* path);

// Writes bytes to a file, replacing it.
void write_bytes(const char* path, const std::string& bytes);

// The bytes of a golden file under tests/data/files.
std::string golden(const char* name);

// Whether a file exists.
bool exists(const char* path);
