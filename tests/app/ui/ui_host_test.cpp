// The engine's host over the windows: the poll timer on the status window, posted messages
// reaching the panel, redraws, the icon choice, and the running program reporting its port.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "app/ui/status_support.h"

#include "engine/monitor_state.h"
#include "engine/report.h"
#include "ui/message_panel.h"
#include "ui/ui_host.h"
#include "ui/ui_state.h"

#include <cstdio>
#include <string>

namespace {

class ui_host_test : public status_window_test {
  protected:
    void SetUp() override {
        status_window_test::SetUp();
        install_ui_host();
    }
    void TearDown() override {
        the_ui_host().stop_poll_timer();
        status_window_test::TearDown();
    }
};

TEST_F(ui_host_test, poll_period_creates_a_timer_on_the_status_window_and_recreates_on_change) {
    ASSERT_EQ(set_poll_period(1), 0);
    const int first = g_ui.poll_timer;
    EXPECT_GT(first, 0);
    EXPECT_EQ(set_poll_period(1), 0);
    EXPECT_EQ(g_ui.poll_timer, first);
    ASSERT_EQ(set_poll_period(3), 0);
    EXPECT_GT(g_ui.poll_timer, 0);
    EXPECT_EQ(app_.poll_period, 3);
}

TEST_F(ui_host_test, no_timer_without_a_status_window) {
    g_ui.status_window = nullptr;
    EXPECT_FALSE(the_ui_host().start_poll_timer(1000));
    EXPECT_EQ(g_ui.poll_timer, 0);
}

TEST_F(ui_host_test, panel_messages_posted_by_the_engine_reach_the_panel) {
    app_.engine.log_writing = false;
    post_message("UPS connected on COM2.", MSG_PANEL);
    EXPECT_EQ(std::string(message_panel_line(0)).substr(0, 22), "UPS connected on COM2.");
}

TEST_F(ui_host_test, clock_redraw_shows_the_poll_time) {
    app_.poll_clock = ups_clock{5, 4, 10, 8, 11, 126, 2, 341, 0};
    the_ui_host().draw_clock();
    EXPECT_GT(count(12, 22, 165, 36, RGB_WHITE), 0);
}

TEST_F(ui_host_test, icon_choice_is_kept) {
    the_ui_host().set_icon("Battery3");
    EXPECT_EQ(the_ui_host().icon(), "Battery3");
    the_ui_host().set_icon("Normal");
    EXPECT_EQ(the_ui_host().icon(), "Normal");
}

} // namespace

namespace {

using status_window_program = program_test;

TEST_F(status_window_program, port_that_cannot_be_opened_is_reported_in_the_alarm_log) {
    write_configuration(
        [](ups_status& u) { std::snprintf(u.ups_port, sizeof u.ups_port, "COM7"); });
    auto p = start("run", {"command 1008"}, {"/NOPNP"});
    ASSERT_EQ(p->wait(20000), 0);
    EXPECT_NE(read_file(dir_.file("norva.alm")).find("Error opening port: COM7!"),
              std::string::npos);
}

} // namespace
