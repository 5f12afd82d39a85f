// A fixture for the tests of pictures and pixmaps: a started toolkit with a white child window,
// its pixels read back as the window system would show them, and solid fills on any drawable.
#pragma once

#include <wyn/dwin.h>
#include <wyn/pict.h>
#include <wyn/testing.h>

#include "toolkit/base/app_support.h"

namespace pict_test {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;

inline RCT rect(int left, int top, int right, int bottom) {
    return RCT{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}

class DrawnWindowTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        win_ = makeChild(RCT{0, 0, 120, 200});
        ASSERT_NE(win_, nullptr);
        pump();
        wynv_dwin_clear(win_, COLOR_WHITE);
    }
    // The colour 0xRRGGBB of the window's pixel (x, y).
    uint32_t px(int x, int y) const { return wyn::testing::window_image(win_).at(x, y) & 0xFFFFFF; }
    // True when every pixel of r in the window has colour c.
    bool all(const RCT& r, uint32_t c) const {
        const wyn::testing::Image part = wyn::testing::window_image(win_).part(r);
        if (part.empty()) return false;
        for (uint32_t p : part.pixels)
            if ((p & 0xFFFFFF) != c) return false;
        return true;
    }
    // Fills r on target with c in copy mode, without an outline.
    static void fill(WINDOW target, const RCT& r, COLOR c) {
        DRAW_CTOOLS t;
        wynv_app_get_default_ctools(&t);
        t.pen.pat = PAT_HOLLOW;
        t.brush = DRAW_CBRUSH{PAT_SOLID, c};
        wynk_dwin_set_draw_ctools(target, &t);
        wynk_dwin_draw_rect(target, &r);
    }

    WINDOW win_ = nullptr;
};

} // namespace pict_test
