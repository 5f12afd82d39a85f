// Images in memory: formats, strides and tables, pixels, fills and scaled copies.
#include <gtest/gtest.h>

#include "image_support.h"
#include "portable_reports.h"

namespace {

constexpr COLOR kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

TEST(ImageCore, EachFormatGetsItsStrideAndTable) {
    ImageGuard mono(wynv_image_create(WYN_IMAGE_MONO, 1, 1));
    ASSERT_TRUE(wynv_image_is_valid(mono.image));
    EXPECT_EQ(wynv_image_get_stride(mono.image), 4);
    EXPECT_EQ(wynv_image_get_ncolors(mono.image), 2);
    EXPECT_EQ(wynv_image_get_clut(mono.image, 0), kBlack);
    EXPECT_EQ(wynv_image_get_clut(mono.image, 1), kWhite);
    EXPECT_EQ(wynv_image_get_clut(mono.image, 2), WYN_IMAGE_CLUT_UNSET);
    EXPECT_EQ(wynv_image_get_pixel(mono.image, 0, 0), kBlack);

    ImageGuard mono33(wynv_image_create(WYN_IMAGE_MONO, 33, 2));
    EXPECT_EQ(wynv_image_get_stride(mono33.image), 8);
    ImageGuard indexed(wynv_image_create(WYN_IMAGE_INDEXED, 5, 2));
    EXPECT_EQ(wynv_image_get_stride(indexed.image), 8);
    ImageGuard direct(wynv_image_create(WYN_IMAGE_DIRECT, 3, 2));
    EXPECT_EQ(wynv_image_get_stride(direct.image), 12);
    EXPECT_EQ(wynv_image_get_ncolors(direct.image), 0);
    int16_t w = 0, h = 0;
    ASSERT_TRUE(wynv_image_get_dimensions(direct.image, &w, &h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
}

TEST(ImageCore, CreationRefusesBadFormatsAndSizes) {
    ReportCapture reports;
    EXPECT_EQ(wynv_image_create(4, 1, 1), nullptr);
    EXPECT_TRUE(ReportCapture::only(0x1640003, PORTABLE_ERROR));
    EXPECT_EQ(wynv_image_create(WYN_IMAGE_MONO, 0, 1), nullptr);
    EXPECT_EQ(wynv_image_create(WYN_IMAGE_INDEXED, 1, WYN_IMAGE_MAX_SIDE + 1), nullptr);
    // A direct-colour row of 16384 pixels no longer fits the 16-bit stride.
    EXPECT_EQ(wynv_image_create(WYN_IMAGE_DIRECT, 16384, 1), nullptr);
    ImageGuard widest(wynv_image_create(WYN_IMAGE_DIRECT, 16383, 1));
    EXPECT_EQ(wynv_image_get_stride(widest.image), 65532);
}

TEST(ImageCore, StaleAndForeignHandlesAreRefused) {
    ReportCapture reports;
    IMAGE image = wynv_image_create(WYN_IMAGE_INDEXED, 2, 2);
    wynv_image_destroy(image);
    EXPECT_FALSE(wynv_image_is_valid(image));
    EXPECT_EQ(wynv_image_get_format(image), 0);
    EXPECT_TRUE(ReportCapture::only(0x1220007, PORTABLE_ERROR));
    int not_an_image = 0;
    EXPECT_FALSE(wynv_image_is_valid(reinterpret_cast<IMAGE>(&not_an_image)));
    EXPECT_FALSE(wynv_image_is_valid_pos(nullptr, 0, 0));
}

TEST(ImageCore, IndexedPixelsAddTheirColourThenTakeTheNearest) {
    ImageGuard indexed(wynv_image_create(WYN_IMAGE_INDEXED, 4, 1));
    ASSERT_TRUE(wynv_image_set_pixel(indexed.image, 0, 0, 0x0B000000 | kRed));
    ASSERT_TRUE(wynv_image_set_pixel(indexed.image, 1, 0, kRed));
    EXPECT_EQ(wynv_image_get_ncolors(indexed.image), 3);
    EXPECT_EQ(wynv_image_get_scanline(indexed.image, 0)[0], 2);
    EXPECT_EQ(wynv_image_get_scanline(indexed.image, 0)[1], 2);
    EXPECT_EQ(wynv_image_get_pixel(indexed.image, 0, 0), kRed);

    // A full table gives the nearest colour it holds.
    for (int i = 3; i < 256; ++i) wynv_image_set_clut(indexed.image, i, 0x010101u * i);
    ASSERT_TRUE(wynv_image_set_ncolors(indexed.image, 256));
    wynv_image_set_pixel(indexed.image, 2, 0, 0xF00000);
    EXPECT_EQ(wynv_image_get_pixel(indexed.image, 2, 0), kRed);
    EXPECT_EQ(wynv_image_get_ncolors(indexed.image), 256);

    // Monochrome holds two colours: red is nearer black than white.
    ImageGuard mono(wynv_image_create(WYN_IMAGE_MONO, 9, 1));
    wynv_image_set_pixel(mono.image, 8, 0, kWhite);
    wynv_image_set_pixel(mono.image, 7, 0, kRed);
    EXPECT_EQ(wynv_image_get_scanline(mono.image, 0)[0], 0x00);
    EXPECT_EQ(wynv_image_get_scanline(mono.image, 0)[1], 0x80);
    EXPECT_EQ(wynv_image_get_pixel(mono.image, 7, 0), kBlack);
    EXPECT_EQ(wynv_image_get_ncolors(mono.image), 2);
}

TEST(ImageCore, PositionsAndTableEntriesOutsideTheImageAreRefused) {
    ReportCapture reports;
    ImageGuard direct(wynv_image_create(WYN_IMAGE_DIRECT, 2, 2));
    EXPECT_FALSE(wynv_image_set_pixel(direct.image, 2, 0, kRed));
    EXPECT_FALSE(wynv_image_set_pixel(direct.image, 0, -1, kRed));
    EXPECT_EQ(wynv_image_get_scanline(direct.image, 2), nullptr);
    EXPECT_FALSE(wynv_image_set_clut(direct.image, 0, kRed));
    EXPECT_FALSE(wynv_image_set_ncolors(direct.image, 1));
    EXPECT_EQ(ReportCapture::reports().size(), 5u);
    ImageGuard indexed(wynv_image_create(WYN_IMAGE_INDEXED, 1, 1));
    EXPECT_FALSE(wynv_image_set_clut(indexed.image, 256, kRed));
    EXPECT_FALSE(wynv_image_set_ncolors(indexed.image, 257));
}

TEST(ImageCore, FillsAreClippedToTheImage) {
    ImageGuard mono(wynv_image_create(WYN_IMAGE_MONO, 10, 3));
    const RCT rect = {1, 6, 9, 20}; // top, left, bottom, right
    ASSERT_TRUE(wynv_image_fill_rect(mono.image, &rect, kWhite));
    EXPECT_EQ(wynv_image_get_scanline(mono.image, 0)[0], 0x00);
    EXPECT_EQ(wynv_image_get_scanline(mono.image, 1)[0], 0x03);
    EXPECT_EQ(wynv_image_get_scanline(mono.image, 2)[1], 0xC0);
    // Padding beyond the width stays clear.
    EXPECT_EQ(wynv_image_get_scanline(mono.image, 2)[2], 0x00);

    ImageGuard direct(wynv_image_create(WYN_IMAGE_DIRECT, 2, 2));
    ASSERT_TRUE(wynv_image_fill_rect(direct.image, nullptr, kBlue | 0x0C000000));
    EXPECT_EQ(wynv_image_get_pixel(direct.image, 1, 1), kBlue);
    const uint8_t* row = wynv_image_get_scanline(direct.image, 1);
    EXPECT_EQ(row[4], 0xFF); // blue, green, red, 0
    EXPECT_EQ(row[7], 0x00);
}

TEST(ImageCore, TransferScalesAndKeepsColoursAcrossFormatsAndTables) {
    ImageGuard src(wynv_image_create(WYN_IMAGE_INDEXED, 2, 2));
    wynv_image_set_pixel(src.image, 0, 0, kRed);
    wynv_image_set_pixel(src.image, 1, 0, kBlue);
    wynv_image_set_pixel(src.image, 0, 1, kWhite);
    wynv_image_set_pixel(src.image, 1, 1, kBlack);

    ImageGuard big(wynv_image_create(WYN_IMAGE_DIRECT, 4, 4));
    ASSERT_TRUE(wynv_image_transfer(big.image, src.image, nullptr, nullptr));
    EXPECT_EQ(wynv_image_get_pixel(big.image, 1, 1), kRed);
    EXPECT_EQ(wynv_image_get_pixel(big.image, 2, 0), kBlue);
    EXPECT_EQ(wynv_image_get_pixel(big.image, 1, 3), kWhite);
    EXPECT_EQ(wynv_image_get_pixel(big.image, 3, 3), kBlack);

    // Another indexed image whose table starts elsewhere gets the same colours.
    ImageGuard other(wynv_image_create(WYN_IMAGE_INDEXED, 1, 1));
    wynv_image_set_clut(other.image, 0, kBlue);
    wynv_image_set_clut(other.image, 1, 0x123456);
    const RCT one = {0, 0, 1, 1}, red_cell = {0, 0, 1, 1};
    ASSERT_TRUE(wynv_image_transfer(other.image, src.image, &one, &red_cell));
    EXPECT_EQ(wynv_image_get_pixel(other.image, 0, 0), kRed);

    // Shrinking, and a destination partly outside, copy what falls inside.
    ImageGuard small(wynv_image_create(WYN_IMAGE_DIRECT, 2, 2));
    const RCT shifted = {1, 1, 3, 3};
    ASSERT_TRUE(wynv_image_transfer(small.image, big.image, &shifted, nullptr));
    EXPECT_EQ(wynv_image_get_pixel(small.image, 1, 1), kRed);
    EXPECT_EQ(wynv_image_get_pixel(small.image, 0, 0), kBlack);

    ReportCapture reports;
    const RCT empty = {0, 0, 0, 0};
    EXPECT_FALSE(wynv_image_transfer(small.image, big.image, &empty, nullptr));
}

} // namespace
