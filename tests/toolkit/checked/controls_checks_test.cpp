// The checked calls on controls, lists, scroll bars, dialogs and windows made from definitions:
// the control types each serves, the control named as target, the selection warning that
// proceeds, and the rules a definition meets before anything is built.
#include <functional>
#include <wyn/errfrm.h>
#include <wyn/font.h>
#include <wyn_checked.h>

#include "checked_support.h"

namespace {

WINDOW painted_list = nullptr;

// Tries to add to a list while painting.
int32_t add_while_painting(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_UPDATE) wyn_list_add(painted_list, -1, "late");
    return 0;
}

} // namespace

class ControlChecks : public CheckedWindowTest {
  protected:
    void SetUp() override {
        CheckedWindowTest::SetUp();
        win_ = makeChild(RCT{0, 0, 200, 300});
        ASSERT_NE(win_, nullptr);
        edit_ = makeControl(WT_EDIT, "hello world", 1);
        list_ = makeControl(WT_LIST_BOX, "", 2);
        button_ = makeControl(WT_PUSH_BUTTON, "OK", 3);
        scroll_ = makeControl(WT_VSCROLL, "", 4);
        ReportRecorder::all().clear();
    }
    WINDOW makeControl(int32_t type, const char* title, int16_t id) {
        RCT rct{static_cast<int16_t>(id * 30), 10, static_cast<int16_t>(id * 30 + 25), 150};
        WINDOW ctl = wynk_ctl_create(type, &rct, title, id, win_, 0, 0);
        EXPECT_NE(ctl, nullptr);
        return ctl;
    }
    WINDOW win_ = nullptr;
    WINDOW edit_ = nullptr;
    WINDOW list_ = nullptr;
    WINDOW button_ = nullptr;
    WINDOW scroll_ = nullptr;
};

TEST_F(ControlChecks, EachOperationTakesOnlyTheControlTypeItServes) {
    EXPECT_FALSE(wyn_list_add(button_, -1, "x"));
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tlist"));
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_ctl_is_checked(edit_));
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tctl"));
    ReportRecorder::all().clear();
    wyn_ctl_set_text_sel(list_, 0, 1);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tctl"));
    ReportRecorder::all().clear();

    EXPECT_TRUE(wyn_list_add(list_, -1, "alpha"));
    EXPECT_EQ(wyn_list_count_all(list_), 1);
    EXPECT_EQ(wyn_ctl_get_id(button_), 3);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(ControlChecks, FaultsInAControlsOwnArgumentsNameTheControl) {
    EXPECT_FALSE(wyn_list_get_elt(list_, 0, nullptr, 16));
    ASSERT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tlist"));
    EXPECT_EQ(ReportRecorder::all()[0].target, list_);
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_list_get_elt(nullptr, 0, nullptr, 16));
    ASSERT_TRUE(one_report(WYN_MSG_NULL_WINDOW, "tlist"));
    EXPECT_EQ(ReportRecorder::all()[0].target, nullptr);
}

// A selection whose end lies before its start is only a warning: the end is raised to the start.
TEST_F(ControlChecks, BackwardSelectionWarnsAndSelectsAtTheStart) {
    wyn_ctl_set_text_sel(edit_, 5, 2);
    ASSERT_TRUE(one_report(WYN_MSG_VALUE_TOO_LOW, "tctl", WYN_SEV_WARNING));
    EXPECT_EQ(ReportRecorder::all()[0].target, edit_);
    int32_t first = -1, last = -1;
    wyn_ctl_get_text_sel(edit_, &first, &last);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 5);
}

TEST_F(ControlChecks, ControlFontMustBeLiveOrNone) {
    wyn_font stale{};
    wyn_ctl_set_font(button_, &stale);
    ASSERT_TRUE(one_report(WYN_MSG_INVALID_FONT, "tctl"));
    EXPECT_EQ(ReportRecorder::all()[0].target, button_);
    EXPECT_EQ(wyn_ctl_get_font(button_), nullptr);
    ReportRecorder::all().clear();
    FONT font = wynv_font_create();
    wyn_ctl_set_font(button_, font);
    EXPECT_EQ(wyn_ctl_get_font(button_), font);
    wyn_ctl_set_font(button_, nullptr);
    EXPECT_EQ(wyn_ctl_get_font(button_), nullptr);
    EXPECT_TRUE(ReportRecorder::all().empty());
    wynv_font_destroy(font);
}

TEST_F(ControlChecks, ScrollTypeMustMatchTheObject) {
    wyn_sbar_set_pos(win_, static_cast<SCROLL_TYPE>(3), 1);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_SCROLL_TYPE, "tsbar"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_sbar_get_pos(win_, SCROLL_CTL), 0);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tsbar"));
    ReportRecorder::all().clear();
    wyn_sbar_set_proportion(scroll_, SCROLL_VERT, 1);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tsbar"));
    ReportRecorder::all().clear();

    wyn_sbar_set_range(scroll_, SCROLL_CTL, 0, 100);
    wyn_sbar_set_pos(scroll_, SCROLL_CTL, 40);
    EXPECT_EQ(wyn_sbar_get_pos(scroll_, SCROLL_CTL), 40);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(ControlChecks, ListIsLeftAloneDuringUpdate) {
    painted_list = list_;
    WINDOW painter = makeChild(RCT{220, 0, 260, 40}, add_while_painting);
    ReportRecorder::all().clear();
    EVENT ev{};
    ev.type = E_UPDATE;
    wynk_win_dispatch_event(painter, &ev);
    EXPECT_TRUE(one_report(WYN_MSG_DURING_UPDATE, "tlist"));
    EXPECT_EQ(wyn_list_count_all(list_), 0);
}

TEST_F(ControlChecks, EveryControlFaultUnmarks) {
    int32_t a = 0;
    WINDOW group[2] = {edit_, button_};
    char buf[8];
    const std::vector<std::function<void()>> calls = {
        [&] { wyn_ctl_get_text_sel(edit_, &a, nullptr); },
        [&] { wyn_ctl_check_radio_button(win_, button_, group, 2); },
        [&] { wyn_ctl_set_checked(list_, TRUE); },
        [&] { wyn_ctl_create(WT_TEXT_EDIT, nullptr, "t", 9, win_, 0, 0); },
        [&] { wyn_list_rem(list_, -2); },
        [&] { wyn_list_get_first_sel(list_, buf, 0); },
        [&] { wyn_list_set_sel(scroll_, 0, TRUE); },
        [&] { wyn_sbar_get_range(scroll_, SCROLL_CTL, &a, nullptr); },
        [&] { wyn_vobj_get_title(button_, buf, 0); },
        [&] { wyn_vobj_move(button_, nullptr); },
        [&] { wyn_win_get_ctl(button_, 1); },
        [&] { wyn_scr_set_focus_vobj(nullptr); },
        [&] { wyn_win_enum_wins(win_, nullptr, 0); },
    };
    expect_one_report_each(calls);
}

class DefinitionChecks : public CheckedWindowTest {
  protected:
    // A plain window with one push button, in character units.
    void SetUp() override {
        CheckedWindowTest::SetUp();
        def_[0] = WIN_DEF{};
        def_[0].type = WT_DOC;
        def_[0].rct = RCT{2, 2, 12, 40};
        def_[0].text = title_;
        def_[0].units = WU_CHARS;
        def_[0].flags = WSF_NO_MENUBAR;
        def_[1] = WIN_DEF{};
        def_[1].type = WT_PUSH_BUTTON;
        def_[1].rct = RCT{1, 1, 3, 10};
        def_[1].text = button_;
        def_[1].units = WU_CHARS;
        def_[1].menu_or_id = 1;
        def_[2] = WIN_DEF{};
    }
    WINDOW create() { return wyn_win_create_def(def_, task(), EM_ALL, record_event, 0); }
    char title_[8] = "Status";
    char button_[8] = "OK";
    WIN_DEF def_[3];
};

TEST_F(DefinitionChecks, SoundDefinitionIsBuiltAndKeepsItsUnits) {
    WINDOW win = create();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(def_[0].units, WU_CHARS);
    EXPECT_EQ(def_[0].rct.right, 40);
    EXPECT_NE(wyn_win_get_ctl(win, 1), nullptr);
}

TEST_F(DefinitionChecks, TopLevelWindowNeedsAMenuOrTheNoMenuFlag) {
    def_[0].flags = 0;
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_OBJECT, "twin"));
}

TEST_F(DefinitionChecks, RefusedDefinitionsBuildNothing) {
    const size_t before = seen_events().size();
    def_[1].u.ctl_flags = CTL_FLAG_PASSWORD; // not a push button's flag
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "twin"));
    def_[1].u.ctl_flags = 0;
    ReportRecorder::all().clear();

    def_[0].rct = RCT{5, 5, 5, 5};
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_RECT_FORMAT, "twin"));
    EXPECT_EQ(def_[0].units, WU_CHARS);
    def_[0].rct = RCT{2, 2, 12, 40};
    ReportRecorder::all().clear();

    wyn_font stale{};
    def_[1].font = &stale;
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_FONT, "twin"));
    def_[1].font = nullptr;
    ReportRecorder::all().clear();

    def_[0].type = WT_PUSH_BUTTON;
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "twin"));
    def_[0].type = WT_DOC;
    ReportRecorder::all().clear();

    EXPECT_EQ(wyn_win_create_def(def_, task(), EM_ALL, nullptr, 0), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_EVENT_HANDLER, "twin"));
    EXPECT_EQ(seen_events().size(), before);
}

TEST_F(DefinitionChecks, DialogTypeIdAndHandlerAreChecked) {
    EXPECT_EQ(wyn_dlg_create_res(WT_DOC, 100, EM_ALL, record_event, 0), nullptr);
    EXPECT_TRUE(one_report(0x1230005, "tdlg"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_dlg_create_res(WT_MODELESS_DLG, 30000, EM_ALL, record_event, 0), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "tdlg"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_dlg_create_res(WT_MODELESS_DLG, 100, EM_ALL, nullptr, 0), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_POINTER, "tdlg"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_dlg_create_def(def_, EM_ALL, record_event, 0), nullptr);
    EXPECT_TRUE(one_report(0x1230005, "tdlg"));
}
