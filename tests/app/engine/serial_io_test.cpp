// The serial port layer over real pseudo-terminals: open and its failures, settings, port names,
// reading, writing, status and a device that goes away.
#include "engine/serial_io.h"

#include "app/engine/recording_trace.h"
#include "common/pty.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <termios.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

int open_descriptor_count() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

class SerialIOTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        previous_dir = std::filesystem::current_path();
        char pattern[] = "/tmp/serial_io_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        work_dir = pattern;
        std::filesystem::current_path(work_dir);
        trace.level = TRACE_ERROR;
    }

    void TearDown() override {
        if (handle != SERIAL_INVALID) SerialIO_Close(&handle, &trace);
        std::filesystem::current_path(previous_dir);
        std::filesystem::remove_all(work_dir);
    }

    int open_ups(const char* port, int rate = 2400, int data = 8, int parity = 0, int stop = 1) {
        return SerialIO_Open(&handle, port, rate, data, parity, stop, &trace);
    }

    // Lines recorded since the last call.
    std::vector<std::string> take_lines() { return std::exchange(trace.lines, {}); }

    std::string handle_text() const { return std::to_string(handle); }

    test_pty pty;
    int handle = SERIAL_INVALID;
    recording_trace trace;
    std::filesystem::path previous_dir;
    std::filesystem::path work_dir;
};

TEST(SerialSettings, AcceptsTheUpsLineAndKeysInAnyOrderOrCase) {
    serial_settings s{};
    ASSERT_TRUE(serial_parse_settings("baud=2400 parity=N data=8 stop=1", s));
    EXPECT_EQ(s.baud, 2400);
    EXPECT_EQ(s.parity, 'N');
    EXPECT_EQ(s.data_bits, 8);
    EXPECT_EQ(s.stop_bits, 1);

    ASSERT_TRUE(serial_parse_settings("  STOP=2\tData=7 parity=e  baud=38400 ", s));
    EXPECT_EQ(s.baud, 38400);
    EXPECT_EQ(s.parity, 'E');
    EXPECT_EQ(s.data_bits, 7);
    EXPECT_EQ(s.stop_bits, 2);

    for (int rate : {1200, 4800, 9600, 14400, 19200})
        EXPECT_TRUE(serial_parse_settings(
            ("baud=" + std::to_string(rate) + " parity=O data=5 stop=1").c_str(), s))
            << rate;
}

TEST(SerialSettings, RefusesWhatItCannotParseAndLeavesTheResultAlone) {
    const char* refused[] = {
        "",
        "baud=2400 parity=N data=8",
        "baud=2400 parity=N data=8 stop=1 xon=on",
        "baud=2400 parity=N data=8 stop=1 stop=1",
        "baud=2401 parity=N data=8 stop=1",
        "baud=57600 parity=N data=8 stop=1",
        "baud=+2400 parity=N data=8 stop=1",
        "baud= parity=N data=8 stop=1",
        "baud=2400 parity=M data=8 stop=1",
        "baud=2400 parity=NN data=8 stop=1",
        "baud=2400 parity=N data=4 stop=1",
        "baud=2400 parity=N data=9 stop=1",
        "baud=2400 parity=N data=8 stop=0",
        "baud=2400 parity=N data=8 stop=3",
        "baud=2400parity=N data=8 stop=1",
        "baud:2400 parity=N data=8 stop=1",
        "baud=99999999999999999999 parity=N data=8 stop=1",
    };
    for (const char* text : refused) {
        serial_settings s{1, 'X', 2, 3};
        EXPECT_FALSE(serial_parse_settings(text, s)) << text;
        EXPECT_EQ(s.baud, 1) << text;
    }
    serial_settings s{};
    EXPECT_FALSE(serial_parse_settings(nullptr, s));
}

TEST_F(SerialIOTest, PortNamesResolveToTheLocalLinkOrTheSerialDevice) {
    ASSERT_TRUE(pty.link("COM3"));
    EXPECT_EQ(serial_resolve_port("COM3"), "COM3");
    EXPECT_EQ(serial_resolve_port("com3"), "COM3");
    EXPECT_EQ(serial_resolve_port("COM1"), "/dev/ttyS0");
    EXPECT_EQ(serial_resolve_port("Com4"), "/dev/ttyS3");
    EXPECT_EQ(serial_resolve_port("COM9"), "/dev/ttyS8");
    for (const char* as_given : {"COM0", "COM10", "COM", "ttyUSB0", "/dev/pts/7", ""})
        EXPECT_EQ(serial_resolve_port(as_given), as_given);

    // The link is followed: what the master writes arrives through the port opened as COM3.
    ASSERT_EQ(open_ups("com3"), 0);
    ASSERT_TRUE(pty.write("OK\r"));
    ASSERT_TRUE(wait_readable(handle, 2000));
    char buffer[16];
    int count = -1;
    EXPECT_EQ(SerialIO_Read(handle, buffer, sizeof buffer, &count, &trace), 0);
    EXPECT_EQ(std::string(buffer, count), "OK\r");
}

TEST_F(SerialIOTest, ADanglingLocalLinkFailsInsteadOfFallingBackToTheSerialDevice) {
    ASSERT_EQ(symlink("/nonexistent/tty", "COM2"), 0);
    EXPECT_EQ(serial_resolve_port("COM2"), "COM2");
    EXPECT_EQ(open_ups("COM2"), 2);
    EXPECT_EQ(handle, SERIAL_INVALID);
    EXPECT_EQ(take_lines(), std::vector<std::string>{"open error: 2 on port: COM2."});
}

TEST_F(SerialIOTest, MissingPortFailsWithInvalidHandleAndOneOpenErrorLine) {
    handle = 7;
    EXPECT_EQ(open_ups("/nonexistent/ttyX"), 2);
    EXPECT_EQ(handle, SERIAL_INVALID);
    EXPECT_EQ(take_lines(),
              std::vector<std::string>{"open error: 2 on port: /nonexistent/ttyX."});
}

TEST_F(SerialIOTest, AFileThatIsNoTerminalFailsAtReadingItsLineSettings) {
    FILE* file = fopen("plain", "w");
    ASSERT_NE(file, nullptr);
    fclose(file);
    const int before = open_descriptor_count();
    EXPECT_EQ(open_ups("plain"), 2);
    EXPECT_EQ(handle, SERIAL_INVALID);
    const auto lines = take_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("line settings read error: 25 on port handle: ", 0), 0u) << lines[0];
    EXPECT_EQ(open_descriptor_count(), before);
}

TEST_F(SerialIOTest, RefusedSettingsFailAndReleaseThePort) {
    const int before = open_descriptor_count();
    struct refused {
        int rate, data, parity, stop;
        const char* line;
    } cases[] = {{1234, 8, 0, 1, "line settings error: 22 on format: 1234."},
                 {57600, 8, 0, 1, "line settings error: 22 on format: 57600."},
                 {2400, 9, 0, 1, "line settings error: 22 on format: 2400."},
                 {2400, 8, 3, 1, "line settings error: 22 on format: 2400."},
                 {2400, 8, -1, 1, "line settings error: 22 on format: 2400."},
                 {2400, 8, 0, 3, "line settings error: 22 on format: 2400."}};
    for (const refused& c : cases) {
        handle = 5;
        EXPECT_EQ(open_ups(pty.slave_path().c_str(), c.rate, c.data, c.parity, c.stop), 2);
        EXPECT_EQ(handle, SERIAL_INVALID);
        EXPECT_EQ(take_lines(), std::vector<std::string>{c.line});
    }
    EXPECT_EQ(open_descriptor_count(), before);
    // Neither the descriptor nor the lock stayed behind.
    EXPECT_EQ(open_ups(pty.slave_path().c_str()), 0);
}

TEST_F(SerialIOTest, OpenAppliesRaw2400_8N1AndClosesOnExec) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    ASSERT_GE(handle, 0);
    EXPECT_TRUE(take_lines().empty());
    termios tio{};
    ASSERT_EQ(tcgetattr(handle, &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B2400));
    EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B2400));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | ICRNL), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_NE(fcntl(handle, F_GETFD) & FD_CLOEXEC, 0);
}

TEST_F(SerialIOTest, OpenAppliesStopBitsAndTheRateWithoutATermiosConstant) {
    // A pty always keeps 8 bits without parity, so only rate and stop bits show here.
    ASSERT_EQ(open_ups(pty.slave_path().c_str(), 9600, 7, 2, 2), 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(handle, &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    ASSERT_EQ(SerialIO_Close(&handle, &trace), 0);

    ASSERT_EQ(open_ups(pty.slave_path().c_str(), 14400, 8, 0, 1), 0);
    ASSERT_EQ(tcgetattr(handle, &tio), 0);
    // The kernel's marker for a rate given as a number rather than a B constant.
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(CBAUDEX));
    EXPECT_EQ(tio.c_cflag & CSTOPB, 0u);
    EXPECT_TRUE(take_lines().empty());
}

TEST_F(SerialIOTest, ASecondOpenOfTheSamePortFailsUntilTheFirstIsClosed) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    ASSERT_TRUE(pty.link("COM1"));
    int second = 9;
    EXPECT_EQ(SerialIO_Open(&second, "COM1", 2400, 8, 0, 1, &trace), 2);
    EXPECT_EQ(second, SERIAL_INVALID);
    // Root passes the exclusive tty mode and meets the lock; anyone else meets the mode.
    const auto lines = take_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0] ==
                    "open error: " + std::to_string(EWOULDBLOCK) + " on port: COM1." ||
                lines[0] == "open error: " + std::to_string(EBUSY) + " on port: COM1.")
        << lines[0];
    ASSERT_EQ(SerialIO_Close(&handle, &trace), 0);
    EXPECT_EQ(SerialIO_Open(&second, "COM1", 2400, 8, 0, 1, &trace), 0);
    EXPECT_EQ(SerialIO_Close(&second, &trace), 0);
}

TEST_F(SerialIOTest, ReadWithNothingWaitingReturnsAtOnce) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    char buffer[8];
    int count = -1;
    // Were the port opened to block, the read would wait here for ever and the test time out.
    EXPECT_EQ(SerialIO_Read(handle, buffer, sizeof buffer, &count, &trace), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(take_lines(),
              (std::vector<std::string>{"port status: 0.", "status read  : 1.",
                                        "bytes waiting: 0."}));
}

TEST_F(SerialIOTest, ReadTakesTheWaitingBytesNoMoreThanTheBufferHolds) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    ASSERT_TRUE(pty.write(":D0123456\r"));
    ASSERT_TRUE(wait_readable(handle, 2000));
    uint16_t waiting = 0;
    ASSERT_EQ(SerialIO_GetStatus(handle, &waiting, nullptr, &trace), 0);
    EXPECT_EQ(waiting, 10);
    take_lines();

    char buffer[16] = {};
    int count = -1;
    ASSERT_EQ(SerialIO_Read(handle, buffer, 4, &count, &trace), 0);
    EXPECT_EQ(std::string(buffer, count), ":D01");
    EXPECT_EQ(buffer[4], '\0');
    EXPECT_EQ(take_lines(),
              (std::vector<std::string>{"port status: 0.", "status read  : 1.",
                                        "bytes waiting: 10.", "port status read",
                                        "bytes read: 4."}));
    ASSERT_EQ(SerialIO_Read(handle, buffer, sizeof buffer, &count, &trace), 0);
    EXPECT_EQ(std::string(buffer, count), "23456\r");
}

TEST_F(SerialIOTest, DiscardDropsOnlyTheBytesAlreadyWaiting) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    ASSERT_TRUE(pty.write(":B\r\n7C\r"));
    uint16_t waiting = 0;
    for (int i = 0; i < 20000 && waiting < 7; ++i) {
        ASSERT_EQ(SerialIO_GetStatus(handle, &waiting, nullptr, &trace), 0);
        if (waiting < 7) std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    ASSERT_EQ(waiting, 7);
    take_lines();
    EXPECT_EQ(SerialIO_DiscardInput(handle, &trace), 0);
    ASSERT_EQ(SerialIO_GetStatus(handle, &waiting, nullptr, &trace), 0);
    EXPECT_EQ(waiting, 0);
    EXPECT_TRUE(take_lines().empty());

    ASSERT_TRUE(pty.write(":D\r"));
    ASSERT_TRUE(wait_readable(handle, 2000));
    char buffer[8] = {};
    int count = 0;
    ASSERT_EQ(SerialIO_Read(handle, buffer, sizeof buffer, &count, &trace), 0);
    EXPECT_EQ(std::string(buffer, count), ":D\r");

    EXPECT_EQ(SerialIO_DiscardInput(SERIAL_INVALID, &trace), 2);
    EXPECT_EQ(take_lines().back(), "discard error: 9 on port handle: -1.");
}

TEST_F(SerialIOTest, WrittenBytesArriveUnchangedOnTheOtherSide) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    const std::string command = ":W\r\n\x11\x13";
    int written = -1;
    EXPECT_EQ(SerialIO_Write(handle, command.data(), static_cast<int>(command.size()), &written, &trace),
              0);
    EXPECT_EQ(written, static_cast<int>(command.size()));
    EXPECT_EQ(pty.read(command.size()), command);
    EXPECT_TRUE(take_lines().empty());
}

TEST_F(SerialIOTest, AShortWriteReturnsTwoWithTheCountWritten) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    // Nobody reads the master, so the output queue fills and the write stops short.
    const std::string big(1 << 20, 'x');
    int written = -1;
    EXPECT_EQ(SerialIO_Write(handle, big.data(), static_cast<int>(big.size()), &written, &trace), 2);
    EXPECT_GT(written, 0);
    EXPECT_LT(written, static_cast<int>(big.size()));
    EXPECT_TRUE(take_lines().empty());

    // The terminal may still pass a few bytes on to the other side meanwhile; writes go on until
    // one finds the queue full and nothing of it goes out.
    int result = 0;
    written = -1;
    for (int i = 0; i < 100000 && !(result == 2 && written == 0); ++i)
        result = SerialIO_Write(handle, big.data(), 10, &written, &trace);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(take_lines(), std::vector<std::string>{"write error: " + std::to_string(EAGAIN) +
                                                     " on port handle: " + handle_text() + "."});
}

TEST_F(SerialIOTest, ClosingReleasesTheHandleAndAnInvalidHandleFails) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    const int fd = handle;
    EXPECT_EQ(SerialIO_Close(&handle, &trace), 0);
    EXPECT_EQ(handle, SERIAL_INVALID);
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);

    EXPECT_EQ(SerialIO_Close(&handle, &trace), 2);
    EXPECT_EQ(handle, SERIAL_INVALID);
    EXPECT_EQ(take_lines(), std::vector<std::string>{"close error: 9 on port handle: -1."});
}

TEST_F(SerialIOTest, StatusOnAPtyCountsBytesAndReportsTheFailedModemQuery) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    ASSERT_TRUE(pty.write("abc"));
    ASSERT_TRUE(wait_readable(handle, 2000));
    uint16_t waiting = 0;
    uint8_t flags[2] = {0xFF, 0xEE};
    EXPECT_EQ(SerialIO_GetStatus(handle, &waiting, flags, &trace), 0);
    EXPECT_EQ(waiting, 3);
    EXPECT_EQ(flags[0], 0);
    const auto lines = take_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("modem lines error: ", 0), 0u) << lines[0];
    EXPECT_TRUE(lines[0].ends_with(" on port handle: " + handle_text() + ".")) << lines[0];

    EXPECT_EQ(SerialIO_GetStatus(handle, nullptr, nullptr, &trace), 0);
    EXPECT_TRUE(take_lines().empty());
}

TEST_F(SerialIOTest, StatusAndReadOnAnInvalidHandleFail) {
    uint16_t waiting = 5;
    EXPECT_EQ(SerialIO_GetStatus(-1, &waiting, nullptr, &trace), 2);
    EXPECT_EQ(waiting, 0);
    EXPECT_EQ(take_lines(),
              std::vector<std::string>{"queue status error: 9 on port handle: -1."});

    char buffer[4];
    int count = 3;
    EXPECT_EQ(SerialIO_Read(-1, buffer, sizeof buffer, &count, &trace), 2);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(take_lines(),
              (std::vector<std::string>{"queue status error: 9 on port handle: -1.",
                                        "port status: 2.", "status read  : 0.",
                                        "bytes waiting: 0.",
                                        "queue status error: 9 on port handle: -1."}));
}

TEST_F(SerialIOTest, AHungUpPeerIsReportedAsGoneAndThePortStillCloses) {
    ASSERT_EQ(open_ups(pty.slave_path().c_str()), 0);
    EXPECT_FALSE(serial_device_gone(handle));
    EXPECT_FALSE(serial_device_gone(SERIAL_INVALID));

    pty.hang_up();
    EXPECT_TRUE(serial_device_gone(handle));
    char buffer[4];
    int count = -1;
    EXPECT_EQ(SerialIO_Read(handle, buffer, sizeof buffer, &count, &trace), 2);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(SerialIO_Close(&handle, &trace), 0);
    EXPECT_EQ(handle, SERIAL_INVALID);
}

} // namespace
