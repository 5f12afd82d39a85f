// Pixmaps: drawn on with the ordinary drawing calls, drawn into a window, read back as images,
// recorded into pictures, refused when asked for wrongly, and gone with their window.
#include "toolkit/base/pict_support.h"

using namespace pict_test;

using PixmapTest = DrawnWindowTest;

TEST_F(PixmapTest, APixmapTakesDrawingAndIsDrawnIntoAWindowAndReadBack) {
    WINDOW pmap = wynk_pmap_create(win_, PMAP_DISPLAY, 30, 20);
    ASSERT_NE(pmap, nullptr);
    EXPECT_TRUE(wynk_pmap_is_valid(pmap));
    EXPECT_FALSE(wynk_pmap_is_valid(win_));
    // Off screen: the window does not change while the pixmap is drawn on.
    fill(pmap, rect(0, 0, 10, 20), COLOR_RED);
    wynv_dwin_set_std_cpen(pmap, STD_PEN_BLACK);
    const PNT from{5, 10}, to{5, 30};
    wynk_dwin_draw_set_pos(pmap, &from);
    wynk_dwin_draw_line(pmap, &to);
    EXPECT_EQ(px(0, 0), kWhite);

    IMAGE image = wynk_image_get_from_pmap(pmap);
    ASSERT_NE(image, nullptr);
    int16_t w = 0, h = 0;
    wynv_image_get_dimensions(image, &w, &h);
    EXPECT_EQ(wynv_image_get_format(image), WYN_IMAGE_DIRECT);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 20);
    EXPECT_EQ(wynv_image_get_pixel(image, 9, 19), kRed);
    EXPECT_EQ(wynv_image_get_pixel(image, 10, 0), kWhite);
    EXPECT_EQ(wynv_image_get_pixel(image, 20, 5), kBlack);
    EXPECT_EQ(wynv_image_get_pixel(image, 20, 6), kWhite);
    wynv_image_destroy(image);

    // Stretched to twice its size, and a part of it at its own size.
    const RCT twice = rect(100, 10, 160, 50);
    ASSERT_TRUE(wynk_dwin_draw_pmap(win_, pmap, &twice, nullptr));
    EXPECT_EQ(px(100, 10), kRed);
    EXPECT_EQ(px(119, 49), kRed);
    EXPECT_EQ(px(120, 10), kWhite);
    EXPECT_EQ(px(140, 20), kBlack);
    EXPECT_EQ(px(140, 19), kWhite);
    EXPECT_EQ(px(160, 10), kWhite);
    const RCT part = rect(8, 0, 12, 2);
    ASSERT_TRUE(wynk_dwin_draw_pmap(win_, pmap, nullptr, &part));
    EXPECT_EQ(px(1, 0), kRed);
    EXPECT_EQ(px(2, 0), kWhite);
    EXPECT_EQ(px(4, 0), kWhite);

    // A recording on a pixmap replays like one on a window.
    const RCT area = rect(0, 0, 30, 20);
    ASSERT_TRUE(wynk_dwin_open_pict(pmap, &area));
    fill(pmap, rect(0, 0, 30, 20), COLOR_BLACK);
    PICTURE pict = wynk_dwin_close_pict(pmap);
    image = wynk_image_get_from_pmap(pmap);
    EXPECT_EQ(wynv_image_get_pixel(image, 29, 0), kWhite);
    wynv_image_destroy(image);
    const RCT at = rect(0, 60, 15, 70);
    ASSERT_TRUE(wynk_dwin_draw_pict(win_, pict, &at));
    EXPECT_EQ(px(14, 69), kBlack);
    wynk_pict_destroy(pict);
}

TEST_F(PixmapTest, ABlackAndWhitePixmapReadsBackAsBlackOrWhite) {
    WINDOW pmap = wynk_pmap_create(win_, PMAP_MONO, 9, 2);
    ASSERT_NE(pmap, nullptr);
    fill(pmap, rect(0, 0, 3, 2), 0x606060);
    fill(pmap, rect(3, 0, 6, 2), 0xC0C0C0);
    fill(pmap, rect(8, 0, 9, 2), COLOR_BLACK);
    IMAGE image = wynk_image_get_from_pmap(pmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(wynv_image_get_format(image), WYN_IMAGE_MONO);
    EXPECT_EQ(wynv_image_get_pixel(image, 0, 1), kBlack);
    EXPECT_EQ(wynv_image_get_pixel(image, 4, 1), kWhite);
    EXPECT_EQ(wynv_image_get_pixel(image, 7, 0), kWhite);
    EXPECT_EQ(wynv_image_get_pixel(image, 8, 0), kBlack); // the second byte of the row
    wynv_image_destroy(image);
    const RCT at = rect(0, 0, 9, 2);
    ASSERT_TRUE(wynk_dwin_draw_pmap(win_, pmap, &at, nullptr));
    EXPECT_EQ(px(1, 1), kBlack);
    EXPECT_EQ(px(4, 0), kWhite);
}

TEST_F(PixmapTest, WrongRequestsAreRefusedAndAPixmapGoesWithItsWindow) {
    EXPECT_EQ(wynk_pmap_create(win_, 7, 10, 10), nullptr);
    EXPECT_EQ(reported_ids().back(), 0x1230002u);
    EXPECT_EQ(wynk_pmap_create(win_, PMAP_DISPLAY, 0, 10), nullptr);
    EXPECT_EQ(reported_ids().back(), 0x1260001u);
    EXPECT_EQ(wynk_pmap_create(win_, PMAP_DISPLAY, 10, WYN_PICT_MAX_SIDE + 1), nullptr);
    EXPECT_EQ(reported_ids().back(), 0x1260001u);

    WINDOW alone = wynk_pmap_create(win_, PMAP_DISPLAY, 4, 4);
    WINDOW with_window = wynk_pmap_create(win_, PMAP_DISPLAY, 4, 4);
    ASSERT_NE(alone, nullptr);
    ASSERT_NE(with_window, nullptr);
    wynk_vobj_destroy(alone);
    EXPECT_FALSE(wynk_pmap_is_valid(alone));
    EXPECT_TRUE(wynk_pmap_is_valid(with_window));
    EXPECT_EQ(wynk_image_get_from_pmap(alone), nullptr);
    wynk_vobj_destroy(win_);
    EXPECT_FALSE(wynk_pmap_is_valid(with_window));
    EXPECT_EQ(wynk_pmap_create(win_, PMAP_DISPLAY, 4, 4), nullptr);
    EXPECT_EQ(reported_ids().back(), 0x1220002u);
    win_ = nullptr;
}
