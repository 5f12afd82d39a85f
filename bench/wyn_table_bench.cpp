// Cost of the table control over a virtual table of a million lines read through its callback:
// a full draw of a page of eight columns, and Ctrl+End from the top.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <wyn/testing.h>

#include "table/table.h"
#include "wyn_bench_start.h"

namespace {

int32_t handler(WINDOW, EVENT*) {
    return 0;
}

const char* log_line(WINDOW, table_model*, int32_t line, int16_t*) {
    static char text[128];
    std::snprintf(text, sizeof text, "03/04/24\t12:%02d:%02d\tNV-1400 #%d\t%d\t%d\t%d\t%d\t%s",
                  line / 60 % 60, line % 60, line % 7, 118 + line % 5, 60, 100 - line % 40, 31,
                  line % 3 ? "Normal" : "Inverting");
    return text;
}

// The toolkit with a window holding a table of 8 columns and a heading over a million lines.
class table_kit {
  public:
    explicit table_kit(benchmark::State& state) {
        ok = bench_begin_toolkit(state) &&
             wyn::testing::start_application(0, handler, bench_app_config());
        if (!ok) return;
        auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
        const RCT rct{0, 0, 400, 640};
        win = wynk_win_create(WT_PLAIN, &rct, "bench", 0, task, 0, EM_ALL, handler, 0);
        const char* props[] = {"Bench", "POS=0,0", "SIZE=640,400", "NOHORZSCROLL"};
        const RCT none{0, 0, 0, 0};
        table = table_create(1, &none, 4, props, win, 0, 0);
        table_properties p;
        table_get_properties(table, &p);
        p.flags = (p.flags & ~uint32_t(TF_GROW | TF_APPENDED | TF_SELECT | TF_MULTI_SELECT)) |
                  TF_CALLBACK | TF_SEPARATORS | TF_HEADING_RULE;
        table_set_properties(table, &p);
        const int32_t widths[] = {7, 7, 10, 7, 4, 6, 5, 12};
        table_widths(table, 8, widths, FALSE);
        table_headings(table, "Date\tTime\tUPS ID\tVoltage\tFreq\tBatt %\tTemp\tUPS Mode");
        table_display(table, 1000000, log_line, nullptr);
        wynk_app_process_pending_events();
    }
    ~table_kit() { wynwi_End(); }
    table_kit(const table_kit&) = delete;
    table_kit& operator=(const table_kit&) = delete;
    bool ok = false;
    WINDOW win = nullptr;
    WINDOW table = nullptr;
};

void key(WINDOW table, uint16_t code) {
    EVENT ev{};
    ev.type = E_CHAR;
    ev.v.chr.ch = code;
    ev.v.chr.virtual_key = TRUE;
    ev.v.chr.control = TRUE;
    wynk_win_dispatch_event(table, &ev);
}

void full_draw(benchmark::State& state) {
    table_kit kit(state);
    if (!kit.ok) return;
    int32_t first = 0;
    for (auto _ : state) {
        // A new page each pass, so every line is fetched through the callback.
        first = (first + 50) % 900000;
        table_jump(kit.table, first, FALSE);
        wynk_dwin_invalidate_rect(kit.table, nullptr);
        wynk_dwin_update(kit.table);
    }
}
BENCHMARK(full_draw)->Unit(benchmark::kMicrosecond);

void ctrl_end_on_a_million_lines(benchmark::State& state) {
    table_kit kit(state);
    if (!kit.ok) return;
    for (auto _ : state) {
        key(kit.table, KEY_HOME);
        wynk_dwin_update(kit.table);
        key(kit.table, KEY_END);
        wynk_dwin_update(kit.table);
        if (table_first_visible(kit.table) < 999000) state.SkipWithError("the end was not reached");
    }
}
BENCHMARK(ctrl_end_on_a_million_lines)->Unit(benchmark::kMicrosecond);

} // namespace
