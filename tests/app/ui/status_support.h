// A started test toolkit with an application state and a status-sized window to draw on.
#pragma once

#include "engine/app_state.h"
#include "toolkit/base/app_support.h"

#include <cstdint>
#include <wyn/testing.h>

class status_window_test : public ToolkitTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The task window of the started application.
    static WINDOW task_window();
    // The window's backing image as it is now.
    wyn::testing::Image picture() const;
    // The pixel at (x, y) of the window's backing image, as 0xRRGGBB.
    uint32_t px(int x, int y) const;
    // How many pixels of the rectangle have colour rgb.
    int count(int left, int top, int right, int bottom, uint32_t rgb) const;
    // A valid local record of a 120 V UPS with middling readings.
    void fill_readings();

    // A fresh application state, engine included, for each test.
    app_state app_{};
    WINDOW win_ = nullptr;
};

inline constexpr uint32_t RGB_BLUE = 0x0000FF, RGB_WHITE = 0xFFFFFF, RGB_BLACK = 0x000000,
                          RGB_RED = 0xFF0000, RGB_GREEN = 0x00FF00;
