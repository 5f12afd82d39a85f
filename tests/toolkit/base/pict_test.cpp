// Images and pictures drawn into windows, read back through the window's pixels: at their size,
// stretched, by the drawing modes and the clip; recordings replayed at another size; bitmap
// pictures made from files and changed through a lock; a locked picture refusing destruction.
#include <cstring>
#include <string>
#include <vector>

#include "kernel/pictures.h"
#include "kernel/std_dialogs.h"
#include "toolkit/base/pict_support.h"

using namespace pict_test;

namespace {

std::vector<std::string> errors_shown;

int record_dialog(const dm_request& request, char*, size_t) {
    if (request.kind == dm_kind::error) errors_shown.emplace_back(request.text);
    return 0;
}

const WYN_RES_STRING pict_strings[] = {{30013, "Picture still locked."}, {30399, "norva"}};

class PictTest : public DrawnWindowTest {
  protected:
    void SetUp() override {
        // The toolkit's own strings, as the program carries them.
        module_.strings = pict_strings;
        module_.string_count = std::size(pict_strings);
        give_startup_resources(module_);
        wynwi_set_resources(&module_);
        config_.menu_bar_id = 0;
        DrawnWindowTest::SetUp();
        errors_shown.clear();
        previous_ = dm_set_responder(record_dialog);
    }
    void TearDown() override {
        dm_set_responder(previous_);
        DrawnWindowTest::TearDown();
        wynwi_set_resources(nullptr);
    }
    void fill(const RCT& r, COLOR c) { DrawnWindowTest::fill(win_, r, c); }
    // A 2 x 2 image of format: red, green over blue, white (black and white in format 3).
    static IMAGE quad(int32_t format) {
        IMAGE image = wynv_image_create(format, 2, 2);
        const bool mono = format == WYN_IMAGE_MONO;
        wynv_image_set_pixel(image, 0, 0, mono ? 0 : kRed);
        wynv_image_set_pixel(image, 1, 0, mono ? kWhite : kGreen);
        wynv_image_set_pixel(image, 0, 1, mono ? kWhite : kBlue);
        wynv_image_set_pixel(image, 1, 1, mono ? 0 : kWhite);
        return image;
    }

    WYN_RES_MODULE module_{};
    dm_responder previous_ = nullptr;
};

} // namespace

TEST_F(PictTest, ImagesOfEveryFormatDrawAtTheirSizeAndStretched) {
    for (int32_t format : {WYN_IMAGE_INDEXED, WYN_IMAGE_DIRECT}) {
        SCOPED_TRACE(format);
        wynv_dwin_clear(win_, COLOR_WHITE);
        IMAGE image = quad(format);
        const RCT at = rect(10, 10, 12, 12);
        ASSERT_TRUE(wynk_dwin_draw_image(win_, image, &at, nullptr));
        EXPECT_EQ(px(10, 10), kRed);
        EXPECT_EQ(px(11, 10), kGreen);
        EXPECT_EQ(px(10, 11), kBlue);
        EXPECT_EQ(px(11, 11), kWhite);
        EXPECT_EQ(px(9, 9), kWhite);
        // Four times the size each way: every source pixel becomes a 4 x 4 block.
        const RCT big = rect(20, 30, 28, 38);
        ASSERT_TRUE(wynk_dwin_draw_image(win_, image, &big, nullptr));
        EXPECT_TRUE(all(rect(20, 30, 24, 34), kRed));
        EXPECT_TRUE(all(rect(24, 30, 28, 34), kGreen));
        EXPECT_TRUE(all(rect(20, 34, 24, 38), kBlue));
        EXPECT_TRUE(all(rect(24, 34, 28, 38), kWhite));
        EXPECT_EQ(px(28, 30), kWhite);
        // A part of the source, stretched; without a destination the part's own size at 0, 0.
        const RCT green = rect(1, 0, 2, 1);
        const RCT block = rect(50, 50, 53, 53);
        ASSERT_TRUE(wynk_dwin_draw_image(win_, image, &block, &green));
        EXPECT_TRUE(all(block, kGreen));
        ASSERT_TRUE(wynk_dwin_draw_image(win_, image, nullptr, &green));
        EXPECT_EQ(px(0, 0), kGreen);
        EXPECT_EQ(px(1, 0), kWhite);
        wynv_image_destroy(image);
    }
    IMAGE mono = quad(WYN_IMAGE_MONO);
    const RCT at = rect(60, 0, 64, 4);
    ASSERT_TRUE(wynk_dwin_draw_image(win_, mono, &at, nullptr));
    EXPECT_TRUE(all(rect(60, 0, 62, 2), kBlack));
    EXPECT_TRUE(all(rect(62, 0, 64, 2), kWhite));
    EXPECT_TRUE(all(rect(62, 2, 64, 4), kBlack));
    // Nothing to draw: a destroyed image, an empty rectangle, a part outside the image.
    wynv_image_destroy(mono);
    EXPECT_FALSE(wynk_dwin_draw_image(win_, mono, &at, nullptr));
    IMAGE image = quad(WYN_IMAGE_INDEXED);
    const RCT empty = rect(5, 5, 5, 9);
    const RCT outside = rect(4, 4, 6, 6);
    EXPECT_FALSE(wynk_dwin_draw_image(win_, image, &empty, nullptr));
    EXPECT_FALSE(wynk_dwin_draw_image(win_, image, &at, &outside));
    wynv_image_destroy(image);
}

TEST_F(PictTest, DrawingModesCombineTheImageWithTheWindowAndTheClipHolds) {
    // A black-and-white source over a window half black, half white.
    IMAGE image = wynv_image_create(WYN_IMAGE_MONO, 2, 1);
    wynv_image_set_pixel(image, 0, 0, 0);
    wynv_image_set_pixel(image, 1, 0, kWhite);
    const RCT target = rect(0, 0, 40, 20); // left half the black source, right half white
    struct Case {
        uint32_t mode;
        uint32_t on_black[2]; // result over black for the source's black and white halves
        uint32_t on_white[2];
    };
    const Case cases[] = {
        {M_COPY, {kBlack, kWhite}, {kBlack, kWhite}},
        {M_AND, {kBlack, kBlack}, {kBlack, kWhite}},
        {M_NOT_XOR, {kWhite, kBlack}, {kBlack, kWhite}},
        {M_NOT_OR, {kWhite, kBlack}, {kWhite, kWhite}},
        {M_NOT_COPY, {kWhite, kBlack}, {kWhite, kBlack}},
        {M_NOT_AND, {kBlack, kBlack}, {kWhite, kBlack}},
        {M_XOR, {kBlack, kWhite}, {kWhite, kBlack}},
        {M_OR, {kBlack, kWhite}, {kWhite, kWhite}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        wynv_dwin_clear(win_, COLOR_WHITE);
        fill(rect(0, 0, 40, 10), COLOR_BLACK); // top rows black, bottom rows white
        wynk_dwin_set_draw_mode(win_, c.mode);
        ASSERT_TRUE(wynk_dwin_draw_image(win_, image, &target, nullptr));
        EXPECT_EQ(px(5, 5), c.on_black[0]);
        EXPECT_EQ(px(30, 5), c.on_black[1]);
        EXPECT_EQ(px(5, 15), c.on_white[0]);
        EXPECT_EQ(px(30, 15), c.on_white[1]);
    }
    wynk_dwin_set_draw_mode(win_, M_COPY);
    wynv_dwin_clear(win_, COLOR_WHITE);
    const RCT clip = rect(0, 0, 10, 10);
    wynk_dwin_set_clip(win_, &clip);
    ASSERT_TRUE(wynk_dwin_draw_image(win_, image, &target, nullptr));
    EXPECT_EQ(px(9, 9), kBlack);
    EXPECT_EQ(px(10, 5), kWhite);
    EXPECT_EQ(px(5, 10), kWhite);
    wynv_image_destroy(image);
}

TEST_F(PictTest, ARecordingHoldsWhatWasDrawnAndReplaysAtAnotherSize) {
    fill(rect(0, 0, 200, 120), COLOR_GREEN);
    const RCT area = rect(50, 40, 70, 80); // 20 x 40
    ASSERT_TRUE(wynk_dwin_open_pict(win_, &area));
    EXPECT_FALSE(wynk_dwin_open_pict(win_, &area));
    // Window coordinates: the block lands in the picture's top-left quarter.
    fill(rect(50, 40, 60, 60), COLOR_BLACK);
    PICTURE pict = wynk_dwin_close_pict(win_);
    ASSERT_NE(pict, nullptr);
    EXPECT_EQ(wynk_dwin_close_pict(win_), nullptr);
    // The window itself did not see the recorded drawing.
    EXPECT_TRUE(all(rect(50, 40, 60, 60), kGreen));
    int16_t w = 0, h = 0;
    ASSERT_TRUE(wynk_pict_get_size(pict, &w, &h));
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 40);

    // Twice the size: the black block doubles, the rest is the window's background.
    const RCT twice = rect(100, 0, 140, 80);
    ASSERT_TRUE(wynk_dwin_draw_pict(win_, pict, &twice));
    EXPECT_TRUE(all(rect(100, 0, 120, 40), kBlack));
    EXPECT_TRUE(all(rect(120, 0, 140, 80), kWhite));
    EXPECT_TRUE(all(rect(100, 40, 120, 80), kWhite));
    EXPECT_EQ(px(140, 0), kGreen);
    // Half the size, and by the drawing mode as one bitmap: XOR over green.
    wynk_dwin_set_draw_mode(win_, M_XOR);
    const RCT half = rect(0, 0, 10, 20);
    ASSERT_TRUE(wynk_dwin_draw_pict(win_, pict, &half));
    EXPECT_TRUE(all(rect(0, 0, 5, 10), kGreen));
    EXPECT_TRUE(all(rect(5, 0, 10, 20), 0xFF00FF));
    EXPECT_EQ(px(10, 0), kGreen);

    // The clipboard's view of it: its pixels at its own size.
    const QImage image = pict_to_qimage(pict);
    ASSERT_EQ(image.size(), QSize(20, 40));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, kBlack);
    EXPECT_EQ(image.pixel(15, 5) & 0xFFFFFF, kWhite);
    wynk_pict_destroy(pict);
    EXPECT_FALSE(wynk_pict_is_valid(pict));
    EXPECT_FALSE(wynk_dwin_draw_pict(win_, pict, &twice));

    // A window that goes while it records still gives its picture, and nothing else is recorded.
    WINDOW other = makeChild(RCT{0, 0, 10, 10});
    ASSERT_TRUE(wynk_dwin_open_pict(other, &area));
    wynk_vobj_destroy(other);
    pict = wynk_dwin_close_pict(other);
    EXPECT_TRUE(wynk_pict_is_valid(pict));
    wynk_pict_destroy(pict);
    fill(rect(0, 0, 4, 4), COLOR_BLUE);
    EXPECT_EQ(px(0, 0), kBlue);
}

TEST_F(PictTest, BitmapPicturesComeFromFilesAndTakeChangesMadeThroughALock) {
    QImage source(3, 2, QImage::Format_RGB32);
    source.fill(Qt::white);
    source.setPixel(0, 0, 0xFF0000FFu);
    PICTURE from_image = pict_from_qimage(source);
    ASSERT_NE(from_image, nullptr);
    uint32_t size = 0;
    auto* bytes = static_cast<uint8_t*>(wynk_pict_lock(from_image, &size));
    ASSERT_NE(bytes, nullptr);
    ASSERT_GT(size, 54u);
    EXPECT_EQ(std::memcmp(bytes, "BM", 2), 0);
    const std::vector<uint8_t> file(bytes, bytes + size);
    ASSERT_TRUE(wynk_pict_unlock(from_image));

    PICTURE pict = wynk_pict_create(file.data(), uint32_t(file.size()));
    ASSERT_NE(pict, nullptr);
    const RCT at = rect(0, 0, 6, 4);
    ASSERT_TRUE(wynk_dwin_draw_pict(win_, pict, &at));
    EXPECT_TRUE(all(rect(0, 0, 2, 2), kBlue));
    EXPECT_TRUE(all(rect(2, 0, 6, 4), kWhite));

    // The bottom-up rows of the file: the last row is the top one; its first pixel goes green
    // once the last lock is undone.
    bytes = static_cast<uint8_t*>(wynk_pict_lock(pict, &size));
    ASSERT_NE(wynk_pict_lock(pict, nullptr), nullptr);
    const uint32_t offset = uint32_t(bytes[10]) | uint32_t(bytes[11]) << 8;
    const uint32_t stride = (3 * 24 / 8 + 3) & ~3u;
    uint8_t* top_left = bytes + offset + stride;
    top_left[0] = 0;
    top_left[1] = 0xFF;
    top_left[2] = 0;
    ASSERT_TRUE(wynk_pict_unlock(pict));
    ASSERT_TRUE(wynk_dwin_draw_pict(win_, pict, &at));
    EXPECT_EQ(px(0, 0), kBlue);
    ASSERT_TRUE(wynk_pict_unlock(pict));
    EXPECT_FALSE(wynk_pict_unlock(pict));
    ASSERT_TRUE(wynk_dwin_draw_pict(win_, pict, &at));
    EXPECT_TRUE(all(rect(0, 0, 2, 2), kGreen));

    // Bytes that are no bitmap make no picture.
    const char junk[] = "not a bitmap at all";
    EXPECT_EQ(wynk_pict_create(junk, sizeof junk), nullptr);
    EXPECT_EQ(reported_ids().back(), 0x1520008u);
    EXPECT_EQ(wynk_pict_create(nullptr, 10), nullptr);
    wynk_pict_destroy(pict);
    wynk_pict_destroy(from_image);
}

TEST_F(PictTest, ALockedPictureIsNotDestroyedAndSaysSo) {
    const RCT area = rect(0, 0, 4, 4);
    ASSERT_TRUE(wynk_dwin_open_pict(win_, &area));
    PICTURE pict = wynk_dwin_close_pict(win_);
    ASSERT_NE(wynk_pict_lock(pict, nullptr), nullptr);
    wynk_pict_destroy(pict);
    ASSERT_EQ(errors_shown, std::vector<std::string>{"Picture still locked."});
    EXPECT_TRUE(wynk_pict_is_valid(pict));
    const RCT at = rect(0, 0, 8, 8);
    EXPECT_TRUE(wynk_dwin_draw_pict(win_, pict, &at));
    ASSERT_TRUE(wynk_pict_unlock(pict));
    wynk_pict_destroy(pict);
    EXPECT_FALSE(wynk_pict_is_valid(pict));
    EXPECT_EQ(errors_shown.size(), 1u);
    EXPECT_EQ(wynk_pict_lock(pict, nullptr), nullptr);
}
