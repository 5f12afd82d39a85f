// The checked palette calls: null and dead palettes and images, bad counts, and windows, each
// reported once under its own source name and failure value.
#include <functional>
#include <wyn/checked/palette.h>
#include <wyn/errfrm.h>

#include "checked_support.h"

using PaletteChecks = CheckedPortableTest;

TEST_F(PaletteChecks, NullAndDeadPalettesAreReportedWithTheFailureValue) {
    EXPECT_EQ(wyn_palet_get_ncolors(nullptr), -1);
    ASSERT_TRUE(one_report(0x1210004, "tpalet"));
    EXPECT_EQ(ReportRecorder::all()[0].api.rfind("wyn_palet_get_ncolors", 0), 0u);

    PALETTE p = wyn_palet_create(WYN_PALET_NORMAL, 4);
    ASSERT_NE(p, nullptr);
    wyn_palet_destroy(p);
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_palet_set_tolerance(p, 3));
    EXPECT_TRUE(one_report(0x1220004, "tpalet"));
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_palet_is_valid(p));
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(PaletteChecks, EachFaultyArgumentIsReportedOnce) {
    PALETTE p = wyn_palet_create(WYN_PALET_NORMAL, 4);
    IMAGE dead = wynv_image_create(WYN_IMAGE_MONO, 1, 1);
    wynv_image_destroy(dead);
    COLOR colours[2] = {0xFF0000, 0x00FF00};
    ReportRecorder::all().clear();
    expect_one_report_each({
        [&] { EXPECT_EQ(wyn_palet_get_colors(p, nullptr, 2), -1); },
        [&] { EXPECT_EQ(wyn_palet_get_colors(p, colours, -1), -1); },
        [&] { EXPECT_EQ(wyn_palet_add_colors(p, colours, -2), -1); },
        [&] { EXPECT_EQ(wyn_palet_add_colors_from_image(p, nullptr), -1); },
        [&] { EXPECT_EQ(wyn_palet_add_colors_from_image(p, dead), -1); },
        [&] { EXPECT_FALSE(wyn_palet_set_tolerance(p, -1)); },
        [&] { EXPECT_FALSE(wyn_palet_map_win(p, nullptr)); },
        [&] { EXPECT_EQ(wyn_vobj_get_palet(nullptr), nullptr); },
        [&] { wyn_vobj_set_palet(nullptr, p); },
    });
    EXPECT_EQ(wyn_palet_add_colors(p, colours, 2), 2);
    EXPECT_EQ(wyn_palet_get_ncolors(p), 2);
    wyn_palet_destroy(p);
}

using PaletteWindowChecks = CheckedWindowTest;

TEST_F(PaletteWindowChecks, LiveWindowsAreForwarded) {
    EXPECT_EQ(wyn_vobj_get_palet(task()), wyn_palet_default());
    EXPECT_TRUE(wyn_palet_map_win(wyn_palet_default(), task()));
    PALETTE p = wyn_palet_create(WYN_PALET_NORMAL, 4);
    wyn_vobj_set_palet(task(), p);
    EXPECT_EQ(wyn_vobj_get_palet(task()), p);
    EXPECT_TRUE(ReportRecorder::all().empty());
    // A destroyed palette is refused where it is given.
    wyn_palet_destroy(p);
    wyn_vobj_set_palet(task(), p);
    EXPECT_TRUE(one_report(0x1220004, "tvobj"));
    EXPECT_EQ(wyn_vobj_get_palet(task()), wyn_palet_default());
}
