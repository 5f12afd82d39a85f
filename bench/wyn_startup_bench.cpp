// Benchmark of the toolkit's start-up: from the handshake to the task window's first E_UPDATE.
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/events.h>
#include <wyn/win.h>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const WYN_VERSION program_version = {4, 50, 0, 4, 50, 0};

// The first E_UPDATE of the task window ends the application: that is the moment measured.
int32_t task_handler(WINDOW, EVENT* event) {
    if (event->type == E_UPDATE) wynv_app_destroy();
    return 0;
}

void start_to_first_update(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static RCT task_rect = {20, 0, 500, 648};
    for (auto _ : state) {
        WYN_STARTUP startup{};
        startup.version = &program_version;
        startup.cmd_line = "";
        WYN_APP_CONFIG config{0, 0, "norva", "VoltSentry Plus", "Norvane VoltSentry Plus"};
        if (!wynwi_Begin(&startup) || !wynwi_Init(&startup)) {
            state.SkipWithError("the toolkit did not start");
            break;
        }
        wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect));
        wynwi_wyn_system(0, task_handler, &config);
        wynwi_End();
    }
}
BENCHMARK(start_to_first_update)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
