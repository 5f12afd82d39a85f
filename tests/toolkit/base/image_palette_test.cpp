// Palettes: tolerance, capacity, colours taken from images, the default palette and windows.
#include <gtest/gtest.h>

#include <wyn/image.h>
#include <wyn/palette.h>

#include "app_support.h"
#include "portable_reports.h"

namespace {

struct PaletteGuard {
    explicit PaletteGuard(PALETTE p) : palette(p) {}
    ~PaletteGuard() { wynv_palet_destroy(palette); }
    PALETTE palette;
};

TEST(Palette, ColoursWithinTheToleranceAreHeldOnce) {
    PaletteGuard p(wynv_palet_create(WYN_PALET_NORMAL, 8));
    ASSERT_TRUE(wynv_palet_is_valid(p.palette));
    const COLOR near[] = {0x808080, 0x0B858080, 0x8A8080, 0x808080};
    EXPECT_EQ(wynv_palet_add_colors(p.palette, near, 4), 3);
    ASSERT_TRUE(wynv_palet_set_tolerance(p.palette, 10));
    const COLOR more[] = {0x808088, 0x80808B, 0x000000};
    // 8 away from a held colour is within 10; 11 is not.
    EXPECT_EQ(wynv_palet_add_colors(p.palette, more, 3), 2);
    COLOR held[8] = {};
    ASSERT_EQ(wynv_palet_get_colors(p.palette, held, 8), 5);
    EXPECT_EQ(held[1], 0x858080u); // the standard-colour byte is not kept
    EXPECT_EQ(held[3], 0x80808Bu);
    EXPECT_EQ(wynv_palet_get_colors(p.palette, held, 2), 2);
}

TEST(Palette, AddingStopsWhenThePaletteIsFull) {
    PaletteGuard p(wynv_palet_create(WYN_PALET_NORMAL, 2));
    const COLOR colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    EXPECT_EQ(wynv_palet_add_colors(p.palette, colours, 3), 2);
    EXPECT_EQ(wynv_palet_add_colors(p.palette, colours + 2, 1), 0);
    EXPECT_EQ(wynv_palet_get_ncolors(p.palette), 2);
    EXPECT_EQ(wynv_palet_get_size(p.palette), 2);
}

TEST(Palette, ImagesGiveTheirTableOrTheirPixels) {
    PaletteGuard p(wynv_palet_create(WYN_PALET_NORMAL, 256));
    IMAGE indexed = wynv_image_create(WYN_IMAGE_INDEXED, 2, 1);
    wynv_image_set_pixel(indexed, 0, 0, 0x123456);
    EXPECT_EQ(wynv_palet_add_colors_from_image(p.palette, indexed), 3); // black, white, 0x123456
    wynv_image_destroy(indexed);

    IMAGE direct = wynv_image_create(WYN_IMAGE_DIRECT, 3, 3);
    wynv_image_fill_rect(direct, nullptr, 0x123456);
    wynv_image_set_pixel(direct, 2, 2, 0xABCDEF);
    EXPECT_EQ(wynv_palet_add_colors_from_image(p.palette, direct), 1);
    wynv_image_destroy(direct);
    EXPECT_EQ(wynv_palet_get_ncolors(p.palette), 4);
}

TEST(Palette, TheDefaultPaletteIsFixedAndNeverDestroyed) {
    PALETTE def = wynv_palet_default();
    ASSERT_TRUE(wynv_palet_is_valid(def));
    EXPECT_EQ(wynv_palet_get_type(def), WYN_PALET_SYSTEM);
    EXPECT_EQ(wynv_palet_get_ncolors(def), 20);
    ReportCapture reports;
    const COLOR red = 0xFF0000;
    EXPECT_EQ(wynv_palet_add_colors(def, &red, 1), -1);
    wynv_palet_destroy(def);
    EXPECT_TRUE(wynv_palet_is_valid(def));
    EXPECT_EQ(wynv_palet_default(), def);
}

TEST(Palette, BadArgumentsAndStaleHandlesAreReported) {
    ReportCapture reports;
    EXPECT_EQ(wynv_palet_create(WYN_PALET_SYSTEM, 4), nullptr);
    EXPECT_EQ(wynv_palet_create(WYN_PALET_NORMAL, 0), nullptr);
    EXPECT_EQ(wynv_palet_create(WYN_PALET_NORMAL, 257), nullptr);
    EXPECT_EQ(ReportCapture::reports().size(), 3u);
    EXPECT_EQ(ReportCapture::reports()[0].id, 0x1520007u);

    PALETTE p = wynv_palet_create(WYN_PALET_NORMAL, 4);
    EXPECT_FALSE(wynv_palet_set_tolerance(p, -1));
    wynv_palet_destroy(p);
    reports.reports().clear();
    EXPECT_FALSE(wynv_palet_is_valid(p));
    EXPECT_EQ(wynv_palet_get_ncolors(p), -1);
    EXPECT_EQ(wynv_palet_get_tolerance(nullptr), -1);
    ASSERT_EQ(ReportCapture::reports().size(), 2u);
    EXPECT_EQ(ReportCapture::reports()[0].id, 0x1220004u);
    EXPECT_EQ(ReportCapture::reports()[1].id, 0x1210004u);
}

class PaletteWindowTest : public ToolkitTest {};

TEST_F(PaletteWindowTest, AWindowDrawsWithItsOwnPaletteElseItsParentsElseTheDefault) {
    startApp();
    WINDOW child = makeChild({10, 10, 60, 80});
    PaletteGuard p(wynv_palet_create(WYN_PALET_NORMAL, 4));
    EXPECT_EQ(wynv_vobj_get_palet(child), wynv_palet_default());
    WINDOW parent = wynk_vobj_get_parent(child);
    wynv_vobj_set_palet(parent, p.palette);
    EXPECT_EQ(wynv_vobj_get_palet(child), p.palette);
    PALETTE own = wynv_palet_create(WYN_PALET_NORMAL, 2);
    wynv_vobj_set_palet(child, own);
    EXPECT_EQ(wynv_vobj_get_palet(child), own);
    // A destroyed palette no longer counts: the parent's serves again, then none at all.
    wynv_palet_destroy(own);
    EXPECT_EQ(wynv_vobj_get_palet(child), p.palette);
    wynv_vobj_set_palet(parent, nullptr);
    EXPECT_EQ(wynv_vobj_get_palet(child), wynv_palet_default());
    EXPECT_TRUE(wynv_palet_map_win(p.palette, child));
    ReportCapture reports;
    EXPECT_EQ(wynv_vobj_get_palet(nullptr), nullptr);
    EXPECT_FALSE(wynv_palet_map_win(p.palette, nullptr));
    EXPECT_EQ(ReportCapture::reports().size(), 2u);
    EXPECT_EQ(ReportCapture::reports()[0].id, 0x1210002u);
}

} // namespace
