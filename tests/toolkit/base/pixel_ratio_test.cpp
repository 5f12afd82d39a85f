// A display scaled by 2: windows draw into images of twice their pixels each way and show them
// so, a one-pixel line two device pixels wide, as sharp as on an unscaled display.
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kernel/widgets.h"
#include "toolkit/base/app_support.h"
#include <wyn/dwin.h>
#include <wyn/testing.h>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xFF0000;

// Rows of column x of a picture whose colour is c, from the top.
std::string rows_of(const QImage& image, int x, uint32_t c) {
    std::string rows;
    for (int y = 0; y < image.height(); ++y)
        if ((image.pixel(x, y) & 0xFFFFFF) == c) rows += std::to_string(y) + " ";
    return rows;
}

// The scale is read once, as Qt starts, so the toolkit starts inside the check's own process.
class ScaledDisplay : public ToolkitTest {
  protected:
    void SetUp() override {}
    void TearDown() override {}

    // Draws a line and a box on a window of a display scaled by 2 and leaves the process with 0 when
    // both the backing image and what the window shows hold it sharp; says what was wrong on
    // standard error otherwise.
    [[noreturn]] void draw_and_check() {
        setenv("QT_SCALE_FACTOR", "2", 1);
        ToolkitTest::SetUp();
        startApp();
        WINDOW win = makeChild(RCT{0, 0, 40, 60});
        pump();
        wynv_dwin_clear(win, COLOR_WHITE);
        const PNT from{20, 10}, to{20, 50};
        wynk_dwin_draw_set_pos(win, &from);
        wynk_dwin_draw_line(win, &to);
        // An outline keeps to the edge of its fill: the top and bottom rows of a six-pixel
        // rectangle are its outline, the four between its inside.
        DRAW_CTOOLS tools;
        wynk_dwin_get_draw_ctools(win, &tools);
        tools.brush = DRAW_CBRUSH{PAT_SOLID, 0x01FF0000};
        wynk_dwin_set_draw_ctools(win, &tools);
        const RCT box{30, 5, 36, 25};
        wynk_dwin_draw_rect(win, &box);
        pump();
        std::string wrong;
        const wyn::testing::Image drawn = wyn::testing::window_image(win);
        if (drawn.width < 120 || drawn.height < 80)
            wrong += "backing image " + std::to_string(drawn.width) + "x" +
                     std::to_string(drawn.height) + "; ";
        const QImage image(reinterpret_cast<const uchar*>(drawn.pixels.data()), drawn.width,
                           drawn.height, QImage::Format_ARGB32);
        if (rows_of(image, 30, kBlack) != "40 41 60 61 70 71 " ||
            rows_of(image, 30, kRed) != "62 63 64 65 66 67 68 69 ")
            wrong += "drawn rows " + rows_of(image, 30, kBlack) + "/ " + rows_of(image, 30, kRed) +
                     "; ";
        if (rows_of(image, 60, kBlack) != "40 41 ")
            wrong += "drawn line rows " + rows_of(image, 60, kBlack) + "; ";
        const QImage shown = surface_of(win)->grab().toImage();
        if (shown.devicePixelRatio() != 2 || rows_of(shown, 60, kBlack) != "40 41 ")
            wrong += "shown line rows " + rows_of(shown, 60, kBlack) + "; ";
        std::fprintf(stderr, "%s\n", wrong.empty() ? "sharp" : wrong.c_str());
        std::_Exit(wrong.empty() ? 0 : 1);
    }
};

TEST_F(ScaledDisplay, ALinePixelIsTwoDevicePixelsAndShownSo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(draw_and_check(), ::testing::ExitedWithCode(0), "sharp");
}

} // namespace
