// The configuration, modem and phone option dialogs in the running program, worked through its
// test script as a person would: what they save, the port they reopen, what reaches the UPS.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTimeoutMs = 30000;

class config_dialogs_program : public program_test {
  protected:
    void TearDown() override {
        expect_no_toolkit_error("run");
        for (const std::string& line : log_of("run"))
            EXPECT_FALSE(line.starts_with("script-error")) << line;
        if (HasFailure()) std::fprintf(stderr, "%s", read_file(dir_.file("run.log")).c_str());
    }

    bool saved_line(const std::string& line) const {
        const std::vector<std::string> lines = lines_of(read_file(dir_.file("norva.cfg")));
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    bool logged(const std::string& line) const {
        const std::vector<std::string> log = log_of("run");
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST_F(config_dialogs_program, ok_saves_what_was_set_in_the_dialog_and_its_modem_dialog) {
    write_configuration();
    // The down time is dragged beyond its range and the disruption time stepped below its
    // own; the name is longer than the record holds. A click on 38 opens the modem dialog,
    // whose six steps run beside the configuration's next ones, one each 50 ms: the
    // configuration's inspections keep it open until the modem dialog has closed.
    auto p = start("run",
                   {"command 1015",
                    "set 5 150",
                    "scroll 9 line-up",
                    "set 21 30",
                    "uncheck 34",
                    "inspect 35",
                    "choose 30 240",
                    "click 33",
                    "type 42 server-room-rack-7",
                    "click 38",
                    "inspect 38",
                    "inspect 5",
                    "inspect 9",
                    "inspect 21",
                    "inspect 30",
                    "inspect 33",
                    "inspect 42",
                    "inspect 44",
                    "inspect 6",
                    "press 1",
                    "choose 12 COM3",
                    "set 1 7",
                    "type 6 ATDT5551234",
                    "check 10",
                    "inspect 9",
                    "press 7",
                    "command 1008"},
                   {"/NOPNP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    EXPECT_TRUE(logged("control 35 enabled 1 shown 0 checked 0 value 1 text "));
    EXPECT_TRUE(logged("control 38 enabled 1 shown 1 checked 0 value 0 text Set Modem Parameters"));
    EXPECT_TRUE(logged("control 9 enabled 1 shown 0 checked 0 value 0 text Page on power fail"));
    EXPECT_TRUE(logged("destroy Modem Parameters"));
    for (const char* line :
         {"Powerfail Time:99", "Disruption Time:10", "Grace Time:30", "Logging:0", "Temp Type:0",
          "UPS id:server-room-ra", "UPS Voltage:240", "Modem Time:7", "Modem Command:ATDT5551234",
          "Modem Port:COM3", "Page On Shutdown:1"})
        EXPECT_TRUE(saved_line(line)) << line;
}

TEST_F(config_dialogs_program, only_a_changed_port_is_reopened_and_its_failure_reported) {
    write_configuration();
    auto p = start("run",
                   {"command 1015", "choose 44 COM1", "press 1", "command 1015", "choose 44 COM3",
                    "press 1", "command 1008"},
                   {"/NOPNP"});
    ASSERT_EQ(p->wait(kTimeoutMs), 0);
    // COM1 failed once, when the status window first opened it; COM3 when it was chosen.
    const std::vector<std::string> messages = messages_of("run");
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Error opening port: COM1!"), 1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Error opening port: COM3!"), 1);
    EXPECT_NE(read_file(dir_.file("norva.alm")).find("Error opening port: COM3!"),
              std::string::npos);
    EXPECT_TRUE(saved_line("UPS port:COM3"));
    EXPECT_EQ(log_of("run").back(), "exit 0");
}

TEST_F(config_dialogs_program, phone_option_reaches_the_ups_at_the_next_poll) {
    write_configuration(
        [](ups_status& u) { std::snprintf(u.ups_port, sizeof u.ups_port, "COM1"); });
    sim_session sim({}, dir_.file("COM1"));
    ASSERT_TRUE(sim.ready());
    auto p = start("run", {"command 1014", "click 4", "press 1"}, {"/NOPNP"});
    ASSERT_TRUE(p->started());
    EXPECT_TRUE(wait_until([&] { return sim.transcript().find("> :Q1<CR>") != std::string::npos; },
                           kTimeoutMs));
    EXPECT_TRUE(logged("destroy Phone Option"));
    EXPECT_TRUE(saved_line("UPS port:COM1"));
}

} // namespace
