// Cost of one poll of the monitor without a UPS port: supervision, states, alarms and sending.
#include "engine/app_state.h"
#include "engine/os_shutdown.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"
#include "files/clock.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

time_t g_time = 1700000000;

void BM_PollTickWithoutPort(benchmark::State& state) {
    forbid_real_power_off();
    set_log_writing(false);
    set_app_clock([] { return ++g_time; });
    app_state app{};
    app.serial_handle = -1;
    strcpy(app.local.ups_port, "UPS");
    app.local.valid = 1;
    app.local.line_voltage = 120;
    g_app = &app;
    reset_monitor_engine();
    for (auto _ : state) {
        poll_tick();
        benchmark::DoNotOptimize(app.failed_polls);
    }
    g_app = nullptr;
    set_app_clock(nullptr);
}
BENCHMARK(BM_PollTickWithoutPort);

} // namespace
