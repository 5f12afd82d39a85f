// The status window's drawing: gauge bars and threshold arrows at their pixel positions, blanks
// for a record without data, partial redraws, and a screenshot of a filled-in window.
#include "app/ui/status_support.h"

#include "ui/status_draw.h"
#include "ui/voltage_check.h"

#include <string>

namespace {

using status_draw_test = status_window_test;

TEST(status_gauges, voltage_bar_top_follows_both_families_and_clamps) {
    EXPECT_EQ(voltage_bar_top(0, 0), -1);
    EXPECT_EQ(voltage_bar_top(120, 0), 142);
    EXPECT_EQ(voltage_bar_top(90, 0), 262);
    EXPECT_EQ(voltage_bar_top(45, 0), 280); // 280.99.. truncated
    EXPECT_EQ(voltage_bar_top(300, 0), 48);
    EXPECT_EQ(voltage_bar_top(220, 1), 142);
    EXPECT_EQ(voltage_bar_top(80, 1), 280);
    EXPECT_EQ(voltage_bar_top(400, 1), 48);
}

TEST(status_gauges, load_and_battery_bars_step_at_their_edges) {
    EXPECT_EQ(load_bar_top(5), -1);
    EXPECT_EQ(load_bar_top(6), 280);
    EXPECT_EQ(load_bar_top(50), 200);
    EXPECT_EQ(load_bar_top(100), 100);
    EXPECT_EQ(load_bar_top(101), 48);
    EXPECT_EQ(battery_bar_top(0), -1);
    EXPECT_EQ(battery_bar_top(1), 258);
    EXPECT_EQ(battery_bar_top(99), 60);
    EXPECT_EQ(battery_bar_top(100), 48);
}

TEST(status_gauges, threshold_arrows_stay_inside_their_scales) {
    EXPECT_EQ(high_voltage_arrow_y(125, 0), 120);
    EXPECT_EQ(high_voltage_arrow_y(135, 0), 80);
    EXPECT_EQ(high_voltage_arrow_y(136, 0), -1);
    EXPECT_EQ(high_voltage_arrow_y(250, 1), 80);
    EXPECT_EQ(low_voltage_arrow_y(89, 0), -1);
    EXPECT_EQ(low_voltage_arrow_y(100, 0), 220);
    EXPECT_EQ(low_voltage_arrow_y(210, 1), 160);
    EXPECT_EQ(load_arrow_y(80), 140);
    EXPECT_EQ(battery_arrow_y(30), 230);
    EXPECT_EQ(battery_arrow_y(11), 278);
}

TEST(status_scale, large_dialog_font_scales_by_a_quarter) {
    status_scale_init(8);
    EXPECT_EQ(status_scaled(100), 100);
    status_scale_init(9);
    EXPECT_EQ(status_scaled(100), 125);
    EXPECT_EQ(status_scaled(3), 4);
    status_scale_init(8);
}

TEST_F(status_draw_test, full_draw_puts_bars_and_arrows_at_their_pixels) {
    fill_readings();
    status_draw(win_, false);
    EXPECT_EQ(px(635, 5), RGB_BLUE);
    // 120 V: the bar's top is at 142, green zone above it.
    EXPECT_EQ(px(322, 145), RGB_BLACK);
    EXPECT_EQ(px(322, 300), RGB_BLACK);
    EXPECT_EQ(px(322, 138), RGB_GREEN);
    EXPECT_EQ(px(305, 145), RGB_GREEN);
    // 50 % load reaches 200, a full battery 48.
    EXPECT_EQ(px(450, 205), RGB_BLACK);
    EXPECT_EQ(px(450, 195), RGB_GREEN);
    EXPECT_EQ(px(570, 60), RGB_BLACK);
    // The 125 V threshold's arrow at 120 and the 100 V one at 220, right of the voltage column.
    EXPECT_EQ(px(360, 120), RGB_WHITE);
    EXPECT_EQ(px(360, 220), RGB_WHITE);
    EXPECT_EQ(px(360, 112), RGB_BLUE);
    // Load 80 % at 140, battery 30 % at 230.
    EXPECT_EQ(px(488, 140), RGB_WHITE);
    EXPECT_EQ(px(608, 230), RGB_WHITE);
    // Red zones at the voltage column's ends.
    EXPECT_EQ(px(305, 60), RGB_RED);
    EXPECT_EQ(px(305, 280), RGB_RED);
    // Panel frames: white right edge, grey left edge of the status panel.
    EXPECT_EQ(px(252, 300), RGB_WHITE);
    EXPECT_EQ(px(9, 300), 0x808080u);

    const wyn::testing::Image shot = picture().part(RCT{0, 0, 430, 640});
    ASSERT_EQ(shot.width, 640);
    ASSERT_EQ(shot.height, 430);
    const std::string path = std::string(VS_BIN_DIR) + "/../status_window.png";
    EXPECT_TRUE(wyn::testing::save_png(shot, path.c_str()));
}

TEST_F(status_draw_test, out_of_range_high_threshold_draws_no_arrow) {
    fill_readings();
    app_.local.thresholds[ALARM_HIGH_LINE].value = 136;
    status_draw(win_, false);
    EXPECT_EQ(count(355, 60, 368, 140, RGB_WHITE), 0);
}

TEST_F(status_draw_test, record_without_data_draws_zones_without_bars_and_blank_rows) {
    fill_readings();
    app_.local.valid = 0;
    status_draw(win_, false);
    EXPECT_EQ(px(322, 200), RGB_GREEN);
    EXPECT_EQ(px(450, 250), RGB_GREEN);
    EXPECT_EQ(px(570, 100), RGB_GREEN);
    // Voltage, mode and model rows hold only blanks; the self-test rows are still shown.
    EXPECT_EQ(count(150, 190, 252, 206, RGB_WHITE), 0);
    EXPECT_EQ(count(150, 256, 252, 272, RGB_WHITE), 0);
    EXPECT_EQ(count(135, 126, 250, 142, RGB_WHITE), 0);
    EXPECT_GT(count(150, 322, 252, 338, RGB_WHITE), 0);
}

TEST_F(status_draw_test, partial_draw_moves_a_changed_bar_and_erases_the_old_one) {
    fill_readings();
    status_draw(win_, false);
    ASSERT_EQ(px(322, 150), RGB_BLACK);
    app_.local.line_voltage = 100; // top 222
    status_draw(win_, true);
    EXPECT_EQ(px(322, 150), RGB_GREEN);
    EXPECT_EQ(px(322, 230), RGB_BLACK);
}

TEST_F(status_draw_test, voltage_class_change_forces_full_redraw_with_other_ticks) {
    fill_readings();
    status_draw(win_, false);
    const RCT ticks{50, 265, 310, 301};
    const wyn::testing::Image ticks120 = picture().part(ticks);
    ASSERT_FALSE(ticks120.empty());
    app_.local.voltage_class = 1;
    app_.local.line_voltage = 230; // top 122
    status_draw(win_, true);
    EXPECT_EQ(app_.force_redraw, 0);
    EXPECT_EQ(px(322, 125), RGB_BLACK);
    EXPECT_NE(picture().part(ticks), ticks120);
}

TEST_F(status_draw_test, ups_mode_is_red_on_battery_and_white_on_mains) {
    fill_readings();
    status_draw(win_, false);
    EXPECT_EQ(count(150, 256, 252, 272, RGB_RED), 0);
    EXPECT_GT(count(150, 256, 252, 272, RGB_WHITE), 0);
    app_.local.power_state = 3;
    status_draw(win_, true);
    EXPECT_GT(count(150, 256, 252, 272, RGB_RED), 0);
    // The text colour is white again for the rows after it.
    EXPECT_EQ(count(150, 212, 252, 228, RGB_RED), 0);
}

} // namespace

namespace {

int16_t g_answer = 0;
int g_asked = 0;
int16_t answer() {
    ++g_asked;
    return g_answer;
}

TEST(status_voltage, class_3_without_a_voltage_asks_once_and_stores_the_answer) {
    ups_status ups{};
    ups.valid = 1;
    ups.voltage_class = 3;
    g_answer = 1;
    g_asked = 0;
    EXPECT_TRUE(check_nominal_voltage(ups, answer));
    EXPECT_EQ(ups.nominal_voltage, 240);
    EXPECT_STREQ(ups.ups_voltage_text, "240");
    EXPECT_FALSE(check_nominal_voltage(ups, answer));
    EXPECT_EQ(g_asked, 1);
    // A closed question takes the default.
    ups.nominal_voltage = 0;
    g_answer = 2;
    EXPECT_TRUE(check_nominal_voltage(ups, answer));
    EXPECT_EQ(ups.nominal_voltage, 208);
    EXPECT_STREQ(ups.ups_voltage_text, "208");
}

TEST(status_voltage, other_class_drops_a_stored_voltage_but_only_once_the_ups_has_answered) {
    ups_status ups{};
    ups.voltage_class = 0;
    ups.nominal_voltage = 240;
    EXPECT_FALSE(check_nominal_voltage(ups, answer));
    EXPECT_EQ(ups.nominal_voltage, 240);
    ups.valid = 1;
    EXPECT_TRUE(check_nominal_voltage(ups, answer));
    EXPECT_EQ(ups.nominal_voltage, 0);
    EXPECT_STREQ(ups.ups_voltage_text, "Default");
    EXPECT_FALSE(check_nominal_voltage(ups, answer));
}

} // namespace
