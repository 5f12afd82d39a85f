// The poll cycle against a UPS on a pseudo-terminal: command order, link loss and return, a port
// that goes away, the poll timer and the remote view.
#include "monitor_fixture.h"

#include "engine/protocol.h"

namespace {

using poll_cycle = monitor_test;

TEST_F(poll_cycle, IdentifiesThenAlternatesStatusAndBatteryAndOnlyStatusMakesValid) {
    connect();
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_EQ(ups.commands,
              (std::vector<std::string>{":W\r", ":L\r", ":V\r", ":S\r", ":B\r", ":D\r"}));
    EXPECT_FALSE(g_app->local.valid) << "a :B reply does not make the record valid";
    tick();
    EXPECT_TRUE(g_app->local.valid);
    EXPECT_EQ(g_app->local.line_voltage, 120);
    EXPECT_EQ(host.timers.back(), 3000) << "valid data in the normal state polls every 3 s";
    EXPECT_EQ(host.clock_draws, 6);
    EXPECT_EQ(host.refreshes, 6);
}

TEST_F(poll_cycle, LinkIsReportedLostAtTheTwentiethFailedPollOnceAndFoundAgainWithIdentify) {
    connect();
    until_valid();
    ups.silent = true;
    tick(); // reads the last answer given
    const size_t sent = ups.commands.size();
    for (int i = 0; i < 19; ++i) tick();
    EXPECT_TRUE(g_panel.empty());
    EXPECT_TRUE(g_app->local.valid);
    EXPECT_EQ(ups.commands.size(), sent + 19) << "every failed poll still sends a command";
    tick();
    EXPECT_EQ(g_panel, std::vector<std::string>{"UPS not responding on UPS!"});
    EXPECT_FALSE(g_app->local.valid);
    for (int i = 0; i < 40; ++i) tick();
    EXPECT_EQ(g_panel.size(), 1u);

    ups.silent = false;
    ups.commands.clear();
    tick(); // sends the command the UPS will now answer
    tick();
    EXPECT_EQ(g_panel.back(), "UPS connected on UPS.");
    EXPECT_EQ(ups.commands.back(), ":L\r");
    EXPECT_EQ(g_app->failed_polls, 0);
}

TEST_F(poll_cycle, APortThatGoesAwayIsClosedAndOpenedAgainAtLaterPolls) {
    connect();
    until_valid();
    ups.pty.hang_up();
    tick();
    EXPECT_EQ(g_app->serial_handle, -1);
    for (int i = 0; i < 25; ++i) tick(); // nothing to open: the name no longer leads anywhere
    EXPECT_EQ(count(g_panel, "UPS not responding on UPS!"), 1);

    fake_ups again;
    std::filesystem::remove(work_dir / "UPS");
    ASSERT_TRUE(again.plug(work_dir / "UPS"));
    g_now += 1;
    poll_tick();
    ASSERT_NE(g_app->serial_handle, -1);
    again.answer(g_app->serial_handle);
    EXPECT_EQ(again.commands, std::vector<std::string>{":W\r"});
    g_now += 1;
    poll_tick();
    EXPECT_EQ(g_panel.back(), "UPS connected on UPS.");
}

TEST_F(poll_cycle, APortThatCannotBeOpenedIsTriedAgainUntilItAppears) {
    std::filesystem::create_symlink("missing", work_dir / "UPS");
    EXPECT_EQ(ups_port_open(), 2);
    tick();
    EXPECT_EQ(g_app->serial_handle, -1);
    std::filesystem::remove(work_dir / "UPS");
    ASSERT_TRUE(ups.plug(work_dir / "UPS"));
    tick();
    EXPECT_EQ(ups.commands, std::vector<std::string>{":W\r"});
    ups_port_close();
    tick();
    EXPECT_EQ(g_app->serial_handle, -1) << "a port closed on purpose stays closed";
}

TEST_F(poll_cycle, PollPeriodRecreatesTheTimerOnlyWhenItChangesOrIsMissing) {
    EXPECT_EQ(set_poll_period(1), 0);
    EXPECT_EQ(set_poll_period(1), 0);
    EXPECT_EQ(host.timers, std::vector<int>{1000});
    EXPECT_EQ(set_poll_period(3), 0);
    EXPECT_EQ(host.destroyed, std::vector<int>{1});
    EXPECT_EQ(host.running, 2);

    // A timer that cannot be made leaves the old one polling, says so once, and is tried again.
    host.fail_timer = true;
    EXPECT_EQ(set_poll_period(1), 2);
    EXPECT_EQ(set_poll_period(1), 2);
    EXPECT_EQ(host.running, 2) << "the engine is never left without a timer";
    EXPECT_EQ(g_app->poll_period, 3);
    EXPECT_EQ(host.destroyed, std::vector<int>{1});
    EXPECT_EQ(g_panel, std::vector<std::string>{"Cannot set the poll period to 1 seconds."});
    host.fail_timer = false;
    EXPECT_EQ(set_poll_period(1), 0) << "a failed timer is made again at the next request";
    EXPECT_EQ(host.running, 5);
    EXPECT_EQ(host.destroyed, (std::vector<int>{1, 2}));
}

TEST_F(poll_cycle, PhoneOptionIsSentAtTheNextNormalPoll) {
    connect();
    until_valid();
    g_app->local.phone_option_pending = 1;
    g_app->local.phone_option_setting = 1;
    tick();
    EXPECT_EQ(ups.commands.back(), ":Q1\r");
    tick();
    EXPECT_EQ(ups.commands.back(), ":S\r");
}

TEST_F(poll_cycle, RemoteViewChangesPollAtOnceAndOnlyOnce) {
    enter_remote_view("server-ups");
    EXPECT_EQ(host.clock_draws, 1);
    EXPECT_STREQ(g_app->ups_in_view, "server-ups");
    EXPECT_TRUE(g_app->force_redraw);
    EXPECT_EQ(g_app->remote.selftest_status, 5);
    EXPECT_EQ(g_panel, std::vector<std::string>{""});
    enter_remote_view("other");
    EXPECT_EQ(host.clock_draws, 1);

    g_app->remote.status_line[0] = 'x';
    tick();
    EXPECT_EQ(g_panel.back(), "x");
    EXPECT_EQ(g_app->remote.status_line[0], '\0');

    leave_remote_view();
    EXPECT_STREQ(g_app->ups_in_view, "UPS1");
    EXPECT_EQ(host.clock_draws, 3);
    leave_remote_view();
    EXPECT_EQ(host.clock_draws, 3);
}

} // namespace
