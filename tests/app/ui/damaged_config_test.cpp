// The running program started from a damaged configuration, against the simulated UPS on a fast
// clock: it says so, and the settings it lacks keep their defaults, so an outage is ridden out.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

constexpr int kTimeoutMs = 20000;
constexpr int kTimeScale = 30;
const std::string INCOMPLETE =
    "Configuration file norva.cfg is incomplete: defaults used from line 4 on.";

class damaged_config : public program_test {
  protected:
    void TearDown() override { expect_no_toolkit_error("run"); }

    std::vector<std::string> messages() const { return messages_of("run"); }

    bool wait_for_message(const std::string& text) const {
        return wait_until(
            [&] {
                const auto texts = messages();
                return std::find(texts.begin(), texts.end(), text) != texts.end();
            },
            kTimeoutMs);
    }

    // The texts of the event log's lines, without their time stamps.
    std::vector<std::string> events() const {
        std::vector<std::string> texts;
        std::istringstream in(read_file(dir_.file("norva.log")));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::size_t stamp_end = line.find(',', line.find(',') + 1);
            if (stamp_end != std::string::npos) texts.push_back(line.substr(stamp_end + 1));
        }
        return texts;
    }
};

TEST_F(damaged_config, a_configuration_cut_short_is_reported_and_an_outage_only_counts_down) {
    // Only the first three lines: without their defaults the times of lines 12 to 16 would be 0,
    // and the first outage would shut the machine down at once.
    std::ofstream(dir_.file("norva.cfg"), std::ios::binary)
        << "UPS port:COM1\r\nLogging:1\r\nLog Interval:1\r\n";
    std::ofstream(dir_.file("SHUTDOWN.BAT")) << "echo script >> " << POWEROFF_TRAIL << '\n';
    sim_session sim({}, dir_.file("COM1"));
    ASSERT_TRUE(sim.ready());
    time_scale_ = kTimeScale;
    auto program = start("run", {}, {"/NOPNP"});
    ASSERT_TRUE(program->started());

    ASSERT_TRUE(wait_for_message("The event log norva.log says which."));
    EXPECT_TRUE(wait_for_message("Damaged settings: defaults are in use."));
    const auto logged = events();
    EXPECT_NE(std::find(logged.begin(), logged.end(), INCOMPLETE), logged.end());
    ASSERT_TRUE(wait_until([&] { return !read_file(dir_.file("norva.dat")).empty(); }, kTimeoutMs));

    // Twenty seconds of the program's clock without mains: past the disruption time of 10
    // seconds, well inside the power-fail time of 4 minutes.
    const long long outage_start = monotonic_ms();
    sim.send("mains off");
    ASSERT_TRUE(wait_for_message("System shutdown in 4 minutes or less."));
    ASSERT_TRUE(wait_until([&] { return (monotonic_ms() - outage_start) * kTimeScale >= 20000; },
                           kTimeoutMs));
    sim.send("mains on");
    ASSERT_TRUE(wait_for_message("System shutdown terminated."));

    const auto texts = messages();
    const std::vector<std::string> expected{"The event log norva.log says which.",
                                            "On battery backup.",
                                            "System shutdown in 4 minutes or less.",
                                            "Power restored.", "System shutdown terminated."};
    auto at = texts.begin();
    for (const std::string& e : expected) {
        at = std::find(at, texts.end(), e);
        ASSERT_NE(at, texts.end()) << e;
        ++at;
    }
    EXPECT_EQ(program->wait(0), -1);
    EXPECT_TRUE(read_file(dir_.file(POWEROFF_TRAIL)).empty());
}

} // namespace
