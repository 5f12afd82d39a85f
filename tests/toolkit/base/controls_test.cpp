// Controls: the E_CONTROL each type sends and its per-type part, buttons that leave their state
// to the application, edit and list-edit notifications, scroll actions, and titles.
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>

#include "kernel/controls.h"
#include "kernel/scrollbars.h"
#include "portable/core_state.h"
#include "toolkit/base/controls_support.h"
#include <wyn/list.h>
#include <wyn/nav.h>
#include <wyn/sbar.h>

TEST_F(ControlTest, PushButtonClickReachesTheParentAsControlEvent) {
    WINDOW button = make(WT_PUSH_BUTTON, 7, RCT{10, 10, 34, 90}, "~OK");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->kind, WK_CONTROL);
    EXPECT_EQ(wynk_win_get_ctl(window_, 7), button);
    EXPECT_EQ(wynk_ctl_get_id(button), 7);
    click(native(button));
    EXPECT_TRUE(control_events(window_).empty()) << "posted, not sent while the click runs";
    pump();
    auto events = control_events(window_);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].v.ctl.id, 7);
    EXPECT_EQ(events[0].v.ctl.ci.type, WT_PUSH_BUTTON);
    EXPECT_EQ(events[0].v.ctl.ci.win, button);
    EXPECT_TRUE(types_for(button).empty()) << "the control itself hears nothing";
}

TEST_F(ControlTest, CheckBoxesAndRadioButtonsNeverToggleThemselves) {
    WINDOW box = make(WT_CHECK_BOX, 3, RCT{10, 10, 30, 120}, "Logging");
    WINDOW f = make(WT_RADIO_BUTTON, 4, RCT{40, 10, 60, 60}, "F", CTL_FLAG_CHECKED);
    WINDOW c = make(WT_RADIO_BUTTON, 5, RCT{40, 70, 60, 120}, "C");
    EXPECT_TRUE(wynk_ctl_is_checked(f));

    click(native(box));
    click(native(c));
    pump();
    EXPECT_FALSE(wynk_ctl_is_checked(box));
    EXPECT_FALSE(wynk_ctl_is_checked(c));
    EXPECT_TRUE(wynk_ctl_is_checked(f));
    auto events = control_events(window_);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].v.ctl.ci.type, WT_CHECK_BOX);
    EXPECT_EQ(events[1].v.ctl.ci.type, WT_RADIO_BUTTON);

    // What the application decides, without a further event.
    wynk_ctl_set_checked(box, TRUE);
    const WINDOW group[] = {f, c};
    wynk_ctl_check_radio_button(window_, c, group, 2);
    pump();
    EXPECT_TRUE(wynk_ctl_is_checked(box));
    EXPECT_TRUE(wynk_ctl_is_checked(c));
    EXPECT_FALSE(wynk_ctl_is_checked(f));
    EXPECT_EQ(control_events(window_).size(), 2u);
    click(native(box));
    pump();
    EXPECT_TRUE(wynk_ctl_is_checked(box));
}

TEST_F(ControlTest, EditReportsTextChangesAndFocusChanges) {
    WINDOW edit = make(WT_EDIT, 42, RCT{10, 10, 30, 200});
    auto* line = static_cast<QLineEdit*>(native(edit));
    line->insert(QStringLiteral("ups1"));
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(line, &in);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(line, &out);
    pump();
    auto events = control_events(window_);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].v.ctl.ci.type, WT_EDIT);
    EXPECT_EQ(events[0].v.ctl.ci.v.edit.focus_change, 0);
    EXPECT_EQ(events[1].v.ctl.ci.v.edit.focus_change, 1);
    EXPECT_EQ(events[1].v.ctl.ci.v.edit.active, 1);
    EXPECT_EQ(events[2].v.ctl.ci.v.edit.focus_change, 1);
    EXPECT_EQ(events[2].v.ctl.ci.v.edit.active, 0);
    char title[16];
    EXPECT_STREQ(wynk_vobj_get_title(edit, title, sizeof title), "ups1");

    wynk_ctl_set_text_sel(edit, 1, 3);
    int32_t first = -1, last = -1;
    wynk_ctl_get_text_sel(edit, &first, &last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 3);
}

namespace {

std::string title_at_event;

int32_t remember_title(WINDOW win, EVENT* ev) {
    if (ev->type == E_CONTROL) {
        char buf[32] = "";
        wynk_vobj_get_title(ev->v.ctl.ci.win, buf, sizeof buf);
        title_at_event = buf;
    }
    return record_event(win, ev);
}

} // namespace

TEST_F(ControlTest, ListEditChoiceIsInTheTitleBeforeTheEvent) {
    window_->handler = remember_title;
    WINDOW combo = make(WT_LIST_EDIT, 9, RCT{10, 10, 100, 150}, "typed");
    ASSERT_TRUE(wynk_list_add(combo, -1, "COM1"));
    ASSERT_TRUE(wynk_list_add(combo, -1, "COM2"));
    char title[16];
    EXPECT_STREQ(wynk_vobj_get_title(combo, title, sizeof title), "typed")
        << "adding elements keeps the edit field's text";
    pump();
    EXPECT_TRUE(control_events(window_).empty());

    static_cast<QComboBox*>(native(combo))->setCurrentIndex(1);
    pump();
    auto events = control_events(window_);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].v.ctl.ci.type, WT_LIST_EDIT);
    EXPECT_EQ(events[0].v.ctl.ci.v.edit.focus_change, 0);
    EXPECT_EQ(title_at_event, "COM2");
}

TEST(ScrollActions, QtActionsMapToTheToolkitsScrollActions) {
    struct Case {
        int action;
        int32_t what;
        int16_t pos;
    };
    const Case cases[] = {
        {QAbstractSlider::SliderSingleStepSub, SC_LINE_UP, 0},
        {QAbstractSlider::SliderSingleStepAdd, SC_LINE_DOWN, 0},
        {QAbstractSlider::SliderPageStepSub, SC_PAGE_UP, 0},
        {QAbstractSlider::SliderPageStepAdd, SC_PAGE_DOWN, 0},
        {QAbstractSlider::SliderToMinimum, SC_THUMB, -5},
        {QAbstractSlider::SliderToMaximum, SC_THUMB, 60},
        {QAbstractSlider::SliderMove, SC_THUMB_DRAG, 17},
    };
    for (const Case& c : cases) {
        const ScrollReport r = sbar_map_action(c.action, 17, -5, 60);
        EXPECT_TRUE(r.send) << c.action;
        EXPECT_EQ(r.what, c.what) << c.action;
        EXPECT_EQ(r.pos, c.pos) << c.action;
    }
    EXPECT_FALSE(sbar_map_action(QAbstractSlider::SliderNoAction, 17, -5, 60).send);
}

TEST_F(ControlTest, ScrollBarControlReportsActionsAndMovesOnlyWhenTold) {
    WINDOW bar = make(WT_HSCROLL, 5, RCT{10, 10, 200, 110});
    ASSERT_NE(bar, nullptr);
    auto* native_bar = static_cast<QScrollBar*>(native(bar));
    EXPECT_EQ(native_bar->height(), native_bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent))
        << "a bar keeps the standard thickness";
    wynk_sbar_set_range(bar, SCROLL_CTL, 0, 100);
    wynk_sbar_set_proportion(bar, SCROLL_CTL, 10);
    wynk_sbar_set_pos(bar, SCROLL_CTL, 200);
    EXPECT_EQ(wynk_sbar_get_pos(bar, SCROLL_CTL), 90) << "kept within max - proportion";
    int32_t min = -1, max = -1;
    wynk_sbar_get_range(bar, SCROLL_CTL, &min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 100);
    EXPECT_EQ(wynk_sbar_get_proportion(bar, SCROLL_CTL), 10);
    wynk_sbar_set_pos(bar, SCROLL_CTL, 40);

    native_bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    auto events = control_events(window_);
    ASSERT_EQ(events.size(), 1u) << "scroll actions are sent at once";
    EXPECT_EQ(events[0].v.ctl.ci.type, WT_HSCROLL);
    EXPECT_EQ(events[0].v.ctl.ci.v.scroll.what, SC_LINE_DOWN);
    EXPECT_EQ(events[0].v.ctl.ci.v.scroll.pos, 0);
    EXPECT_EQ(wynk_sbar_get_pos(bar, SCROLL_CTL), 40) << "the application moves the bar";

    native_bar->triggerAction(QAbstractSlider::SliderToMaximum);
    events = control_events(window_);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].v.ctl.ci.v.scroll.what, SC_THUMB);
    EXPECT_EQ(events[1].v.ctl.ci.v.scroll.pos, 100);
}

namespace {

// Moves the bar by the step the event asks for, as the configuration dialog's value bars do.
int32_t follow_bar(WINDOW win, EVENT* ev) {
    if (ev->type == E_CONTROL && ev->v.ctl.ci.v.scroll.what == SC_LINE_DOWN) {
        WINDOW bar = ev->v.ctl.ci.win;
        wynk_sbar_set_pos(bar, SCROLL_CTL, wynk_sbar_get_pos(bar, SCROLL_CTL) + 5);
    }
    return record_event(win, ev);
}

} // namespace

TEST_F(ControlTest, ScrollBarTakesThePositionItsHandlerSets) {
    window_->handler = follow_bar;
    WINDOW bar = make(WT_VSCROLL, 6, RCT{10, 10, 110, 30});
    auto* native_bar = static_cast<QScrollBar*>(native(bar));
    EXPECT_EQ(native_bar->width(), native_bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    wynk_sbar_set_range(bar, SCROLL_CTL, 0, 50);
    native_bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    native_bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(wynk_sbar_get_pos(bar, SCROLL_CTL), 10);
    EXPECT_EQ(control_events(window_)[0].v.ctl.ci.type, WT_VSCROLL);
}

TEST_F(ControlTest, WindowBarsExistOnlyForWindowsCreatedWithThem) {
    RCT rct{0, 0, 100, 100};
    WINDOW plain = window_;
    WINDOW scrolled =
        wynk_win_create(WT_PLAIN, &rct, "s", 0, core().task, WSF_VSCROLL, EM_ALL, record_event, 0);
    wynk_sbar_set_range(plain, SCROLL_VERT, 0, 10);
    int32_t min = -1, max = -1;
    wynk_sbar_get_range(plain, SCROLL_VERT, &min, &max);
    EXPECT_EQ(max, 0);
    wynk_sbar_set_range(scrolled, SCROLL_VERT, 0, 10);
    wynk_sbar_set_pos(scrolled, SCROLL_VERT, 4);
    EXPECT_EQ(wynk_sbar_get_pos(scrolled, SCROLL_VERT), 4);
    auto* bar = native(scrolled)->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    std::vector<int32_t> types = types_for(scrolled);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.back(), E_VSCROLL);
    EXPECT_EQ(seen_events().back().ev.v.scroll.what, SC_PAGE_UP);
}

TEST_F(ControlTest, WindowBarsTakeTheirRoomOutsideTheClientArea) {
    RCT rct{0, 0, 100, 120};
    WINDOW win = wynk_win_create(WT_PLAIN, &rct, "s", 0, core().task, WSF_HSCROLL | WSF_VSCROLL,
                                 EM_ALL, record_event, 0);
    ASSERT_NE(win, nullptr);
    pump();
    QWidget* surface = native(win);
    const int t = surface->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(surface->size(), QSize(120 + t, 100 + t));
    const auto last_size = [win] {
        EVENT size{};
        for (const SeenEvent& s : seen_events())
            if (s.win == win && s.ev.type == E_SIZE) size = s.ev;
        return size;
    };
    EXPECT_EQ(last_size().v.size.width, 120);
    EXPECT_EQ(last_size().v.size.height, 100);
    RCT client{};
    wynk_vobj_get_client_rect(win, &client);
    EXPECT_EQ(client.right, 120);
    EXPECT_EQ(client.bottom, 100);

    RCT moved{0, 0, 150, 200};
    wynk_vobj_move(win, &moved);
    EXPECT_EQ(surface->size(), QSize(200 + t, 150 + t)) << "moving also takes the client area";
    EXPECT_EQ(last_size().v.size.width, 200);
    EXPECT_EQ(last_size().v.size.height, 150);
    for (QScrollBar* bar : surface->findChildren<QScrollBar*>()) {
        const QRect expected =
            bar->orientation() == Qt::Vertical ? QRect(200, 0, t, 150) : QRect(0, 150, 200, t);
        EXPECT_EQ(bar->geometry(), expected);
    }
    EXPECT_EQ(surface->findChildren<QScrollBar*>().size(), 2);
}

TEST_F(ControlTest, TitlesKeepTheToolkitsMnemonicMarker) {
    EXPECT_EQ(ctl_native_title("~Save && ~~go"), QStringLiteral("&Save &&&& ~go"));
    EXPECT_EQ(ctl_native_title("~Save", true), QStringLiteral("Save"));
    EXPECT_EQ(ctl_toolkit_title(QStringLiteral("&Save && ~go")), QByteArray("~Save & ~~go"));
    WINDOW button = make(WT_PUSH_BUTTON, 1, RCT{10, 10, 30, 90}, "~Help");
    char title[16];
    EXPECT_STREQ(wynk_vobj_get_title(button, title, sizeof title), "~Help");
    wynk_vobj_set_title(button, "C~ancel");
    EXPECT_STREQ(wynk_vobj_get_title(button, title, sizeof title), "C~ancel");
    EXPECT_EQ(wynk_vobj_get_title(button, title, 0), nullptr);
    EXPECT_STREQ(wynk_vobj_get_title(button, title, 3), "C~");
}

TEST_F(ControlTest, ControlsThatAreNotCreatedLeaveNoObject) {
    const size_t before = core().windows.size();
    EXPECT_EQ(make(WT_TEXT_EDIT, 1, RCT{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(make(99, 1, RCT{0, 0, 10, 10}), nullptr);
    RCT rct{0, 0, 10, 10};
    EXPECT_EQ(wynk_ctl_create(WT_EDIT, &rct, "", 1, core().screen, 0, 0), nullptr);
    EXPECT_EQ(core().windows.size(), before);
}

TEST_F(ControlTest, InvisibleAndDisabledFlagsAndObjectOperations) {
    WINDOW hidden = make(WT_TEXT, 24, RCT{10, 10, 20, 80}, "Poll", CTL_FLAG_INVISIBLE);
    WINDOW grey = make(WT_EDIT, 25, RCT{30, 10, 50, 80}, "", CTL_FLAG_DISABLED);
    EXPECT_FALSE(wynk_vobj_get_flags(hidden) & VOBJ_FLAG_VISIBLE);
    EXPECT_TRUE(wynk_vobj_get_flags(grey) & VOBJ_FLAG_VISIBLE);
    EXPECT_FALSE(wynk_vobj_get_flags(grey) & VOBJ_FLAG_ENABLED);
    EXPECT_FALSE(wynk_vobj_is_focusable(grey));
    wynk_vobj_set_enabled(grey, TRUE);
    wynk_vobj_set_visible(hidden, TRUE);
    EXPECT_TRUE(wynk_vobj_get_flags(hidden) & VOBJ_FLAG_VISIBLE);
    EXPECT_TRUE(wynk_vobj_is_focusable(grey));

    const RCT moved{40, 20, 60, 120};
    wynk_vobj_move(grey, &moved);
    RCT outer{}, client{};
    wynk_vobj_get_outer_rect(grey, &outer);
    wynk_vobj_get_client_rect(grey, &client);
    EXPECT_EQ(outer.left, 20);
    EXPECT_EQ(outer.bottom, 60);
    EXPECT_EQ(client.right, 100);
    PNT p{5, 5};
    wynk_vobj_translate_points(grey, window_, &p, 1);
    EXPECT_EQ(p.h, 25);
    EXPECT_EQ(p.v, 45);

    wynk_vobj_destroy(grey);
    EXPECT_EQ(wynk_win_get_ctl(window_, 25), nullptr);
    EXPECT_EQ(wynk_ctl_get_id(grey), 0);
}

TEST_F(ControlTest, WindowListsAndNavigationGroupsNameTheirMembers) {
    WINDOW ok = make(WT_PUSH_BUTTON, 1, RCT{10, 10, 30, 90}, "OK");
    WINDOW text = make(WT_TEXT, 2, RCT{40, 10, 60, 90}, "Load");
    SLIST children = wynk_win_list_wins(window_);
    ASSERT_EQ(wynv_slist_count(children), 2);
    long data = 0;
    EXPECT_STREQ(wynv_slist_get_elt(children, 1, &data), "Load");
    EXPECT_EQ(reinterpret_cast<WINDOW>(data), text);
    wynv_slist_destroy(children);
    SLIST tops = wynv_scr_list_wins();
    EXPECT_GE(wynv_slist_count(tops), 1) << "the task window at least";
    wynv_slist_destroy(tops);
    int visited = 0;
    const WYN_ENUM_FN count_one = [](WINDOW, intptr_t n) -> BOOLEAN {
        return ++*reinterpret_cast<int*>(n) < 1 ? TRUE : FALSE;
    };
    wynv_win_enum_wins(window_, count_one, reinterpret_cast<intptr_t>(&visited));
    EXPECT_EQ(visited, 1) << "enumeration stops when told";

    NAV first = wynv_nav_create("first");
    NAV second = wynv_nav_create("second");
    EXPECT_TRUE(wynv_nav_add_win(first, ok));
    EXPECT_TRUE(wynv_nav_add_win(first, text));
    EXPECT_TRUE(wynv_nav_add_win(second, ok));
    EXPECT_EQ(wynv_win_get_nav(ok), second) << "a window is in one group at a time";
    wynk_vobj_destroy(text);
    SLIST members = wynv_nav_list_wins(first);
    EXPECT_EQ(wynv_slist_count(members), 0);
    wynv_slist_destroy(members);
    EXPECT_FALSE(wynv_nav_rem_win(first, ok));
    wynv_nav_destroy(second);
    EXPECT_EQ(wynv_win_get_nav(ok), nullptr);
    EXPECT_FALSE(wynv_nav_add_win(second, ok));
    wynv_nav_destroy(first);
}

TEST_F(ControlTest, ClipboardCommandsWorkOnTheFocusedEditOnly) {
    WINDOW edit = make(WT_EDIT, 3, RCT{10, 10, 30, 200}, "12345");
    auto* line = static_cast<QLineEdit*>(native(edit));
    native(window_)->window()->activateWindow();
    line->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), line);
    line->setSelection(1, 2);
    EXPECT_TRUE(ctl_edit_command(32030));
    EXPECT_EQ(line->text(), QStringLiteral("145"));
    EXPECT_FALSE(ctl_edit_command(32031));
    EXPECT_EQ(wynk_scr_get_focus_vobj(), edit);
}
