// The table control's lines, buffer, selection, keys, scrolling and copying, worked in process.
#include <string>

#include "table_support.h"

namespace {

int calls = 0;

// Lines a page of the control shows.
int32_t page_of(WINDOW ctl) {
    table_properties p;
    table_get_properties(ctl, &p);
    RCT client{};
    wyn_vobj_get_client_rect(ctl, &client);
    return (client.bottom - client.top - p.heading_height) / p.line_height;
}
std::vector<int32_t> asked;

const char* counting_line(WINDOW, table_model*, int32_t line, int16_t*) {
    static std::string text;
    ++calls;
    asked.push_back(line);
    text = "row " + std::to_string(line);
    return text.c_str();
}

void set_flags(WINDOW ctl, uint32_t set, uint32_t clear, int32_t buffer_lines = 0) {
    table_properties p;
    ASSERT_TRUE(table_get_properties(ctl, &p));
    p.flags = (p.flags & ~clear) | set;
    if (buffer_lines) p.buffer_lines = buffer_lines;
    ASSERT_TRUE(table_set_properties(ctl, &p));
}

int count_of(const std::vector<std::string>& list, const std::string& text) {
    int n = 0;
    for (const std::string& s : list) n += s == text;
    return n;
}

} // namespace

TEST_F(table_test, PrintfMakesOneLinePerLineFeedAndOneForTheLastPiece) {
    make_table();
    table_printf(table_, "first\nsecond");
    EXPECT_EQ(table_line_count(table_), 2);
    table_printf(table_, "%s\n", "third");
    ASSERT_EQ(table_line_count(table_), 4);
    EXPECT_STREQ(table_get_line(table_, 0), "first");
    EXPECT_STREQ(table_get_line(table_, 1), "second");
    EXPECT_STREQ(table_get_line(table_, 2), "third");
    EXPECT_STREQ(table_get_line(table_, 3), "");
    EXPECT_EQ(table_get_line(table_, 4), nullptr);
    table_properties p;
    table_get_properties(table_, &p);
    EXPECT_EQ(p.flags & (TF_CALLBACK | TF_RING | TF_APPENDED | TF_NO_CLIP | TF_SEPARATORS),
              uint32_t(TF_RING | TF_APPENDED | TF_NO_CLIP));
    EXPECT_GE(p.buffer_lines, table_printf_min_lines);
}

TEST_F(table_test, LinesSharingASlotAreFetchedAgainThroughTheCallback) {
    make_table();
    set_flags(table_, 0, 0, 100);
    table_display(table_, 1000, counting_line, nullptr);
    calls = 0;
    asked.clear();
    EXPECT_STREQ(table_get_line(table_, 150), "row 150");
    EXPECT_STREQ(table_get_line(table_, 150), "row 150");
    EXPECT_EQ(calls, 1) << "a line in its slot is not fetched again";
    EXPECT_STREQ(table_get_line(table_, 50), "row 50");
    EXPECT_STREQ(table_get_line(table_, 150), "row 150");
    EXPECT_EQ(asked, (std::vector<int32_t>{150, 50, 150}));
}

TEST_F(table_test, AppendedLinesOverwrittenInTheRingCanNoLongerBeShown) {
    make_table();
    for (int i = 0; i < 60; ++i) table_printf(table_, "line %d", i);
    EXPECT_STREQ(table_get_line(table_, 59), "line 59");
    EXPECT_STREQ(table_get_line(table_, 5), "---") << "slot 5 now holds line 55";
    key(KEY_HOME, true);
    EXPECT_GE(table_first_visible(table_), 10) << "the view stops at line count less buffer";
}

TEST_F(table_test, GrowthStopsAt5461SlotsWithOneError) {
    make_table();
    table_printf(table_, "start");
    set_flags(table_, TF_GROW, 0);
    std::string text = "line 1";
    for (int i = 2; i < 6000; ++i) text += "\nline " + std::to_string(i);
    table_printf(table_, "%s", text.c_str());
    table_printf(table_, "one more");
    EXPECT_EQ(count_of(dialogs(), "Can't expand table buffer."), 1);
    table_properties p;
    table_get_properties(table_, &p);
    EXPECT_EQ(p.buffer_lines, table_max_buffer_lines);
    EXPECT_STREQ(table_get_line(table_, 5460), "line 5460");
    EXPECT_STREQ(table_get_line(table_, 5461), "---") << "no line stored beyond the buffer";
    EXPECT_STREQ(table_get_line(table_, 0), "start") << "nor over the first lines";
}

TEST_F(table_test, SetSelOnAllLinesSelectsAndDeselectsWithNotify102) {
    make_table();
    set_flags(table_, 0, 0, 20);
    table_display(table_, 30, counting_line, nullptr);
    notes().clear();
    table_set_sel(table_, -1, 1);
    EXPECT_EQ(selected().size(), 30u) << "lines beyond the buffer keep their state too";
    EXPECT_EQ(notes().size(), 30u);
    EXPECT_EQ(notes()[0].code, TN_SEL_CHANGED);
    notes().clear();
    table_set_sel(table_, -1, 0);
    EXPECT_TRUE(selected().empty());
    ASSERT_FALSE(notes().empty());
    EXPECT_EQ(notes().back().code, TN_DESELECT_ALL);
    EXPECT_EQ(notes().back().line, 0);
}

TEST_F(table_test, ShiftAndControlClicksInMultipleSelection) {
    make_table();
    table_display(table_, 40, counting_line, nullptr);
    set_flags(table_, TF_SELECT | TF_MULTI_SELECT, 0, 40);
    table_properties p;
    table_get_properties(table_, &p);
    const int16_t h = int16_t(p.line_height);
    auto y = [&](int line) { return int16_t(line * h + h / 2); };
    mouse(E_MOUSE_DOWN, 10, y(2));
    mouse(E_MOUSE_UP, 10, y(2));
    mouse(E_MOUSE_DOWN, 10, y(5), true);
    mouse(E_MOUSE_UP, 10, y(5));
    EXPECT_EQ(selected(), (std::vector<int32_t>{2, 3, 4, 5}));
    mouse(E_MOUSE_DOWN, 10, y(3), false, true);
    mouse(E_MOUSE_UP, 10, y(3));
    EXPECT_EQ(selected(), (std::vector<int32_t>{2, 4, 5})) << "control-click toggles";
    mouse(E_MOUSE_DOWN, 10, y(1), true);
    mouse(E_MOUSE_UP, 10, y(1));
    EXPECT_EQ(selected(), (std::vector<int32_t>{1, 2, 3})) << "range from the new anchor";
    mouse(E_MOUSE_DOWN, 10, y(7));
    mouse(E_MOUSE_UP, 10, y(7));
    EXPECT_EQ(selected(), (std::vector<int32_t>{7})) << "a plain click selects one line";
    ASSERT_FALSE(notes().empty());
    EXPECT_EQ(notes().back().code, TN_MOUSE_UP);
    EXPECT_EQ(notes().back().line, 7);
}

TEST_F(table_test, KeysMoveTheCursorAndCtrlEndReachesTheLastLine) {
    make_table();
    table_display(table_, 1000000, counting_line, nullptr);
    set_flags(table_, TF_SELECT, TF_MULTI_SELECT, 100);
    key(KEY_END, true);
    EXPECT_EQ(table_cursor(table_), 999999);
    EXPECT_EQ(selected(), (std::vector<int32_t>{999999}));
    const int32_t page = page_of(table_);
    EXPECT_EQ(table_first_visible(table_), 1000000 - page);
    key(KEY_UP);
    EXPECT_EQ(table_cursor(table_), 999998);
    key(KEY_HOME, true);
    EXPECT_EQ(table_cursor(table_), 0);
    EXPECT_EQ(table_first_visible(table_), 0);
    table_jump(table_, 500, TRUE);
    EXPECT_EQ(table_first_visible(table_), 500 - page / 2);
}

TEST_F(table_test, ThumbPositionFollowsTheFormulaBothWays) {
    make_table();
    table_display(table_, 1000, counting_line, nullptr);
    const int32_t most = 1000 - page_of(table_);
    table_jump(table_, 500, FALSE);
    const int32_t first = table_first_visible(table_);
    EXPECT_EQ(wyn_sbar_get_pos(table_, SCROLL_VERT), first * 200 / most);
    EVENT ev{};
    ev.type = E_VSCROLL;
    ev.v.scroll.what = SC_THUMB;
    ev.v.scroll.pos = 100;
    wynk_win_dispatch_event(table_, &ev);
    EXPECT_EQ(table_first_visible(table_), most * 100 / 200);
    ev.v.scroll.pos = 200;
    wynk_win_dispatch_event(table_, &ev);
    EXPECT_EQ(table_first_visible(table_), most);
    ev.v.scroll.what = SC_LINE_DOWN;
    wynk_win_dispatch_event(table_, &ev);
    EXPECT_EQ(table_first_visible(table_), most) << "nothing at the end";
}

TEST_F(table_test, CopyingWarnsFrom64KWithItsTerminator) {
    make_table();
    set_flags(table_, TF_SELECT | TF_MULTI_SELECT, 0);
    table_printf(table_, "%s", std::string(65533, 'x').c_str());
    table_set_sel(table_, 0, 1);
    EXPECT_TRUE(table_copy(table_));
    EXPECT_EQ(count_of(dialogs(),
                       "> 64K copied (65536 bytes); clipboard may contain corrupted text."),
              1);
    dialogs().clear();
    table_clear(table_);
    table_printf(table_, "%s", std::string(65532, 'x').c_str());
    table_set_sel(table_, 0, 1);
    EXPECT_TRUE(table_copy(table_));
    EXPECT_TRUE(dialogs().empty());
    ASSERT_TRUE(wyn_cb_open(FALSE));
    int32_t size = 0;
    const char* text = static_cast<const char*>(wyn_cb_get_data(CB_FORMAT_TEXT, nullptr, &size));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(size, 65534);
    EXPECT_EQ(std::string(text + 65532, 2), "\r\n");
    wyn_cb_free_data();
    wyn_cb_close();
}

TEST_F(table_test, MisuseIsRefusedByName) {
    make_table();
    EXPECT_EQ(table_get_line(parent_, 0), nullptr);
    table_clear(parent_);
    EXPECT_EQ(dialogs(), (std::vector<std::string>{"table_get_line called with invalid window.",
                                                   "table_clear called with invalid window."}));
    dialogs().clear();
    table_properties p;
    table_get_properties(table_, &p);
    p.release = 3;
    EXPECT_FALSE(table_set_properties(table_, &p));
    EXPECT_FALSE(table_set_properties(parent_, &p));
    EXPECT_EQ(dialogs(),
              (std::vector<std::string>{"table_set_properties called with an R3 properties structure.",
                                        "table_set_properties called with invalid window/props."}));
}

TEST_F(table_test, TheLineCallbackHearsMinusOneWhenTheControlGoes) {
    make_table();
    table_display(table_, 10, counting_line, nullptr);
    asked.clear();
    wyn_vobj_destroy(table_);
    pump();
    EXPECT_EQ(asked, (std::vector<int32_t>{-1}));
    EXPECT_FALSE(custom_ctl_is(table_, nullptr));
    EXPECT_EQ(custom_ctl_find(parent_, 1), nullptr);
}

TEST_F(table_test, ATableWindowHoldsOneTableFillingIt) {
    const RCT rct{40, 40, 240, 340};
    WINDOW ctl = table_window_create(&rct, "Lines", 0);
    ASSERT_NE(ctl, nullptr);
    pump();
    EXPECT_TRUE(dialogs().empty());
    WINDOW win = wyn_vobj_get_parent(ctl);
    RCT window_client{}, outer{};
    wyn_vobj_get_client_rect(win, &window_client);
    wyn_vobj_get_outer_rect(ctl, &outer);
    EXPECT_LE(outer.right - outer.left, window_client.right - window_client.left + 1);
    EXPECT_GE(outer.right - outer.left, window_client.right - window_client.left - 1);
    table_properties p;
    table_get_properties(ctl, &p);
    EXPECT_EQ(p.flags & TF_EDGES, uint32_t(TF_EDGES));
    table_printf(ctl, "one\ntwo");
    EXPECT_STREQ(table_get_line(ctl, 1), "two");
    wyn_vobj_destroy(win);
    pump();
}
