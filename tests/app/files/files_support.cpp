// Shared helpers of the file tests: a fresh working directory, a fixed clock and file bytes.
#include "files_support.h"


#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {
time_t g_now = 0;
} // namespace

void files_test::SetUp() {
    setenv("TZ", "UTC", 1);
    tzset();
    previous_dir_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "vs-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
    set_now(T2026);
}

void files_test::TearDown() {
    std::filesystem::current_path(previous_dir_);
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(dir_, ec);
}

void files_test::set_now(time_t t) {
    g_now = t;
}

time_t files_test::now() {
    return g_now;
}

std::string read_bytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void write_bytes(const char* path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string golden(const char* name) {
    return read_bytes((std::string(VS_TEST_DATA) + "/files/" + name).c_str());
}

bool exists(const char* path) {
    return access(path, F_OK) == 0;
}
