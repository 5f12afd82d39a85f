// The error framework tests' fixture.
#include "err_support.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "portable/core_state.h"
#include "portable/err_state.h"

err_observed observed;

namespace {

std::string start_dir;

int respond(const dm_request& request, char* reply, size_t size) {
    shown_dialog d{request.kind,
                   request.text ? request.text : "",
                   request.caption ? request.caption : "",
                   {},
                   request.help_topic};
    for (const char* title : request.titles) d.titles.push_back(title ? title : "-");
    observed.dialogs.push_back(d);
    std::snprintf(reply, size, "%s", observed.answer_text.c_str());
    return observed.answer;
}

} // namespace

void ErrTest::SetUp() {
    char pattern[] = "/tmp/errtest.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    old_cwd_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir_);
    start_dir = dir_;
    observed = err_observed{};
    err_host host{};
    host.start_dir = [] { return start_dir.c_str(); };
    host.exit_process = [](int status) {
        ++observed.exits;
        observed.exit_status = status;
    };
    host.end_toolkit = [] { ++observed.toolkit_ends; };
    host.beep = [] { ++observed.beeps; };
    err_set_host(host);
    dm_set_responder(respond);
    ASSERT_TRUE(core_attr_init());
    err_state_reset();
    err_set_ready(true);
}

void ErrTest::TearDown() {
    err_state_reset();
    core_attr_free();
    dm_set_responder(nullptr);
    err_set_host(err_host{});
    std::filesystem::current_path(old_cwd_);
    std::filesystem::remove_all(dir_);
}

void ErrTest::write_file(const std::string& name, const std::string& content) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << content;
}

std::string ErrTest::read_file(const std::string& name) {
    std::ifstream in(dir_ + "/" + name, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The font configuration library keeps its caches for the life of the process; the leak checker
// of the sanitizer builds must not count them against the tests.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

void ensure_qt_application() {
    if (QApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "test_wynbase";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}
