// The protocol on the wire: commands by step, the echo check and decoding through a
// pseudo-terminal.
#include "app/engine/recording_trace.h"
#include "common/pty.h"
#include "engine/protocol.h"
#include "engine/serial_io.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

class ProtocolWire : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.ok());
        session_.trace = &trace_;
        ASSERT_EQ(SerialIO_Open(&handle_, pty_.slave_path().c_str(), 2400, 8, 0, 1, &trace_), 0);
    }
    void TearDown() override { SerialIO_Close(&handle_, &trace_); }

    // Sends the record's next command and returns what arrived at the UPS end.
    std::string send(ups_status& ups) {
        EXPECT_EQ(SendUPSCommand(session_, handle_, ups), 0);
        return pty_.read(strlen(session_.command));
    }

    // The UPS answers; the reply is read back through the engine once it has arrived.
    int answer(ups_status& ups, const std::string& reply) {
        EXPECT_TRUE(pty_.write(reply));
        EXPECT_TRUE(wait_readable(handle_, 2000));
        return GetNorvaKestraUPSData(session_, handle_, ups);
    }

    // Puts a reply on the line and waits until all of it is waiting to be read.
    void put_waiting(const std::string& reply) {
        ASSERT_TRUE(pty_.write(reply));
        uint16_t waiting = 0;
        for (int i = 0; i < 20000 && waiting < reply.size(); ++i) {
            ASSERT_EQ(SerialIO_GetStatus(handle_, &waiting, nullptr), 0);
            if (waiting < reply.size()) std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        ASSERT_EQ(waiting, reply.size());
    }

    test_pty pty_;
    int handle_ = SERIAL_INVALID;
    recording_trace trace_;
    protocol_session session_;
};

TEST_F(ProtocolWire, CommandsCarryTheirParametersInTheirFormats) {
    ups_status ups{};
    ups.grace_time = 120;
    ups.restart_delay = 28680;
    ups.phone_option_setting = 1;
    ups.next_step = STEP_GRACE;
    EXPECT_EQ(send(ups), ":N78\r");
    ups.next_step = STEP_RESTART;
    EXPECT_EQ(send(ups), ":H007008\r");
    ups.next_step = STEP_SET_PHONE;
    EXPECT_EQ(send(ups), ":Q1\r");
    ups.next_step = STEP_OFF_NOW;
    EXPECT_EQ(send(ups), ":K0\r");
    EXPECT_EQ(ups.last_step, STEP_OFF_NOW);
}

TEST_F(ProtocolWire, ParametersWiderThanTheirFieldAreHeldToTheField) {
    ups_status ups{};
    ups.grace_time = 300;
    ups.next_step = STEP_GRACE;
    EXPECT_EQ(send(ups), ":NFF\r");
    ups.restart_delay = 0x7FFFFFFF;
    ups.next_step = STEP_RESTART;
    EXPECT_EQ(send(ups), ":HFFFFFF\r");
    ups.restart_delay = -5;
    EXPECT_EQ(send(ups), ":H000000\r");
}

TEST_F(ProtocolWire, StepOutsideTheTableSendsThePreviousCommandAgain) {
    ups_status ups{};
    ups.next_step = STEP_BATTERY;
    EXPECT_EQ(send(ups), ":B\r");
    ups.next_step = 14;
    EXPECT_EQ(send(ups), ":B\r");
    EXPECT_EQ(answer(ups, ":B\r#80\r"), 2);
}

TEST_F(ProtocolWire, IdentificationWalkDecodesEachReplyAndAdvances) {
    ups_status ups{};
    ups.next_step = STEP_PROTOCOL;
    const struct {
        const char* command;
        const char* reply;
        int16_t next;
    } walk[] = {{":W\r", ":W\r#01\r", STEP_IDENTIFY},
                {":L\r", ":L\r#51\r", STEP_FIRMWARE},
                {":V\r", ":V\r#2A\r", STEP_PHONE},
                {":S\r", ":S\r#1\r", STEP_BATTERY},
                {":B\r", ":B\r#7C\r", STEP_STATUS},
                {":D\r", ":D\r#11640280000123E6E61F4\r", STEP_BATTERY}};
    for (const auto& step : walk) {
        ASSERT_EQ(send(ups), step.command);
        ASSERT_EQ(answer(ups, step.reply), 0) << step.command;
        EXPECT_EQ(ups.next_step, step.next) << step.command;
    }
    EXPECT_EQ(ups.protocol, 1);
    EXPECT_STREQ(ups.model_name, "Kestra 1250");
    EXPECT_EQ(ups.firmware, 0x2A);
    EXPECT_EQ(ups.phone_option_value, 1);
    EXPECT_EQ(ups.battery_voltage, 0x7C);
    EXPECT_EQ(ups.battery_charge, 80);
    EXPECT_EQ(ups.line_voltage, 192);
    EXPECT_EQ(ups.load, 0x23);
    EXPECT_EQ(ups.frequency, 50);
}

TEST_F(ProtocolWire, EchoOnlyAndWrongEchoFailWithTheirWireTrace) {
    trace_.level = TRACE_WIRE;
    ups_status ups{};
    ups.next_step = STEP_STATUS;
    send(ups);
    EXPECT_EQ(answer(ups, ":D\r"), 2);
    EXPECT_EQ(ups.next_step, STEP_STATUS);
    send(ups);
    EXPECT_EQ(answer(ups, ":B\r#80\r"), 2);
    const std::vector<std::string> expected = {"Wrote: [3]\tString: [:D<]",
                                               "Read : [3]\tString: [:D<]",
                                               "Command echo only in GetNorvaKestraUPSData()",
                                               "Wrote: [3]\tString: [:D<]",
                                               "Read : [7]\tString: [:B<#80<]",
                                               "No command echo match in GetNorvaKestraUPSData()"};
    EXPECT_EQ(trace_.lines, expected);
}

TEST_F(ProtocolWire, WireTraceNeedsItsDebugBit) {
    trace_.level = 1;
    ups_status ups{};
    ups.next_step = STEP_STATUS;
    send(ups);
    EXPECT_EQ(answer(ups, ":D\r"), 2);
    // Level 1 shows the serial layer's own lines, but never the wire trace.
    EXPECT_FALSE(trace_.lines.empty());
    for (const std::string& line : trace_.lines) {
        EXPECT_EQ(line.find("String:"), std::string::npos) << line;
        EXPECT_EQ(line.find("echo"), std::string::npos) << line;
    }
}

TEST_F(ProtocolWire, NothingWaitingIsAFailedPoll) {
    ups_status ups{};
    ups.next_step = STEP_STATUS;
    send(ups);
    EXPECT_EQ(GetNorvaKestraUPSData(session_, handle_, ups), 2);
    EXPECT_EQ(GetNorvaKestraUPSData(session_, SERIAL_INVALID, ups), 2);
    EXPECT_EQ(SendUPSCommand(session_, SERIAL_INVALID, ups), 2);
}

TEST_F(ProtocolWire, GarbledAndOversizedRepliesNeitherCrashNorDecode) {
    ups_status ups{};
    ups.next_step = STEP_STATUS;
    send(ups);
    EXPECT_EQ(answer(ups, std::string("\x00\xff\x80garbage\r", 11)), 2);
    send(ups);
    // More than the 127 bytes a read takes: the rest is discarded when the next command goes out,
    // so the reply to that command is read clean.
    put_waiting(":D\r#" + std::string(200, 'F') + "\r");
    EXPECT_EQ(GetNorvaKestraUPSData(session_, handle_, ups), 0);
    EXPECT_EQ(ups.power_state, 15);
    send(ups);
    EXPECT_EQ(answer(ups, ":B\r#84\r"), 0);
    EXPECT_EQ(ups.battery_voltage, 0x84);
}

TEST_F(ProtocolWire, AReplyThatCameAfterItsPollIsDiscardedBeforeTheNextCommand) {
    ups_status ups{};
    ups.grace_time = 120;
    ups.next_step = STEP_STATUS;
    send(ups);
    EXPECT_EQ(GetNorvaKestraUPSData(session_, handle_, ups), 2);
    // The :D reply comes after the poll; meanwhile the shutdown has queued the grace time.
    put_waiting(":D\r#1077028C0000487777258\r");
    ups.next_step = STEP_GRACE;
    ASSERT_EQ(send(ups), ":N78\r");
    EXPECT_EQ(answer(ups, ":N78\r#\r"), 0);
    EXPECT_EQ(ups.next_step, STEP_STATUS);

    // A late reply to the command sent again is not taken for the fresh one either.
    send(ups);
    EXPECT_EQ(GetNorvaKestraUPSData(session_, handle_, ups), 2);
    put_waiting(":D\r#1077038C0000487777258\r");
    send(ups);
    EXPECT_EQ(answer(ups, ":D\r#1077028C0000487777258\r"), 0);
    EXPECT_EQ(ups.power_state, 2);
}

TEST_F(ProtocolWire, ShortOneFieldReplyAdvancesToStatusAndShortStatusIsAskedAgain) {
    trace_.level = TRACE_WIRE;
    ups_status ups{};
    ups.next_step = STEP_BATTERY;
    send(ups);
    // Firmware that answers with one digit and no closing carriage return.
    EXPECT_EQ(answer(ups, ":B\r#8"), 0);
    EXPECT_EQ(ups.battery_voltage, 0x88);
    ASSERT_EQ(send(ups), ":D\r");
    EXPECT_EQ(answer(ups, ":D\r#1077028C00"), 2);
    EXPECT_EQ(trace_.lines.back(), "Short reply in GetNorvaKestraUPSData()");
    EXPECT_EQ(send(ups), ":D\r");
}

} // namespace
