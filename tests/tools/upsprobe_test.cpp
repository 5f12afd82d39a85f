// The probe against the simulator: every field for each identification and voltage class, the
// readings the simulator is told, every fault, the ways the probe fails, and the scan for UPSes.
#include "sim_support.h"

#include "common/device_tree.h"
#include "common/scoped_env.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

const std::vector<std::string> probe_keys = {
    "model",           "va_rating",      "family",        "voltage_class",   "firmware",
    "protocol",        "identity",       "line_voltage",  "frequency",       "load",
    "battery_voltage", "battery_charge", "battery_low",   "power_state",     "on_battery",
    "regulator",       "temperature_c",  "temperature_f", "selftest_status", "phone_option"};

// Runs the probe and expects it to show exactly what the simulator says the program shows.
std::map<std::string, std::string> probe_matches_state(sim_session& sim,
                                                       const std::vector<std::string>& options) {
    const auto expected = sim.state();
    const run_result run = sim.probe(options);
    EXPECT_EQ(run.status, 0) << run.err;
    const auto shown = parse_keys(run.out);
    for (const std::string& key : probe_keys) {
        EXPECT_TRUE(shown.count(key)) << key;
        EXPECT_EQ(shown.count(key) ? shown.at(key) : "",
                  expected.count(key) ? expected.at(key) : "?")
            << key;
    }
    return shown;
}

struct identification_case {
    std::vector<std::string> sim_options;
    std::vector<std::string> probe_options;
    const char* model;
    const char* voltage_class;
    const char* line_voltage;
};

class ProbeIdentification : public ::testing::TestWithParam<identification_case> {};

TEST_P(ProbeIdentification, ShowsEveryFieldAsTheSimulatorModelsIt) {
    const identification_case& c = GetParam();
    sim_session sim(c.sim_options);
    ASSERT_TRUE(sim.ready());
    const auto shown = probe_matches_state(sim, c.probe_options);
    EXPECT_EQ(shown.count("model") ? shown.at("model") : "", c.model);
    EXPECT_EQ(shown.count("voltage_class") ? shown.at("voltage_class") : "", c.voltage_class);
    EXPECT_EQ(shown.count("line_voltage") ? shown.at("line_voltage") : "", c.line_voltage);
}

INSTANTIATE_TEST_SUITE_P(
    PlainAndExtended, ProbeIdentification,
    ::testing::Values(
        identification_case{{"--va", "1250", "--firmware", "21"}, {}, "Kestra 1250", "0", "120"},
        identification_case{
            {"--va", "600", "--voltage-class", "1", "--line", "231"}, {}, "Kestra 600", "1", "230"},
        identification_case{{"--identity", "B1", "--line", "220", "--frequency", "50.0"},
                            {},
                            "Kestra 400",
                            "1",
                            "220"},
        identification_case{{"--extended", "--va", "60"}, {}, "Kestra 60", "0", "120"},
        identification_case{{"--extended", "--family", "corvel", "--va", "2200", "--voltage-class",
                             "1", "--phone", "1"},
                            {},
                            "Corvel 2200",
                            "1",
                            "230"},
        identification_case{
            {"--extended", "--va", "1000", "--voltage-class", "2"}, {}, "Kestra 1000", "2", "100"},
        identification_case{
            {"--extended", "--va", "3000", "--voltage-class", "3", "--nominal", "240"},
            {"--nominal", "240"},
            "Kestra 3000",
            "3",
            "240"},
        identification_case{{"--extended", "--family", "corvel", "--va", "5000", "--voltage-class",
                             "3", "--nominal", "208", "--line", "207"},
                            {"--nominal", "208"},
                            "Corvel 5000",
                            "3",
                            "207"}));

TEST(ProbeReadings, FollowTheSimulatorsInputLines) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    for (const char* line :
         {"mains off", "battery low", "load 95", "temperature 140", "regulator 3"})
        sim.send(line);
    const auto shown = probe_matches_state(sim, {"--polls", "1"});
    EXPECT_EQ(shown.at("on_battery"), "1");
    EXPECT_EQ(shown.at("power_state"), "3");
    EXPECT_EQ(shown.at("line_voltage"), "0");
    EXPECT_EQ(shown.at("battery_low"), "1");
    EXPECT_EQ(shown.at("battery_charge"), "20");
    EXPECT_EQ(shown.at("load"), "95");
    EXPECT_EQ(shown.at("temperature_c"), "29");
    EXPECT_EQ(shown.at("temperature_f"), "84");
    EXPECT_EQ(shown.at("regulator"), "3");

    sim.send("mains on");
    sim.send("battery 12.1");
    sim.send("frequency 48.0");
    const auto back = probe_matches_state(sim, {"--polls", "1"});
    EXPECT_EQ(back.at("on_battery"), "0");
    EXPECT_EQ(back.at("line_voltage"), "120");
    EXPECT_EQ(back.at("battery_charge"), "70");
    EXPECT_EQ(back.at("frequency"), "48");
}

TEST(ProbeReadings, SelfTestIsStartedAndItsResultReported) {
    sim_session sim({"--speed", "4"});
    ASSERT_TRUE(sim.ready());
    sim.send("selftest result 3");
    sim.send("selftest duration 4");
    const run_result run = sim.probe({"--polls", "1", "--selftest"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(parse_keys(run.out)["selftest_status"], "3");
    EXPECT_EQ(sim.state()["selftest_status"], "3");
    const std::string transcript = sim.transcript();
    EXPECT_NE(transcript.find("> :A<CR>"), std::string::npos);
    EXPECT_NE(transcript.find("< :C<CR><LF>02<CR>"), std::string::npos);
    EXPECT_NE(transcript.find("< :C<CR><LF>03<CR>"), std::string::npos);
}

TEST(ProbePort, ResolvesComNamesBesideTheLinkAndFailsOnMissingPorts) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    const run_result by_name =
        run_program({tool_path("upsprobe"), "--polls", "1", "COM1"}, sim.dir().path(), 60000);
    EXPECT_EQ(by_name.status, 0) << by_name.err;
    EXPECT_EQ(parse_keys(by_name.out)["model"], "Kestra 1250");

    const run_result missing =
        run_program({tool_path("upsprobe"), sim.dir().file("COM7")}, sim.dir().path(), 60000);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("upsprobe: cannot open port"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");
}

TEST(ProbePort, DebugShowsTheWireAndLeavesNoLogBehind) {
    sim_session sim;
    ASSERT_TRUE(sim.ready());
    const run_result run = run_program({tool_path("upsprobe"), "--polls", "1", "--debug", "COM1"},
                                       sim.dir().path(), 60000);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Wrote: [3]\tString: [:W<]"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Read : [7]"), std::string::npos);
    for (const char* log : {"norva.alm", "norva.log"}) {
        struct stat info {};
        EXPECT_NE(stat(sim.dir().file(log).c_str(), &info), 0) << log;
    }
}

TEST(ProbeFaults, SilentUpsGivesExitTwoAndAMessage) {
    sim_session sim({"--fault", "silent"});
    ASSERT_TRUE(sim.ready());
    const run_result run = sim.probe({"--timeout", "300", "--retries", "2"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("did not answer :W"), std::string::npos) << run.err;
}

struct fault_case {
    const char* line;
    int status; // the probe's exit status, or -1 when either 0 or 2 is sound
};

// Under a fault the probe may fail, showing only what it read before, but what it shows is never
// wrong.
class ProbeFaultModes : public ::testing::TestWithParam<fault_case> {};

TEST_P(ProbeFaultModes, FailOrShowTheRightValues) {
    sim_session sim({"--voltage-class", "1", "--load", "57"});
    ASSERT_TRUE(sim.ready());
    const auto expected = sim.state();
    sim.send(GetParam().line);
    sim.state();
    const run_result run = sim.probe({"--polls", "1", "--retries", "2"});
    ASSERT_TRUE(run.status == 0 || run.status == 2) << run.status << run.err;
    if (GetParam().status >= 0) {
        EXPECT_EQ(run.status, GetParam().status) << run.err;
    }
    const auto shown = parse_keys(run.out);
    if (run.status == 2)
        EXPECT_NE(run.err.find("upsprobe: the UPS on"), std::string::npos);
    else
        EXPECT_EQ(shown.size(), probe_keys.size()) << run.out;
    for (const auto& [key, value] : shown)
        EXPECT_EQ(value, expected.count(key) ? expected.at(key) : "?") << key;
}

INSTANTIATE_TEST_SUITE_P(EveryFault, ProbeFaultModes,
                         ::testing::Values(fault_case{"echo-only", 2}, fault_case{"wrong-echo", 2},
                                           fault_case{"garbage", 2}, fault_case{"slow 20", 0},
                                           fault_case{"slow 120", -1}));

TEST(ProbeFaults, ShortRepliesDecodeByTheFieldRuleAndAShortStatusFails) {
    sim_session sim({"--fault", "short", "--firmware", "21", "--battery", "12.1", "--phone", "9"});
    ASSERT_TRUE(sim.ready());
    const run_result run = sim.probe({"--polls", "1", "--retries", "2", "--timeout", "400"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("did not answer :D after 2 attempts"), std::string::npos) << run.err;
    // Each reply keeps its first digit, which stands for the missing one too: identity 50 reads
    // as 55 (voltage class 1), firmware 21 as 22, battery 79 (12.1 V) as 77; the phone option's
    // one digit is gone and reads as 0. Nothing of :D is shown.
    const std::map<std::string, std::string> expected = {
        {"model", "Kestra 1250"}, {"va_rating", "1250"},       {"family", "Kestra"},
        {"voltage_class", "1"},   {"identity", "0x55"},        {"protocol", "0x00"},
        {"firmware", "0x22"},     {"battery_voltage", "11.9"}, {"phone_option", "0"}};
    EXPECT_EQ(parse_keys(run.out), expected) << run.out;
    const std::string transcript = sim.transcript();
    EXPECT_NE(transcript.find("< :B<CR><LF>7\n"), std::string::npos) << transcript;
}

TEST(ProbeFaults, SlowRepliesWithinThePollAreReadWhole) {
    sim_session sim({"--fault", "slow", "--slow-ms", "25", "--load", "66"});
    ASSERT_TRUE(sim.ready());
    const auto shown = probe_matches_state(sim, {"--polls", "1"});
    EXPECT_EQ(shown.at("load"), "66");
}

// A scan looks only in the device directory it is given and at the ports named, never at the
// machine's own devices.
class ProbeScan : public ::testing::Test {
  protected:
    run_result scan(const std::vector<std::string>& ports) const {
        const scoped_env root("VOLTSENTRY_SYSFS_ROOT", tree.root());
        std::vector<std::string> argv = {tool_path("upsprobe"), "--scan", "--dev-dir", dev.path()};
        argv.insert(argv.end(), ports.begin(), ports.end());
        return run_program(argv, dev.path(), 120000);
    }

    temp_dir dev;
    fake_device_tree tree;
};

TEST_F(ProbeScan, ListsEachSerialDeviceThatAnswersAsAUpsWithTheIdToFindItBy) {
    tree.usb_device("usb1/1-2", "0403", "6001", "QRW0001", "ttyUSB0");
    sim_session usb({}, dev.file("ttyUSB0"));
    sim_session silent({"--fault", "silent"}, dev.file("ttyS0"));
    // Named otherwise than a serial device: the scan leaves it alone unless it is given.
    sim_session other({}, dev.file("console"));
    sim_session given({"--va", "600"});
    ASSERT_TRUE(usb.ready() && silent.ready() && other.ready() && given.ready());
    std::ofstream(dev.file("ttyS1")) << "not a device\n";

    const run_result run = scan({given.link()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dev.file("ttyUSB0") + ": Kestra 1250 /PNP:QRW0001\n" + given.link() +
                           ": Kestra 600\n");
    EXPECT_NE(run.err.find("no UPS on " + dev.file("ttyS0") + ": no answer to :W"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("ttyS1"), std::string::npos) << run.err;
    EXPECT_EQ(other.transcript().find("> "), std::string::npos) << other.transcript();
    EXPECT_NE(silent.transcript().find("> :W<CR>"), std::string::npos) << silent.transcript();
}

TEST_F(ProbeScan, FindingNoUpsExitsTwoAndSaysSo) {
    sim_session silent({"--fault", "silent"}, dev.file("ttyACM0"));
    ASSERT_TRUE(silent.ready());
    const run_result run = scan({dev.file("ttyACM0"), dev.file("absent")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no UPS on " + dev.file("absent") + ": cannot open it"),
              std::string::npos)
        << run.err;
    // A device given by name as well as found in the directory is asked once.
    EXPECT_NE(run.err.find("on the 2 serial devices tried"), std::string::npos) << run.err;
}

} // namespace
