// The native frame's services: the icon taken from a named resource, minimised, restored and
// maximised frames, and the task window's picture saved for runs without a screen.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "common/scoped_env.h"
#include "kernel/snapshot.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"
#include <wyn/res.h>
#include <wyn/shell.h>

namespace {

const char* const kGreenXpm[] = {"2 2 1 1", "g c #00FF00", "gg", "gg"};
const char* const kRedXpm[] = {"2 2 1 1", "r c #FF0000", "rr", "rr"};
const WYN_RES_ICON kIcons[] = {{"NORMAL", 0, 3, kGreenXpm}, {"BATTERY1", 0, 3, kRedXpm}};

class ShellTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        task_ = core().task;
        frame_ = widget_of(task_);
    }
    // The centre pixel of the frame's icon, as 0xRRGGBB.
    uint32_t icon_pixel() const {
        const QImage icon = frame_->windowIcon().pixmap(16, 16).toImage();
        return icon.isNull() ? 0 : icon.pixel(icon.width() / 2, icon.height() / 2) & 0xFFFFFF;
    }
    WINDOW task_ = nullptr;
    QWidget* frame_ = nullptr;
};

TEST_F(ShellTest, IconComesFromTheNamedResourceWhateverTheCase) {
    WYN_RES_MODULE module{};
    module.icons = kIcons;
    module.icon_count = 2;
    wynwi_set_resources(&module);
    WINDOW child = makeChild(RCT{0, 0, 40, 40});

    EXPECT_TRUE(wynk_win_set_icon(task_, "Battery1"));
    EXPECT_EQ(icon_pixel(), 0xFF0000u);
    // A window inside the task window changes the frame that holds it.
    EXPECT_TRUE(wynk_win_set_icon(child, "Normal"));
    EXPECT_EQ(icon_pixel(), 0x00FF00u);

    reported_ids().clear();
    EXPECT_FALSE(wynk_win_set_icon(task_, "Battery8"));
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{WYN_MSG_FIND_RESOURCE});
    EXPECT_EQ(icon_pixel(), 0x00FF00u);
    wynwi_set_resources(nullptr);
}

TEST_F(ShellTest, MinimisedFrameIsSeenAndFocusRestoresIt) {
    WINDOW child = makeChild(RCT{0, 0, 40, 40});
    EXPECT_FALSE(wynk_win_is_minimized(task_));
    frame_->showMinimized();
    EXPECT_TRUE(wynk_win_is_minimized(task_));
    EXPECT_TRUE(wynk_win_is_minimized(child));
    EXPECT_TRUE(wynk_win_focus_native(task_));
    EXPECT_FALSE(wynk_win_is_minimized(task_));
    EXPECT_TRUE(wynk_win_maximize(child));
    EXPECT_TRUE(frame_->isMaximized());

    wynk_vobj_destroy(child);
    EXPECT_FALSE(wynk_win_is_minimized(child));
    EXPECT_FALSE(wynk_win_maximize(child));
    EXPECT_FALSE(wynk_win_flash(child, TRUE));
    EXPECT_FALSE(wynk_win_set_icon(child, "Normal"));
}

TEST_F(ShellTest, SnapshotShowsTheTaskWindowWithItsChildrenAndIsTakenAtTheEnd) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("shot.png");
    EXPECT_FALSE(snapshot_take());
    {
        const scoped_env snapshot("WYN_SNAPSHOT", path.toLocal8Bit().constData());
        snapshot_start();
    }

    WINDOW child = makeChild(RCT{30, 20, 130, 220});
    pump();
    WynSurface* surface = surface_of(child);
    surface->backing().fill(Qt::red);
    const QPoint inside = surface->mapTo(frame_, QPoint(50, 50));
    ASSERT_TRUE(snapshot_take());
    QImage shot(path);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), frame_->size());
    EXPECT_EQ(shot.pixel(inside) & 0xFFFFFF, 0xFF0000u);
    // Written through a temporary file that is renamed: nothing else is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"shot.png"});

    surface->backing().fill(Qt::blue);
    wynv_app_destroy();
    EXPECT_EQ(QImage(path).pixel(inside) & 0xFFFFFF, 0x0000FFu);
}

// A program that carries its icon starts with it on every frame.
class ProgramIconTest : public ToolkitTest {
  protected:
    void SetUp() override {
        static const WYN_RES_ICON program_icon[] = {{nullptr, 9012, 3, kGreenXpm}};
        module_.icons = program_icon;
        module_.icon_count = 1;
        give_startup_resources(module_);
        wynwi_set_resources(&module_);
        ToolkitTest::SetUp();
        startApp();
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        wynwi_set_resources(nullptr);
        QApplication::setWindowIcon(QIcon());
    }
    WYN_RES_MODULE module_{};
};

TEST_F(ProgramIconTest, TaskWindowStartsWithTheProgramIcon) {
    const QImage icon = widget_of(core().task)->windowIcon().pixmap(16, 16).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixel(icon.width() / 2, icon.height() / 2) & 0xFFFFFF, 0x00FF00u);
}

} // namespace
