// Cost of text edits: laying out a text of 1 MB, and typing a character in the middle of a text
// of 10,000 lines, which redraws only the lines that changed.
#include <benchmark/benchmark.h>
#include <string>
#include <wyn/testing.h>
#include <wyn/text.h>

#include "tx_internal.h"
#include "wyn_bench_start.h"

namespace {

int32_t handler(WINDOW win, EVENT* ev) {
    return wynv_tx_process_event(win, ev) ? 1 : 0;
}

// The toolkit with a window holding one raw text edit of 600 x 400 pixels.
class text_kit {
  public:
    explicit text_kit(benchmark::State& state, uint16_t attr) {
        // The hosting mode is read when the library is first used: by the task window's events.
        ok = bench_begin_toolkit(state) && wynv_vobj_set_attr(nullptr, ATTR_TX_RAW, 1) &&
             wyn::testing::start_application(0, handler, bench_app_config());
        if (!ok) return;
        auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
        const RCT rct{0, 0, 400, 600};
        win = wynk_win_create(WT_PLAIN, &rct, "bench", 0, task, 0, EM_ALL, handler, 0);
        tx = wynv_tx_create(win, &rct, attr, nullptr, 0, 0);
        ok = tx != nullptr;
    }
    ~text_kit() { wynwi_End(); }
    text_kit(const text_kit&) = delete;
    text_kit& operator=(const text_kit&) = delete;
    // Adds paragraphs of the given length until the text holds bytes bytes.
    void fill(size_t pars, size_t length) {
        std::string line;
        while (line.size() < length) line += "voltage frequency battery ";
        line.resize(length);
        wynv_tx_suspend(tx);
        for (size_t i = 0; i < pars; ++i) wynv_tx_add_par(tx, TX_PAR_END, line.c_str());
        wynv_tx_resume(tx);
        wynk_app_process_pending_events();
    }
    bool ok = false;
    WINDOW win = nullptr;
    TX tx = nullptr;
};

void BM_LayoutOfOneMegabyte(benchmark::State& state) {
    text_kit kit(state, TX_WRAP);
    if (!kit.ok) return;
    kit.fill(8192, 128);
    for (auto _ : state) wynv_tx_reset(kit.tx);
    state.counters["lines"] = double(wynv_tx_get_num_lines(kit.tx));
    state.SetBytesProcessed(int64_t(state.iterations()) * 8192 * 128);
}
BENCHMARK(BM_LayoutOfOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_TypingInTheMiddleOfTenThousandLines(benchmark::State& state) {
    text_kit kit(state, TX_WRAP | TX_AUTO_VSCROLL);
    if (!kit.ok) return;
    kit.fill(10000, 40);
    wynv_tx_set_active(kit.tx);
    wynv_tx_set_sel(kit.tx, 5000, 0, 10, 5000, 0, 10);
    wynk_app_process_pending_events();
    const uint32_t drawn = tx::st().line_draws;
    EVENT ev{};
    ev.type = E_CHAR;
    EVENT back = ev;
    ev.v.chr.ch = 'x';
    back.v.chr.ch = '\b';
    // Each typed character is taken back untimed, so that every key meets the same text.
    for (auto _ : state) {
        wynv_tx_process_event(kit.win, &ev);
        state.PauseTiming();
        wynv_tx_process_event(kit.win, &back);
        state.ResumeTiming();
    }
    state.counters["lines_drawn_per_key"] =
        double(tx::st().line_draws - drawn) / double(std::max<int64_t>(1, 2 * state.iterations()));
}
BENCHMARK(BM_TypingInTheMiddleOfTenThousandLines)->Unit(benchmark::kMicrosecond);

} // namespace
