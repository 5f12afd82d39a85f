// Cost of the continuous log viewer over data logs of 12,000 and 1,000,000 records: opening it
// (the working copy included, and the copy alone), a full draw of its table, Ctrl+End and back,
// and the resident memory the open viewer adds.
#include "app/ui/log_viewer_support.h"
#include "engine/app_state.h"
#include "files/logs.h"
#include "table/table.h"
#include "ui/log_viewer.h"
#include "bench_scratch_dir.h"
#include "wyn_bench_start.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/win.h>

namespace {

// A scratch directory holding a data log of count records; the benchmark runs inside it.
class scratch_log : public bench_scratch_dir {
  public:
    explicit scratch_log(long count) : bench_scratch_dir("log_viewer_bench") {
        std::ofstream out(file(DATA_LOG), std::ios::binary);
        std::string chunk;
        for (long i = 0; i < count; ++i) {
            chunk += view_record_text(numbered_record(int(i % 100000)));
            if (chunk.size() > (1 << 20)) out << std::exchange(chunk, {});
        }
        out << chunk;
        out.close();
        if (out) enter();
    }
};

// Resident memory of the process in kilobytes.
long resident_kb() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void press_ctrl(WINDOW table, uint16_t key) {
    EVENT ev = ctrl_key_event(key);
    wyn_win_dispatch_event(table, &ev);
}

// Draws the whole table now, as its E_UPDATE does.
void draw(WINDOW table) {
    EVENT ev{};
    ev.type = E_UPDATE;
    wyn_vobj_get_client_rect(table, &ev.v.update.rct);
    wyn_win_dispatch_event(table, &ev);
}

enum class measure { open, table_only, draw, ctrl_end };

data_log_reader* g_reader = nullptr;

const char* reader_line(WINDOW, table_model*, int32_t line, int16_t*) {
    return line >= 0 && g_reader ? g_reader->line(line, 0).c_str() : nullptr;
}

// What opening costs without the working copy: a table over the data log itself, its lines
// counted, its first page drawn.
void open_table_only(benchmark::State& state) {
    const char* props[] = {"Continuous Log File", "NOHORZSCROLL=TRUE", "POS=10,10", "SIZE=630,354"};
    WINDOW task = reinterpret_cast<WINDOW>(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    for (auto _ : state) {
        const RCT rct{10, 10, 354, 630};
        WINDOW table = table_create(1, &rct, 4, props, task, 0, 0);
        data_log_reader reader(DATA_LOG);
        g_reader = &reader;
        table_display(table, int32_t(data_log_record_count(DATA_LOG)), reader_line, nullptr);
        draw(table);
        state.PauseTiming();
        wyn_vobj_destroy(table);
        g_reader = nullptr;
        state.ResumeTiming();
    }
}

benchmark::State* g_state = nullptr;
measure g_measure = measure::open;
app_state g_bench_app{};

void run_measure(benchmark::State& state) {
    if (g_measure == measure::table_only) {
        open_table_only(state);
        return;
    }
    if (g_measure == measure::open) {
        // The toolkit's first window and fonts are not the viewer's: one opening goes first.
        if (open_continuous_log() && continuous_log_table()) {
            draw(continuous_log_table());
            wyn_vobj_destroy(continuous_log_window());
        }
        const long before = resident_kb();
        long grown = -1;
        for (auto _ : state) {
            if (!open_continuous_log() || !continuous_log_table()) {
                state.SkipWithError("the viewer did not open");
                return;
            }
            // The first page drawn counts as part of opening.
            draw(continuous_log_table());
            state.PauseTiming();
            // Measured with the first viewer open: the windows this benchmark closes are let go
            // only by an event loop, which it runs inside of.
            if (grown < 0) grown = resident_kb() - before;
            wyn_vobj_destroy(continuous_log_window());
            state.ResumeTiming();
        }
        state.counters["rss_open_kb"] = double(grown);
        return;
    }
    if (!open_continuous_log() || !continuous_log_table()) {
        state.SkipWithError("the viewer did not open");
        return;
    }
    WINDOW table = continuous_log_table();
    draw(table);
    const long before = resident_kb();
    for (auto _ : state) {
        if (g_measure == measure::draw) {
            draw(table);
        } else {
            press_ctrl(table, KEY_END);
            draw(table);
            state.PauseTiming();
            press_ctrl(table, KEY_HOME);
            draw(table);
            state.ResumeTiming();
        }
    }
    if (g_measure == measure::ctrl_end) {
        press_ctrl(table, KEY_END);
        state.counters["first_visible_after_end"] = double(table_first_visible(table));
    }
    state.counters["rss_growth_kb"] = double(resident_kb() - before);
    wyn_vobj_destroy(continuous_log_window());
}

int32_t task_handler(WINDOW, EVENT* ev) {
    if (ev->type != E_CREATE) return 0;
    run_measure(*g_state);
    wynv_app_destroy();
    return 0;
}

void run_in_toolkit(benchmark::State& state, measure what) {
    const scratch_log log(state.range(0));
    if (!log.ok()) {
        state.SkipWithError("no scratch data log");
        return;
    }
    if (!bench_begin_toolkit(state)) return;
    g_bench_app = app_state{};
    g_app = &g_bench_app;
    g_state = &state;
    g_measure = what;
    wynwi_wyn_system(0, task_handler, bench_app_config());
    wynwi_End();
    g_app = nullptr;
    state.counters["records"] = double(state.range(0));
}

void BM_OpenViewer(benchmark::State& state) {
    run_in_toolkit(state, measure::open);
}
BENCHMARK(BM_OpenViewer)->Arg(12000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_OpenWithoutCopy(benchmark::State& state) {
    run_in_toolkit(state, measure::table_only);
}
BENCHMARK(BM_OpenWithoutCopy)->Arg(12000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The working copy alone.
void BM_CopyWorkingFile(benchmark::State& state) {
    const scratch_log log(state.range(0));
    log_book book;
    for (auto _ : state) benchmark::DoNotOptimize(CopyLocalFile(book, DATA_LOG, LOG_WORK_FILE, 0));
}
BENCHMARK(BM_CopyWorkingFile)->Arg(12000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DrawTable(benchmark::State& state) {
    run_in_toolkit(state, measure::draw);
}
BENCHMARK(BM_DrawTable)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_CtrlEnd(benchmark::State& state) {
    run_in_toolkit(state, measure::ctrl_end);
}
BENCHMARK(BM_CtrlEnd)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
