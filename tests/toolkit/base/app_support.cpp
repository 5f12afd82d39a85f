// The fixture that begins and ends the toolkit around each test, over the tests' shared Qt
// application.
#include "toolkit/base/app_support.h"

#include <QApplication>

#include "err_support.h"
#include "kernel/app_loop.h"
#include "portable/core_state.h"

namespace {

const WYN_VERSION program_version = {4, 50, 0, 4, 50, 0};

std::vector<SeenEvent> seen;
std::vector<WYN_MSG_ID> reported;

int32_t record_error(WYN_ERRMSG* msg, intptr_t) {
    reported.push_back(wynv_errmsg_get_msg_id(msg));
    return 1;
}

} // namespace

int32_t record_event(WINDOW win, EVENT* ev) {
    seen.push_back({win, *ev});
    return 0;
}

std::vector<SeenEvent>& seen_events() {
    return seen;
}

std::vector<int32_t> types_for(WINDOW win) {
    std::vector<int32_t> types;
    for (const SeenEvent& s : seen)
        if (s.win == win) types.push_back(s.ev.type);
    return types;
}

std::vector<WYN_MSG_ID>& reported_ids() {
    return reported;
}

void pump() {
    for (int i = 0; i < 5; ++i) wynk_app_process_pending_events();
}

void ToolkitTest::SetUp() {
    ensure_qt_application();
    seen.clear();
    reported.clear();
    startup_.version = &program_version;
    startup_.cmd_line = "";
    ASSERT_TRUE(wynwi_Begin(&startup_));
    ASSERT_TRUE(wynwi_Init(&startup_));
    wynv_vobj_set_attr(nullptr, ATTR_ERROR_HANDLER, reinterpret_cast<ATTR_VALUE>(record_error));
}

void ToolkitTest::TearDown() {
    wynwi_End();
}

void ToolkitTest::startApp(EVENT_HANDLER task_handler) {
    wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect_));
    ASSERT_TRUE(app_start(0, task_handler, &config_));
    pump();
}

WINDOW ToolkitTest::makeChild(const RCT& rct, EVENT_HANDLER handler, uint32_t flags) {
    return wynk_win_create(WT_PLAIN, &rct, "child", 0, core().task, flags, EM_ALL, handler, 0);
}
