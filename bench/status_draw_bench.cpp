// Cost of drawing the status window through the checked toolkit calls: the full draw of E_UPDATE
// (clear, frames, labels, gauges, values) and the partial draw after every poll, with readings
// that move (the voltage and load gauges repaint) or stay (only the values are redrawn).
#include "common/status_readings.h"
#include "engine/app_state.h"
#include "ui/message_panel.h"
#include "ui/status_draw.h"
#include "ui/ui_state.h"
#include "wyn_bench_start.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/win.h>

namespace {

enum class draw_kind { full, partial_moving, partial_steady };

struct run {
    benchmark::State* state;
    draw_kind kind;
};
run g_run{};
app_state g_state_record{};

int32_t ignore(WINDOW, EVENT*) {
    return 0;
}

void measure(WINDOW win) {
    app_state& app = g_state_record;
    benchmark::State& state = *g_run.state;
    status_draw(win, false);
    for (const char* text : {"UPS connected on COM1.", "Utility power failure.", "Power restored."})
        message_panel_add(text);
    int poll = 0;
    for (auto _ : state) {
        if (g_run.kind == draw_kind::partial_moving) {
            ++poll;
            app.local.line_voltage = poll % 2 ? 112 : 124;
            app.local.load = poll % 2 ? 35 : 45;
        }
        status_draw(win, g_run.kind != draw_kind::full);
    }
}

// The window is made where the program makes its status window, in the task window's E_CREATE;
// the application ends once the draws are measured.
int32_t task_handler(WINDOW task, EVENT* ev) {
    if (ev->type != E_CREATE) return 0;
    const RCT rct{0, 0, 430, 640};
    WINDOW win = wynk_win_create(WT_PLAIN, &rct, "status", 0, task, 0, EM_ALL, ignore, 0);
    if (win) {
        g_ui.status_window = win;
        measure(win);
    } else {
        g_run.state->SkipWithError("no status window");
    }
    wynv_app_destroy();
    return 0;
}

void draw(benchmark::State& state, draw_kind kind) {
    if (!bench_begin_toolkit(state)) return;
    g_state_record = app_state{};
    fill_status_readings(g_state_record);
    g_app = &g_state_record;
    status_draw_reset();
    message_panel_reset();
    g_run = run{&state, kind};
    wynwi_wyn_system(0, task_handler, bench_app_config());
    wynwi_End();
    g_app = nullptr;
}

void BM_FullDraw(benchmark::State& state) {
    draw(state, draw_kind::full);
}
BENCHMARK(BM_FullDraw)->Unit(benchmark::kMicrosecond);

void BM_PartialDrawReadingsMoving(benchmark::State& state) {
    draw(state, draw_kind::partial_moving);
}
BENCHMARK(BM_PartialDrawReadingsMoving)->Unit(benchmark::kMicrosecond);

void BM_PartialDrawReadingsSteady(benchmark::State& state) {
    draw(state, draw_kind::partial_steady);
}
BENCHMARK(BM_PartialDrawReadingsSteady)->Unit(benchmark::kMicrosecond);

} // namespace
