// What text edits draw: the highlight in exchanged colours, the border, the caret's place, and
// hosted text edits made from window definitions with their notifications and menu items.
#include <cstdlib>
#include <wyn/dlg.h>
#include <wyn/menu.h>

#include "tx_support.h"

namespace {

constexpr uint32_t blue = 0x0000FF, yellow = 0xFFFF00, red = 0xFF0000;

bool near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 60) return false;
    return true;
}

class tx_draw : public tx_test {
  protected:
    void snap(WINDOW win) {
        pump();
        image_ = wyn::testing::window_image(win);
        ASSERT_FALSE(image_.empty());
    }
    int count(int left, int top, int right, int bottom, uint32_t rgb) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += near(px(x, y), rgb);
        return n;
    }
    int line_height() const {
        tx::ref r(tx_);
        return r->line_height;
    }
};

class tx_hosted : public tx_test {
  protected:
    tx_hosted() : tx_test(false) {}
};

} // namespace

TEST_F(tx_draw, TheHighlightExchangesTheColoursAndTheBorderFramesTheText) {
    ASSERT_TRUE(make(TX_WRAP | TX_BORDER, RCT{10, 10, 110, 210}));
    wynv_tx_set_colors(tx_, COLOR_BLUE, COLOR_RED, COLOR_YELLOW);
    wynv_tx_add_par(tx_, TX_PAR_END, "MMMM MMMM");
    wynv_tx_set_active(tx_);
    wynv_tx_set_sel(tx_, 0, 0, 0, 0, 0, 4);
    snap(parent_);
    const int lh = line_height(), split = 14 + x_of(0, 0, 4);
    EXPECT_GT(count(14, 14, split, 14 + lh, blue), count(14, 14, split, 14 + lh, yellow))
        << "selected: yellow text on blue";
    EXPECT_GT(count(split + 2, 14, 206, 14 + lh, yellow), count(split + 2, 14, 206, 14 + lh, blue));
    EXPECT_EQ(count(14, 14 + lh, 206, 106, yellow), 192 * (92 - lh)) << "empty rows are background";
    for (int x = 30; x < 210; x += 20) {
        EXPECT_TRUE(near(px(x, 10), red)) << x;
        EXPECT_TRUE(near(px(x, 109), red)) << x;
        EXPECT_TRUE(near(px(x, 12), yellow)) << x;
    }
    wynv_tx_set_attr(tx_, TX_WRAP);
    snap(parent_);
    EXPECT_TRUE(near(px(30, 10), blue) || near(px(30, 10), yellow)) << "without a border: text area";
    EXPECT_EQ(count(10, 10, 210, 110, red), 0);
}

TEST_F(tx_draw, TheCaretStandsAtItsCharacterAfterMoves) {
    ASSERT_TRUE(make(TX_WRAP, RCT{10, 10, 110, 210}));
    wynv_tx_add_par(tx_, TX_PAR_END, "first line");
    wynv_tx_add_par(tx_, TX_PAR_END, "second");
    wynv_tx_set_active(tx_);
    key(KEY_HOME);
    key(KEY_RIGHT);
    key(KEY_RIGHT);
    EXPECT_TRUE(tx::st().caret_shown);
    EXPECT_EQ(tx::st().caret.h, 10 + x_of(0, 0, 2));
    EXPECT_EQ(tx::st().caret.v, 10);
    key(KEY_DOWN);
    EXPECT_EQ(tx::st().caret.v, 10 + line_height());
    EXPECT_EQ(tx::st().caret.h, 10 + x_of(1, 0, uint16_t(caret()[2])));
    key(KEY_LINE_END, true);
    EXPECT_FALSE(tx::st().caret_shown) << "no caret over a selection";
}

TEST_F(tx_hosted, DefinitionsMakeHostedTextEditsThatNotifyTheirParent) {
    char hello[] = "Hello there";
    WIN_DEF def[3] = {};
    def[0].type = WT_PLAIN;
    def[0].rct = RCT{0, 0, 200, 300};
    def[1].type = WT_TEXT_EDIT;
    def[1].rct = RCT{20, 20, 120, 220};
    def[1].text = hello;
    def[1].menu_or_id = 7;
    def[1].flags = 0u | (50u << 16);
    def[1].tx_attrs = TX_WRAP;
    WINDOW win = wynk_win_create_def(def, parent_, EM_ALL, record_event, 0);
    ASSERT_NE(win, nullptr);
    tx_ = wynv_tx_get_tx(win, 7);
    ASSERT_NE(tx_, nullptr);
    EXPECT_EQ(wynv_win_get_tx(static_cast<WINDOW>(tx_)), tx_);
    EXPECT_EQ(wynv_tx_get_tx(win, 8), nullptr);
    EXPECT_TRUE(wynv_tx_is_valid(tx_));
    EXPECT_EQ(wynv_tx_get_limit(tx_), 50);
    EXPECT_EQ(wynv_tx_get_cid(tx_), 7);
    EXPECT_EQ(text(), "Hello there");
    RCT view{};
    wynv_tx_get_view(tx_, &view);
    EXPECT_EQ(view.left, 20);
    EXPECT_EQ(view.top, 20);

    wynv_tx_set_active(tx_);
    key(KEY_END);
    type("!");
    EXPECT_EQ(text(), "Hello there!");
    bool changed = false;
    for (const SeenEvent& s : seen_events())
        changed |= s.win == win && s.ev.type == E_CONTROL && s.ev.v.ctl.id == 7 &&
                   s.ev.v.ctl.ci.type == TX_CONTROL_TYPE && s.ev.v.ctl.ci.v.edit.focus_change == 0;
    EXPECT_TRUE(changed) << "a typed character notifies the parent";
    key(KEY_HOME, true);
    EVENT cmd{};
    cmd.type = E_COMMAND;
    cmd.v.cmd.tag = MENU_TAG_CUT;
    wynk_win_dispatch_event(win, &cmd);
    EXPECT_EQ(text(), "") << "the parent's menu command reaches the focused text edit";

    wynk_vobj_destroy(win);
    pump();
    EXPECT_FALSE(wynv_tx_is_valid(tx_));
    EXPECT_EQ(wynv_tx_get_next_tx(nullptr, nullptr), nullptr);
    EXPECT_TRUE(reported_ids().empty());
}
