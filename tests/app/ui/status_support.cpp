// The status window fixture over the test toolkit.
#include "app/ui/status_support.h"

#include "common/status_readings.h"
#include "ui/message_panel.h"
#include "ui/status_draw.h"
#include "ui/ui_state.h"

#include <cstring>
#include <wyn/attr.h>
#include <wyn/text.h>

void status_window_test::SetUp() {
    // Windows that hold text views get them from the text edit library, as in the program.
    startup_.tx_create_def = wynv_tx_create_def;
    startup_.tx_get_tx = wynv_tx_get_tx;
    ToolkitTest::SetUp();
    startApp();
    g_app = &app_;
    g_ui = ui_state{};
    win_ = makeChild(RCT{0, 0, 430, 640});
    ASSERT_NE(win_, nullptr);
    g_ui.status_window = win_;
    pump();
    status_draw_reset();
    message_panel_reset();
}

void status_window_test::TearDown() {
    set_task_minimised_query(nullptr);
    g_app = nullptr;
    g_ui = ui_state{};
    ToolkitTest::TearDown();
}

WINDOW status_window_test::task_window() {
    return reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
}

wyn::testing::Image status_window_test::picture() const {
    return wyn::testing::window_image(win_);
}

namespace {

// The pixel as 0xRRGGBB; outside the picture a failure and a value no colour has, so that a
// missing picture never reads as black.
uint32_t rgb_at(const wyn::testing::Image& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        ADD_FAILURE() << "(" << x << ", " << y << ") lies outside the " << image.width << " x "
                      << image.height << " picture";
        return ~0u;
    }
    return image.at(x, y) & 0xFFFFFF;
}

} // namespace

uint32_t status_window_test::px(int x, int y) const {
    return rgb_at(picture(), x, y);
}

int status_window_test::count(int left, int top, int right, int bottom, uint32_t rgb) const {
    // One picture for the whole count: taking one per pixel would copy the window thousands of
    // times.
    const wyn::testing::Image image = picture();
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) n += rgb_at(image, x, y) == rgb;
    return n;
}

void status_window_test::fill_readings() {
    fill_status_readings(app_);
}
