// Decoding of UPS replies: the hex field rule, conversions, identification and the :D fields.
#include "engine/protocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

ups_status blank_record() {
    ups_status ups{};
    return ups;
}

TEST(HexField, ReadsUpperCaseDigitsMostSignificantFirst) {
    EXPECT_EQ(decode_hex_field("1F4", 3), 0x1F4u);
    EXPECT_EQ(decode_hex_field("FF", 2), 0xFFu);
    EXPECT_EQ(decode_hex_field("7", 1), 7u);
    EXPECT_EQ(decode_hex_field("ABCDEF", 2), 0xABu);
}

TEST(HexField, ShortFieldRepeatsThePlaceBeforeTheEnd) {
    EXPECT_EQ(decode_hex_field("5", 2), 0x55u);
    EXPECT_EQ(decode_hex_field("12", 3), 0x112u);
    EXPECT_EQ(decode_hex_field("", 2), 0u);
}

TEST(HexField, NonHexCharactersTakeTheValueReadBeforeThem) {
    // Reversed "1a" is "a1": place 0 is 'a' (nothing before it: 0), place 1 is '1'.
    EXPECT_EQ(decode_hex_field("1a", 2), 0x10u);
    // Reversed "a1" is "1a": place 1 is 'a' and repeats the 1 before it.
    EXPECT_EQ(decode_hex_field("a1", 2), 0x11u);
    EXPECT_EQ(decode_hex_field(" 3", 2), 0x33u);
    EXPECT_EQ(decode_hex_field("\xff\x80", 2), 0u);
}

TEST(Conversions, TemperatureTruncatesTowardZero) {
    ups_status ups = blank_record();
    decode_status_reply("X10780000000000000000000", ups);
    EXPECT_EQ(ups.temperature_c, -21);
    EXPECT_EQ(ups.temperature_f, -5);
    decode_status_reply("X107800"
                        "8C"
                        "0000000000000000",
                        ups);
    EXPECT_EQ(ups.temperature_c, 29);
    EXPECT_EQ(ups.temperature_f, 84);
}

TEST(Conversions, FrequencyRoundsNearFiftyAndSixty) {
    EXPECT_EQ(frequency_from_raw(0x259), 60);
    EXPECT_EQ(frequency_from_raw(0x1F4), 50);
    EXPECT_EQ(frequency_from_raw(0x1E0), 48);
    EXPECT_EQ(frequency_from_raw(580), 60);
    EXPECT_EQ(frequency_from_raw(579), 57);
    EXPECT_EQ(frequency_from_raw(490), 50);
    EXPECT_EQ(frequency_from_raw(519), 50);
    EXPECT_EQ(frequency_from_raw(520), 52);
}

TEST(Conversions, BatteryChargeStepsAtTheirTenths) {
    const struct {
        unsigned tenths;
        uint16_t charge;
    } cases[] = {{200, 100}, {132, 100}, {131, 90}, {125, 90}, {124, 80}, {122, 80}, {121, 70},
                 {120, 70},  {119, 60},  {118, 60}, {117, 50}, {116, 50}, {115, 40}, {114, 40},
                 {113, 30},  {112, 30},  {111, 20}, {110, 20}, {109, 10}, {0, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(battery_charge_from_voltage(c.tenths), c.charge) << c.tenths;
}

TEST(Conversions, VoltageScalesByClassAndNominalVoltage) {
    ups_status ups = blank_record();
    ups.voltage_class = 0;
    EXPECT_EQ(scale_voltage(ups, 120), 120);
    ups.voltage_class = 1;
    EXPECT_EQ(scale_voltage(ups, 120), 230);
    EXPECT_EQ(scale_voltage(ups, 100), 192);
    ups.voltage_class = 2;
    EXPECT_EQ(scale_voltage(ups, 0xFF), 211);
    ups.voltage_class = 3;
    ups.nominal_voltage = 208;
    EXPECT_EQ(scale_voltage(ups, 0x78), 207);
    ups.nominal_voltage = 240;
    EXPECT_EQ(scale_voltage(ups, 0x78), 240);
    ups.nominal_voltage = 0;
    EXPECT_EQ(scale_voltage(ups, 0x78), 240);
}

TEST(Identification, PlainIdentityGivesClassAndRating) {
    ups_status ups = blank_record();
    decode_identity(ups, 0x51);
    EXPECT_EQ(ups.voltage_class, 1);
    EXPECT_EQ(ups.va_rating, 1250);
    EXPECT_EQ(ups.extended_identity, 0);
    EXPECT_STREQ(ups.model_name, "Kestra 1250");

    decode_identity(ups, 0xBE);
    EXPECT_EQ(ups.voltage_class, 0);
    EXPECT_EQ(ups.identity_bit1, 1);
    EXPECT_EQ(ups.identity_bits23, 3);
    EXPECT_EQ(ups.va_rating, 400);

    decode_identity(ups, 0xC0);
    EXPECT_EQ(ups.va_rating, 0);
    EXPECT_STREQ(ups.model_name, "Kestra 0");
}

TEST(Identification, ExtendedIdentityUsesProtocolHighByte) {
    ups_status ups = blank_record();
    ups.protocol = 0x80;
    decode_identity(ups, 0x64);
    EXPECT_EQ(ups.extended_identity, 1);
    EXPECT_EQ(ups.family, 0);
    EXPECT_EQ(ups.voltage_class, 0);
    EXPECT_EQ(ups.va_rating, 60);
    EXPECT_STREQ(ups.model_name, "Kestra 60");

    ups.protocol = 0xC0;
    decode_identity(ups, 0x7F);
    EXPECT_EQ(ups.family, 1);
    EXPECT_EQ(ups.voltage_class, 3);
    EXPECT_EQ(ups.identity_bit1, 1);
    EXPECT_EQ(ups.va_rating, ((0xC07F >> 3) & 0x7FF) * 5);
    EXPECT_EQ(std::string(ups.model_name), "Corvel " + std::to_string(ups.va_rating));
}

TEST(Identification, NominalVoltageKeptOnlyForClassThree) {
    ups_status ups = blank_record();
    ups.nominal_voltage = 208;
    ups.protocol = 0x80;
    decode_identity(ups, 0x03);
    EXPECT_EQ(ups.voltage_class, 3);
    EXPECT_EQ(ups.nominal_voltage, 208);
    decode_identity(ups, 0x01);
    EXPECT_EQ(ups.voltage_class, 1);
    EXPECT_EQ(ups.nominal_voltage, 0);
}

TEST(StatusReply, DecodesEveryFieldAtItsPosition) {
    ups_status ups = blank_record();
    ups.voltage_class = 0;
    ups.battery_voltage = 0x84;
    //                  0 1 2 34 5 6 78 9A BC DE FG HI JKL
    decode_status_reply("#"
                        "1"
                        "2"
                        "78"
                        "3"
                        "2"
                        "8C"
                        "00"
                        "11"
                        "2D"
                        "77"
                        "76"
                        "258",
                        ups);
    EXPECT_EQ(ups.battery_not_low, 1);
    EXPECT_EQ(ups.field2, 2);
    EXPECT_EQ(ups.line_voltage, 120);
    EXPECT_EQ(ups.regulator_state, 3);
    EXPECT_EQ(ups.power_state, 2);
    EXPECT_EQ(ups.temperature_c, 29);
    EXPECT_EQ(ups.field8, 0x11);
    EXPECT_EQ(ups.load, 45);
    EXPECT_EQ(ups.logged_voltage, 0x77);
    EXPECT_EQ(ups.second_voltage, 0x76);
    EXPECT_EQ(ups.frequency, 60);
    EXPECT_EQ(ups.battery_charge, 100);
}

TEST(StatusReply, OnBatteryForcesLineVoltageToZero) {
    ups_status ups = blank_record();
    for (const char* state : {"1", "3"}) {
        std::string reply = std::string("#1078") + "0" + state + "8C0000327777258";
        decode_status_reply(reply.c_str(), ups);
        EXPECT_EQ(ups.line_voltage, 0) << state;
        EXPECT_EQ(ups.logged_voltage, 0x77) << state;
    }
    decode_status_reply("#107802"
                        "8C0000327777258",
                        ups);
    EXPECT_EQ(ups.line_voltage, 120);
}

TEST(StatusReply, ShortReplyNeverReadsPastItsEnd) {
    ups_status ups = blank_record();
    // Held in a buffer with nothing after it, so a read past the end would show under the
    // sanitizers; the missing places repeat the last digit present.
    const char reply[] = {'#', '1', '0', '7'};
    std::string text(reply, sizeof reply);
    decode_status_reply(text.c_str(), ups);
    EXPECT_EQ(ups.battery_not_low, 1);
    EXPECT_EQ(ups.line_voltage, 0x77);
    EXPECT_EQ(ups.frequency, 0);
}

// The reply to step, as read: the echo of its command, then the payload.
int decode_after(ups_status& ups, int16_t step, const std::string& payload) {
    protocol_session session;
    ups.next_step = step;
    protocol_prepare_command(session, ups);
    const std::string reply = session.command + payload;
    return decode_ups_reply(session, reply.c_str(), static_cast<int>(reply.size()), ups);
}

TEST(ShortReply, OneFieldRepliesDecodeTheirMissingPlacesByTheFieldRule) {
    ups_status ups = blank_record();
    ASSERT_EQ(decode_after(ups, STEP_PROTOCOL, "\n0"), 0);
    EXPECT_EQ(ups.protocol, 0x00);
    EXPECT_EQ(ups.next_step, STEP_IDENTIFY);
    ASSERT_EQ(decode_after(ups, STEP_IDENTIFY, "\n5"), 0);
    EXPECT_EQ(ups.identity, 0x55);
    EXPECT_EQ(ups.voltage_class, 1);
    EXPECT_STREQ(ups.model_name, "Kestra 1250");
    ASSERT_EQ(decode_after(ups, STEP_FIRMWARE, "\n2"), 0);
    EXPECT_EQ(ups.firmware, 0x22);
    // One digit cut to none: the terminator at place 0 reads as 0.
    ups.phone_option_value = 9;
    ASSERT_EQ(decode_after(ups, STEP_PHONE, "\n"), 0);
    EXPECT_EQ(ups.phone_option_value, 0);
    EXPECT_EQ(ups.next_step, STEP_BATTERY);
    ASSERT_EQ(decode_after(ups, STEP_BATTERY, "\n5"), 0);
    EXPECT_EQ(ups.battery_voltage, 0x55);
    EXPECT_EQ(ups.next_step, STEP_STATUS);
    ASSERT_EQ(decode_after(ups, STEP_VOLTAGE, "\n6"), 0);
    EXPECT_EQ(ups.logged_voltage, scale_voltage(ups, 0x66));
    ASSERT_EQ(decode_after(ups, STEP_SELFTEST_RESULT, "\n0"), 0);
    EXPECT_EQ(ups.selftest_status, 0);
    EXPECT_EQ(ups.next_step, STEP_STATUS);
}

TEST(ShortReply, StatusReplyCutInItsFieldsFailsAndIsAskedAgain) {
    ups_status ups = blank_record();
    ups.power_state = 2;
    ups.line_voltage = 120;
    ups.last_step = ups.next_step = STEP_STATUS;
    // The fields up to the power state are there; "1" would read as on battery if decoded.
    for (const char* cut : {"\n1077021", "\n1077028C00", "\n1077028C0000487777"}) {
        const ups_status before = ups;
        EXPECT_EQ(decode_after(ups, STEP_STATUS, cut), 2) << cut;
        EXPECT_EQ(ups.next_step, STEP_STATUS) << cut;
        EXPECT_EQ(memcmp(&before, &ups, sizeof ups), 0) << cut;
    }
    // Every field present, the closing carriage return still on its way: decoded.
    ASSERT_EQ(decode_after(ups, STEP_STATUS, "\n1077038C0000487777258"), 0);
    EXPECT_EQ(ups.power_state, 3);
    EXPECT_EQ(ups.next_step, STEP_BATTERY);
}

TEST(Fahrenheit, TruncatesTowardZero) {
    EXPECT_EQ(fahrenheit_from_celsius(-21), -5);
    EXPECT_EQ(fahrenheit_from_celsius(0), 32);
    EXPECT_EQ(fahrenheit_from_celsius(29), 84);
    EXPECT_EQ(fahrenheit_from_celsius(-40), -40);
}

} // namespace
