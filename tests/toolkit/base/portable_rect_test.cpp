// Rectangles: emptiness, intersection, repair, clamping and unit conversion.
#include <gtest/gtest.h>

#include "portable/rect.h"
#include <wyn/rect.h>
#include <wyn/windef.h>

namespace {

RCT make(int left, int top, int right, int bottom) {
    RCT r;
    wynv_rect_set(&r, left, top, right, bottom);
    return r;
}

bool same(const RCT& a, const RCT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Rect, IntersectionOfTouchingOrEmptyRectanglesIsEmpty) {
    RCT a = make(0, 0, 10, 10);
    RCT touching = make(10, 0, 20, 10);
    RCT out = make(1, 1, 2, 2);
    EXPECT_FALSE(wynv_rect_intersect(&out, &a, &touching));
    EXPECT_TRUE(same(out, make(0, 0, 0, 0)));

    // An inverted rectangle is empty even though its sides overlap a: no silent repair.
    RCT inverted = make(8, 8, 2, 2);
    EXPECT_FALSE(wynv_rect_intersect(&out, &a, &inverted));

    RCT b = make(5, -5, 15, 5);
    EXPECT_TRUE(wynv_rect_intersect(&a, &a, &b)); // the result may be an argument
    EXPECT_TRUE(same(a, make(5, 0, 10, 5)));
}

TEST(Rect, PointsOnTheRightAndBottomEdgesAreOutside) {
    RCT r = make(0, 0, 10, 5);
    PNT inside = {4, 9};
    PNT right_edge = {0, 10};
    PNT bottom_edge = {5, 0};
    EXPECT_TRUE(wynv_rect_has_point(&r, &inside));
    EXPECT_FALSE(wynv_rect_has_point(&r, &right_edge));
    EXPECT_FALSE(wynv_rect_has_point(&r, &bottom_edge));
    EXPECT_TRUE(wynv_rect_is_empty(nullptr));
}

TEST(Rect, RepairOrdersSidesAndMovesKeepTheSize) {
    RCT r = make(30, 40, 10, 20);
    EXPECT_EQ(wynv_rect_get_width(&r), -20);
    wynv_rect_repair(&r);
    EXPECT_TRUE(same(r, make(10, 20, 30, 40)));
    PNT pos = {-5, 100};
    wynv_rect_set_pos(&r, &pos);
    EXPECT_TRUE(same(r, make(100, -5, 120, 15)));
    wynv_rect_set_height(&r, 7);
    EXPECT_EQ(wynv_rect_get_height(&r), 7);
}

TEST(Rect, CoordinatesClampAtSixteenBitsInsteadOfWrapping) {
    RCT r = make(32000, 0, 32700, 10);
    wynv_rect_offset(&r, 1000, 0);
    EXPECT_EQ(r.left, 32767);
    EXPECT_EQ(r.right, 32767);
    EXPECT_TRUE(wynv_rect_is_empty(&r));
    wynv_rect_set(&r, -70000, 0, 70000, 1);
    EXPECT_EQ(r.left, -32768);
    EXPECT_EQ(r.right, 32767);
}

TEST(Rect, DialogUnitsRoundToNearestForNegativeCoordinatesToo) {
    portable_set_dialog_base_units(7, 15);
    RCT r = make(-3, -4, 6, 12);
    ASSERT_TRUE(wynk_rect_to_pixels(&r, WYN_UNITS_DIALOG));
    // -3*7/4 = -5.25, -4*15/8 = -7.5, 6*7/4 = 10.5, 12*15/8 = 22.5
    EXPECT_TRUE(same(r, make(-5, -8, 11, 23)));
    r = make(WYN_COORD_DEFAULT, 2, WYN_COORD_DEFAULT, 3);
    ASSERT_TRUE(wynk_rect_to_pixels(&r, WYN_UNITS_CHARS));
    EXPECT_TRUE(same(r, make(WYN_COORD_DEFAULT, 30, WYN_COORD_DEFAULT, 45)));
    portable_set_dialog_base_units(8, 16);
}

TEST(Rect, DefinitionRectanglesAreConvertedAndRestored) {
    portable_set_dialog_base_units(8, 16);
    WIN_DEF def[3] = {};
    def[0].type = WT_DOC;
    def[0].rct = make(1, 1, 10, 5);
    def[0].units = WU_CHARS;
    def[1].type = WT_PUSH_BUTTON;
    def[1].rct = make(4, 8, 40, 16);
    def[1].units = WU_DLG_UNITS;
    WINDEF_RECTS saved = wynv_rect_repair_windef(def);
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(same(def[0].rct, make(8, 16, 80, 80)));
    EXPECT_TRUE(same(def[1].rct, make(8, 16, 80, 32)));
    EXPECT_EQ(def[1].units, WU_PIXELS);
    wynv_rect_restore(def, saved);
    EXPECT_TRUE(same(def[1].rct, make(4, 8, 40, 16)));
    EXPECT_EQ(def[1].units, WU_DLG_UNITS);
}

} // namespace
