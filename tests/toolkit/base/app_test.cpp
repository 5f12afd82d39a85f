// Start-up, the task window, the loop's end and the session's requests to end.
#include <QApplication>
#include <QWidget>
#include <csignal>

#include "kernel/app_loop.h"
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"

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
