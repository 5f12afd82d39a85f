// The simulator on the wire: reply formats, the model's life cycle, faults, input lines, the
// transcript and the link's life.
#include "sim_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/stat.h>

namespace {

bool path_exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string reply(const std::string& command, const std::string& digits) {
    return command + "\r\n" + digits + "\r";
}

// The :D payload field at 1-based position first with n characters.
std::string field(const std::string& d_reply, size_t first, size_t n) {
    return d_reply.substr(4 + first - 1, n);
}

TEST(UpssimLink, AnswersTheProtocolQuery) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    ASSERT_TRUE(line.is_open());
    EXPECT_EQ(line.ask(":W", 7), reply(":W", "00"));
}

TEST(UpssimReplies, PlainIdentificationAndStatusFields) {
    sim_session sim({"--va",          "1250", "--voltage-class", "1",    "--firmware",  "3a",
                     "--line",        "230",  "--load",          "40",   "--regulator", "2",
                     "--temperature", "100",  "--frequency",     "50.1", "--battery",   "12.7",
                     "--phone",       "1"});
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    EXPECT_EQ(line.ask(":W", 7), reply(":W", "00"));
    EXPECT_EQ(line.ask(":L", 7), reply(":L", "51"));
    EXPECT_EQ(line.ask(":V", 7), reply(":V", "3A"));
    EXPECT_EQ(line.ask(":S", 6), reply(":S", "1"));
    EXPECT_EQ(line.ask(":B", 7), reply(":B", "7F"));
    // 230 V at 1.92 V a step is raw 120 (0x78), shown as 230.
    EXPECT_EQ(line.ask(":D", 26), reply(":D", "1078226400002878781F5"));
    EXPECT_EQ(line.ask(":I", 7), reply(":I", "78"));
    EXPECT_EQ(line.ask(":C", 7), reply(":C", "04"));
}

TEST(UpssimReplies, ExtendedIdentificationCarriesFamilyAndRatingInBothValues) {
    sim_session sim({"--extended", "--family", "corvel", "--va", "1500", "--voltage-class", "2"});
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    // 0x8000 | Corvel 0x4000 | 300 << 3 | class 2 = 0xC962.
    EXPECT_EQ(line.ask(":W", 7), reply(":W", "C9"));
    EXPECT_EQ(line.ask(":L", 7), reply(":L", "62"));
    const std::string d = line.ask(":D", 26);
    // Class 2 defaults to 100 V: raw 121 (0x79) at 0.83 V a step shows 100 V.
    EXPECT_EQ(field(d, 3, 2), "79");
}

// Moves the simulator's clock on and waits until it has done so.
void advance(sim_session& sim, unsigned seconds) {
    ASSERT_TRUE(sim.send("advance " + std::to_string(seconds)));
    sim.state(); // the reply proves the lines before it were applied
}

TEST(UpssimModel, SelfTestRunsForItsDurationThenReportsItsResult) {
    sim_session sim({"--manual-clock"});
    ASSERT_TRUE(sim.ready());
    ASSERT_TRUE(sim.send("selftest result 3"));
    ASSERT_TRUE(sim.send("selftest duration 2"));
    sim.state();
    wire_client line(sim.link());
    EXPECT_EQ(line.ask(":A", 5), ":A\r\n\r");
    EXPECT_EQ(line.ask(":C", 7), reply(":C", "02"));
    advance(sim, 1);
    EXPECT_EQ(line.ask(":C", 7), reply(":C", "02")) << "still running a second short";
    advance(sim, 1);
    EXPECT_EQ(line.ask(":C", 7), reply(":C", "03"));
}

TEST(UpssimModel, AdvanceAlsoMovesARunningClockScaledBySpeed) {
    sim_session sim({"--speed", "2"});
    ASSERT_TRUE(sim.ready());
    ASSERT_TRUE(sim.send("selftest duration 3600"));
    ASSERT_TRUE(sim.send("selftest"));
    advance(sim, 3600);
    EXPECT_EQ(sim.state()["selftest_status"], "0");
}

TEST(UpssimModel, SwitchOffCommandsHonourGraceTimeAndRestart) {
    sim_session sim({"--manual-clock"});
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    EXPECT_EQ(line.ask(":N02", 7), ":N02\r\n\r");
    EXPECT_EQ(line.ask(":H000003", 11), ":H000003\r\n\r");
    advance(sim, 1);
    EXPECT_EQ(field(line.ask(":D", 26), 6, 1), "2") << "still on during the grace time";
    advance(sim, 1);
    EXPECT_EQ(field(line.ask(":D", 26), 6, 1), "0") << "off after the grace time";
    advance(sim, 2);
    EXPECT_EQ(field(line.ask(":D", 26), 6, 1), "0") << "still off during the restart delay";
    advance(sim, 1);
    EXPECT_EQ(field(line.ask(":D", 26), 6, 1), "2") << "on again after the restart delay";

    EXPECT_EQ(line.ask(":K0", 6), ":K0\r\n\r");
    advance(sim, 2);
    const std::string off = line.ask(":D", 26);
    EXPECT_EQ(field(off, 6, 1), "0");
    EXPECT_EQ(field(off, 13, 2), "00") << "no load while the output is off";
    advance(sim, 86400);
    EXPECT_EQ(sim.state()["power_state"], "0") << ":K0 stays off for good";
    ASSERT_TRUE(sim.send("ups on"));
    EXPECT_EQ(sim.state()["power_state"], "2");
}

TEST(UpssimModel, OnBatterySwitchOffEndsWhenTheMainsReturn) {
    sim_session sim({"--manual-clock", "--mains", "off"});
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    const std::string on_battery = line.ask(":D", 26);
    EXPECT_EQ(field(on_battery, 3, 2), "00") << "no line voltage while the mains are off";
    EXPECT_EQ(field(on_battery, 6, 1), "3");
    line.ask(":N01", 7);
    line.ask(":G", 5);
    advance(sim, 1);
    EXPECT_EQ(field(line.ask(":D", 26), 6, 1), "0");
    ASSERT_TRUE(sim.send("mains on"));
    EXPECT_EQ(sim.state()["power_state"], "2");
}

TEST(UpssimFaults, EachFaultSpoilsTheReplyAsNamed) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    const std::string good = line.ask(":D", 26);
    ASSERT_EQ(good.size(), 26u);

    sim.send("silent");
    sim.state();
    EXPECT_EQ(line.ask(":D", 1, 300), "");
    sim.send("echo-only");
    sim.state();
    EXPECT_EQ(line.ask(":D", 3), ":D\r");
    sim.send("wrong-echo");
    sim.state();
    EXPECT_EQ(line.ask(":D", 7).substr(0, 3), ":B\r");
    EXPECT_EQ(line.ask(":W", 26).substr(0, 3), ":D\r");
    sim.send("garbage");
    sim.state();
    const std::string noise = line.ask(":D", 26);
    EXPECT_EQ(noise.size(), 26u);
    EXPECT_NE(noise.substr(0, 3), ":D\r");
    sim.send("short");
    sim.state();
    EXPECT_EQ(line.ask(":D", 4 + 10), good.substr(0, 4 + 10));
    EXPECT_EQ(line.ask(":B", 5), ":B\r\n8");
    sim.send("slow 30");
    sim.state();
    const long long start = monotonic_ms();
    EXPECT_EQ(line.ask(":D", 26), good);
    EXPECT_GE(monotonic_ms() - start, 25 * 30);
    sim.send("normal");
    sim.state();
    EXPECT_EQ(line.ask(":D", 26), good);
}

TEST(UpssimInput, RefusedLinesAreReportedAndChangeNothing) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    const auto before = sim.state();
    for (const char* bad : {"bogus", "load 999", "battery 30.0", "mains maybe", "selftest x",
                            "regulator 4", "frequency 60.x", "slow 0", "celsius 90",
                            "advance 1.5", "advance"})
        ASSERT_TRUE(sim.send(bad));
    EXPECT_EQ(sim.state(), before);
    const std::string errors = sim.errors();
    EXPECT_NE(errors.find("upssim: unknown line: bogus"), std::string::npos);
    size_t lines = 0;
    for (size_t at = 0; (at = errors.find("upssim: ", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 11u);
}

TEST(UpssimInput, ReadingsChangeWhatTheStateShows) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    for (const char* line : {"mains off", "battery low", "load 95", "temperature 0", "phone 3"})
        sim.send(line);
    auto state = sim.state();
    EXPECT_EQ(state["on_battery"], "1");
    EXPECT_EQ(state["line_voltage"], "0");
    EXPECT_EQ(state["battery_low"], "1");
    EXPECT_EQ(state["battery_voltage"], "11.0");
    EXPECT_EQ(state["battery_charge"], "20");
    EXPECT_EQ(state["load"], "95");
    EXPECT_EQ(state["temperature_c"], "-21");
    EXPECT_EQ(state["temperature_f"], "-5");
    EXPECT_EQ(state["phone_option"], "3");
    sim.send("celsius 29");
    EXPECT_EQ(sim.state()["temperature_c"], "29");
}

TEST(UpssimTranscript, RecordsCommandsRepliesAndChanges) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    wire_client line(sim.link());
    line.ask(":W", 7);
    sim.send("mains off");
    sim.state();
    line.ask(":X", 1, 200);
    const std::string text = sim.transcript();
    EXPECT_NE(text.find("> :W<CR>\n< :W<CR><LF>00<CR>\n"), std::string::npos) << text;
    EXPECT_NE(text.find("# mains off\n"), std::string::npos);
    EXPECT_NE(text.find("> :X<CR>\n# unknown command, no reply\n"), std::string::npos);
}

TEST(UpssimLife, EndsOnSignalQuitOrEndOfInputAndRemovesTheLink) {
    {
        sim_session sim;
        ASSERT_TRUE(sim.ready());
        sim.process().signal(SIGTERM);
        EXPECT_EQ(sim.process().wait(2000), 0);
        EXPECT_FALSE(path_exists(sim.link()));
    }
    {
        sim_session sim;
        ASSERT_TRUE(sim.ready());
        sim.send("quit");
        EXPECT_EQ(sim.process().wait(2000), 0);
        EXPECT_FALSE(path_exists(sim.link()));
    }
    {
        sim_session sim({"--exit-on-eof"});
        ASSERT_TRUE(sim.ready());
        sim.process().close_input();
        EXPECT_EQ(sim.process().wait(2000), 0);
        EXPECT_FALSE(path_exists(sim.link()));
    }
    {
        sim_session sim;
        ASSERT_TRUE(sim.ready());
        sim.process().close_input();
        EXPECT_EQ(sim.process().wait(200), -1) << "keeps serving after the end of its input";
        wire_client line(sim.link());
        EXPECT_EQ(line.ask(":W", 7), reply(":W", "00"));
        sim.process().signal(SIGHUP);
        EXPECT_EQ(sim.process().wait(2000), 0);
        EXPECT_FALSE(path_exists(sim.link()));
    }
}

TEST(UpssimLife, RefusesToReplaceAFileAndBadModels) {
    temp_dir dir;
    std::ofstream(dir.file("COM1")) << "keep";
    const auto taken = run_program({tool_path("upssim"), "--link", dir.file("COM1")}, "", 5000);
    EXPECT_EQ(taken.status, 2);
    EXPECT_EQ(read_file(dir.file("COM1")), "keep");
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--voltage-class", "2"},
                                                {"--va", "1000"},
                                                {"--family", "corvel"},
                                                {"--identity", "51", "--va", "500"},
                                                {"--nominal", "220"}}) {
        std::vector<std::string> argv = {tool_path("upssim"), "--link", dir.file("COM2")};
        argv.insert(argv.end(), bad.begin(), bad.end());
        const auto result = run_program(argv, "", 5000);
        EXPECT_EQ(result.status, 2) << bad[0];
        EXPECT_NE(result.err.find("upssim: "), std::string::npos);
        EXPECT_FALSE(path_exists(dir.file("COM2")));
    }
}

} // namespace
