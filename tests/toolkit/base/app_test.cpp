// Start-up, the task window, the loop's end and the session's requests to end.
#include <QApplication>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "kernel/app_loop.h"
#include "kernel/std_dialogs.h"
#include "portable/core_state.h"
#include "portable/err_state.h"
#include "toolkit/base/app_support.h"
#include "toolkit/base/err_support.h"
#include <wyn/fsys.h>

namespace {

WYN_VERSION version(int16_t major, int16_t minor, int16_t patch, int16_t cmaj, int16_t cmin,
                    int16_t cpatch) {
    return WYN_VERSION{major, minor, patch, cmaj, cmin, cpatch};
}

} // namespace

TEST(AppVersion, NewerSideDecidesByItsOldestCompatibleVersion) {
    const WYN_VERSION library = version(4, 50, 0, 4, 50, 0);
    WYN_VERSION same = version(4, 50, 0, 4, 50, 0);
    EXPECT_TRUE(app_versions_compatible(&same, library));
    WYN_VERSION older = version(4, 49, 9, 4, 0, 0);
    EXPECT_FALSE(app_versions_compatible(&older, library));
    WYN_VERSION newer_compatible = version(5, 0, 0, 4, 50, 0);
    EXPECT_TRUE(app_versions_compatible(&newer_compatible, library));
    WYN_VERSION newer_incompatible = version(5, 0, 0, 4, 50, 1);
    EXPECT_FALSE(app_versions_compatible(&newer_incompatible, library));
    EXPECT_FALSE(app_versions_compatible(nullptr, library));
}

class AppTest : public ToolkitTest {};

// Another name left behind (the toolkit's own, say) must not survive the start.
class AppIdentityTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ensure_qt_application();
        QCoreApplication::setApplicationName(QStringLiteral("wyn"));
        QGuiApplication::setDesktopFileName(QString());
        ToolkitTest::SetUp();
    }
};

TEST_F(AppIdentityTest, TheWindowSystemKnowsTheProgramByItsOwnName) {
    const QString own = QString::fromLocal8Bit(program_invocation_short_name);
    EXPECT_EQ(QCoreApplication::applicationName(), own);
    EXPECT_EQ(QGuiApplication::desktopFileName(), own);
}

TEST_F(AppTest, InitialAttributesFollowTheShowState) {
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_TASK_FLAGS), 131);
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_TIMER_RESOLUTION), 1000);
    for (auto [show, flags] : {std::pair{7, 387}, {2, 387}, {3, 4227}, {1, 131}}) {
        wynwi_End();
        startup_.show_cmd = show;
        ASSERT_TRUE(wynwi_Begin(&startup_));
        ASSERT_TRUE(wynwi_Init(&startup_));
        EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_TASK_FLAGS), flags) << "show state " << show;
    }
}

TEST_F(AppTest, TaskWindowHasTitleClientSizeAndOrderedFirstEvents) {
    startApp();
    auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->type, WT_TASK);
    EXPECT_EQ(task->kind, WK_TASK);
    auto screen = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_SCREEN_WINDOW));
    EXPECT_EQ(task->parent, screen);
    EXPECT_EQ(screen->kind, WK_SCREEN);
    auto* frame = static_cast<QWidget*>(task->native);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Norvane VoltSentry Plus"));
    EXPECT_EQ(task->client.right, 648);
    EXPECT_EQ(task->client.bottom, 480);
    auto types = types_for(task);
    ASSERT_GE(types.size(), 2u);
    EXPECT_EQ(types[0], E_CREATE);
    EXPECT_EQ(types[1], E_SIZE);
    auto config = reinterpret_cast<WYN_APP_CONFIG*>(wynk_vobj_get_attr(nullptr, ATTR_APP_CONFIG));
    EXPECT_STREQ(config->app_name, "VoltSentry Plus");
}

TEST_F(AppTest, TaskObjectWithoutNativeWindowGetsCreateThenScreenSize) {
    wynv_vobj_set_attr(nullptr, ATTR_NO_TASK_WINDOW, 1);
    startApp();
    WINDOW task = core().task;
    EXPECT_EQ(task->kind, WK_TASK_OBJECT);
    EXPECT_EQ(task->native, nullptr);
    ASSERT_EQ(types_for(task), (std::vector<int32_t>{E_CREATE, E_SIZE}));
    EXPECT_EQ(seen_events()[1].ev.v.size.width, wynk_vobj_get_attr(nullptr, ATTR_SCREEN_WIDTH));
    EXPECT_EQ(wynk_timer_create(task, 1000), -1);
}

namespace {

int32_t quit_at_create(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_CREATE) wynv_app_destroy();
    return 0;
}

int32_t allow_quit(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_QUIT && ev->v.quit.query) wynk_app_allow_quit();
    return 0;
}

} // namespace

TEST_F(AppTest, SystemReturnsOnceTheTaskWindowIsDestroyed) {
    wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect_));
    EXPECT_EQ(wynwi_wyn_system(0, quit_at_create, &config_), 0);
    ASSERT_FALSE(seen_events().empty());
    EXPECT_EQ(seen_events().front().ev.type, E_CREATE);
    EXPECT_EQ(seen_events().back().ev.type, E_DESTROY);
}

TEST_F(AppTest, DestroyingTheTaskDestroysOtherWindowsFirstAndOnlyOnce) {
    startApp();
    WINDOW task = core().task;
    RCT rct{10, 10, 110, 210};
    WINDOW doc = wynk_win_create(WT_DOC, &rct, "doc", 0, core().screen, 0, EM_ALL, record_event, 0);
    ASSERT_NE(doc, nullptr);
    seen_events().clear();
    wynv_app_destroy();
    wynv_app_destroy();
    ASSERT_EQ(seen_events().size(), 2u);
    EXPECT_EQ(seen_events()[0].win, doc);
    EXPECT_EQ(seen_events()[1].win, task);
    EXPECT_EQ(seen_events()[1].ev.type, E_DESTROY);
    pump();
    EXPECT_TRUE(core().quit_seen);
}

TEST_F(AppTest, QuitQueryIsAnsweredNoUnlessTheHandlerAllowsIt) {
    startApp();
    EXPECT_FALSE(app_query_end_session());
    EXPECT_TRUE(core_win_alive(core().task));
    EXPECT_FALSE(core().quit_seen);
    ASSERT_EQ(seen_events().back().ev.type, E_QUIT);
    EXPECT_EQ(seen_events().back().ev.v.quit.query, TRUE);

    core().task->handler = allow_quit;
    EXPECT_TRUE(app_query_end_session());
    // The answer is asked afresh each time.
    core().task->handler = record_event;
    EXPECT_FALSE(app_query_end_session());
}

TEST_F(AppTest, TerminationSignalEndsTheSessionWithQuitQueryZero) {
    startApp();
    WINDOW task = core().task;
    seen_events().clear();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    pump();
    std::vector<int32_t> types = types_for(task);
    ASSERT_GE(types.size(), 2u);
    EXPECT_EQ(types[0], E_QUIT);
    EXPECT_EQ(seen_events()[0].ev.v.quit.query, FALSE);
    EXPECT_EQ(types.back(), E_DESTROY);
    EXPECT_TRUE(core().quit_seen);
}

TEST_F(AppTest, FilesOnTheCommandLineAreHandedOutOneAtATime) {
    wynwi_End();
    startup_.cmd_line = "/DEBUG:ALL first.log /SETUP second.log";
    ASSERT_TRUE(wynwi_Begin(&startup_));
    ASSERT_TRUE(wynwi_Init(&startup_));
    EXPECT_EQ(wynk_app_get_files_count(), 2);
    EXPECT_STREQ(wynk_app_get_file(), "first.log");
    wynk_app_set_file_processed();
    EXPECT_STREQ(wynk_app_get_file(), "second.log");
    wynk_app_set_file_processed();
    EXPECT_EQ(wynk_app_get_file(), nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(wynk_vobj_get_attr(nullptr, ATTR_CMD_LINE)),
                 startup_.cmd_line);
}

namespace {

const WYN_RES_STRING other_strings[] = {{30001, "OK"}};
const WYN_RES_ACCEL_TABLE other_accels[] = {{9002, 0, nullptr}};

// Dialogs are answered at once; what they said is kept (and told on stderr, for a test that ends
// the process).
std::vector<dm_request> dialogs_seen;
std::vector<std::string> dialog_texts;
int answer_dialog(const dm_request& request, char*, size_t) {
    dialogs_seen.push_back(request);
    dialog_texts.emplace_back(std::string(request.caption) + "|" + request.text);
    std::fprintf(stderr, "%s\n", request.text);
    return 1;
}

// A start-up that nothing stops: the reports go to the standard reporter, which ends the process.
void start_unguarded(WYN_APP_CONFIG& config, WYN_RES_MODULE& module) {
    wynwi_set_resources(&module);
    dm_set_responder(answer_dialog);
    wynv_vobj_set_attr(nullptr, ATTR_ERROR_HANDLER, 0);
    app_start(0, record_event, &config);
}

} // namespace

class StartUpDeathTest : public ToolkitTest {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ToolkitTest::SetUp();
    }
    // Starts, in a child process, with module (given what else start-up needs) and expects the
    // program to end with a fatal report matching report.
    void expect_start_up_ends(WYN_RES_MODULE module, const char* report) {
        give_startup_resources(module);
        EXPECT_EXIT(start_unguarded(config_, module), testing::ExitedWithCode(ERR_EXIT_STATUS),
                    report);
    }
};

TEST_F(StartUpDeathTest, EachMissingStartUpResourceEndsTheProgramWithItsReport) {
    WYN_RES_MODULE no_name{};
    no_name.strings = other_strings;
    no_name.string_count = 1;
    expect_start_up_ends(no_name, "FATAL ERROR: MSG 0x0072c350");
    WYN_RES_MODULE no_accelerators{};
    no_accelerators.accels = other_accels;
    no_accelerators.accel_count = 1;
    expect_start_up_ends(no_accelerators, "FATAL ERROR: MSG 0x00347e92");
    // The task window cannot be made without its menu bar.
    config_.menu_bar_id = 1000;
    expect_start_up_ends(WYN_RES_MODULE{}, "FATAL ERROR: Failed to find resource");
}

TEST_F(AppTest, StartUpStopsAtAMissingResourceEvenWhenTheReportIsTaken) {
    WYN_RES_MODULE module{};
    module.strings = other_strings;
    module.string_count = 1;
    give_startup_resources(module);
    wynwi_set_resources(&module);
    EXPECT_FALSE(app_start(0, record_event, &config_));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x72C350}));
    EXPECT_EQ(core().task, nullptr);
    EXPECT_TRUE(seen_events().empty());
    wynwi_set_resources(nullptr);
}

class ResourceFileTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        dialogs_seen.clear();
        dialog_texts.clear();
        previous_ = dm_set_responder(answer_dialog);
    }
    void TearDown() override {
        dm_set_responder(previous_);
        AppTest::TearDown();
    }
    dm_responder previous_ = nullptr;
};

TEST_F(ResourceFileTest, ALibraryThatCannotBeLoadedLeavesTheProgramsOwnAndSaysSo) {
    const WYN_RES_MODULE* own = wynwi_get_resources();
    wynv_vobj_set_attr(nullptr, ATTR_RESOURCE_FILE,
                       reinterpret_cast<ATTR_VALUE>("no_such_resources.so"));
    config_.app_name = nullptr;
    wynv_vobj_set_attr(nullptr, ATTR_FONT_CACHE_SIZE, 0);
    startApp();
    EXPECT_EQ(wynwi_get_resources(), own);
    EXPECT_EQ(dialog_texts, std::vector<std::string>{
                                "norva|Cannot find resource file - will use default resources"});
    auto config = reinterpret_cast<WYN_APP_CONFIG*>(wynk_vobj_get_attr(nullptr, ATTR_APP_CONFIG));
    EXPECT_STREQ(config->app_name, "norva") << "the resource name stands in for a missing name";
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_FONT_CACHE_SIZE), 10);
}

TEST_F(ResourceFileTest, ALoadedLibraryServesTheNamesAndIsGivenBackAtTheEnd) {
    const WYN_RES_MODULE* own = wynwi_get_resources();
    wynv_vobj_set_attr(nullptr, ATTR_RESOURCE_FILE,
                       reinterpret_cast<ATTR_VALUE>(VS_BIN_DIR "/test_resource_library.so"));
    wynv_vobj_set_attr(nullptr, ATTR_APP_NAME_ID, 30800);
    wynv_vobj_set_attr(nullptr, ATTR_TASK_TITLE_ID, 30801);
    startApp();
    EXPECT_NE(wynwi_get_resources(), own);
    EXPECT_TRUE(dialogs_seen.empty());
    auto config = reinterpret_cast<WYN_APP_CONFIG*>(wynk_vobj_get_attr(nullptr, ATTR_APP_CONFIG));
    EXPECT_STREQ(config->app_name, "Library Monitor");
    EXPECT_STREQ(config->task_title, "Library Monitor - Task");
    EXPECT_EQ(static_cast<QWidget*>(core().task->native)->windowTitle(),
              QStringLiteral("Library Monitor - Task"));
    char name[16];
    EXPECT_STREQ(wynv_res_get_str(30399, name, sizeof name), "altres");

    wynwi_End();
    EXPECT_EQ(wynwi_get_resources(), own);
    ASSERT_TRUE(wynwi_Begin(&startup_));
    ASSERT_TRUE(wynwi_Init(&startup_));
}

TEST_F(AppTest, TheStartUpDirectoryIsWhereTheApplicationStarted) {
    const std::filesystem::path origin = std::filesystem::current_path();
    char pattern[] = "/tmp/wyn_startXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path program = pattern;
    std::filesystem::current_path(program);
    // A toolkit begun again elsewhere still knows the process's own start-up directory ...
    wynwi_End();
    ASSERT_TRUE(wynwi_Begin(&startup_));
    ASSERT_TRUE(wynwi_Init(&startup_));
    EXPECT_TRUE(wynk_fsys_set_dir_startup());
    EXPECT_EQ(std::filesystem::current_path(), origin);
    // ... until the application starts: its own directory is current by then.
    std::filesystem::current_path(program);
    startApp();
    std::filesystem::current_path(origin);
    EXPECT_TRUE(wynk_fsys_set_dir_startup());
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(program));
    std::filesystem::current_path(origin);
    std::filesystem::remove_all(program);
}

TEST_F(AppTest, EscapeDestroysTheTaskOnlyForItsOwnCode) {
    startApp();
    WINDOW task = core().task;
    int metrics[4] = {};
    EXPECT_FALSE(
        wynk_app_escape(4000, nullptr, &metrics[0], &metrics[1], &metrics[2], &metrics[3]));
    EXPECT_FALSE(wynk_app_escape(17));
    EXPECT_TRUE(core_win_alive(task));
    EXPECT_TRUE(wynk_app_escape(4001));
    EXPECT_EQ(types_for(task).back(), E_DESTROY);
    pump();
    EXPECT_TRUE(core().quit_seen);
}
