// The task window's frame as the status window drives it: the countdown's icons shown on it, and
// maximising it only when the display is scaled.
#include "app/ui/status_support.h"

#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "ui/status_draw.h"
#include "ui/ui_host.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <wyn/res.h>

namespace {

class task_frame_test : public status_window_test {
  protected:
    void SetUp() override {
        status_window_test::SetUp();
        frame_ = widget_of(core().task);
    }
    void TearDown() override {
        status_scale_init(8);
        status_window_test::TearDown();
    }
    // The frame's icon and icon resource name, both at 32 x 32.
    QImage shown() const { return frame_->windowIcon().pixmap(32, 32).toImage(); }
    static QImage resource(const char* name) {
        const WYN_RES_ICON* icon = wynv_res_find_icon(name, 0);
        return icon ? QPixmap(icon->xpm).scaled(32, 32).toImage() : QImage();
    }
    static bool same(const QImage& a, const QImage& b) {
        return !a.isNull() &&
               a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
    }
    QWidget* frame_ = nullptr;
};

TEST_F(task_frame_test, countdown_icons_are_shown_on_the_task_window) {
    the_ui_host().set_icon("Battery3");
    EXPECT_TRUE(same(shown(), resource("BATTERY3")));
    EXPECT_FALSE(same(shown(), resource("NORMAL")));
    // While minimised the icon changes all the same.
    frame_->showMinimized();
    the_ui_host().set_icon("Battery7");
    EXPECT_TRUE(same(shown(), resource("BATTERY7")));
    frame_->showNormal();
    the_ui_host().set_icon("Normal");
    EXPECT_TRUE(same(shown(), resource("NORMAL")));
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(task_frame_test, frame_is_maximised_only_on_a_scaled_display) {
    status_scale_init(8);
    status_maximize_frame();
    EXPECT_FALSE(frame_->isMaximized());
    status_scale_init(9);
    status_maximize_frame();
    EXPECT_TRUE(frame_->isMaximized());
}

} // namespace
