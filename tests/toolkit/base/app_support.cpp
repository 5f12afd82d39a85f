// The fixture that begins and ends the toolkit around each test, over the tests' shared Qt
// application.
#include "toolkit/base/app_support.h"

#include <QApplication>
#include <iterator>
#include <string>
#include <vector>

#include "err_support.h"
#include "kernel/app_loop.h"
#include "portable/core_state.h"
#include "res_builder.h"

namespace {

const WYN_VERSION program_version = {4, 50, 0, 4, 50, 0};

std::vector<SeenEvent> seen;
std::vector<WYN_MSG_ID> reported;

int32_t record_error(WYN_ERRMSG* msg, intptr_t) {
    reported.push_back(wynv_errmsg_get_msg_id(msg));
    return 1;
}

const WYN_RES_STRING bare_strings[] = {{30399, "norva"}};
const WYN_RES_ACCEL_TABLE bare_accels[] = {{9001, 0, nullptr}};

// An empty database as raw-data blocks: the descriptor block and one block holding it all.
struct BareDatabase {
    std::vector<uint8_t> bytes = restest::build_db({});
    std::string descriptor = std::to_string(bytes.size()) + " 10001 512";
    WYN_RES_RAW raw[2] = {
        {10000, uint32_t(descriptor.size()), reinterpret_cast<const uint8_t*>(descriptor.data())},
        {10001, uint32_t(bytes.size()), bytes.data()}};
};

WYN_RES_MODULE& bare_module() {
    static WYN_RES_MODULE module = [] {
        WYN_RES_MODULE m{};
        give_startup_resources(m);
        return m;
    }();
    return module;
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

void give_startup_resources(WYN_RES_MODULE& module) {
    static const BareDatabase database;
    if (!module.strings) {
        module.strings = bare_strings;
        module.string_count = std::size(bare_strings);
    }
    if (!module.accels) {
        module.accels = bare_accels;
        module.accel_count = std::size(bare_accels);
    }
    if (!module.raw) {
        module.raw = database.raw;
        module.raw_count = std::size(database.raw);
    }
}

void ToolkitTest::SetUp() {
    ensure_qt_application();
    seen.clear();
    reported.clear();
    startup_.version = &program_version;
    startup_.cmd_line = "";
    if (!wynwi_get_resources()) {
        bare_resources_ = true;
        wynwi_set_resources(&bare_module());
        config_.menu_bar_id = 0;
    }
    ASSERT_TRUE(wynwi_Begin(&startup_));
    ASSERT_TRUE(wynwi_Init(&startup_));
    wynv_vobj_set_attr(nullptr, ATTR_ERROR_HANDLER, reinterpret_cast<ATTR_VALUE>(record_error));
}

void ToolkitTest::TearDown() {
    wynwi_End();
    if (bare_resources_ && wynwi_get_resources() == &bare_module()) wynwi_set_resources(nullptr);
}

void ToolkitTest::startApp(EVENT_HANDLER task_handler) {
    wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect_));
    ASSERT_TRUE(app_start(0, task_handler, &config_));
    pump();
}

WINDOW ToolkitTest::makeChild(const RCT& rct, EVENT_HANDLER handler, uint32_t flags) {
    return wynk_win_create(WT_PLAIN, &rct, "child", 0, core().task, flags, EM_ALL, handler, 0);
}
