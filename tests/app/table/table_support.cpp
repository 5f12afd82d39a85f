// The table tests' fixture: a parent window that records notifications and a responder that
// records dialogs instead of showing them.
#include "table_support.h"

#include <wyn/attr.h>
#include <wyn/win.h>

#include "kernel/std_dialogs.h"

namespace {

int record_dialog(const dm_request& request, char*, size_t) {
    table_test_dialogs().push_back(request.text ? request.text : "");
    return 0;
}

int32_t parent_handler(WINDOW, EVENT* ev) {
    if (ev->type == custom_notify_event && ev->v.user.ptr) {
        const auto* note = static_cast<const custom_notify*>(ev->v.user.ptr);
        if (note->kind == custom_notify_kind)
            table_test::notes().push_back({note->code, note->line, note->state});
    }
    return 0;
}

} // namespace

std::vector<std::string>& table_test_dialogs() {
    static std::vector<std::string> list;
    return list;
}

std::vector<seen_notify>& table_test::notes() {
    static std::vector<seen_notify> list;
    return list;
}

std::vector<std::string>& table_test::dialogs() {
    return table_test_dialogs();
}

void table_test::SetUp() {
    ToolkitTest::SetUp();
    startApp();
    notes().clear();
    dialogs().clear();
    previous_responder_ = reinterpret_cast<void*>(dm_set_responder(record_dialog));
    parent_ = makeChild(RCT{0, 0, 400, 500}, parent_handler);
    pump();
}

void table_test::TearDown() {
    if (parent_ && parent_->magic == WYN_WIN_MAGIC) wynk_vobj_destroy(parent_);
    dm_set_responder(reinterpret_cast<dm_responder>(previous_responder_));
    ToolkitTest::TearDown();
}

WINDOW table_test::make_table(std::vector<const char*> props) {
    const RCT rct{0, 0, 0, 0};
    table_ = table_create(1, &rct, int32_t(props.size()), props.data(), parent_, 0, 0);
    pump();
    return table_;
}

void table_test::mouse(int16_t type, int16_t x, int16_t y, bool shift, bool control) {
    EVENT ev{};
    ev.type = type;
    ev.v.mouse.where = PNT{y, x};
    ev.v.mouse.shift = shift;
    ev.v.mouse.control = control;
    wynk_win_dispatch_event(table_, &ev);
}

void table_test::key(uint16_t code, bool control, bool shift) {
    EVENT ev{};
    ev.type = E_CHAR;
    ev.v.chr.ch = code;
    ev.v.chr.virtual_key = TRUE;
    ev.v.chr.control = control;
    ev.v.chr.shift = shift;
    wynk_win_dispatch_event(table_, &ev);
}

std::vector<int32_t> table_test::selected() {
    std::vector<int32_t> lines;
    int32_t line = -1;
    for (const char* t = table_first_sel(table_, &line); t; t = table_next_sel(table_, &line))
        lines.push_back(line);
    return lines;
}

uint32_t table_test::px(int x, int y) {
    return image_.at(x, y) & 0xFFFFFF;
}

int table_test::count(int left, int top, int right, int bottom, uint32_t rgb) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (px(x, y) == rgb) ++n;
    return n;
}
