// A monitor under test: a fresh directory, an injected clock, a recording host and messages, and
// a UPS on a pseudo-terminal that answers each command the way the real one does.
#pragma once

#include "common/pty.h"
#include "engine/app_state.h"
#include "engine/monitor_host.h"
#include "engine/monitor_state.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// Timers are numbered from 1 in the order they were asked for; a failed one keeps its number.
struct recording_host : monitor_host {
    bool start_poll_timer(int milliseconds) override {
        timers.push_back(milliseconds);
        if (fail_timer) return false;
        if (running != 0) destroyed.push_back(running);
        running = static_cast<int>(timers.size());
        return true;
    }
    void draw_clock() override { ++clock_draws; }
    void refresh_status() override { ++refreshes; }
    void set_icon(const char* name) override { icons.emplace_back(name); }
    void terminate_application() override {
        ++terminations;
        // As in the program: ending it destroys the windows, closes the port and frees the state.
        if (end_frees_state && g_app) {
            if (g_app->serial_handle != -1) ups_port_close();
            delete g_app;
            g_app = nullptr;
        }
    }

    bool fail_timer = false;
    bool end_frees_state = false;
    int running = 0; // the timer that runs now, 0 for none
    std::vector<int> timers, destroyed;
    std::vector<std::string> icons;
    int clock_draws = 0, refreshes = 0, terminations = 0;
};

// Texts that reached the message panel, and lines forwarded to the alert server (its name, a bar,
// then the line when the server is not the configured "alerts").
inline std::vector<std::string> g_panel, g_forwarded;
inline time_t g_now = 0;

// A UPS behind the port name "UPS" in the current directory.
struct fake_ups {
    // Makes the port name a link to this UPS; the name is absolute so the link goes with its dir.
    bool plug(const std::filesystem::path& name) { return pty.ok() && pty.link(name.string()); }

    std::string status_payload() const {
        char text[32];
        snprintf(text, sizeof text, "X%X0%02X0%X%02X0000%02X%02X%02X%03X", battery_not_low,
                 line_raw, power_state, 0x8C, load, line_raw, line_raw, 0x258);
        return text;
    }

    std::string payload(const std::string& command) const {
        char text[8];
        switch (command[1]) {
        case 'D':
            return status_payload();
        case 'L':
            snprintf(text, sizeof text, "X%02X", identity);
            return text;
        case 'B':
            return "X84";
        case 'C':
            snprintf(text, sizeof text, "X%02X", selftest_status);
            return text;
        default:
            return "X00";
        }
    }

    // Takes the command the monitor sent last and, unless silent, puts the reply on the line.
    void answer(int handle) {
        if (handle < 0) return;
        std::string command;
        while (command.empty() || command.back() != '\r') {
            const std::string c = pty.read(1, 500);
            if (c.empty()) return;
            command += c;
        }
        commands.push_back(command);
        if (silent) return;
        const std::string reply = command + payload(command);
        ASSERT_TRUE(pty.write(reply));
        int waiting = 0;
        for (int i = 0; i < 20000 && waiting < static_cast<int>(reply.size()); ++i) {
            if (ioctl(handle, FIONREAD, &waiting) != 0) return;
            if (waiting < static_cast<int>(reply.size()))
                std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    test_pty pty;
    bool silent = false;
    int battery_not_low = 1, line_raw = 120, power_state = 2, load = 40, identity = 0x50;
    int selftest_status = 0;
    std::vector<std::string> commands;
};

class monitor_test : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC0", 1);
        tzset();
        previous_dir = std::filesystem::current_path();
        char pattern[] = "/tmp/engine_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        work_dir = pattern;
        std::filesystem::current_path(work_dir);

        // A fresh application state is a fresh engine: nothing of an earlier test is left in it.
        g_app = new app_state{};
        g_app->network_enabled = 1;
        std::strcpy(g_app->alert_server, "alerts");
        ups_status& u = g_app->local;
        strcpy(u.ups_port, "UPS");
        strcpy(u.modem_port, "MODEM");
        strcpy(u.ups_id, "UPS1");
        const ups_threshold defaults[] = {{100, 19}, {130, 19}, {90, 19}, {30, 19}, {120, 19}};
        std::copy(std::begin(defaults), std::end(defaults), u.thresholds);
        u.disruption_time = 10;
        u.low_battery_time = 60;
        u.message_time = 30;
        u.powerfail_time = 4;
        u.grace_time = 120;
        u.selftest_status = 5;

        g_panel.clear();
        g_forwarded.clear();
        engine_state& engine = g_app->engine;
        engine.host = &host;
        engine.panel = [](const char* t) { g_panel.emplace_back(t); };
        engine.transport = [](const char* server, const char* t) {
            g_forwarded.emplace_back(std::strcmp(server, "alerts") == 0 ? std::string(t)
                                                                       : server + std::string("|") + t);
            return 0;
        };
        g_now = at(2024, 3, 5, 12, 0, 0); // a Tuesday
        engine.clock = [] { return g_now; };
        app_stamp_poll_time(*g_app, g_now);
    }

    void TearDown() override {
        if (g_app && g_app->serial_handle != -1) ups_port_close();
        delete g_app;
        g_app = nullptr;
        std::filesystem::current_path(previous_dir);
        std::filesystem::remove_all(work_dir);
    }

    // Calendar time of a UTC date (month 1-12).
    static time_t at(int year, int month, int day, int hour, int minute, int second) {
        struct tm tm {};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        return timegm(&tm);
    }

    // Opens the port on the fake UPS and lets it answer the :W sent at once.
    void connect() {
        ASSERT_TRUE(ups.plug(work_dir / "UPS"));
        ASSERT_EQ(ups_port_open(), 0);
        ups.answer(g_app->serial_handle);
    }

    // The engine's monitor state.
    static int16_t monitor_state() { return g_app->engine.monitor_state; }

    // Advances the clock, runs one poll and lets the UPS answer what it sent.
    void tick(int seconds = 1) {
        g_now += seconds;
        ++ticks;
        poll_tick();
        if (g_app) ups.answer(g_app->serial_handle);
    }

    // Ticks until the local record is valid (identification done, a :D answered).
    void until_valid() {
        for (int i = 0; i < 12 && !g_app->local.valid; ++i) tick();
        ASSERT_TRUE(g_app->local.valid);
    }

    static int count(const std::vector<std::string>& texts, const std::string& text) {
        return static_cast<int>(std::count(texts.begin(), texts.end(), text));
    }

    recording_host host;
    fake_ups ups;
    int ticks = 0;
    std::filesystem::path previous_dir, work_dir;
};
