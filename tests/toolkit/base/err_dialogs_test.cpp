// The standard dialogs, the fatal exit and the debug log.
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "err_support.h"
#include "portable/core_state.h"
#include "portable/err_state.h"
#include <wyn/attr.h>
#include <wyn/dm.h>

namespace {

class ErrDialogTest : public ErrTest {};

// Runs action on the next modal dialog once it is up.
template <typename Dialog, typename Action> void when_shown(Action action) {
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<Dialog*>(w); d && d->isVisible()) return action(d);
    });
}

} // namespace

TEST_F(ErrDialogTest, TheDebugLogIsWrittenOnlyWhenItsFileExists) {
    wynv_debug_printf("dropped %d", 1);
    EXPECT_EQ(read_file("debug"), "<missing>");
    write_file("debug", "previous run\n");
    wynv_debug_printf("first %s", "line");
    wynv_debug_printf("second");
    EXPECT_EQ(read_file("debug"), "first line\nsecond\n");
    core_set_attr(ATTR_DEBUG_FILE, reinterpret_cast<intptr_t>("trace.log"));
    write_file("trace.log", "");
    wynv_debug_printf("renamed");
    EXPECT_EQ(read_file("trace.log"), "renamed\n");
}

TEST_F(ErrDialogTest, ADirectoryNamedLikeTheDebugLogIsNoLog) {
    std::filesystem::create_directory(dir_ + "/debug");
    wynv_debug_printf("nothing");
    EXPECT_EQ(observed.exits, 0);
    EXPECT_TRUE(observed.dialogs.empty());
}

TEST_F(ErrDialogTest, MessageDialogsCarryTheirTextIconAndHelpTopic) {
    core().help_topic = 5;
    wynv_dm_post_error("disk %d", 3);
    wynv_dm_post_warning("w");
    wynv_dm_post_note("n");
    wynv_dm_post_message("m");
    ASSERT_EQ(observed.dialogs.size(), 4u);
    EXPECT_EQ(observed.dialogs[0].text, "disk 3");
    EXPECT_EQ(observed.dialogs[0].help_topic, 32070);
    EXPECT_EQ(observed.dialogs[1].help_topic, 32080);
    EXPECT_EQ(observed.dialogs[2].help_topic, 32060);
    EXPECT_EQ(observed.dialogs[3].caption, "Alert");
    EXPECT_EQ(core().help_topic, 5);
}

TEST_F(ErrDialogTest, AskMarksMnemonicsExceptOnStandardTitles) {
    observed.answer = 1;
    EXPECT_EQ(wynv_dm_post_ask("OK", "Retry", "Cancel", "Again?"), 1);
    observed.answer = 7; // anything else counts as closing the dialog
    EXPECT_EQ(wynv_dm_post_ask("Yes", "&No", nullptr, "Sure?"), 2);
    EXPECT_EQ(wynv_dm_post_ask("~Go", nullptr, "Stop", "Go?"), 2);
    ASSERT_EQ(observed.dialogs.size(), 3u);
    EXPECT_EQ(observed.dialogs[0].titles, (std::vector<std::string>{"OK", "~Retry", "Cancel"}));
    EXPECT_EQ(observed.dialogs[1].titles, (std::vector<std::string>{"~Yes", "&No", "-"}));
    EXPECT_EQ(observed.dialogs[2].titles, (std::vector<std::string>{"~Go", "-", "~Stop"}));
    EXPECT_EQ(observed.dialogs[0].help_topic, 32050);
}

TEST_F(ErrDialogTest, TheStringPromptCopiesWithinTheBuffer) {
    char buffer[7] = "name";
    observed.answer = 1;
    observed.answer_text = "h\xc3\xa9llo w\xc3\xb6rld";
    EXPECT_EQ(wynv_dm_post_string_prompt("Your name:", buffer, sizeof buffer), buffer);
    EXPECT_STREQ(buffer, "h\xc3\xa9llo"); // cut before the character that does not fit
    EXPECT_EQ(observed.dialogs[0].text, "Your name:");
    observed.answer = 0;
    EXPECT_EQ(wynv_dm_post_string_prompt("Again:", buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(buffer, "h\xc3\xa9llo");
}

TEST_F(ErrDialogTest, ADialogThatCannotBeCreatedIsFatal) {
    observed.answer = -1;
    char buffer[8] = "";
    EXPECT_EQ(wynv_dm_post_string_prompt("p", buffer, sizeof buffer), nullptr);
    EXPECT_EQ(wynv_errmsg_get_last_msg(), 0x3484D6u);
    EXPECT_EQ(observed.exits, 1);
    err_state_reset();
    err_set_ready(true);
    wynv_dm_post_note("n");
    EXPECT_EQ(wynv_errmsg_get_last_msg(), 0x3484D0u);
    EXPECT_EQ(observed.exits, 2);
}

TEST_F(ErrDialogTest, TheAboutBoxFallsBackToAMessage) {
    // The display other tests rely on comes back whatever this test finds.
    const dm_about_box_fn previous = dm_set_about_box(nullptr);
    wynv_dm_post_about_box();
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_EQ(observed.dialogs[0].kind, dm_kind::message);
    EXPECT_EQ(observed.dialogs[0].text, "Can't show the about box");
    static int shown = 0;
    dm_set_about_box([] { return ++shown, 1; });
    wynv_dm_post_about_box();
    dm_set_about_box(previous);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(observed.dialogs.size(), 1u);
}

TEST_F(ErrDialogTest, AFatalExitLogsCallsTheHookAndEndsTheToolkit) {
    write_file("debug", "");
    static std::string hooked;
    core_set_attr(ATTR_FATAL_HOOK,
                  reinterpret_cast<intptr_t>(+[](const char* text) { hooked = text; }));
    wynv_dm_post_fatal_exit("port %s lost", "COM1");
    EXPECT_EQ(hooked, "port COM1 lost");
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_EQ(observed.dialogs[0].caption, "System Error");
    EXPECT_EQ(observed.dialogs[0].help_topic, 32130);
    EXPECT_EQ(read_file("debug"), "FATAL: port COM1 lost\n");
    EXPECT_EQ(observed.toolkit_ends, 1);
    EXPECT_EQ(observed.exits, 1);
    EXPECT_EQ(observed.exit_status, ERR_EXIT_STATUS);
    EXPECT_EQ(observed.beeps, 0);
}

TEST_F(ErrDialogTest, AFatalExitDuringAFatalExitLeavesAfterSixBeeps) {
    write_file("debug", "");
    dm_set_responder([](const dm_request& request, char*, size_t) {
        observed.dialogs.push_back({request.kind, request.text, request.caption, {}, 0});
        wynv_dm_post_fatal_exit("again");
        return 0;
    });
    wynv_dm_post_fatal_exit("first");
    EXPECT_EQ(observed.dialogs.size(), 1u);
    EXPECT_EQ(observed.beeps, 6);
    EXPECT_EQ(read_file("debug"), "FATAL: first\nRECURSIVE FATAL\n");
    EXPECT_EQ(observed.exits, 2); // the inner one leaves at once; here the exit is only recorded
}

TEST_F(ErrDialogTest, AFatalExitLeavesTheProcessWithAFailureStatus) {
    // The child is forked, so it writes to this test's own start-up directory.
    GTEST_FLAG_SET(death_test_style, "fast");
    write_file("debug", "");
    EXPECT_EXIT(
        {
            err_host host = err_get_host();
            host.exit_process = nullptr;
            err_set_host(host);
            wynv_dm_post_fatal_exit("the end");
        },
        ::testing::ExitedWithCode(ERR_EXIT_STATUS), "");
    EXPECT_EQ(read_file("debug"), "FATAL: the end\n");
}

TEST_F(ErrDialogTest, FileOpenStartsFromTheSpecAndStoresTheChoice) {
    std::filesystem::create_directory(dir_ + "/logs");
    FILE_SPEC file_spec{};
    std::snprintf(file_spec.dir.path, sizeof file_spec.dir.path, "%s", dir_.c_str());
    std::snprintf(file_spec.type, sizeof file_spec.type, "cfg");
    std::snprintf(file_spec.name, sizeof file_spec.name, "ignored.cfg");
    observed.answer = 1;
    observed.answer_text = dir_ + "/logs/norva.alm";
    EXPECT_EQ(wynv_dm_post_file_open(&file_spec, "Open log"), 2);
    ASSERT_EQ(observed.dialogs.size(), 1u);
    const shown_dialog& d = observed.dialogs[0];
    EXPECT_EQ(d.kind, dm_kind::file_open);
    EXPECT_EQ(d.text, "Open log");
    EXPECT_EQ(d.help_topic, 32030);
    EXPECT_EQ(std::string(file_spec.dir.path), dir_ + "/logs");
    EXPECT_STREQ(file_spec.name, "norva.alm");
    EXPECT_STREQ(file_spec.type, "alm");
}

TEST_F(ErrDialogTest, FileSaveOffersTheNameAndKeepsTheSpecOnCancel) {
    static std::string filter, file;
    dm_set_responder([](const dm_request& r, char*, size_t) {
        filter = r.filter;
        file = r.initial;
        return 0;
    });
    FILE_SPEC file_spec{};
    std::snprintf(file_spec.name, sizeof file_spec.name, "norva.dat");
    const FILE_SPEC before = file_spec;
    EXPECT_EQ(wynv_dm_post_file_save(&file_spec, ""), 1);
    EXPECT_EQ(file, "norva.dat");
    EXPECT_EQ(filter, "All Files (*.*)");
    EXPECT_EQ(std::memcmp(&file_spec, &before, sizeof file_spec), 0);
}

TEST_F(ErrDialogTest, FileDialogChoicesThatDoNotFitTheSpecFail) {
    FILE_SPEC file_spec{};
    std::snprintf(file_spec.type, sizeof file_spec.type, "txt");
    const FILE_SPEC before = file_spec;
    observed.answer = 1;
    observed.answer_text = dir_ + "/" + std::string(300, 'n');
    EXPECT_EQ(wynv_dm_post_file_save(&file_spec, "Save"), 0);
    EXPECT_EQ(std::memcmp(&file_spec, &before, sizeof file_spec), 0);
    observed.answer = -1;
    EXPECT_EQ(wynv_dm_post_file_open(&file_spec, "Open"), 0);
    observed.answer = 1;
    observed.answer_text = dir_ + "/README";
    EXPECT_EQ(wynv_dm_post_file_open(&file_spec, "Open"), 2);
    EXPECT_STREQ(file_spec.type, ""); // no extension clears the type
    EXPECT_EQ(observed.exits, 0);
}

TEST_F(ErrDialogTest, TheApplicationMayAdjustTheFileDialog) {
    core_set_attr(ATTR_FILE_DLG_HOOK, reinterpret_cast<intptr_t>(+[](WYN_FILE_DLG* dlg) {
                      EXPECT_EQ(dlg->flags, WYN_FILE_DLG_OPEN_FLAGS);
                      EXPECT_STREQ(dlg->filter, "Files (*.log)");
                      std::snprintf(dlg->title, sizeof dlg->title, "Pick a log");
                  }));
    FILE_SPEC file_spec{};
    std::snprintf(file_spec.type, sizeof file_spec.type, "log");
    EXPECT_EQ(wynv_dm_post_file_open(&file_spec, "Open"), 1);
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_EQ(observed.dialogs[0].text, "Pick a log");
}

TEST_F(ErrDialogTest, RealDialogsAnswerThroughQt) {
    ensure_qt_application();
    dm_set_responder(nullptr);
    when_shown<QMessageBox>([](QMessageBox* box) { box->buttons().front()->click(); });
    wynv_dm_post_error("shown for real");

    when_shown<QMessageBox>([](QMessageBox* box) {
        for (auto* b : box->buttons())
            if (b->text() == "&Retry") b->click();
    });
    EXPECT_EQ(wynv_dm_post_ask("OK", "Retry", "Cancel", "Retry?"), 1);

    when_shown<QMessageBox>([](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(wynv_dm_post_ask("OK", "Retry", "Cancel", "Close?"), 2);

    char buffer[16] = "initial";
    when_shown<QInputDialog>([](QInputDialog* d) {
        auto* edit = d->findChild<QLineEdit*>();
        if (edit && edit->selectedText() == "initial") edit->setText("typed");
        d->accept();
    });
    EXPECT_EQ(wynv_dm_post_string_prompt("Name:", buffer, sizeof buffer), buffer);
    EXPECT_STREQ(buffer, "typed");

    FILE_SPEC file_spec{};
    std::snprintf(file_spec.dir.path, sizeof file_spec.dir.path, "%s", dir_.c_str());
    std::snprintf(file_spec.name, sizeof file_spec.name, "report.txt");
    when_shown<QFileDialog>([](QFileDialog* d) { QMetaObject::invokeMethod(d, "accept"); });
    EXPECT_EQ(wynv_dm_post_file_save(&file_spec, "Save report"), 2);
    EXPECT_EQ(std::string(file_spec.dir.path), dir_);
    EXPECT_STREQ(file_spec.name, "report.txt");
}
