// The task window's frame as the status window drives it: the countdown's icons shown on it, and
// maximising it only when the display is scaled.
#include "app/ui/status_support.h"

#include "ui/status_draw.h"
#include "ui/ui_host.h"

#include <wyn/shell.h>
#include <wyn/testing.h>

namespace {

using wyn::testing::FrameState;
using wyn::testing::Image;

class task_frame_test : public status_window_test {
  protected:
    void SetUp() override {
        status_window_test::SetUp();
        frame_ = task_window();
    }
    void TearDown() override {
        status_scale_init(8);
        status_window_test::TearDown();
    }
    // The frame's icon and icon resource name, both at 32 x 32.
    Image shown() const { return wyn::testing::frame_icon(frame_, 32); }
    static Image resource(const char* name) { return wyn::testing::resource_icon(name, 32); }
    static bool same(const Image& a, const Image& b) { return !a.empty() && a == b; }
    WINDOW frame_ = nullptr;
};

TEST_F(task_frame_test, countdown_icons_are_shown_on_the_task_window) {
    the_ui_host().set_icon("Battery3");
    EXPECT_TRUE(same(shown(), resource("BATTERY3")));
    EXPECT_FALSE(same(shown(), resource("NORMAL")));
    // While minimised the icon changes all the same.
    ASSERT_TRUE(wyn::testing::show_frame(frame_, FrameState::minimised));
    the_ui_host().set_icon("Battery7");
    EXPECT_TRUE(same(shown(), resource("BATTERY7")));
    ASSERT_TRUE(wyn::testing::show_frame(frame_, FrameState::normal));
    the_ui_host().set_icon("Normal");
    EXPECT_TRUE(same(shown(), resource("NORMAL")));
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(task_frame_test, frame_is_maximised_only_on_a_scaled_display) {
    status_scale_init(8);
    status_maximize_frame();
    EXPECT_FALSE(wyn::testing::frame_maximised(frame_));
    status_scale_init(9);
    status_maximize_frame();
    EXPECT_TRUE(wyn::testing::frame_maximised(frame_));
}

} // namespace
