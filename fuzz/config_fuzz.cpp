// Fuzzes the reading of the configuration, threshold and alarm-kind files with arbitrary bytes.
// The files live in the current directory: run it from a scratch directory.
#include "files/config_file.h"
#include "files/text_file.h"
#include "common/settings_record.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

template <std::size_t N> void check_text(const char (&text)[N]) {
    if (std::memchr(text, '\0', N) == nullptr) std::abort();
}

void check_sane(const settings_record& app) {
    const ups_status& u = app.local;
    check_text(u.ups_port);
    check_text(u.ups_id);
    check_text(u.modem_command);
    check_text(u.modem_port);
    check_text(u.ups_voltage_text);
    check_text(app.settings.alert_server);
    for (const uint8_t flag : {u.logging_enabled, u.selftest_enabled, u.shutdown_enabled,
                               u.restart_enabled, u.page_on_shutdown, app.settings.start_minimised}) {
        if (flag > 1) std::abort();
    }
    for (const long v :
         {long{u.log_interval}, long{u.selftest_type}, long{u.temperature_unit},
          long{u.disruption_time}, long{u.low_battery_time}, long{u.grace_time},
          long{u.message_time}, long{u.powerfail_time}, long{u.modem_time}, long{u.shutdown_type},
          long{u.selftest_time.hour}, long{u.last_selftest.year}, long{app.settings.stale_file_limit}}) {
        if (v < 0) std::abort();
    }
    if (u.selftest_type == 0 && u.selftest_enabled) std::abort();
    if (u.shutdown_type == 0 && u.shutdown_enabled) std::abort();
    if (u.nominal_voltage != 0 && u.ups_voltage_text[0] != '2') std::abort();
}

time_t fixed_now() {
    return 1773480413;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const char* name : {CONFIG_FILE, THRESHOLD_FILE, ALARM_KIND_FILE}) {
        unique_fd fd(::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644));
        if (!fd || !write_all(fd.get(), input)) std::abort();
    }
    auto app = std::make_unique<settings_record>();
    load_thresholds(app->local);
    load_alarm_kinds(app->local);
    settings_problems problems;
    if (load_configuration(app->local, app->settings, fixed_now(), &problems) != 0) std::abort();
    check_sane(*app);
    // A file of fewer than 37 lines is always reported; whatever it lacks keeps its default.
    text_reader counter(CONFIG_FILE);
    int lines = 0;
    for (std::string line; lines < 37 && counter.read_line(line, 131);) ++lines;
    if (lines < 37 && problems.empty()) std::abort();
    if (app->local.ups_port[0] == '\0' || app->local.modem_port[0] == '\0') std::abort();

    // What was loaded saves to a file that loads back to itself.
    if (save_configuration(app->local, app->settings) != 0) std::abort();
    text_reader first_reader(CONFIG_FILE);
    std::string first;
    for (std::string line; first_reader.read_piece(line, 4096);) first += line;
    // A saved file is complete and readable: it loads back without complaint.
    problems.clear();
    if (load_configuration(app->local, app->settings, fixed_now(), &problems) != 0) std::abort();
    if (!problems.empty()) std::abort();
    check_sane(*app);
    if (save_configuration(app->local, app->settings) != 0) std::abort();
    text_reader second_reader(CONFIG_FILE);
    std::string second;
    for (std::string line; second_reader.read_piece(line, 4096);) second += line;
    if (first != second) std::abort();
    return 0;
}
