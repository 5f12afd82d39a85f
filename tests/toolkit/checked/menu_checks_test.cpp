// The checked menu calls: windows without a menu bar, item states outside TRUE and FALSE, and the
// calls that pass through to the bar.
#include <wyn/checked/menu.h>
#include <wyn/checked/util.h>

#include "checked_support.h"

namespace {

char* t(const char* s) {
    return const_cast<char*>(s);
}

MENU_ITEM file_items[] = {{101, t("~Open"), 0, MENU_FLAG_ENABLED, nullptr, 0}, {}};
MENU_ITEM bar_items[] = {{1, t("~File"), 0, MENU_FLAG_ENABLED, file_items, 0}, {}};

} // namespace

using MenuChecks = CheckedWindowTest;

TEST_F(MenuChecks, AWindowWithoutMenuBarCannotHaveItsMenuAccessed) {
    WINDOW child = makeChild(RCT{0, 0, 40, 40});
    EXPECT_FALSE(wyn_win_has_menu(child));
    EXPECT_TRUE(ReportRecorder::all().empty());
    expect_one_report_each({
        [&] { wyn_menu_set_tree(child, bar_items); },
        [&] { wyn_menu_set_item_enabled(child, 101, FALSE); },
        [&] { EXPECT_EQ(wyn_menu_get_tree(child), nullptr); },
        [&] { EXPECT_EQ(wyn_menu_get_font_sel(child, FALSE), nullptr); },
    });
    for (const CheckedReport& r : ReportRecorder::all()) {
        EXPECT_EQ(r.id, WYN_MSG_ACCESS_MENU);
        EXPECT_EQ(r.file, "tmenu");
    }
}

TEST_F(MenuChecks, ItemStatesAndArgumentsAreCheckedBeforeTheBarChanges) {
    wynk_menu_set_tree(task(), bar_items);
    ASSERT_TRUE(wyn_win_has_menu(task()));
    wyn_menu_set_item_checked(task(), 101, 7);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "tmenu"));
    ReportRecorder::all().clear();
    wyn_menu_set_item_title(task(), 101, nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tmenu"));
    ReportRecorder::all().clear();
    wyn_menu_popup(nullptr, task(), PNT{0, 0}, 0, 0);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tmenu"));
    ReportRecorder::all().clear();

    wyn_menu_set_item_checked(task(), 101, TRUE);
    wyn_menu_set_item_title(task(), 101, "~Open again");
    MENU_ITEM* tree = wyn_menu_get_tree(task());
    ASSERT_NE(tree, nullptr);
    EXPECT_STREQ(tree[0].submenu[0].text, "~Open again");
    EXPECT_NE(tree[0].submenu[0].flags & MENU_FLAG_CHECKED, 0u);
    wyn_res_free_menu_tree(tree);
    EXPECT_TRUE(ReportRecorder::all().empty());
}
