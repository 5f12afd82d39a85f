// The schedule dialogs in the running program: what they store in the configuration, how their
// controls enable one another, how far their bars move, and the notes and question that follow.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"

#include "ui/setup_dialog.h"

#include <algorithm>
#include <wyn/events.h>

namespace {

constexpr int kTimeoutMs = 30000;

TEST(schedule_bars, pages_move_hours_by_3_and_minutes_by_5_within_their_range) {
    EXPECT_EQ(scrolled_value(9, SC_PAGE_DOWN, 0, 0, 23, 3), 12);
    EXPECT_EQ(scrolled_value(22, SC_PAGE_DOWN, 0, 0, 23, 3), 23);
    EXPECT_EQ(scrolled_value(1, SC_PAGE_UP, 0, 0, 23, 3), 0);
    EXPECT_EQ(scrolled_value(50, SC_PAGE_DOWN, 0, 0, 59, 5), 55);
    EXPECT_EQ(scrolled_value(57, SC_PAGE_DOWN, 0, 0, 59, 5), 59);
    EXPECT_EQ(scrolled_value(59, SC_LINE_DOWN, 0, 0, 59, 5), 59);
    EXPECT_EQ(scrolled_value(10, SC_LINE_UP, 0, 0, 59, 5), 9);
    // A thumb goes where it is dropped, but never off the bar.
    EXPECT_EQ(scrolled_value(0, SC_THUMB, 17, 0, 23, 3), 17);
    EXPECT_EQ(scrolled_value(0, SC_THUMB_DRAG, 99, 0, 23, 3), 23);
    EXPECT_EQ(scrolled_value(5, 0, 40, 0, 23, 3), 5);
}

class schedule_dialogs : public program_test {
  protected:
    void TearDown() override {
        for (const char* run : {"run", "view"}) {
            expect_no_toolkit_error(run);
            for (const std::string& l : log_of(run))
                EXPECT_FALSE(l.starts_with("script-error")) << l;
        }
        if (HasFailure()) std::fprintf(stderr, "%s", read_file(dir_.file("run.log")).c_str());
    }

    // Runs the program to its end with the script, which must close it.
    std::vector<std::string> run(const std::string& name, const std::vector<std::string>& script) {
        auto program = start(name, script, {"/NOPNP"});
        EXPECT_EQ(program->wait(kTimeoutMs), 0);
        return log_of(name);
    }

    std::string configuration() const { return read_file(dir_.file("norva.cfg")); }

    void expect_configured(std::initializer_list<const char*> lines) const {
        const std::string cfg = configuration();
        for (const char* line : lines)
            EXPECT_NE(cfg.find(std::string(line) + "\r\n"), std::string::npos)
                << line << " not in\n"
                << cfg;
    }

    static bool has(const std::vector<std::string>& log, const std::string& line) {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST_F(schedule_dialogs, a_weekly_selftest_is_stored_shown_and_cancelled) {
    write_configuration([](ups_status& u) { u.selftest_enabled = 0; });
    auto log = run("run", {"command 1034",
                           // Off: the kinds are disabled and the day and time hidden.
                           "inspect 6", "inspect 10", "check 4", "inspect 6", "inspect 10",
                           // A kind with a day shows the day and time, enabled.
                           "click 6", "inspect 10", "choose 10 Tue", "set 11 9", "set 14 5",
                           "inspect 13", "inspect 16", "press 1", "command 1008"});
    EXPECT_TRUE(has(log, "control 6 enabled 0 shown 1 checked 0 value 0 text Weekly Self-Test"));
    EXPECT_TRUE(has(log, "control 6 enabled 1 shown 1 checked 0 value 0 text Weekly Self-Test"));
    const auto day = [&](const char* state) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& l) {
            return l.starts_with(std::string("control 10 ") + state);
        });
    };
    EXPECT_EQ(day("enabled 0 shown 0"), 1);
    EXPECT_EQ(day("enabled 1 shown 0"), 1);
    EXPECT_EQ(day("enabled 1 shown 1"), 1);
    EXPECT_TRUE(has(log, "control 13 enabled 1 shown 1 checked 0 value 0 text 9"));
    EXPECT_TRUE(has(log, "control 16 enabled 1 shown 1 checked 0 value 0 text 5"));
    expect_configured({"Selftest Enabled:1", "Selftest Type:1", "Selftest Day:2", "Selftest Hour:9",
                       "Selftest Minute:5"});

    // The next run reads it back, tells it, and cancels it on "Yes".
    const std::string sentence = "A Weekly Self-Test is scheduled for Tue @ 09:05.";
    log = run("view", {"command 1033", "command 1038", "answer 1", "command 1033", "command 1008"});
    std::vector<std::string> told;
    for (const std::string& l : log)
        if (l.starts_with("note ") || l.starts_with("ask ")) told.push_back(l);
    EXPECT_EQ(told, (std::vector<std::string>{"note " + sentence,
                                              "ask " + sentence + "   Cancel this test?",
                                              "note No self-test is currently scheduled."}));
    expect_configured({"Selftest Enabled:0", "Selftest Type:1", "Selftest Day:2"});
}

TEST_F(schedule_dialogs, a_selftest_left_scheduled_on_no_and_exit_stores_nothing) {
    write_configuration([](ups_status& u) {
        u.selftest_enabled = 1;
        u.selftest_type = 3;
        u.selftest_time.weekday = 4;
    });
    const std::string before = configuration();
    const auto log = run("run", {"command 1038", "answer 0", "command 1034", "uncheck 4", "press 2",
                                 "command 1008"});
    EXPECT_TRUE(
        has(log, "ask A Monthly Self-Test is scheduled for Thu @ 00:00.   Cancel this test?"));
    EXPECT_EQ(configuration(), before);
}

TEST_F(schedule_dialogs, a_stored_daily_shutdown_opens_with_both_day_lists_disabled) {
    write_configuration([](ups_status& u) {
        u.shutdown_enabled = 1;
        u.shutdown_type = 1;
        u.restart_enabled = 1;
    });
    const auto log = run("run", {"command 1023", "inspect 8", "inspect 11", "inspect 20",
                                 "inspect 13", "inspect 22", "inspect 5",
                                 // Weekly brings the day lists back.
                                 "click 7", "inspect 11", "inspect 20", "press 2", "command 1008"});
    const auto states = [&](int id) {
        std::vector<std::string> found;
        const std::string prefix = "control " + std::to_string(id) + " ";
        for (const std::string& l : log)
            if (l.starts_with(prefix)) found.push_back(l.substr(prefix.size(), 17));
        return found;
    };
    EXPECT_EQ(states(8), std::vector<std::string>{"enabled 1 shown 1"});
    EXPECT_TRUE(has(log, "control 8 enabled 1 shown 1 checked 1 value 0 text Daily Shutdown"));
    EXPECT_EQ(states(11), (std::vector<std::string>{"enabled 0 shown 1", "enabled 1 shown 1"}));
    EXPECT_EQ(states(20), (std::vector<std::string>{"enabled 0 shown 1", "enabled 1 shown 1"}));
    EXPECT_EQ(states(13), std::vector<std::string>{"enabled 1 shown 1"});
    EXPECT_EQ(states(22), std::vector<std::string>{"enabled 1 shown 1"});
    EXPECT_TRUE(
        has(log, "control 5 enabled 1 shown 1 checked 1 value 0 text Enable Automatic Restart"));
}

TEST_F(schedule_dialogs, an_immediate_shutdown_answered_no_is_stored_disabled_with_the_rest_kept) {
    write_configuration([](ups_status& u) {
        u.shutdown_enabled = 1;
        u.shutdown_type = 2;
        u.shutdown_time.weekday = 5;
        u.shutdown_time.hour = 18;
        u.shutdown_time.minute = 30;
        u.restart_enabled = 1;
        u.restart_time.weekday = 1;
        u.restart_time.hour = 7;
        u.restart_time.minute = 0;
    });
    const auto log = run("run", {"command 1023", "click 6", "inspect 11", "inspect 22", "press 1",
                                 "answer 0", "command 1027", "command 1008"});
    EXPECT_TRUE(has(log, "ask Do you want to initiate a shutdown now?"));
    // "Immediate" takes the "Off:" and "On:" rows out of use.
    for (const char* id : {"11", "22"})
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [&](const std::string& l) {
                                    return l.starts_with(std::string("control ") + id +
                                                         " enabled 0");
                                }),
                  1)
            << id;
    expect_configured({"Shutdown Enabled:0", "Shutdown Type:0", "Shutdown Day:5",
                       "Shutdown Hour:18", "Shutdown Minute:30", "Restart Enabled:1",
                       "Restart Day:1", "Restart Hour:7", "Restart Minute:0"});
    // The note's second part starts a line of its own in the log.
    const auto note = std::find(log.begin(), log.end(), "note No shutdown is currently scheduled.");
    ASSERT_NE(note, log.end());
    ASSERT_NE(note + 1, log.end());
    EXPECT_EQ(note[1], "Restart is scheduled for Mon @ 07:00.");
    EXPECT_FALSE(has(log, "message Performing Immediate shutdown."));
}

TEST_F(schedule_dialogs,
       a_shutdown_switched_on_brings_back_its_rows_and_pages_its_bars_by_3_and_5) {
    write_configuration([](ups_status& u) {
        u.shutdown_enabled = 0;
        u.shutdown_type = 2;
        u.restart_enabled = 0;
        u.shutdown_time.hour = 18;
        u.shutdown_time.minute = 50;
    });
    run("run", {"command 1023", "inspect 5", "inspect 7", "check 4", "inspect 5", "inspect 7",
                "inspect 11", "inspect 20", "check 5", "inspect 20",
                // Pages of the "Off:" hour and minute, up to the ends of their bars.
                "scroll 13 page-down", "inspect 15", "scroll 13 page-down", "scroll 13 page-down",
                "inspect 15", "scroll 16 page-down", "inspect 18", "scroll 16 page-down",
                "scroll 16 page-down", "inspect 18", "scroll 16 page-up", "inspect 18", "press 1",
                "command 1008"});
    std::vector<std::string> states, values;
    for (const std::string& l : log_of("run")) {
        if (!l.starts_with("control ")) continue;
        if (l.starts_with("control 15 ") || l.starts_with("control 18 "))
            values.push_back(l.substr(l.rfind(' ') + 1));
        else
            states.push_back(l.substr(8, l.find(" value") - 8));
    }
    EXPECT_EQ(states, (std::vector<std::string>{
                          "5 enabled 0 shown 1 checked 0", "7 enabled 0 shown 1 checked 1",
                          "5 enabled 1 shown 1 checked 0", "7 enabled 1 shown 1 checked 1",
                          "11 enabled 1 shown 1 checked 0", "20 enabled 0 shown 1 checked 0",
                          "20 enabled 1 shown 1 checked 0"}));
    EXPECT_EQ(values, (std::vector<std::string>{"21", "23", "55", "59", "54"}));
    expect_configured({"Shutdown Enabled:1", "Restart Enabled:1", "Shutdown Type:2",
                       "Shutdown Hour:23", "Shutdown Minute:54"});
}

} // namespace
