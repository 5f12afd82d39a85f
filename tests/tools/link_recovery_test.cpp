// The poll cycle against the simulator: a UPS that falls silent, or whose cable is pulled and
// plugged in again, is reported lost after twenty polls and found again without user action.
#include "app/engine/monitor_fixture.h"
#include "engine/protocol.h"
#include "engine/serial_io.h"
#include "sim_support.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>

namespace {

const std::string LOST = "UPS not responding on COM1!";
const std::string FOUND = "UPS connected on COM1.";

bool path_exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Checks a condition every millisecond until it holds or timeout_ms have passed; the bound only
// ends a wait for what never comes, so it is generous enough for a loaded machine.
template <class condition> bool eventually(condition holds, int timeout_ms = 20000) {
    const long long deadline = monotonic_ms() + timeout_ms;
    while (!holds()) {
        if (monotonic_ms() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The texts of the transcript lines marked '>' (commands) or '<' (replies).
std::vector<std::string> marked_lines(const std::string& transcript, char mark) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < transcript.size()) {
        size_t end = transcript.find('\n', start);
        if (end == std::string::npos) break; // a line still being written
        if (end - start >= 2 && transcript[start] == mark && transcript[start + 1] == ' ')
            lines.push_back(transcript.substr(start + 2, end - start - 2));
        start = end + 1;
    }
    return lines;
}

// Bytes a transcript text stands for: every escape such as <CR> or <0D> is one byte.
int escaped_length(const std::string& text) {
    int bytes = 0;
    for (size_t i = 0; i < text.size(); ++i, ++bytes)
        if (text[i] == '<') i = text.find('>', i);
    return bytes;
}

// The descriptors this process holds, by what they name.
std::vector<std::string> open_descriptors() {
    std::vector<std::string> names;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        char target[PATH_MAX] = {};
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        if (readlink(link.c_str(), target, sizeof target - 1) > 0) names.emplace_back(target);
    }
    closedir(dir);
    return names;
}

// The engine on its real poll cycle and an injected clock, polling the simulator through the
// link "COM1" in the program directory; each poll waits (bounded) for the simulator to take the
// command and, when it answers, for the whole reply to wait at the port.
class link_recovery_test : public monitor_test {
  protected:
    void SetUp() override {
        monitor_test::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(sim.ready());
        strcpy(g_app->local.ups_port, "COM1");
        std::filesystem::current_path(sim.dir().path());
        refusals = real_serial_port_refusals();
        ASSERT_EQ(ups_port_open(), 0);
        ASSERT_NO_FATAL_FAILURE(await_reply(0));
    }

    // Applies a line of the simulator's language; its state report afterwards proves it applied.
    void say(const std::string& line) {
        ASSERT_TRUE(sim.send(line));
        ASSERT_FALSE(sim.state().empty()) << line;
    }

    void poll(bool answered) {
        const std::string before = sim.transcript();
        const size_t commands = marked_lines(before, '>').size();
        const size_t replies = marked_lines(before, '<').size();
        g_now += 1;
        poll_tick();
        // The unplugged simulator takes nothing, whatever the engine holds.
        if (g_app->serial_handle == SERIAL_INVALID || !path_exists(sim.link())) return;
        ASSERT_TRUE(eventually([&] {
            return marked_lines(sim.transcript(), '>').size() > commands;
        })) << "the simulator took no command";
        if (answered) {
            ASSERT_NO_FATAL_FAILURE(await_reply(replies));
        }
    }

    void await_reply(size_t replies_before) {
        std::string reply;
        ASSERT_TRUE(eventually([&] {
            const std::vector<std::string> replies = marked_lines(sim.transcript(), '<');
            if (replies.size() <= replies_before) return false;
            reply = replies.back();
            return true;
        })) << "the simulator sent no reply";
        const int length = escaped_length(reply);
        ASSERT_TRUE(eventually([&] {
            int waiting = 0;
            return ioctl(g_app->serial_handle, FIONREAD, &waiting) == 0 && waiting >= length;
        })) << "the reply "
            << reply << " did not arrive";
    }

    void poll_until_valid() {
        for (int i = 0; i < 12 && !g_app->local.valid; ++i) ASSERT_NO_FATAL_FAILURE(poll(true));
        ASSERT_TRUE(g_app->local.valid);
    }

    std::string last_command() {
        const std::vector<std::string> commands = marked_lines(sim.transcript(), '>');
        return commands.empty() ? "" : commands.back();
    }

    // The values decoded from the UPS are those the simulator says the program should show.
    void expect_data_of_simulator() {
        std::map<std::string, std::string> state = sim.state();
        EXPECT_EQ(std::to_string(g_app->local.line_voltage), state["line_voltage"]);
        EXPECT_EQ(std::to_string(g_app->local.load), state["load"]);
        EXPECT_EQ(std::to_string(g_app->local.va_rating), state["va_rating"]);
    }

    // At the poll that reads the first answer after the loss: the link is reported back once,
    // identification restarts with :L, and valid data follows with no other message.
    void expect_found_again() {
        ASSERT_NO_FATAL_FAILURE(poll(true));
        EXPECT_EQ(g_panel, (std::vector<std::string>{LOST, FOUND}));
        EXPECT_EQ(last_command(), ":L<CR>");
        ASSERT_NO_FATAL_FAILURE(poll_until_valid());
        expect_data_of_simulator();
        EXPECT_EQ(g_panel, (std::vector<std::string>{LOST, FOUND}));
    }

    sim_session sim;
    int refusals = 0;
};

TEST_F(link_recovery_test, SilentUpsIsLostAtTheTwentiethFailedPollAndIdentifiedAgainWhenItAnswers) {
    ASSERT_NO_FATAL_FAILURE(poll_until_valid());
    expect_data_of_simulator();
    ASSERT_NO_FATAL_FAILURE(say("silent"));
    // This poll still reads the reply sent before the UPS fell silent.
    ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_EQ(g_app->failed_polls, 0);
    for (int failed = 1; failed < LOST_LINK_POLLS; ++failed) ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_TRUE(g_panel.empty());
    ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_EQ(g_panel, std::vector<std::string>{LOST});
    EXPECT_EQ(g_app->local.valid, 0);
    ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_EQ(g_panel.size(), 1u) << "lost twice";
    // The port stayed open all along: a silent UPS is no gone device.
    EXPECT_NE(g_app->serial_handle, SERIAL_INVALID);

    ASSERT_NO_FATAL_FAILURE(say("normal"));
    ASSERT_NO_FATAL_FAILURE(poll(true)); // the command sent while silent got nothing
    EXPECT_EQ(g_panel.size(), 1u);
    ASSERT_NO_FATAL_FAILURE(expect_found_again());
}

TEST_F(link_recovery_test, UnpluggedUpsIsReopenedQuietlyAndFoundAgainWhenPluggedBackIn) {
    ASSERT_NO_FATAL_FAILURE(poll_until_valid());
    const size_t descriptors = open_descriptors().size();
    ASSERT_NO_FATAL_FAILURE(say("unplug"));
    ASSERT_FALSE(path_exists(sim.link()));

    // The hang-up shows at the first poll: the port is closed, and while "COM1" is missing it is
    // not opened again, least of all at the machine's own serial port the name falls back to.
    ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_EQ(g_app->serial_handle, SERIAL_INVALID);
    for (int failed = 2; failed < LOST_LINK_POLLS; ++failed) ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_TRUE(g_panel.empty());
    ASSERT_NO_FATAL_FAILURE(poll(false));
    EXPECT_EQ(g_panel, std::vector<std::string>{LOST});
    EXPECT_EQ(g_app->serial_handle, SERIAL_INVALID);
    EXPECT_EQ(real_serial_port_refusals(), refusals) << "a real serial device was asked for";

    ASSERT_NO_FATAL_FAILURE(say("replug"));
    ASSERT_TRUE(path_exists(sim.link()));
    ASSERT_NO_FATAL_FAILURE(poll(true)); // opened again; nothing was asked yet
    EXPECT_NE(g_app->serial_handle, SERIAL_INVALID);
    EXPECT_EQ(last_command(), ":W<CR>");
    EXPECT_EQ(g_panel.size(), 1u);
    ASSERT_NO_FATAL_FAILURE(expect_found_again());
    EXPECT_EQ(open_descriptors().size(), descriptors) << "the dead port's descriptor leaked";
    for (const std::string& name : open_descriptors())
        EXPECT_NE(name.rfind("/dev/ttyS", 0), 0u) << name;
}

TEST_F(link_recovery_test, UnplugShorterThanTwentyPollsGoesUnreported) {
    ASSERT_NO_FATAL_FAILURE(poll_until_valid());
    ASSERT_NO_FATAL_FAILURE(say("unplug"));
    ASSERT_NO_FATAL_FAILURE(poll(false));
    ASSERT_NO_FATAL_FAILURE(say("replug"));
    // Back before the link was reported lost: identification starts again from :W on the new
    // device, and there is nothing to report either way.
    ASSERT_NO_FATAL_FAILURE(poll(true));
    EXPECT_EQ(last_command(), ":W<CR>");
    ASSERT_NO_FATAL_FAILURE(poll(true));
    EXPECT_TRUE(g_panel.empty());
    EXPECT_EQ(g_app->failed_polls, 0);
    ASSERT_NO_FATAL_FAILURE(poll_until_valid());
}

TEST(UpssimUnplug, HangsUpTheLineAndReplugServesANewDeviceBehindTheSameLink) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    int handle = SERIAL_INVALID;
    ASSERT_EQ(SerialIO_Open(&handle, sim.link().c_str(), 2400, 8, 0, 1), 0);
    char first[PATH_MAX] = {};
    ASSERT_GT(readlink(sim.link().c_str(), first, sizeof first - 1), 0);

    ASSERT_TRUE(sim.send("unplug"));
    EXPECT_TRUE(eventually([&] { return serial_device_gone(handle); }));
    EXPECT_FALSE(path_exists(sim.link()));
    EXPECT_FALSE(sim.state().empty()) << "the model goes on while unplugged";
    ASSERT_TRUE(sim.send("unplug"));
    EXPECT_TRUE(
        eventually([&] { return sim.errors().find("unplugged already") != std::string::npos; }));
    SerialIO_Close(&handle);

    ASSERT_TRUE(sim.send("replug"));
    ASSERT_TRUE(eventually([&] { return path_exists(sim.link()); }));
    wire_client line(sim.link());
    ASSERT_TRUE(line.is_open());
    EXPECT_EQ(line.ask(":W", 7), ":W\r\n00\r");
    ASSERT_TRUE(sim.send("replug"));
    EXPECT_TRUE(
        eventually([&] { return sim.errors().find("plugged in already") != std::string::npos; }));
    EXPECT_EQ(line.ask(":W", 7), ":W\r\n00\r");

    const std::string transcript = sim.transcript();
    EXPECT_NE(
        transcript.find(std::string("# unplugged ") + first + ", " + sim.link() + " removed\n"),
        std::string::npos);
    EXPECT_NE(transcript.find("# replugged: serving /dev/pts/"), std::string::npos);
}

TEST(SerialGuard, DevicesOtherThanPseudoTerminalsAreRefusedBeforeOpening) {
    const int before = real_serial_port_refusals();
    int handle = SERIAL_INVALID;
    EXPECT_EQ(SerialIO_Open(&handle, "/dev/null", 2400, 8, 0, 1), 2);
    EXPECT_EQ(handle, SERIAL_INVALID);
    EXPECT_EQ(real_serial_port_refusals(), before + 1);
    test_pty pty;
    ASSERT_TRUE(pty.ok());
    EXPECT_EQ(SerialIO_Open(&handle, pty.slave_path().c_str(), 2400, 8, 0, 1), 0);
    EXPECT_EQ(real_serial_port_refusals(), before + 1);
    SerialIO_Close(&handle);
}

} // namespace
