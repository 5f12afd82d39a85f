// The help tests' fixture: the viewer recorder, the scratch directory and the environment.
#include "help_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <wyn/attr.h>
#include <wyn/ctl.h>
#include <wyn/help_engine.h>

namespace {

std::vector<ViewerCall> recorded;

int32_t record_viewer(void* owner, const char* path, uint32_t command, uintptr_t data) {
    ViewerCall call{owner, path ? path : "", command, data, {}};
    if (command == WYN_HELP_PARTIALKEY && data) call.keyword = reinterpret_cast<const char*>(data);
    recorded.push_back(call);
    return 1;
}

} // namespace

void HelpTest::SetUp() {
    ToolkitTest::SetUp();
    recorded.clear();
    wynhelp::help_engine() = record_viewer;
    char pattern[] = "/tmp/wynhelp_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    scratch_ = pattern;
    saved_cwd_ = std::filesystem::current_path().string();
    // A path that finds nothing keeps the machine's own help files out of the search.
    set_env("HELP", std::nullopt);
    set_env("WYNPATH", std::nullopt);
    set_env("PATH", std::string("/nonexistent"));
}

void HelpTest::TearDown() {
    for (HELP_INFO help : opened_)
        if (wynv_help_is_valid_info(help)) wynv_help_close_helpfile(help);
    ToolkitTest::TearDown();
    wynhelp::help_engine() = wynhv_help;
    for (auto it = saved_env_.rbegin(); it != saved_env_.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
    std::filesystem::current_path(saved_cwd_);
    std::filesystem::remove_all(scratch_);
}

std::string HelpTest::write(const std::string& name, const std::string& text) {
    const std::string path = name.front() == '/' ? name : scratch_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string HelpTest::subdir(const std::string& name) {
    const std::string path = scratch_ + "/" + name;
    std::filesystem::create_directories(path);
    return path;
}

void HelpTest::set_env(const char* name, std::optional<std::string> value) {
    const char* old = std::getenv(name);
    saved_env_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

FILE_SPEC HelpTest::file_spec(const std::string& dir, const std::string& name) {
    FILE_SPEC fs{};
    dir.copy(fs.dir.path, sizeof fs.dir.path - 1);
    name.copy(fs.name, sizeof fs.name - 1);
    return fs;
}

HELP_INFO HelpTest::open(const std::string& dir, const std::string& name, uint32_t flags) {
    const FILE_SPEC fs = file_spec(dir, name);
    HELP_INFO help = wynv_help_open_helpfile(&fs, flags);
    if (help) opened_.push_back(help);
    return help;
}

std::vector<ViewerCall>& HelpTest::calls() {
    return recorded;
}

std::vector<int32_t> HelpTest::shown() {
    std::vector<int32_t> topics;
    for (const ViewerCall& c : recorded) {
        if (c.command == WYN_HELP_CONTEXT) topics.push_back(static_cast<int32_t>(c.data));
        if (c.command == WYN_HELP_CONTENTS) topics.push_back(HELP_TOPIC_CONTENTS);
        if (c.command == WYN_HELP_HELPONHELP) topics.push_back(HELP_TOPIC_HELP_ON_HELP);
    }
    return topics;
}

void HelpWindowTest::SetUp() {
    HelpTest::SetUp();
    write("norva.hlp");
    startApp();
    win_ = makeChild(RCT{10, 10, 200, 300});
    ASSERT_NE(win_, nullptr);
    button_ = wynk_ctl_create(WT_PUSH_BUTTON, &button_rct_, "OK", 5, win_, 0, 0);
    edit_ = wynk_ctl_create(WT_EDIT, &edit_rct_, "", 6, win_, 0, 0);
    ASSERT_NE(button_, nullptr);
    ASSERT_NE(edit_, nullptr);
    pump();
    seen_events().clear();
}
