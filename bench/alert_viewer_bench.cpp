// Cost of opening the alert log viewer on alarm logs of 12,000 and 65,000 lines: the file read into
// the text view, one paragraph a line, and its first page drawn.
#include "engine/app_state.h"
#include "ui/alert_viewer.h"
#include "bench_scratch_dir.h"
#include "wyn_bench_start.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <wyn/checked/win.h>

namespace {

// A scratch directory holding an alarm log of count lines; the benchmark runs inside it.
class scratch_alarm_log : public bench_scratch_dir {
  public:
    explicit scratch_alarm_log(long count) : bench_scratch_dir("alert_viewer_bench") {
        std::ofstream out(file(ALERT_LOG_FILE), std::ios::binary);
        char line[96];
        for (long i = 0; i < count; ++i) {
            std::snprintf(line, sizeof line, "12/%02ld/126,%02ld:%02ld:00,Line Voltage out of range!\n",
                          1 + i % 28, i / 60 % 24, i % 60);
            out << line;
        }
        out.close();
        if (out) enter();
    }
};

// Draws the whole window now, as its E_UPDATE does.
void draw(WINDOW win) {
    EVENT ev{};
    ev.type = E_UPDATE;
    wyn_vobj_get_client_rect(win, &ev.v.update.rct);
    wyn_win_dispatch_event(win, &ev);
}

benchmark::State* g_state = nullptr;
app_state g_bench_app{};

void run_measure(benchmark::State& state) {
    for (auto _ : state) {
        if (!open_alert_log(0) || !alert_log_window()) {
            state.SkipWithError("the viewer did not open");
            return;
        }
        draw(alert_log_window());
        state.PauseTiming();
        wyn_vobj_destroy(alert_log_window());
        state.ResumeTiming();
    }
}

int32_t task_handler(WINDOW, EVENT* ev) {
    if (ev->type != E_CREATE) return 0;
    run_measure(*g_state);
    wynv_app_destroy();
    return 0;
}

void BM_OpenAlertViewer(benchmark::State& state) {
    const scratch_alarm_log log(state.range(0));
    if (!log.ok()) {
        state.SkipWithError("no scratch alarm log");
        return;
    }
    if (!bench_begin_toolkit(state)) return;
    g_bench_app = app_state{};
    g_app = &g_bench_app;
    g_state = &state;
    wynwi_wyn_system(0, task_handler, bench_app_config());
    wynwi_End();
    g_app = nullptr;
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_OpenAlertViewer)->Arg(12000)->Arg(65000)->Unit(benchmark::kMillisecond);

} // namespace
