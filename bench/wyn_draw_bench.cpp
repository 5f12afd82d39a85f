// Cost of drawing into a window's backing image: rectangles with each kind of brush and mode, and
// lines of text, a few thousand per pass.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/dwin.h>
#include <wyn/font.h>
#include <wyn/testing.h>
#include <wyn/win.h>

namespace {

const WYN_VERSION version = {4, 50, 0, 4, 50, 0};

int32_t handler(WINDOW, EVENT*) {
    return 0;
}

// The toolkit begun with a task window and one 640 x 480 drawing window.
class Toolkit {
  public:
    Toolkit() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        startup_.version = &version;
        startup_.cmd_line = "";
        wynwi_Begin(&startup_);
        wynwi_Init(&startup_);
        RCT task_rect{0, 0, 520, 680};
        wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect));
        wyn::testing::start_application(0, handler, &config_);
        const RCT rct{0, 0, 480, 640};
        auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
        win = wynk_win_create(WT_PLAIN, &rct, "bench", 0, task, 0, EM_ALL, handler, 0);
        wynk_app_process_pending_events();
    }
    ~Toolkit() { wynwi_End(); }
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;
    WINDOW win = nullptr;

  private:
    WYN_STARTUP startup_{};
    WYN_APP_CONFIG config_{0, 0, "bench", "bench", "bench"};
};

void draw_rects(benchmark::State& state, uint32_t brush_pat, uint32_t mode) {
    Toolkit kit;
    DRAW_CTOOLS t;
    wynv_app_get_default_ctools(&t);
    t.brush = DRAW_CBRUSH{brush_pat, 0x01FF0000};
    t.mode = mode;
    wynk_dwin_set_draw_ctools(kit.win, &t);
    constexpr int kRects = 2000;
    for (auto _ : state) {
        for (int i = 0; i < kRects; ++i) {
            const int x = (i * 37) % 600, y = (i * 53) % 440;
            const RCT r{int16_t(y), int16_t(x), int16_t(y + 40), int16_t(x + 40)};
            wynk_dwin_draw_rect(kit.win, &r);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRects);
}

void BM_SolidRects(benchmark::State& state) {
    draw_rects(state, PAT_SOLID, M_COPY);
}
BENCHMARK(BM_SolidRects)->Unit(benchmark::kMillisecond);

void BM_HatchedRects(benchmark::State& state) {
    draw_rects(state, PAT_CROSS, M_COPY);
}
BENCHMARK(BM_HatchedRects)->Unit(benchmark::kMillisecond);

void BM_XorRects(benchmark::State& state) {
    draw_rects(state, PAT_SOLID, M_XOR);
}
BENCHMARK(BM_XorRects)->Unit(benchmark::kMillisecond);

void BM_TextLines(benchmark::State& state) {
    Toolkit kit;
    FONT font = wynv_font_create();
    wynv_font_set_family(font, "fixed");
    wynv_font_set_size(font, 10);
    wynv_dwin_set_font(kit.win, font);
    wynv_font_destroy(font);
    constexpr int kLines = 1000;
    const char* text = "12/08/2026 09:40:55  Line 231 V  Load 42 %  Battery 100 %  50.0 Hz";
    for (auto _ : state) {
        for (int i = 0; i < kLines; ++i)
            wynk_dwin_draw_text(kit.win, 4, 14 + (i % 33) * 14, text, -1);
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_TextLines)->Unit(benchmark::kMillisecond);

} // namespace
