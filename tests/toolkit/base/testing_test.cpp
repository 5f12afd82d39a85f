// The testing interface the layers above read the toolkit through: pictures of windows, frame
// state and key presses.
#include <cstdio>
#include <fstream>
#include <string>
#include <wyn/dwin.h>
#include <wyn/shell.h>
#include <wyn/testing.h>

#include "toolkit/base/app_support.h"

namespace {

using wyn::testing::FrameState;
using wyn::testing::Image;

TEST(TestingImage, PartAndPixelStayInsideThePicture) {
    const Image image{3, 2, {1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(image.at(2, 1), 6u);
    EXPECT_EQ(image.at(3, 0), 0u);
    EXPECT_EQ(image.at(-1, 0), 0u);
    EXPECT_EQ(image.part(RCT{-5, 1, 1, 9}), (Image{2, 1, {2, 3}}));
    EXPECT_TRUE(image.part(RCT{2, 0, 4, 3}).empty());
    // A picture whose pixels do not fill its size is read as having none.
    const Image short_one{3, 2, {1, 2}};
    EXPECT_EQ(short_one.at(0, 1), 0u);
    EXPECT_TRUE(short_one.part(RCT{0, 0, 2, 3}).empty());
    EXPECT_FALSE(wyn::testing::save_png(short_one, "/dev/null"));
}

class TestingInterface : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        task_ = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
        win_ = makeChild(RCT{0, 0, 40, 60});
        ASSERT_NE(win_, nullptr);
        pump();
    }
    WINDOW task_ = nullptr;
    WINDOW win_ = nullptr;
};

TEST_F(TestingInterface, WindowImageShowsTheDrawingAndSavesAsPng) {
    wynv_dwin_clear(win_, COLOR_RED);
    const Image image = wyn::testing::window_image(win_);
    ASSERT_GE(image.width, 60);
    ASSERT_GE(image.height, 40);
    EXPECT_EQ(image.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.at(59, 39), 0xFFFF0000u);

    const std::string path = ::testing::TempDir() + "/testing_interface.png";
    ASSERT_TRUE(wyn::testing::save_png(image.part(RCT{0, 0, 40, 60}), path.c_str()));
    std::ifstream file(path, std::ios::binary);
    std::string signature(8, '\0');
    file.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
    std::remove(path.c_str());

    wynk_vobj_destroy(win_);
    EXPECT_TRUE(wyn::testing::window_image(win_).empty());
}

TEST_F(TestingInterface, FrameStateFollowsWhatTheUserChooses) {
    EXPECT_TRUE(wyn::testing::frame_visible(task_));
    ASSERT_TRUE(wyn::testing::show_frame(win_, FrameState::maximised));
    EXPECT_TRUE(wyn::testing::frame_maximised(task_));
    ASSERT_TRUE(wyn::testing::show_frame(task_, FrameState::minimised));
    EXPECT_TRUE(wynk_win_is_minimized(task_));
    EXPECT_TRUE(wyn::testing::frame_visible(task_));
    ASSERT_TRUE(wyn::testing::show_frame(task_, FrameState::normal));
    EXPECT_FALSE(wynk_win_is_minimized(task_));
    EXPECT_FALSE(wyn::testing::frame_maximised(task_));
    EXPECT_FALSE(wyn::testing::show_frame(nullptr, FrameState::normal));
    EXPECT_FALSE(wyn::testing::frame_visible(nullptr));
    EXPECT_TRUE(wyn::testing::frame_icon(nullptr, 32).empty());
    EXPECT_TRUE(wyn::testing::resource_icon("NO SUCH ICON", 32).empty());
}

TEST_F(TestingInterface, KeyPressReachesTheWindowAsItsCharacter) {
    seen_events().clear();
    ASSERT_TRUE(wyn::testing::press_key(win_, 'q'));
    pump();
    int chars = 0;
    for (const SeenEvent& s : seen_events())
        if (s.win == win_ && s.ev.type == E_CHAR) {
            ++chars;
            EXPECT_EQ(s.ev.v.chr.ch, 'q');
            EXPECT_FALSE(s.ev.v.chr.virtual_key);
        }
    EXPECT_EQ(chars, 1);
    EXPECT_FALSE(wyn::testing::press_key(win_, '\n'));
}

} // namespace
