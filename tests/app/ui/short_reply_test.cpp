// The running program against a UPS whose replies are cut short, on a fast clock: the one-field
// replies are read, the status replies fail until the link is reported lost, and a power state
// the program never read whole starts nothing.
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

constexpr int kTimeoutMs = 20000;
const std::string LOST = "UPS not responding on COM1!";
const std::string FOUND = "UPS connected on COM1.";

class short_reply : public program_test {
  protected:
    // Starts the UPS with the given options and the program on its port.
    void start_monitor(const std::vector<std::string>& sim_options) {
        write_configuration([](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
            u.disruption_time = 10;
            u.powerfail_time = 2;
        });
        sim_ = std::make_unique<sim_session>(sim_options, dir_.file("COM1"));
        ASSERT_TRUE(sim_->ready());
        time_scale_ = 30;
        program_ = start("run", {}, {"/NOPNP"});
        ASSERT_TRUE(program_->started());
    }

    // The commands the UPS received, as the transcript writes them.
    std::vector<std::string> commands() const {
        std::vector<std::string> found;
        std::istringstream in(sim_->transcript());
        for (std::string line; std::getline(in, line);)
            if (line.starts_with("> ")) found.push_back(line.substr(2));
        return found;
    }

    bool shown(const std::string& text) const {
        return wait_for_line("run", "message " + text, kTimeoutMs);
    }

    std::unique_ptr<sim_session> sim_;
    std::unique_ptr<child_process> program_;
};

TEST_F(short_reply, cut_status_replies_lose_the_link_without_a_countdown_and_it_comes_back) {
    // Every reply cut after half its digits, and the mains off: the cut :D replies still carry
    // the power state of a UPS on battery.
    start_monitor({"--fault", "short", "--mains", "off"});
    ASSERT_TRUE(shown(LOST));

    // The identification and the one-digit :B are read, so :D is asked; every :D then fails and
    // is asked again, twenty times before the link is reported lost.
    const auto sent = commands();
    const std::vector<std::string> walk = {":W<CR>", ":L<CR>", ":V<CR>", ":S<CR>", ":B<CR>"};
    ASSERT_GE(sent.size(), walk.size());
    EXPECT_TRUE(std::equal(walk.begin(), walk.end(), sent.begin()));
    const size_t status_polls = static_cast<size_t>(
        std::count(sent.begin() + static_cast<long>(walk.size()), sent.end(), ":D<CR>"));
    EXPECT_EQ(status_polls, sent.size() - walk.size());
    EXPECT_GE(status_polls, 20u);

    sim_->send("mains on");
    sim_->send("normal");
    ASSERT_TRUE(shown(FOUND));
    for (const std::string& line : log_of("run")) {
        EXPECT_FALSE(line.starts_with("message System shutdown in")) << line;
        EXPECT_FALSE(line.starts_with("message On battery")) << line;
        EXPECT_FALSE(line.starts_with("toolkit-error")) << line;
    }
    EXPECT_EQ(program_->wait(0), -1);
    EXPECT_TRUE(read_file(dir_.file(POWEROFF_TRAIL)).empty());
}

} // namespace
