// Replays recorded conversations with a UPS through the engine and checks what it decoded.
#include "common/pty.h"
#include "engine/protocol.h"
#include "engine/serial_io.h"
#include "engine/status_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Turns the transcript escapes <CR>, <LF> and <XX> back into bytes.
std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') {
            const size_t close = text.find('>', i);
            const std::string code = text.substr(i + 1, close - i - 1);
            if (code == "CR")
                out += '\r';
            else if (code == "LF")
                out += '\n';
            else
                out += static_cast<char>(std::stoi(code, nullptr, 16));
            i = close;
        } else {
            out += text[i];
        }
    }
    return out;
}

int16_t step_of(const std::string& command) {
    static const char* const commands[] = {":W", ":L", ":V", ":S", ":Q", ":D", ":B",
                                           ":I", ":N", ":G", ":K", ":H", ":A", ":C"};
    for (int16_t step = 0; step < 14; ++step)
        if (command.compare(0, 2, commands[step]) == 0) return step;
    return -1;
}

class ProtocolReplay : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.ok());
        ASSERT_EQ(SerialIO_Open(&handle_, pty_.slave_path().c_str(), 2400, 8, 0, 1), 0);
    }
    void TearDown() override { SerialIO_Close(&handle_); }
    test_pty pty_;
    int handle_ = SERIAL_INVALID;
    protocol_session session_;
};

TEST_P(ProtocolReplay, EveryReplyDecodesOrFailsAsRecorded) {
    std::ifstream file(std::string(VS_TEST_DATA) + "/protocol/" + GetParam());
    ASSERT_TRUE(file) << GetParam();
    ups_status ups{};
    ups.selftest_status = 5;
    ups.nominal_voltage = 208;
    std::string fault = "normal";
    std::string command_fault = fault; // the fault the UPS was under when it got the command
    std::string expected;
    bool reply_due = false;
    std::string line;
    auto read_reply = [&](bool sent) {
        if (sent) {
            ASSERT_TRUE(wait_readable(handle_, 2000));
        }
        const ups_status before = ups;
        const int result = GetNorvaKestraUPSData(session_, handle_, ups);
        // A one-field reply cut short still decodes; a status reply cut short does not.
        const bool decodes = command_fault == "normal" || command_fault == "slow" ||
                             (command_fault == "short" && ups.last_step != STEP_STATUS);
        if (decodes) {
            EXPECT_EQ(result, 0) << "reply to " << session_.command << " under "
                                 << command_fault;
        } else {
            EXPECT_EQ(result, 2) << "fault " << command_fault;
            EXPECT_EQ(memcmp(&before, &ups, sizeof ups), 0) << "fault " << command_fault;
        }
    };
    while (std::getline(file, line)) {
        if (line.rfind("# expect ", 0) == 0) {
            expected += line.substr(9) + "\n";
        } else if (line.rfind("# fault ", 0) == 0) {
            fault = line.substr(8);
        } else if (line.rfind("> ", 0) == 0) {
            if (reply_due) read_reply(false);
            const std::string command = unescape(line.substr(2));
            command_fault = fault;
            ups.next_step = step_of(command);
            ASSERT_EQ(SendUPSCommand(session_, handle_, ups), 0);
            ASSERT_EQ(pty_.read(command.size()), command);
            reply_due = true;
        } else if (line.rfind("< ", 0) == 0) {
            ASSERT_TRUE(pty_.write(unescape(line.substr(2))));
            read_reply(true);
            reply_due = false;
        }
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(status_lines(ups), expected);
}

INSTANTIATE_TEST_SUITE_P(Recorded, ProtocolReplay,
                         ::testing::Values("plain.txt", "extended.txt", "faults.txt", "short.txt"));

} // namespace
