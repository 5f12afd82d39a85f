// The text edit tests' fixture: a parent window that passes its events to the library in raw
// mode and records change notifications and scroll reports.
#include "tx_support.h"

#include <wyn/attr.h>
#include <wyn/clipboard.h>
#include <wyn/win.h>

namespace {

int32_t parent_handler(WINDOW win, EVENT* ev) {
    if (ev->type == E_CONTROL && ev->v.ctl.ci.type == TX_CONTROL_TYPE)
        tx_test::notes().push_back(
            {ev->v.ctl.id, ev->v.ctl.ci.v.edit.focus_change, ev->v.ctl.ci.v.edit.active});
    return wynv_tx_process_event(win, ev) ? 1 : 0;
}

void record_scroll(TX, int32_t vert, int32_t total, int32_t hor) {
    tx_test::scrolls().push_back({vert, total, hor});
}

} // namespace

std::vector<std::vector<int>>& tx_test::notes() {
    static std::vector<std::vector<int>> list;
    return list;
}

std::vector<std::vector<int32_t>>& tx_test::scrolls() {
    static std::vector<std::vector<int32_t>> list;
    return list;
}

void tx_test::SetUp() {
    startup_.tx_create_def = wynv_tx_create_def;
    startup_.tx_get_tx = wynv_tx_get_tx;
    ToolkitTest::SetUp();
    startApp();
    wynv_vobj_set_attr(nullptr, ATTR_TX_RAW, raw_ ? 1 : 0);
    notes().clear();
    scrolls().clear();
    parent_ = makeChild(RCT{0, 0, 300, 400}, parent_handler);
    pump();
}

void tx_test::TearDown() {
    if (parent_ && parent_->magic == WYN_WIN_MAGIC) wynk_vobj_destroy(parent_);
    ToolkitTest::TearDown();
}

TX tx_test::make(uint16_t attr, RCT rct, int16_t margin, uint16_t limit) {
    tx_ = wynv_tx_create(parent_, &rct, attr, nullptr, margin, limit);
    if (tx_) wynv_tx_set_scroll_callback(tx_, record_scroll);
    return tx_;
}

WINDOW tx_test::target() const {
    return raw_ ? parent_ : static_cast<WINDOW>(tx_);
}

void tx_test::type(const std::string& text) {
    for (char c : text) {
        EVENT ev{};
        ev.type = E_CHAR;
        ev.v.chr.ch = c == '\n' ? uint16_t('\r') : uint16_t(uint8_t(c));
        wynk_win_dispatch_event(target(), &ev);
    }
}

void tx_test::key(uint16_t code, bool shift) {
    EVENT ev{};
    ev.type = E_CHAR;
    ev.v.chr.ch = code;
    ev.v.chr.virtual_key = TRUE;
    ev.v.chr.shift = shift;
    wynk_win_dispatch_event(target(), &ev);
}

void tx_test::mouse(int16_t type, int16_t x, int16_t y, bool shift) {
    EVENT ev{};
    ev.type = type;
    ev.v.mouse.where = PNT{y, x};
    ev.v.mouse.shift = shift;
    wynk_win_dispatch_event(target(), &ev);
}

void tx_test::command(int16_t tag) {
    EVENT ev{};
    ev.type = E_COMMAND;
    ev.v.cmd.tag = tag;
    wynk_win_dispatch_event(raw_ ? parent_ : static_cast<WINDOW>(tx_), &ev);
}

std::string tx_test::text() const {
    std::string out;
    const uint16_t pars = wynv_tx_get_num_pars(tx_);
    for (uint16_t p = 0; p < pars; ++p) {
        if (p) out += '|';
        wynv_tx_get_line(tx_, p, TX_LINE_OPEN, 0, nullptr);
        for (uint16_t l = 0; l < wynv_tx_get_num_par_lines(tx_, p); ++l) {
            int32_t len = 0;
            const char* s = wynv_tx_get_line(tx_, p, TX_LINE_READ, l, &len);
            if (s) out.append(s, size_t(len));
        }
        wynv_tx_get_line(tx_, p, TX_LINE_CLOSE, 0, nullptr);
    }
    return out;
}

std::vector<int> tx_test::caret() const {
    tx::ref r(tx_);
    return r ? std::vector<int>{r->end.par, r->end.line, r->end.ch} : std::vector<int>{};
}

int tx_test::x_of(uint16_t par, uint16_t line, uint16_t ch) const {
    tx::ref r(tx_);
    tx::draw_scope scope(*r, false);
    return tx::make_pos(*r, par, line, ch).x;
}

void tx_test::clip(const std::string& text) {
    ASSERT_TRUE(wynk_cb_open(TRUE));
    auto* data = static_cast<char*>(wynk_cb_alloc_data(int32_t(text.size())));
    ASSERT_NE(data, nullptr);
    std::copy(text.begin(), text.end(), data);
    EXPECT_TRUE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 0, nullptr));
    wynk_cb_close();
}

uint32_t tx_test::px(int x, int y) {
    return image_.at(x, y) & 0xFFFFFF;
}

void tx_test::consistent() const {
    const char* fault = tx::check_consistency(tx_);
    EXPECT_EQ(fault, nullptr) << fault;
}
