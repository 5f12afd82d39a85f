// Cost of a key press reaching a window as E_CHAR, with and without a caret that steps aside while
// the window handles it and comes back when the pass ends.
#include <wyn/ctl.h>
#include <wyn/testing.h>
#include <wyn/win.h>

#include "wyn_bench_start.h"

namespace {

int32_t quiet(WINDOW, EVENT*) {
    return 0;
}

// One key press and release to a child window of a started toolkit, then one loop pass.
void key_to_window(benchmark::State& state, bool caret) {
    if (!bench_begin_toolkit(state)) return;
    if (!wyn::testing::start_application(0, quiet, bench_app_config())) {
        state.SkipWithError("no task window");
        wynwi_End();
        return;
    }
    RCT rct{0, 0, 200, 300};
    WINDOW win =
        wynk_win_create(WT_PLAIN, &rct, "keys", 0,
                        reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW)), 0,
                        EM_ALL, quiet, 0);
    if (caret) wynk_win_set_caret_visible(win, TRUE);
    for (auto _ : state) {
        wyn::testing::press_key(win, 'a');
        wynk_app_process_pending_events();
    }
    wynwi_End();
}

void BM_KeyToWindow(benchmark::State& state) {
    key_to_window(state, false);
}
BENCHMARK(BM_KeyToWindow)->Unit(benchmark::kMicrosecond);

void BM_KeyToWindowShowingACaret(benchmark::State& state) {
    key_to_window(state, true);
}
BENCHMARK(BM_KeyToWindowShowingACaret)->Unit(benchmark::kMicrosecond);

} // namespace
