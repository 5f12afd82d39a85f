// Runs the program against the simulated UPS with a script that works the alarm dialogs, then
// reads the settings files and the controls the script inspected.
#pragma once

#include "app/ui/program_support.h"
#include "tools/sim_support.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class alarm_dialog_run : public program_test {
  protected:
    static constexpr int kTimeoutMs = 30000;

    // Starts the UPS with sim_options on COM1 and the program with script, followed by "Exit",
    // on a configuration that edit changes when given; returns once the program has ended.
    void run(const std::vector<std::string>& sim_options, std::vector<std::string> script,
             const std::function<void(ups_status&)>& edit = nullptr) {
        write_configuration([&](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
            if (edit) edit(u);
        });
        sim_ = std::make_unique<sim_session>(sim_options, dir_.file("COM1"));
        ASSERT_TRUE(sim_->ready());
        script.push_back("command 1008");
        auto program = start("run", script, {"/NOPNP"});
        ASSERT_TRUE(program->started());
        ASSERT_EQ(program->wait(kTimeoutMs), 0);
    }

    void put(const char* name, const std::string& text) const {
        std::ofstream(dir_.file(name)) << text;
    }
    std::string file(const char* name) const { return read_file(dir_.file(name)); }
    // The numbers of a settings file, one a line, as text.
    std::vector<std::string> numbers(const char* name) const { return lines_of(file(name)); }

    // The "control" lines the script's inspect steps logged, in order, without their prefix.
    std::vector<std::string> inspected() const {
        std::vector<std::string> lines;
        for (const std::string& line : log_of("run"))
            if (line.starts_with("control ")) lines.push_back(line.substr(8));
        return lines;
    }

    // The error dialogs the run showed, without their prefix.
    std::vector<std::string> errors() const {
        std::vector<std::string> lines;
        for (const std::string& line : log_of("run"))
            if (line.starts_with("error ")) lines.push_back(line.substr(6));
        return lines;
    }

    void TearDown() override {
        expect_no_toolkit_error("run");
        if (HasFailure()) std::fprintf(stderr, "%s", read_file(dir_.file("run.log")).c_str());
    }

    std::unique_ptr<sim_session> sim_;
};
