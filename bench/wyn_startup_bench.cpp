// Benchmark of the toolkit's start-up: from the handshake to the task window's first E_UPDATE.
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/events.h>
#include <wyn/win.h>

#include "wyn_bench_start.h"

namespace {

// The first E_UPDATE of the task window ends the application: that is the moment measured.
int32_t task_handler(WINDOW, EVENT* event) {
    if (event->type == E_UPDATE) wynv_app_destroy();
    return 0;
}

void start_to_first_update(benchmark::State& state) {
    for (auto _ : state) {
        if (!bench_begin_toolkit(state)) break;
        wynwi_wyn_system(0, task_handler, bench_app_config());
        wynwi_End();
    }
}
BENCHMARK(start_to_first_update)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
