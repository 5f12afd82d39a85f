// Threshold alarms at and across their values, message kinds by source, power events with the
// disruption time, and the line-voltage thresholds of each voltage class.
#include "monitor_fixture.h"

#include "engine/alarms.h"

namespace {

class alarms : public monitor_test {
  protected:
    ups_status* u = nullptr;

    void poll_at(time_t t) {
        g_now = t;
        app_stamp_poll_time(*g_app, t);
        check_thresholds(*u);
        check_power_events(*u);
    }
    void poll_after(int seconds) { poll_at(g_now + seconds); }

    void SetUp() override {
        monitor_test::SetUp();
        u = &g_app->local;
        u->valid = 1;
        u->line_voltage = 120;
        u->load = 40;
        u->battery_charge = 100;
        u->temperature_c = 30;
        u->battery_not_low = 1;
        u->power_state = 2;
    }
};

TEST_F(alarms, LowLineVoltageFiresOnceBelowAndReturnsAtTheThreshold) {
    u->line_voltage = 99;
    poll_after(3);
    u->line_voltage = 95;
    poll_after(3);
    u->line_voltage = 100;
    poll_after(3);
    EXPECT_EQ(g_panel, (std::vector<std::string>{"Line Voltage out of range: 99 volts.",
                                                 "Line Voltage returned to normal: 100 volts."}));
}

TEST_F(alarms, ReadingsEqualToTheirThresholdAreInRange) {
    u->line_voltage = 130;
    u->load = 90;
    u->battery_charge = 30;
    u->temperature_c = 120;
    poll_after(3);
    EXPECT_TRUE(g_panel.empty());
    u->line_voltage = 131;
    u->load = 91;
    u->battery_charge = 20;
    u->temperature_unit = 1; // 30 C is 86 F, far below 120 F
    u->temperature_c = 50;
    u->temperature_f = 122;
    poll_after(3);
    EXPECT_EQ(g_panel, (std::vector<std::string>{"Line Voltage out of range: 131 volts.",
                                                 "UPS Overloaded - unplug device: 91%.",
                                                 "Below Battery Threshold: 20%.",
                                                 "Temperature out of range: 122."}));
}

TEST_F(alarms, MessageKindFollowsTheSourceAndTheView) {
    u->thresholds[ALARM_LOAD].kind = MSG_ALARM_LOG;
    u->load = 95;
    poll_after(3);
    EXPECT_TRUE(g_panel.empty()) << "the threshold's own kind has no panel bit";

    g_app->remote_view = 1;
    u->load = 40;
    poll_after(3);
    EXPECT_TRUE(g_panel.empty());
    EXPECT_EQ(g_forwarded, std::vector<std::string>{"UPS1: UPS load returned to normal: 40%."});

    ups_status& r = g_app->remote;
    r = *u;
    r.message_source = 1;
    r.load = 95;
    check_thresholds(r);
    EXPECT_EQ(g_panel, std::vector<std::string>{"UPS Overloaded - unplug device: 95%."});
    EXPECT_EQ(g_forwarded.size(), 1u) << "readings from a server go to the panel only";
}

TEST_F(alarms, AnInvalidRecordRaisesNothing) {
    u->valid = 0;
    u->line_voltage = 0;
    u->power_state = 1;
    u->battery_not_low = 0;
    for (int i = 0; i < 10; ++i) poll_after(3);
    EXPECT_TRUE(g_panel.empty());
}

TEST_F(alarms, OnBatteryComesAfterTheDisruptionTimeMeasuredFromEachOutage) {
    u->thresholds[ALARM_LOW_LINE].kind = 0;
    u->power_state = 3;
    poll_after(3); // outage starts
    u->power_state = 2;
    poll_after(3); // shorter than 10 s: forgotten
    u->power_state = 3;
    for (int i = 0; i < 4; ++i) poll_after(3);
    EXPECT_TRUE(g_panel.empty()) << "9 s into the second outage";
    poll_after(3);
    EXPECT_EQ(g_panel, std::vector<std::string>{"On battery backup."});
    EXPECT_TRUE(u->on_battery && u->power_event_pending);
    EXPECT_EQ(g_forwarded.size(), 1u) << "power events are forwarded (kind 23)";

    u->power_event_pending = 0;
    u->power_state = 2;
    poll_after(3);
    EXPECT_EQ(g_panel.back(), "Power restored.");
    EXPECT_TRUE(!u->on_battery && u->power_event_pending);
}

TEST_F(alarms, LowBatteryLatchesUntilTheBatteryIsBackToNormal) {
    u->battery_not_low = 0;
    poll_after(3);
    poll_after(3);
    u->battery_not_low = 1;
    poll_after(3);
    EXPECT_EQ(g_panel, (std::vector<std::string>{"Low battery.", "Battery back to normal."}));
    EXPECT_TRUE(u->battery_event_pending);
}

TEST_F(alarms, LineVoltageThresholdsFollowTheVoltageClass) {
    u->voltage_class = 1;
    adjust_voltage_thresholds(*u);
    EXPECT_EQ(u->thresholds[ALARM_LOW_LINE].value, 190);
    EXPECT_EQ(u->thresholds[ALARM_HIGH_LINE].value, 250);
    EXPECT_TRUE(g_app->force_redraw);

    g_app->force_redraw = 0;
    u->voltage_class = 0;
    adjust_voltage_thresholds(*u);
    EXPECT_EQ(u->thresholds[ALARM_LOW_LINE].value, 100);
    EXPECT_EQ(u->thresholds[ALARM_HIGH_LINE].value, 130);
    EXPECT_TRUE(g_app->force_redraw);

    g_app->force_redraw = 0;
    u->thresholds[ALARM_HIGH_LINE].value = 136; // a 120 V user's own choice is kept
    adjust_voltage_thresholds(*u);
    EXPECT_EQ(u->thresholds[ALARM_HIGH_LINE].value, 136);
    EXPECT_FALSE(g_app->force_redraw);
}

TEST_F(alarms, IdentificationOfA230VoltUpsMovesTheThresholdsDuringThePoll) {
    ups.identity = 0x51;
    u->valid = 0;
    connect();
    until_valid();
    EXPECT_EQ(g_app->local.thresholds[ALARM_HIGH_LINE].value, 250);
    EXPECT_EQ(g_app->local.line_voltage, 230) << "120 raw x 1.92";
    EXPECT_TRUE(g_panel.empty()) << "230 V is normal against the adjusted thresholds";
}

} // namespace
