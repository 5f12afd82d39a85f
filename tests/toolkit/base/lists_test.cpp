// List boxes, list buttons and list edits: adding (also whole string lists and in sorted
// order), removing, reading, selection without E_CONTROL, and what the user's choices report.
#include <QComboBox>
#include <QListWidget>

#include "toolkit/base/controls_support.h"
#include <wyn/errmsg.h>
#include <wyn/list.h>

namespace {

std::vector<std::string> texts(SLIST list, std::vector<long>* data = nullptr) {
    std::vector<std::string> out;
    for (SLIST_ELT e = wynv_slist_get_first(list); e; e = wynv_slist_get_next(list, e)) {
        long d = 0;
        out.push_back(wynv_slist_get(list, e, &d));
        if (data) data->push_back(d);
    }
    return out;
}

} // namespace

TEST_F(ControlTest, ListBoxAddsReadsAndRemovesElements) {
    WINDOW box = make(WT_LIST_BOX, 1, RCT{10, 10, 110, 200});
    ASSERT_TRUE(wynk_list_add(box, -1, "b"));
    ASSERT_TRUE(wynk_list_add(box, 0, "a"));
    SLIST more = wynv_slist_create();
    wynv_slist_add_at_pos(more, -1, "c", 0);
    wynv_slist_add_at_pos(more, -1, "d", 0);
    ASSERT_TRUE(wynk_list_add(box, -1, reinterpret_cast<const char*>(more)));
    wynv_slist_destroy(more);
    EXPECT_FALSE(wynk_list_add(box, 9, "x"));
    EXPECT_EQ(wynk_list_count_all(box), 4);

    std::vector<long> data;
    SLIST all = wynk_list_get_all(box);
    EXPECT_EQ(texts(all, &data), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(data, (std::vector<long>{0, 1, 2, 3}));
    wynv_slist_destroy(all);

    char buf[4];
    EXPECT_TRUE(wynk_list_get_elt(box, 3, buf, sizeof buf));
    EXPECT_STREQ(buf, "d");
    EXPECT_FALSE(wynk_list_get_elt(box, 4, buf, sizeof buf));
    EXPECT_FALSE(wynk_list_get_elt(box, -1, buf, sizeof buf));

    reported_ids().clear();
    EXPECT_FALSE(wynk_list_rem(box, 4));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1250003u}));
    EXPECT_TRUE(wynk_list_rem(box, 0));
    EXPECT_EQ(wynk_list_count_all(box), 3);
    wynk_list_clear(box);
    EXPECT_EQ(wynk_list_count_all(box), 0);

    reported_ids().clear();
    WINDOW edit = make(WT_EDIT, 2, RCT{120, 10, 140, 100});
    EXPECT_EQ(wynk_list_count_all(edit), -1);
    EXPECT_EQ(reported_ids().size(), 1u);
}

TEST_F(ControlTest, SortedListsPlaceElementsAddedAtTheEnd) {
    WINDOW box = make(WT_LIST_BOX, 1, RCT{10, 10, 110, 200}, "", CTL_FLAG_SORTED);
    for (const char* s : {"Wed", "mon", "Sun", "tue"}) wynk_list_add(box, -1, s);
    SLIST all = wynk_list_get_all(box);
    EXPECT_EQ(texts(all), (std::vector<std::string>{"mon", "Sun", "tue", "Wed"}));
    wynv_slist_destroy(all);
}

TEST_F(ControlTest, ProgrammaticSelectionSendsNoEventButTheUsersDoes) {
    WINDOW box = make(WT_LIST_BOX, 1, RCT{10, 10, 110, 200});
    for (const char* s : {"a", "b", "c"}) wynk_list_add(box, -1, s);
    wynk_list_set_sel(box, 1, TRUE);
    EXPECT_TRUE(wynk_list_is_sel(box, 1));
    EXPECT_EQ(wynk_list_get_sel_index(box), 1);
    EXPECT_EQ(wynk_list_count_sel(box), 1);
    char buf[4];
    EXPECT_TRUE(wynk_list_get_first_sel(box, buf, sizeof buf));
    EXPECT_STREQ(buf, "b");
    wynk_list_set_sel(box, 2, TRUE);
    EXPECT_FALSE(wynk_list_is_sel(box, 1)) << "a single-selection list keeps one";
    wynk_list_set_sel(box, 2, FALSE);
    EXPECT_EQ(wynk_list_get_sel_index(box), -1);
    pump();
    EXPECT_TRUE(control_events(window_).empty());

    auto* list = static_cast<QListWidget*>(native(box));
    const QPoint at = list->visualItemRect(list->item(2)).center();
    double_click(list->viewport(), at);
    pump();
    auto events = control_events(window_);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front().v.ctl.ci.type, WT_LIST_BOX);
    EXPECT_EQ(events.front().v.ctl.ci.v.lbox.dbl_click, 0);
    EXPECT_EQ(events.back().v.ctl.ci.v.lbox.dbl_click, 1);
    EXPECT_EQ(wynk_list_get_sel_index(box), 2);
}

TEST_F(ControlTest, MultipleSelectionListsSelectEachElementOnItsOwn) {
    WINDOW box = make(WT_LIST_BOX, 1, RCT{10, 10, 110, 200}, "", CTL_FLAG_MULTI_SEL);
    for (const char* s : {"a", "b", "c"}) wynk_list_add(box, -1, s);
    wynk_list_set_sel(box, 0, TRUE);
    wynk_list_set_sel(box, 2, TRUE);
    EXPECT_EQ(wynk_list_count_sel(box), 2);
    SLIST sel = wynk_list_get_sel(box);
    std::vector<long> data;
    EXPECT_EQ(texts(sel, &data), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(data, (std::vector<long>{0, 2}));
    wynv_slist_destroy(sel);
    wynk_list_set_sel(box, 0, FALSE);
    EXPECT_EQ(wynk_list_get_sel_index(box), 2);
}

TEST_F(ControlTest, ListButtonSelectsItsOnlyElementAndEmptiesWithItsList) {
    WINDOW button = make(WT_LIST_BUTTON, 30, RCT{10, 10, 110, 100});
    wynk_list_add(button, -1, "Default");
    EXPECT_EQ(wynk_list_get_sel_index(button), 0);
    wynk_list_add(button, -1, "208");
    wynk_list_set_sel(button, 1, TRUE);
    EXPECT_TRUE(wynk_list_is_sel(button, 1));
    EXPECT_FALSE(wynk_list_is_sel(button, 0));
    wynk_list_rem(button, 1);
    wynk_list_rem(button, 0);
    EXPECT_EQ(wynk_list_get_sel_index(button), -1);
    char title[8];
    EXPECT_STREQ(wynk_vobj_get_title(button, title, sizeof title), "");
    pump();
    EXPECT_TRUE(control_events(window_).empty());

    wynk_list_add(button, -1, "COM1");
    wynk_list_add(button, -1, "COM2");
    static_cast<QComboBox*>(native(button))->setCurrentIndex(1);
    pump();
    auto events = control_events(window_);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].v.ctl.ci.type, WT_LIST_BUTTON);
    EXPECT_EQ(events[0].v.ctl.ci.v.lbox.dbl_click, 0);
}
