// The message panel: filling, scrolling, cutting and clearing its three lines, drawing them, and
// the time-stamped pop-up that collects messages while the task window is minimised.
#include "app/ui/status_support.h"

#include "files/clock.h"
#include "ui/message_panel.h"
#include "ui/status_draw.h"
#include "ui/ui_state.h"

#include <ctime>
#include <string>
#include <wyn/checked/list.h>
#include <wyn/checked/win.h>
#include <wyn/shell.h>
#include <wyn/testing.h>

namespace {

using message_panel_test = status_window_test;

std::string line(int i) {
    return message_panel_line(i);
}

std::string padded(const std::string& s) {
    return s + std::string(MESSAGE_LINE_WIDTH - s.size(), ' ');
}

bool g_minimised = false;
bool minimised() {
    return g_minimised;
}

time_t jan_2_2000() {
    std::tm t{};
    t.tm_year = 100;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_hour = 3;
    t.tm_min = 4;
    t.tm_sec = 5;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST_F(message_panel_test, fourth_message_scrolls_the_lines_up) {
    message_panel_add("one");
    message_panel_add("two");
    message_panel_add("three");
    EXPECT_EQ(line(0), padded("one"));
    EXPECT_EQ(line(2), padded("three"));
    message_panel_add("four");
    EXPECT_EQ(line(0), padded("two"));
    EXPECT_EQ(line(1), padded("three"));
    EXPECT_EQ(line(2), padded("four"));
}

TEST_F(message_panel_test, long_message_shows_its_first_43_characters) {
    const std::string sixty(60, 'x');
    message_panel_add((std::string(43, 'a') + sixty.substr(43)).c_str());
    EXPECT_EQ(line(0), std::string(43, 'a'));
}

TEST_F(message_panel_test, empty_text_blanks_the_lines_and_restarts_at_the_first) {
    message_panel_add("one");
    message_panel_add("two");
    message_panel_add("");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(line(i), std::string(43, ' '));
    message_panel_add("again");
    EXPECT_EQ(line(0), padded("again"));
    EXPECT_EQ(line(1), std::string(43, ' '));
}

TEST_F(message_panel_test, nothing_happens_without_a_status_window) {
    g_ui.status_window = nullptr;
    message_panel_add("lost");
    EXPECT_EQ(line(0), "");
}

TEST_F(message_panel_test, lines_are_drawn_inside_the_panel) {
    status_draw(win_, false);
    EXPECT_EQ(px(626, 380), RGB_WHITE);
    EXPECT_EQ(px(269, 380), 0x808080u);
    EXPECT_EQ(count(274, 352, 620, 368, RGB_WHITE), 0);
    message_panel_add("UPS not responding on COM1!");
    EXPECT_GT(count(274, 352, 620, 368, RGB_WHITE), 0);
    EXPECT_EQ(count(274, 372, 620, 388, RGB_WHITE), 0);
    message_panel_add("");
    EXPECT_EQ(count(274, 352, 620, 368, RGB_WHITE), 0);
}

TEST_F(message_panel_test, minimised_window_collects_messages_in_the_popup) {
    app_.engine.clock = jan_2_2000;
    g_minimised = true;
    set_task_minimised_query(minimised);
    message_panel_add("Utility power failure");
    ASSERT_NE(g_ui.alarm_popup, nullptr);
    WINDOW list = wyn_win_get_ctl(g_ui.alarm_popup, 1);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(wyn_list_count_all(list), 1);
    char item[160];
    ASSERT_TRUE(wyn_list_get_elt(list, 0, item, sizeof item));
    // The stamp comes from the application's clock; the year counts from 1900, so 2000 is 100.
    EXPECT_STREQ(item, "01/02/100,03:04:05,Utility power failure");

    message_panel_add("Low battery");
    EXPECT_EQ(wyn_list_count_all(list), 2);
    EXPECT_EQ(wyn_list_get_sel_index(list), 1);
    EXPECT_EQ(line(1), padded("Low battery"));

    // Restoring leaves the pop-up until the next message arrives.
    g_minimised = false;
    pump();
    EXPECT_NE(g_ui.alarm_popup, nullptr);
    message_panel_add("Utility power restored");
    pump();
    EXPECT_EQ(g_ui.alarm_popup, nullptr);
}

TEST_F(message_panel_test, clear_button_closes_the_popup) {
    g_minimised = true;
    set_task_minimised_query(minimised);
    message_panel_add("Utility power failure");
    ASSERT_NE(g_ui.alarm_popup, nullptr);
    EVENT ev{};
    ev.type = E_CONTROL;
    ev.v.ctl.id = 2;
    wyn_win_dispatch_event(g_ui.alarm_popup, &ev);
    pump();
    EXPECT_EQ(g_ui.alarm_popup, nullptr);
    g_minimised = false;
}

TEST_F(message_panel_test, popup_comes_up_over_a_task_window_the_user_minimised) {
    const WINDOW frame = task_window();
    ASSERT_TRUE(wyn::testing::show_frame(frame, wyn::testing::FrameState::minimised));
    message_panel_add("Utility power failure");
    ASSERT_NE(g_ui.alarm_popup, nullptr);
    EXPECT_EQ(wyn_list_count_all(wyn_win_get_ctl(g_ui.alarm_popup, 1)), 1);
    EXPECT_TRUE(wyn::testing::frame_visible(g_ui.alarm_popup));
    EXPECT_FALSE(wynk_win_is_minimized(g_ui.alarm_popup));
    ASSERT_TRUE(wyn::testing::show_frame(frame, wyn::testing::FrameState::normal));
    message_panel_add("Utility power restored");
    pump();
    EXPECT_EQ(g_ui.alarm_popup, nullptr);
}

} // namespace
