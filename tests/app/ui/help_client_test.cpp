// The help client on the test toolkit: registrations waiting in the pending array, the help file
// asked for and opened on first need, and the help hook with and without a file.
#include "common/scoped_env.h"
#include "kernel/std_dialogs.h"
#include "toolkit/base/app_support.h"
#include "tools/process_support.h"

#include "ui/help_client.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>
#include <wyn/checked/dlg.h>
#include <wyn/checked/win.h>

namespace {

// The dialogs the client posted, and the files a file-open dialog answers with in turn ("" for
// a cancel, kNoDialog for a dialog that cannot be shown).
constexpr char kNoDialog[] = "<no dialog>";
struct dialog_seen {
    dm_kind kind;
    std::string text;
};
std::vector<dialog_seen> dialogs;
std::vector<std::string> choices;

// When set, F1 is pressed on it while the next file-open dialog is up.
WINDOW help_while_asking = nullptr;

int answer(const dm_request& request, char* reply, size_t size) {
    dialogs.push_back({request.kind, request.text ? request.text : ""});
    if (request.kind != dm_kind::file_open) return 0;
    if (WINDOW win = std::exchange(help_while_asking, nullptr)) {
        EVENT help{};
        help.type = E_HELP;
        help.v.help.obj = win;
        wyn_win_dispatch_event(win, &help);
    }
    if (choices.empty()) return 0;
    const std::string choice = choices.front();
    choices.erase(choices.begin());
    if (choice == kNoDialog) return -1;
    std::snprintf(reply, size, "%s", choice.c_str());
    return choice.empty() ? 0 : 1;
}

// Registers topic 500 for itself at its creation and forgets itself at its destruction.
int32_t registering_window(WINDOW win, EVENT* ev) {
    help_follow_window(win, *ev, 500, 0);
    return record_event(win, ev);
}

class help_client_test : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        dialogs.clear();
        choices.clear();
        help_while_asking = nullptr;
        dm_set_responder(answer);
        std::filesystem::current_path(dir_.path());
    }
    void TearDown() override {
        help_close();
        dm_set_responder(nullptr);
        std::filesystem::current_path(old_cwd_);
        ToolkitTest::TearDown();
    }

    WINDOW window(EVENT_HANDLER handler = record_event) {
        return makeChild({0, 0, 50, 50}, handler);
    }
    void write_help_file() const { std::ofstream(dir_.file("norva.hlp")) << "help\n"; }
    static const help_client& client() { return help_client_of_program(); }

    temp_dir dir_;
    std::filesystem::path old_cwd_ = std::filesystem::current_path();
    // Nothing leads the library to a help file but what a test puts in its directory.
    scoped_env help_{"HELP", nullptr};
    scoped_env wynpath_{"WYNPATH", nullptr};
    scoped_env path_{"PATH", "/nonexistent"};
};

TEST_F(help_client_test, the_fifty_first_registration_grows_the_array_by_fifty) {
    WINDOW win = window();
    for (int32_t id = 1; id <= help_client::kGrowth; ++id)
        help_add_assoc(win, id, 600 + id, HELP_ASSOC_CONTROL);
    EXPECT_EQ(client().pending().size(), 50u);
    EXPECT_EQ(client().next_free_slot(), -1) << "full";
    help_add_assoc(win, 51, 651, HELP_ASSOC_CONTROL);
    ASSERT_EQ(client().pending().size(), 100u);
    EXPECT_EQ(client().pending()[50].id, 51);
    EXPECT_EQ(client().next_free_slot(), 51);
}

TEST_F(help_client_test, a_window_closed_before_the_file_opens_leaves_its_slot_to_the_next) {
    WINDOW first = window(registering_window);
    WINDOW closed = window(registering_window);
    WINDOW third = window(registering_window);
    wyn_vobj_destroy(closed);
    ASSERT_EQ(client().pending()[1].object, nullptr) << "no entry left behind";
    EXPECT_EQ(client().next_free_slot(), 1);
    WINDOW fourth = window(registering_window);
    EXPECT_EQ(client().pending()[1].object, fourth);
    EXPECT_EQ(client().next_free_slot(), 3);
    EXPECT_EQ(client().pending()[0].object, first);
    EXPECT_EQ(client().pending()[2].object, third);
}

TEST_F(help_client_test, opening_replays_the_slots_in_order_and_later_registrations_apply_at_once) {
    WINDOW win = window();
    WINDOW other = window();
    help_add_assoc(win, 0, 5, HELP_ASSOC_WINDOW);   // slot 0
    help_add_assoc(other, 0, 6, HELP_ASSOC_WINDOW); // slot 1
    help_add_assoc(win, 0, 7, HELP_ASSOC_WINDOW);   // slot 2
    help_forget_window(other);
    help_add_assoc(win, 0, 8, HELP_ASSOC_WINDOW); // slot 1 again, replayed before slot 2
    help_add_assoc(win, 42, 9, HELP_ASSOC_MENU);
    write_help_file();
    HELP_INFO help = help_get_info();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(dialogs.empty()) << "found without asking";
    EXPECT_EQ(wyn_help_get_win_assoc(help, win), 7);
    EXPECT_EQ(wyn_help_get_win_assoc(help, other), 0);
    EXPECT_EQ(wyn_help_get_menu_assoc(help, win, 42), 9);
    EXPECT_TRUE(client().pending().empty());

    WINDOW later = window();
    help_add_assoc(later, 0, 10, HELP_ASSOC_WINDOW);
    EXPECT_EQ(wyn_help_get_win_assoc(help, later), 10);
    EXPECT_TRUE(client().pending().empty());
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(help_client_test,
       the_association_file_binds_dialogs_and_controls_under_the_programs_topics) {
    std::ofstream(dir_.file("norva.csa")) << "D 117 0 200\nC 6 117 216\nD 103 0 999\n";
    WINDOW modem = wyn_dlg_create_res(WT_MODELESS_DLG, 117, EM_ALL, record_event, 0);
    WINDOW thresholds = wyn_dlg_create_res(WT_MODELESS_DLG, 103, EM_ALL, record_event, 0);
    ASSERT_TRUE(modem && thresholds);
    help_add_assoc(modem, 0, 0, HELP_ASSOC_WINDOW, 117);
    help_add_assoc(thresholds, 0, 107, HELP_ASSOC_WINDOW, 103);
    write_help_file();
    HELP_INFO help = help_get_info();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(wyn_help_get_win_assoc(help, modem), 200) << "topic 0 leaves it to the file";
    EXPECT_EQ(wyn_help_get_win_assoc(help, wyn_win_get_ctl(modem, 6)), 216);
    EXPECT_EQ(wyn_help_get_win_assoc(help, thresholds), 107);
    wyn_vobj_destroy(modem);
    wyn_vobj_destroy(thresholds);
}

TEST_F(help_client_test, the_association_file_binds_the_items_of_the_task_windows_menu_bar) {
    std::ofstream(dir_.file("norva.csa")) << "M 1025 0 112\nM 1015 1000 95\nM 1016 999 7\n";
    WINDOW task = reinterpret_cast<WINDOW>(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    ASSERT_NE(task, nullptr);
    help_add_assoc(task, 32450, 32001, HELP_ASSOC_MENU, 1000);
    write_help_file();
    HELP_INFO help = help_get_info();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(wyn_help_get_menu_assoc(help, task, 1025), 112) << "any window's entry";
    EXPECT_EQ(wyn_help_get_menu_assoc(help, task, 1015), 95) << "the bar's own entry";
    EXPECT_EQ(wyn_help_get_menu_assoc(help, task, 1016), 0) << "another bar's entry";
    EXPECT_EQ(wyn_help_get_menu_assoc(help, task, 32450), 32001);
}

TEST_F(help_client_test, the_file_dialog_asks_again_until_a_file_opens) {
    std::filesystem::create_directory(dir_.file("folder"));
    std::ofstream(dir_.file("notes.txt")) << "not help\n";
    std::filesystem::create_directory(dir_.file("found"));
    std::ofstream(dir_.file("found/manual.hlp")) << "help\n";
    choices = {dir_.file("missing.hlp"), dir_.file("folder"), dir_.file("notes.txt"),
               dir_.file("found/manual.hlp")};
    help_ensure_open();
    EXPECT_NE(help_get_info(), nullptr);
    const std::vector<std::pair<dm_kind, std::string>> expected = {
        {dm_kind::file_open, "Please Find and Open help file..."},
        {dm_kind::error, "Help file is unreadable, please choose another."},
        {dm_kind::file_open, "Please Find and Open help file..."},
        {dm_kind::error, "Invalid help file, please choose another."},
        {dm_kind::file_open, "Please Find and Open help file..."},
        {dm_kind::note, "Invalid help file, please choose another."},
        {dm_kind::file_open, "Please Find and Open help file..."}};
    ASSERT_EQ(dialogs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs[i].kind, expected[i].first) << i;
        EXPECT_EQ(dialogs[i].text, expected[i].second) << i;
    }
}

TEST_F(help_client_test, without_a_file_the_hook_passes_events_on_and_a_cancel_passes_help_on) {
    help_install_hook();
    WINDOW win = window();
    EVENT command{};
    command.type = E_COMMAND;
    command.v.cmd.tag = 1016;
    wyn_win_dispatch_event(win, &command);
    EXPECT_TRUE(dialogs.empty()) << "only help asks for the file";
    EVENT help{};
    help.type = E_HELP;
    help.v.help.obj = win;
    // F1 while the file dialog is up asks for no second one.
    help_while_asking = win;
    wyn_win_dispatch_event(win, &help);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, dm_kind::file_open);
    EXPECT_EQ(types_for(win).back(), E_HELP) << "the cancelled request reached the window";
    // The dialog's own request went to the task window under the dialog's topic, and on.
    auto task = reinterpret_cast<WINDOW>(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    const auto asked = std::find_if(seen_events().begin(), seen_events().end(), [&](auto& s) {
        return s.win == task && s.ev.type == E_HELP && s.ev.v.help.tid == 32030;
    });
    EXPECT_NE(asked, seen_events().end());

    // A file dialog that cannot be shown would fail again at once: asking ends there, and says so.
    choices = {kNoDialog};
    testing::internal::CaptureStderr();
    wyn_win_dispatch_event(win, &help);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("file dialog could not be shown"),
              std::string::npos);
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(client().info(), nullptr);
}

TEST_F(help_client_test, closing_the_file_the_hook_holds_lets_later_events_through_untouched) {
    help_install_hook();
    write_help_file();
    HELP_INFO help = help_get_info();
    ASSERT_NE(help, nullptr);
    wyn_vobj_set_attr(nullptr, ATTR_EVENT_HOOK_DATA, reinterpret_cast<ATTR_VALUE>(help));
    help_close();
    EXPECT_EQ(wyn_vobj_get_attr(nullptr, ATTR_EVENT_HOOK_DATA), 0);
    WINDOW win = window();
    EVENT request{};
    request.type = E_HELP;
    request.v.help.obj = win;
    wyn_win_dispatch_event(win, &request);
    EXPECT_EQ(types_for(win).back(), E_HELP);
    EXPECT_TRUE(dialogs.empty()) << "help ended with its file";
    EXPECT_TRUE(reported_ids().empty());
}

} // namespace
