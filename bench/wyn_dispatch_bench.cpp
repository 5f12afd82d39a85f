// Cost of delivering one event to a window through a chain of three handler-chain objects.
#include <benchmark/benchmark.h>
#include <wyn/app.h>
#include <wyn/testing.h>
#include <wyn/win.h>

namespace {

const WYN_VERSION version = {4, 50, 0, 4, 50, 0};

int32_t pass_on(CXO cxo, EVENT* ev) {
    if (ev->type == E_CXO) return 0;
    return wynv_cxo_call_next(nullptr, cxo, ev);
}

int32_t handler(WINDOW, EVENT* ev) {
    return ev->v.user.id;
}

void BM_DispatchThroughThreeCxos(benchmark::State& state) {
    WYN_STARTUP startup{};
    startup.version = &version;
    wynwi_Begin(&startup);
    // A window object without a native window: the dispatch path alone is measured.
    WINDOW win = wyn::testing::window_object(handler);
    for (int i = 0; i < 3; ++i) wynv_cxo_create(win, 0, 1, pass_on, EM_ALL, "bench", 0);
    EVENT ev{};
    ev.type = E_USER;
    ev.v.user.id = 1;
    for (auto _ : state) {
        EVENT copy = ev;
        benchmark::DoNotOptimize(wynk_win_dispatch_event(win, &copy));
    }
    wynwi_End();
}
BENCHMARK(BM_DispatchThroughThreeCxos);

} // namespace
