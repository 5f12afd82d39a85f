// Cost of one poll of the monitor without a UPS port: supervision, states, alarms and sending.
#include "engine/app_state.h"
#include "engine/os_shutdown.h"
#include "engine/poll_cycle.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

time_t g_time = 1700000000;

void BM_PollTickWithoutPort(benchmark::State& state) {
    forbid_real_power_off();
    // A fresh engine, which writes no logs and runs on its own clock.
    app_state app{};
    app.engine.log_writing = false;
    app.engine.clock = [] { return ++g_time; };
    strcpy(app.local.ups_port, "UPS");
    app.local.valid = 1;
    app.local.line_voltage = 120;
    g_app = &app;
    for (auto _ : state) {
        poll_tick();
        benchmark::DoNotOptimize(app.failed_polls);
    }
    g_app = nullptr;
}
BENCHMARK(BM_PollTickWithoutPort);

} // namespace
