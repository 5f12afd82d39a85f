// The alarm logging dialog worked in the running program: its grid edits and saves each alarm's
// message kind, and Cancel keeps them.
#include <gtest/gtest.h>

#include "app/ui/alarm_dialogs_support.h"

namespace {

using alarm_logging_dialog = alarm_dialog_run;

TEST_F(alarm_logging_dialog, ok_stores_sixteen_plus_the_checked_destinations_of_each_alarm) {
    // The temperature alarm is forwarded, a column that stays hidden without networking.
    put("tlog.log", "19\n19\n16\n19\n23\n7\n");
    run({}, {"command 1011", "inspect 2", "inspect 16", "inspect 11", "inspect 33", "inspect 24",
             "uncheck 2", "uncheck 12", "check 4", "click 5", "press 17"});
    const std::vector<std::string> expected{
        "2 enabled 1 shown 1 checked 1 value 0 text ",
        "16 enabled 1 shown 1 checked 1 value 0 text ",
        "11 enabled 1 shown 0 checked 1 value 0 text ",
        "33 enabled 1 shown 0 checked 0 value 0 text Master Alert Log",
        "24 enabled 1 shown 0 checked 0 value 0 text Network broadcasting options"};
    EXPECT_EQ(inspected(), expected);
    EXPECT_EQ(numbers("tlog.log"), (std::vector<std::string>{"16", "19", "18", "17", "23", "7"}));
}

TEST_F(alarm_logging_dialog, cancel_keeps_the_kinds_in_the_file_and_in_the_dialog) {
    put("tlog.log", "19\n19\n19\n19\n19\n3\n");
    run({}, {"command 1011", "uncheck 2", "uncheck 12", "press 18", "command 1011", "inspect 2",
             "inspect 12", "press 18"});
    const std::vector<std::string> expected{"2 enabled 1 shown 1 checked 1 value 0 text ",
                                            "12 enabled 1 shown 1 checked 1 value 0 text "};
    EXPECT_EQ(inspected(), expected);
    EXPECT_EQ(file("tlog.log"), "19\n19\n19\n19\n19\n3\n");
}

} // namespace
