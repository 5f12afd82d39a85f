// The checked help calls: each faulty argument is reported under the help calls' name with its
// own id, in the order the arguments are checked, and a refused call changes nothing.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <wyn/checked/help.h>
#include <wyn/ctl.h>
#include <wyn/errfrm.h>
#include <wyn/help_engine.h>

#include "checked_support.h"
#include "help_info.h"

namespace {

constexpr WYN_MSG_ID kNull = 0x210000;
constexpr WYN_MSG_ID kInvalidHandle = 0x1220001;
constexpr WYN_MSG_ID kInvalidWindow = 0x1220002;
constexpr WYN_MSG_ID kBadValue = 0x1250001;

std::vector<uint32_t> viewer_commands;

int32_t record_viewer(void*, const char*, uint32_t command, uintptr_t) {
    viewer_commands.push_back(command);
    return 1;
}

} // namespace

class HelpChecks : public CheckedWindowTest {
  protected:
    void SetUp() override {
        CheckedWindowTest::SetUp();
        wynhelp::help_engine() = record_viewer;
        viewer_commands.clear();
        char pattern[] = "/tmp/help_checks.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        std::ofstream(dir_ + "/norva.hlp") << "help\n";
        dir_.copy(spec_.dir.path, sizeof spec_.dir.path - 1);
        std::snprintf(spec_.name, sizeof spec_.name, "%s", "norva");
        help_ = wyn_help_open_helpfile(&spec_, 0);
        ASSERT_NE(help_, nullptr);
        win_ = wynk_win_create(WT_PLAIN, &rct_, "w", 0, task(), 0, EM_ALL, record_event, 0);
        ASSERT_NE(win_, nullptr);
        ReportRecorder::all().clear();
    }
    void TearDown() override {
        if (wynv_help_is_valid_info(help_)) wynv_help_close_helpfile(help_);
        CheckedWindowTest::TearDown();
        wynhelp::help_engine() = wynhv_help;
        std::filesystem::remove_all(dir_);
    }

    // What a refused call reported: its id, its source name and the call named in the frame.
    static void expect_report(WYN_MSG_ID id, const char* api) {
        const auto& reports = ReportRecorder::all();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].id, id);
        EXPECT_EQ(reports[0].severity, 2);
        EXPECT_EQ(reports[0].file, "thelp");
        EXPECT_EQ(reports[0].api, std::string(api) + " ");
        ReportRecorder::all().clear();
    }

    std::string dir_;
    FILE_SPEC spec_{};
    HELP_INFO help_ = nullptr;
    WINDOW win_ = nullptr;
    RCT rct_{10, 10, 100, 200};
};

TEST_F(HelpChecks, every_call_refuses_a_help_handle_that_is_not_open) {
    HELP_INFO closed = wyn_help_open_helpfile(&spec_, 0);
    ASSERT_TRUE(wyn_help_close_helpfile(closed));
    viewer_commands.clear();
    for (HELP_INFO bad : {static_cast<HELP_INFO>(nullptr), closed}) {
        EVENT ev{};
        expect_one_report_each({
            [&] { EXPECT_FALSE(wyn_help_close_helpfile(bad)); },
            [&] { wyn_help_display_topic(bad, 5); },
            [&] { wyn_help_search_topic(bad, 0, "x"); },
            [&] { wyn_help_set_menu_assoc(bad, win_, 5, 5, 0); },
            [&] { EXPECT_EQ(wyn_help_get_menu_assoc(bad, win_, 5), 0); },
            [&] { wyn_help_set_win_assoc(bad, win_, 5, 0); },
            [&] { EXPECT_EQ(wyn_help_get_win_assoc(bad, win_), 0); },
            [&] { EXPECT_FALSE(wyn_help_assoc_all(bad, win_, 101, nullptr)); },
            [&] { wyn_help_disassoc_all(bad, win_); },
            [&] { wyn_help_begin_objclick(bad, win_, 0); },
            [&] { wyn_help_end_objclick(bad); },
            [&] { EXPECT_FALSE(wyn_help_process_event(bad, win_, &ev)); },
        });
        for (const CheckedReport& r : ReportRecorder::all()) EXPECT_EQ(r.id, kInvalidHandle);
    }
    EXPECT_TRUE(viewer_commands.empty());
}

TEST_F(HelpChecks, windows_events_tags_topics_and_ids_are_checked_in_order) {
    WINDOW gone = wynk_win_create(WT_PLAIN, &rct_, "g", 0, task(), 0, EM_ALL, record_event, 0);
    wynk_vobj_destroy(gone);
    pump();
    EVENT ev{};
    ev.type = E_COMMAND;
    ev.v.cmd.tag = 32462;

    wyn_help_open_helpfile(nullptr, 0);
    expect_report(kNull, "wyn_help_open_helpfile");
    wyn_help_display_topic(help_, 0);
    expect_report(kNull, "wyn_help_display_topic");
    wyn_help_get_win_assoc(help_, nullptr);
    expect_report(kNull, "wyn_help_get_win_assoc");
    wyn_help_set_win_assoc(help_, gone, 5, 0);
    expect_report(kInvalidWindow, "wyn_help_set_win_assoc");
    wyn_help_disassoc_all(help_, nullptr);
    expect_report(kNull, "wyn_help_disassoc_all");
    wyn_help_assoc_all(help_, gone, 0, nullptr);
    expect_report(kInvalidWindow, "wyn_help_assoc_all");
    wyn_help_assoc_all(help_, win_, 0, nullptr);
    expect_report(kNull, "wyn_help_assoc_all");
    // Object-click mode needs a live window; null is no window either.
    wyn_help_begin_objclick(help_, nullptr, 0);
    expect_report(kInvalidWindow, "wyn_help_begin_objclick");
    wyn_help_process_event(help_, nullptr, &ev);
    expect_report(kNull, "wyn_help_process_event");
    wyn_help_process_event(help_, win_, nullptr);
    expect_report(kNull, "wyn_help_process_event");

    // Menu calls: a null window means every window when setting, and is refused when asking.
    wyn_help_set_menu_assoc(help_, nullptr, 0x8000, 5, 0);
    expect_report(kBadValue, "wyn_help_set_menu_assoc");
    wyn_help_set_menu_assoc(help_, gone, 0, 5, 0);
    expect_report(kInvalidWindow, "wyn_help_set_menu_assoc");
    wyn_help_get_menu_assoc(help_, nullptr, 5);
    expect_report(kNull, "wyn_help_get_menu_assoc");
    wyn_help_get_menu_assoc(help_, win_, 0);
    expect_report(kBadValue, "wyn_help_get_menu_assoc");
    EXPECT_TRUE(viewer_commands.empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(HelpChecks, good_calls_reach_the_library) {
    wyn_help_set_menu_assoc(help_, nullptr, 100, 7, 0);
    wyn_help_set_menu_assoc(help_, win_, 100, 8, 0);
    EXPECT_EQ(wyn_help_get_menu_assoc(help_, win_, 100), 8);
    wyn_help_set_win_assoc(help_, win_, 9, 0);
    EXPECT_EQ(wyn_help_get_win_assoc(help_, win_), 9);
    wyn_help_disassoc_all(help_, win_);
    EXPECT_EQ(wyn_help_get_win_assoc(help_, win_), 0);
    EXPECT_EQ(wyn_help_get_menu_assoc(help_, win_, 100), 0);
    EXPECT_EQ(wyn_help_get_flavor(), HELP_FLAVOR_NATIVE);
    wyn_help_search_topic(help_, 0, nullptr);
    wyn_help_display_topic(help_, 32006);
    EVENT ev{};
    ev.type = E_COMMAND;
    ev.v.cmd.tag = 32452;
    EXPECT_TRUE(wyn_help_process_event(help_, win_, &ev));
    EXPECT_EQ(viewer_commands,
              (std::vector<uint32_t>{WYN_HELP_PARTIALKEY, WYN_HELP_CONTENTS, WYN_HELP_HELPONHELP}));
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_TRUE(wyn_help_close_helpfile(help_));
}
