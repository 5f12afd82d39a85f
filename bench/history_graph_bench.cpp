// Cost of the history graph's load and draw over a full data log of 12,000 records: reading the
// whole working file ("Select All"), filtering one day through temp.dat, and drawing a page of
// 350 points with its axes and labels through the checked toolkit calls.
#include "app/ui/history_graph_support.h"
#include "ui/history_graph_data.h"
#include "ui/history_graph_draw.h"
#include "ui/status_draw.h"
#include "wyn_bench_start.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <wyn/app.h>
#include <wyn/checked/dwin.h>
#include <wyn/win.h>

namespace {

constexpr int kRecords = 12000;
constexpr int kPerDay = 288; // one record every five minutes

// A scratch directory holding a full data log of whole days, the last one "12/08/26".
class full_log {
  public:
    full_log() {
        char pattern[] = "/tmp/graph_bench.XXXXXX";
        if (mkdtemp(pattern)) dir_ = pattern;
        std::ofstream out(file(), std::ios::binary);
        for (int i = 0; i < kRecords; ++i) {
            const int day = 8 - (kRecords - 1 - i) / kPerDay;
            char date[16];
            std::snprintf(date, sizeof date, "%02d/%02d/26", day > 0 ? 12 : 11,
                          day > 0 ? day : 30 + day);
            out << graph_record(date, (i % kPerDay) * 5, 100 + i % 40, 50 + i % 50);
        }
    }
    ~full_log() {
        std::remove(file().c_str());
        std::remove((dir_ + "/" + GRAPH_DAY_FILE).c_str());
        rmdir(dir_.c_str());
    }
    std::string file() const { return dir_ + "/norvatmp.dat"; }
    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
};

void BM_LoadAllRecords(benchmark::State& state) {
    const full_log log;
    graph_data data;
    for (auto _ : state) benchmark::DoNotOptimize(graph_get_data(log.file().c_str(), nullptr, 0, data));
    state.counters["records"] = double(data.records);
}
BENCHMARK(BM_LoadAllRecords)->Unit(benchmark::kMillisecond);

void BM_LoadOneDay(benchmark::State& state) {
    const full_log log;
    char cwd[4096];
    // temp.dat is written in the current directory, as the program's own.
    if (!getcwd(cwd, sizeof cwd) || chdir(log.dir().c_str()) != 0) {
        state.SkipWithError("no scratch directory");
        return;
    }
    graph_data data;
    for (auto _ : state) benchmark::DoNotOptimize(graph_get_data("norvatmp.dat", "12/08/26", 0, data));
    state.counters["records"] = double(data.records);
    if (chdir(cwd) != 0) state.SkipWithError("could not return to the working directory");
}
BENCHMARK(BM_LoadOneDay)->Unit(benchmark::kMillisecond);

benchmark::State* g_state = nullptr;
const full_log* g_log = nullptr;

int32_t ignore(WINDOW, EVENT*) {
    return 0;
}

// Load and draw of the first page, as choosing "Select All" does, in the task window's E_CREATE.
int32_t task_handler(WINDOW task, EVENT* ev) {
    if (ev->type != E_CREATE) return 0;
    const RCT rct{0, 0, 430, 640};
    WINDOW win = wynk_win_create(WT_PLAIN, &rct, "graph", 0, task, 0, EM_ALL, ignore, 0);
    if (!win) {
        g_state->SkipWithError("no graph window");
    } else {
        graph_data data;
        graph_view view;
        view.data = &data;
        view.day = GRAPH_ALL_DAYS;
        for (auto _ : *g_state) {
            graph_get_data(g_log->file().c_str(), nullptr, 0, data);
            status_set_tools(win);
            wyn_dwin_clear(win, COLOR_BLUE);
            graph_draw(win, true, view);
        }
    }
    wynv_app_destroy();
    return 0;
}

void BM_LoadAllAndDrawPage(benchmark::State& state) {
    const full_log log;
    if (!bench_begin_toolkit(state)) return;
    g_state = &state;
    g_log = &log;
    wynwi_wyn_system(0, task_handler, bench_app_config());
    wynwi_End();
}
BENCHMARK(BM_LoadAllAndDrawPage)->Unit(benchmark::kMillisecond);

} // namespace
