// The running program finds the UPS's adapter in a fake device tree and uses its port, named whole
// in the configuration dialog and the message panel; /NOPNP keeps the configured port.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "common/device_tree.h"
#include "common/scoped_env.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTimeoutMs = 30000;
// A device path far longer than a "COMn" name, that no machine has: opening it fails. With it
// "UPS not responding on %s!" takes 64 characters.
const std::string kFoundPort = "/dev/ttyUSB_no_such_adapter_on_this_host0";

class port_discovery_program : public program_test {
  protected:
    void SetUp() override {
        program_test::SetUp();
        tree_.usb_device("pci0000:00/usb1/1-1", "0403", "6001", "QRW0001", kFoundPort.substr(5));
        write_configuration(
            [](ups_status& u) { std::snprintf(u.ups_port, sizeof u.ups_port, "COM1"); });
        time_scale_ = 30;
    }

    void TearDown() override {
        expect_no_toolkit_error("run");
        for (const std::string& line : log_of("run"))
            EXPECT_FALSE(line.starts_with("script-error")) << line;
    }

    // Runs the program on the fake tree with the configuration dialog's port list inspected,
    // the dialog held open until the message held_for has gone to the panel.
    void run(const std::vector<std::string>& args, const std::string& held_for) {
        const scoped_env root("VOLTSENTRY_SYSFS_ROOT", tree_.root());
        auto p =
            start("run", {"command 1015", "inspect 44", "press 1 when " + held_for, "command 1008"},
                  args);
        ASSERT_EQ(p->wait(kTimeoutMs), 0) << read_file(dir_.file("run.log"));
    }

    bool logged(const std::string& line) const {
        const std::vector<std::string> log = log_of("run");
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    fake_device_tree tree_;
};

TEST_F(port_discovery_program, the_found_port_is_used_and_named_whole) {
    run({}, "UPS not responding on " + kFoundPort + "!");
    const std::vector<std::string> messages = messages_of("run");
    EXPECT_EQ(messages.front(), "Error opening port: " + kFoundPort + "!");
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Error opening port: COM1!"), 0);
    // The configuration dialog offers the found port alone, and it cannot be changed there.
    EXPECT_TRUE(logged("control 44 enabled 0 shown 1 checked 0 value 0 text " + kFoundPort));
    // The configured port stays what the user chose.
    EXPECT_NE(read_file(dir_.file("norva.cfg")).find("UPS port:COM1\r\n"), std::string::npos);
}

TEST_F(port_discovery_program, no_search_with_nopnp_so_the_configured_port_is_used) {
    run({"/NOPNP"}, "UPS not responding on COM1!");
    for (const std::string& text : messages_of("run"))
        EXPECT_EQ(text.find(kFoundPort), std::string::npos) << text;
    EXPECT_TRUE(logged("message Error opening port: COM1!"));
    EXPECT_TRUE(logged("control 44 enabled 1 shown 1 checked 0 value 0 text COM1"));
}

} // namespace
