// The menu bar's commands in the running program: each opens its dialog or shows its note, the
// ids without a command do nothing, and the panel and firmware commands act on the UPS in view.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

constexpr int kTimeoutMs = 30000;
// Posted once the UPS's readings have come in, which is after its firmware was asked for.
constexpr char kOverload[] = "UPS Overloaded - unplug device: 95%.";

class menu_commands : public program_test {
  protected:
    void start_with_ups(const std::vector<std::string>& script) {
        write_configuration([](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
            u.message_time = 300;
        });
        sim_ = std::make_unique<sim_session>(std::vector<std::string>{"--firmware", "2A", "--load",
                                                                      "95"},
                                             dir_.file("COM1"));
        ASSERT_TRUE(sim_->ready());
        program_ = start("run", script, {"/NOPNP"});
        ASSERT_TRUE(program_->started());
    }

    void TearDown() override {
        expect_no_toolkit_error("run");
        if (HasFailure()) std::fprintf(stderr, "%s", read_file(dir_.file("run.log")).c_str());
    }

    std::unique_ptr<sim_session> sim_;
    std::unique_ptr<child_process> program_;
};

// The lines a run showed between two of its lines (both left out).
std::vector<std::string> between(const std::vector<std::string>& log, const std::string& from,
                                 const std::string& to) {
    auto first = std::find(log.begin(), log.end(), from);
    if (first == log.end()) return {};
    auto last = std::find(std::next(first), log.end(), to);
    return {std::next(first), last};
}

TEST_F(menu_commands, each_command_opens_its_dialog_or_shows_its_note) {
    start_with_ups({
        // Held until the readings are in, so the firmware is known.
        "command 1015", std::string("press 2 when ") + kOverload,
        "command 1009", "command 1017",
        "command 1016", "press 2",
        "command 1011", "press 18",
        "command 1014", "press 2",
        "command 1034", "press 2",
        "command 1023", "press 2",
        "command 1033", "command 1027", "command 1038",
        // Pop-up menus' own ids and the unused part of the range.
        "command 1012", "command 1013", "command 1021", "command 1022", "command 1026",
        "command 1028", "command 1029", "command 1030", "command 1031", "command 1032",
        "command 1035", "command 1036", "command 1037",
        // Already on the local UPS: nothing to do.
        "command 1020",
        "command 1015", "press 2",
        "command 1008"});
    ASSERT_EQ(program_->wait(kTimeoutMs), 0);
    const auto log = log_of("run");
    std::vector<std::string> shown;
    for (const std::string& l : log)
        if (l.starts_with("window ") || l.starts_with("note ") || l.starts_with("error ") ||
            l.starts_with("ask "))
            shown.push_back(l);
    const std::string setup = "window Norvane VoltSentry Plus Configuration";
    EXPECT_EQ(shown,
              (std::vector<std::string>{
                  "window Norvane VoltSentry Plus", "window UPS Status", setup,
                  "note Firmware Revision: 42", "window Set Alarm Thresholds",
                  "window Alarm Threshold Logging/Broadcasting", "window Phone Option",
                  "window Schedule Self-Test", "window Schedule Shutdown",
                  "note No self-test is currently scheduled.",
                  "note No shutdown is currently scheduled.No restart is currently scheduled.",
                  "note No self-test is currently scheduled.", setup}));
    // "Clear Message Box" posts the empty text that clears the panel.
    const auto after_firmware = between(log, "note Firmware Revision: 42",
                                        "window Set Alarm Thresholds");
    EXPECT_NE(std::find(after_firmware.begin(), after_firmware.end(), "message "),
              after_firmware.end());
    // The commands without an action show nothing and end no dialog of their own.
    const auto quiet = between(log, "note No self-test is currently scheduled.", setup);
    for (const std::string& l : quiet) EXPECT_FALSE(l.starts_with("window ")) << l;
}

} // namespace
