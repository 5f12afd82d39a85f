// Editing by keys, mouse and clipboard: paragraphs made, split and joined, limits, caret moves
// across wrapped lines, words, scrolling, and when drawing is suspended.
#include <wyn/clipboard.h>
#include <wyn/menu.h>

#include "tx_support.h"

namespace {

class tx_edit : public tx_test {
  protected:
    uint32_t suspensions() const { return tx::st().suspensions; }
    std::string clipboard() {
        if (!wynk_cb_open(FALSE)) return "";
        int32_t size = 0;
        const char* data = static_cast<const char*>(wynk_cb_get_data(CB_FORMAT_TEXT, nullptr, &size));
        std::string out = data ? std::string(data, size_t(size)) : "";
        wynk_cb_close();
        return out;
    }
};

} // namespace

TEST_F(tx_edit, TypingMakesTheFirstParagraphAndEnterAndBackspaceSplitAndJoin) {
    ASSERT_TRUE(make());
    type("abc");
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(caret(), (std::vector<int>{0, 0, 3}));
    key(KEY_LEFT);
    key(KEY_LEFT);
    type("\n");
    EXPECT_EQ(text(), "a|bc");
    EXPECT_EQ(caret(), (std::vector<int>{1, 0, 0}));
    // Enter at a paragraph's start puts an empty paragraph above and keeps the caret with its
    // text, so that typing goes on where it was.
    type("\nx");
    EXPECT_EQ(text(), "a||xbc");
    key(KEY_LINE_HOME);
    type("\b");
    EXPECT_EQ(text(), "a|xbc") << "backspace at a paragraph's start joins it to the one before";
    EXPECT_EQ(caret(), (std::vector<int>{1, 0, 0}));
    type("\b");
    EXPECT_EQ(text(), "axbc");
    EXPECT_EQ(caret(), (std::vector<int>{0, 0, 1}));
    key(KEY_LINE_END);
    type("\nyz");
    key(KEY_UP);
    key(KEY_LINE_END);
    key(KEY_DEL);
    EXPECT_EQ(text(), "axbcyz") << "delete at a paragraph's end joins the next one";
    key(KEY_HOME);
    key(KEY_END, true);
    type("Q");
    EXPECT_EQ(text(), "Q") << "a character replaces the selection";
    EVENT ev{};
    ev.type = E_CHAR;
    ev.v.chr.ch = 0x142;
    wynk_win_dispatch_event(target(), &ev);
    EXPECT_EQ(text(), "Q\xC5\x82") << "a character beyond Latin-1 is typed";
    ev.v.chr.ch = KEY_F1;
    ev.v.chr.virtual_key = TRUE;
    wynk_win_dispatch_event(target(), &ev);
    EXPECT_EQ(text(), "Q\xC5\x82") << "a function key types nothing";
    consistent();
}

TEST_F(tx_edit, LimitsOneParagraphModeAndOvertypeShapeWhatIsTyped) {
    ASSERT_TRUE(make(TX_WRAP | TX_ONE_PAR | TX_OVERTYPE, RCT{10, 10, 110, 210}, 0, 10));
    type("12345678");
    key(KEY_HOME);
    type("ab\n");
    EXPECT_EQ(text(), "ab345678") << "overtype replaces; Enter does nothing";
    key(KEY_END);
    type("cdef");
    EXPECT_EQ(text(), "ab345678cd") << "a limit of 10 takes 2 of 4";
    EXPECT_FALSE(wynv_tx_add_par(tx_, TX_PAR_END, "more"));
    wynv_tx_set_limit(tx_, 0);
    key(KEY_HOME);
    key(KEY_RIGHT, true);
    key(KEY_RIGHT, true);
    clip("1\r\n2\r\n3");
    command(MENU_TAG_PASTE);
    EXPECT_EQ(text(), "123345678cd") << "pasted line breaks are dropped";
    consistent();
}

TEST_F(tx_edit, CaretMovesVisitTheSharedPlaceOfWrappedLinesOnce) {
    ASSERT_TRUE(make(TX_WRAP, RCT{10, 10, 200, 110}));
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "alpha beta gamma delta epsilon zeta eta theta"));
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "iota"));
    ASSERT_GT(wynv_tx_get_num_par_lines(tx_, 0), 2);
    const int first_chars = wynv_tx_get_num_chars(tx_, 0, 0);
    wynv_tx_set_sel(tx_, 0, 1, 0, 0, 1, 0);
    key(KEY_LEFT);
    EXPECT_EQ(caret(), (std::vector<int>{0, 0, first_chars - 1}));
    key(KEY_RIGHT);
    EXPECT_EQ(caret(), (std::vector<int>{0, 1, 0}));
    key(KEY_LINE_HOME);
    key(KEY_LEFT);
    key(KEY_LINE_END);
    key(KEY_RIGHT);
    EXPECT_EQ(caret(), (std::vector<int>{0, 1, 1})) << "from a line's end to the second character";
    const uint16_t last = uint16_t(wynv_tx_get_num_par_lines(tx_, 0) - 1);
    wynv_tx_set_sel(tx_, 0, last, 99, 0, last, 99);
    key(KEY_RIGHT);
    EXPECT_EQ(caret(), (std::vector<int>{1, 0, 0}));
    key(KEY_LEFT);
    EXPECT_EQ(caret(), (std::vector<int>{0, last, wynv_tx_get_num_chars(tx_, 0, last)}));
    key(KEY_HOME);
    key(KEY_LEFT);
    EXPECT_EQ(caret(), (std::vector<int>{0, 0, 0}));
    key(KEY_WORD_RIGHT);
    EXPECT_EQ(caret(), (std::vector<int>{0, 0, 6})) << "start of the next word";
    key(KEY_WORD_RIGHT);
    key(KEY_WORD_LEFT);
    EXPECT_EQ(caret(), (std::vector<int>{0, 0, 6}));
    key(KEY_DOWN);
    EXPECT_EQ(caret()[1], 1);
    EXPECT_EQ(x_of(0, 1, uint16_t(caret()[2])), [&] { tx::ref r(tx_); return int(r->end.x); }());
    consistent();
}

TEST_F(tx_edit, PagingScrollingAndTheScrollCallBackStayWithinTheText) {
    ASSERT_TRUE(make(TX_WRAP | TX_AUTO_VSCROLL, RCT{10, 10, 210, 110}));
    for (const char* p : {"one", "two", "three"}) wynv_tx_add_par(tx_, TX_PAR_END, p);
    key(KEY_HOME);
    key(KEY_PAGE_DOWN);
    EXPECT_EQ(caret(), (std::vector<int>{2, 0, 0})) << "a short text: to the last line";
    int32_t first = -1;
    wynv_tx_get_origin(tx_, nullptr, nullptr, &first, nullptr);
    EXPECT_EQ(first, 0);
    for (int i = 0; i < 40; ++i) wynv_tx_add_par(tx_, TX_PAR_END, "more");
    const int vis = [&] { tx::ref r(tx_); return tx::visible_lines(*r); }();
    scrolls().clear();
    wynv_tx_scroll_vert(tx_, 1000);
    wynv_tx_get_origin(tx_, nullptr, nullptr, &first, nullptr);
    EXPECT_EQ(first, 43 - vis) << "the last line becomes the last visible one";
    EXPECT_EQ(scrolls(), (std::vector<std::vector<int32_t>>{{43 - vis, -1, -1}}));
    {
        tx::ref r(tx_);
        tx::draw_scope scope(*r, false);
        tx::scroll_pixels(*r, -1);
    }
    wynv_tx_get_origin(tx_, nullptr, nullptr, &first, nullptr);
    EXPECT_EQ(first, 42 - vis) << "one pixel up scrolls one whole line";
    key(KEY_HOME);
    wynv_tx_get_origin(tx_, nullptr, nullptr, &first, nullptr);
    EXPECT_EQ(first, 0) << "the caret is kept in view";
    wynv_tx_scroll_hor(tx_, 50);
    int32_t hor = -1;
    wynv_tx_get_origin(tx_, nullptr, nullptr, nullptr, &hor);
    EXPECT_EQ(hor, 0) << "with wrap the margin fits the view";
    consistent();
}

TEST_F(tx_edit, LargePastesAndDeletionsSuspendDrawing) {
    ASSERT_TRUE(make(0, RCT{10, 10, 200, 300}));
    clip(std::string(1000, 'p'));
    command(MENU_TAG_PASTE);
    EXPECT_EQ(suspensions(), 0u);
    clip(std::string(1001, 'q'));
    command(MENU_TAG_PASTE);
    EXPECT_EQ(suspensions(), 1u);
    EXPECT_EQ(wynv_tx_get_num_chars(tx_, 0, 0), 2001);
    for (int i = 0; i < 10; ++i) wynv_tx_add_par(tx_, TX_PAR_END, "line");
    wynv_tx_set_sel(tx_, 1, 0, 0, 5, 0, 1);
    key(KEY_DEL);
    EXPECT_EQ(suspensions(), 1u) << "5 lines are deleted as they are drawn";
    wynv_tx_set_sel(tx_, 1, 0, 0, 6, 0, 1);
    type("\b");
    EXPECT_EQ(suspensions(), 2u) << "6 lines suspend drawing";
    EXPECT_EQ(wynv_tx_get_num_pars(tx_), 1 + 10 - 4 - 5);
    consistent();
}

TEST_F(tx_edit, ClicksSelectAndTheClipboardJoinsParagraphs) {
    ASSERT_TRUE(make(TX_WRAP, RCT{10, 10, 110, 300}));
    wynv_tx_add_par(tx_, TX_PAR_END, "hello world");
    wynv_tx_add_par(tx_, TX_PAR_END, "second");
    mouse(E_MOUSE_DBL, int16_t(12 + x_of(0, 0, 7)), 12);
    mouse(E_MOUSE_UP, int16_t(12 + x_of(0, 0, 7)), 12);
    uint16_t v[6];
    wynv_tx_get_sel(tx_, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    EXPECT_EQ(std::vector<uint16_t>(v, v + 6), (std::vector<uint16_t>{0, 0, 6, 0, 0, 11}));
    mouse(E_MOUSE_DOWN, 10, 12);
    mouse(E_MOUSE_MOVE, 200, 100);
    mouse(E_MOUSE_UP, 200, 100);
    wynv_tx_get_sel(tx_, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    EXPECT_EQ(std::vector<uint16_t>(v, v + 6), (std::vector<uint16_t>{0, 0, 0, 1, 0, 6}));
    command(MENU_TAG_COPY);
    EXPECT_EQ(clipboard(), "hello world\r\nsecond");
    command(MENU_TAG_CUT);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(wynv_tx_get_num_pars(tx_), 1);
    consistent();

    wynv_tx_set_attr(tx_, TX_READONLY | TX_NO_COPY);
    wynv_tx_add_par(tx_, TX_PAR_END, "fixed");
    wynv_tx_set_sel(tx_, 1, 0, 2, 1, 0, 2);
    mouse(E_MOUSE_DOWN, 12, 12);
    mouse(E_MOUSE_UP, 12, 12);
    type("zz");
    EXPECT_EQ(caret(), (std::vector<int>{1, 0, 2})) << "clicks are ignored";
    EXPECT_EQ(text(), "|fixed");
    EXPECT_TRUE(reported_ids().empty());
}
