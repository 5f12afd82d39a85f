// The alarm thresholds: the bars' ranges, clamping, steps and defaults, and the dialog worked in
// the running program against the simulated UPS.
#include <gtest/gtest.h>

#include "app/ui/alarm_dialogs_support.h"

#include "ui/setup_dialog.h"
#include "ui/thresholds_dialog.h"

#include <algorithm>
#include <sys/stat.h>
#include <wyn/events.h>

namespace {

ups_status ups_of(uint16_t voltage_class, int16_t temperature_unit) {
    ups_status ups{};
    ups.voltage_class = voltage_class;
    ups.temperature_unit = temperature_unit;
    return ups;
}

TEST(threshold_ranges, opening_clamps_stored_values_into_their_ranges_and_keeps_the_kinds) {
    ups_status ups = ups_of(0, 1);
    const int16_t stored[ALARM_COUNT] = {80, 250, 30, 60, 120};
    for (int i = 0; i < ALARM_COUNT; ++i) ups.thresholds[i] = {stored[i], int16_t(17 + i)};
    clamp_thresholds(ups);
    const int16_t expected[ALARM_COUNT] = {90, 135, 40, 50, 120};
    for (int i = 0; i < ALARM_COUNT; ++i) {
        EXPECT_EQ(ups.thresholds[i].value, expected[i]) << "alarm " << i;
        EXPECT_EQ(ups.thresholds[i].kind, 17 + i);
    }
    // The 120 V defaults on a 230 V UPS, and Fahrenheit values read as Celsius.
    ups = ups_of(1, 0);
    ups.thresholds[ALARM_LOW_LINE].value = 100;
    ups.thresholds[ALARM_HIGH_LINE].value = 130;
    ups.thresholds[ALARM_TEMPERATURE].value = 120;
    clamp_thresholds(ups);
    EXPECT_EQ(ups.thresholds[ALARM_LOW_LINE].value, 170);
    EXPECT_EQ(ups.thresholds[ALARM_HIGH_LINE].value, 210);
    EXPECT_EQ(ups.thresholds[ALARM_TEMPERATURE].value, 65);
}

TEST(threshold_ranges, defaults_follow_the_class_the_local_nominal_voltage_and_the_unit) {
    struct row {
        uint16_t voltage_class;
        uint16_t local_nominal;
        int16_t unit;
        threshold_values expected;
    };
    const row rows[] = {
        {0, 0, 1, {100, 130, 90, 30, 120}},
        {1, 0, 0, {192, 250, 90, 30, 49}},
        {2, 240, 1, {90, 125, 90, 30, 120}},
        {3, 240, 1, {220, 260, 90, 30, 120}},
        {3, 208, 0, {173, 225, 90, 30, 49}},
        // 100 and 130 lie below a 200 V class's bars: the nearest values they can show.
        {3, 0, 1, {170, 210, 90, 30, 120}},
    };
    for (const row& r : rows) {
        const ups_status ups = ups_of(r.voltage_class, r.unit);
        const threshold_values values = threshold_defaults(ups, r.local_nominal);
        EXPECT_EQ(values, r.expected) << "class " << r.voltage_class << ", " << r.local_nominal;
        const auto ranges = threshold_ranges(ups);
        for (int i = 0; i < ALARM_COUNT; ++i) {
            EXPECT_GE(values[i], ranges[i].min);
            EXPECT_LE(values[i], ranges[i].max);
        }
    }
}

TEST(threshold_ranges, steps_move_by_one_and_five_and_never_leave_the_range) {
    const threshold_range r{90, 110};
    EXPECT_EQ(scrolled_value(100, SC_LINE_DOWN, 0, r.min, r.max, 5), 101);
    EXPECT_EQ(scrolled_value(100, SC_LINE_UP, 0, r.min, r.max, 5), 99);
    EXPECT_EQ(scrolled_value(100, SC_PAGE_DOWN, 0, r.min, r.max, 5), 105);
    EXPECT_EQ(scrolled_value(100, SC_PAGE_UP, 0, r.min, r.max, 5), 95);
    EXPECT_EQ(scrolled_value(108, SC_PAGE_DOWN, 0, r.min, r.max, 5), 110);
    EXPECT_EQ(scrolled_value(92, SC_PAGE_UP, 0, r.min, r.max, 5), 90);
    EXPECT_EQ(scrolled_value(110, SC_LINE_DOWN, 0, r.min, r.max, 5), 110);
    EXPECT_EQ(scrolled_value(90, SC_LINE_UP, 0, r.min, r.max, 5), 90);
    EXPECT_EQ(scrolled_value(100, SC_THUMB, 104, r.min, r.max, 5), 104);
    EXPECT_EQ(scrolled_value(100, SC_THUMB_DRAG, 300, r.min, r.max, 5), 110);
    EXPECT_EQ(scrolled_value(100, SC_THUMB, -5, r.min, r.max, 5), 90);
    EXPECT_EQ(scrolled_value(100, 0, 50, r.min, r.max, 5), 100);
}

using thresholds_dialog = alarm_dialog_run;

TEST_F(thresholds_dialog, a_low_voltage_below_its_range_opens_clamped_and_stays_so_after_cancel) {
    put("norva.tsh", "80\n130\n90\n30\n120\n");
    run({}, {"command 1016", "inspect 5", "inspect 6", "inspect 23", "press 2", "command 1016",
             "inspect 5", "press 2"});
    const std::vector<std::string> expected{"5 enabled 1 shown 1 checked 0 value 90 text ",
                                            "6 enabled 1 shown 1 checked 0 value 0 text 90",
                                            "23 enabled 1 shown 1 checked 0 value 0 text F",
                                            "5 enabled 1 shown 1 checked 0 value 90 text "};
    EXPECT_EQ(inspected(), expected);
    EXPECT_EQ(file("norva.tsh"), "80\n130\n90\n30\n120\n");
}

TEST_F(thresholds_dialog, defaults_and_moved_bars_are_saved_with_ok) {
    put("norva.tsh", "110\n135\n50\n20\n60\n");
    // In Celsius: "Defaults", then the load dragged to 75, the battery a page on from 30 and the
    // low voltage a line back from 100.
    run({},
        {"command 1016", "inspect 23", "click 24", "set 13 75", "scroll 17 page-down",
         "scroll 5 line-up", "press 1"},
        [](ups_status& u) { u.temperature_unit = 0; });
    EXPECT_EQ(inspected(),
              std::vector<std::string>{"23 enabled 1 shown 1 checked 0 value 0 text C"});
    EXPECT_EQ(numbers("norva.tsh"), (std::vector<std::string>{"99", "130", "75", "35", "49"}));
}

TEST_F(thresholds_dialog, defaults_of_a_208_volt_ups_of_class_3_are_saved_with_ok) {
    // The UPS is known once its status reads; the first dialog waits for that.
    run({"--extended", "--voltage-class", "3", "--nominal", "208", "--battery-low"},
        {"command 1016", "press 2 when Low battery.", "command 1016", "click 24", "press 1"},
        [](ups_status& u) {
            std::snprintf(u.ups_voltage_text, sizeof u.ups_voltage_text, "208");
            u.nominal_voltage = 208;
        });
    EXPECT_EQ(numbers("norva.tsh"), (std::vector<std::string>{"173", "225", "90", "30", "120"}));
}

TEST_F(thresholds_dialog, a_threshold_file_that_cannot_be_written_is_reported) {
    ASSERT_EQ(mkdir(dir_.file("norva.tsh").c_str(), 0755), 0);
    run({}, {"command 1016", "press 1"});
    const auto shown = errors();
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "Cannot save the alarm thresholds to norva.tsh: Is a directory."),
              shown.end());
}

} // namespace
