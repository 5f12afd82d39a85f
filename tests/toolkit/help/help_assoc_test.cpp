// Associations: objects and menu items bound and unbound, bad handles and tags, a whole window
// bound from the association file, and a destroyed window's bindings dropped.
#include <wyn/ctl.h>
#include <wyn/dlg.h>

#include "help_support.h"

namespace {

class HelpAssoc : public HelpWindowTest {
  protected:
    int records(HELP_INFO help) {
        int n = 0;
        for (const wynhelp::Assoc* a = help->list.first(); a; a = a->next) ++n;
        return n;
    }
};

} // namespace

TEST_F(HelpAssoc, objects_are_bound_rebound_and_unbound_with_one_record_each) {
    HELP_INFO help = open(scratch_, "norva", HELP_OPEN_NO_MENU_ASSOC);
    ASSERT_NE(help, nullptr);
    wynv_help_set_win_assoc(help, win_, 40);
    wynv_help_set_win_assoc(help, button_, 41);
    EXPECT_EQ(wynv_help_get_win_assoc(help, win_), 40);
    EXPECT_EQ(wynv_help_get_win_assoc(help, button_), 41);
    EXPECT_EQ(wynv_help_get_win_assoc(help, edit_), 0);
    wynv_help_set_win_assoc(help, win_, 42);
    EXPECT_EQ(wynv_help_get_win_assoc(help, win_), 42);
    EXPECT_EQ(records(help), 2);
    wynv_help_set_win_assoc(help, win_, 0);
    EXPECT_EQ(wynv_help_get_win_assoc(help, win_), 0);
    EXPECT_EQ(records(help), 1);
    EXPECT_EQ(help->list.first()->kind, HELP_KIND_CONTROL);
    EXPECT_EQ(help->list.first()->window, win_);
}

TEST_F(HelpAssoc, menu_items_are_bound_per_window_and_for_every_window_by_16_bit_tag) {
    HELP_INFO help = open(scratch_, "norva", HELP_OPEN_NO_MENU_ASSOC);
    ASSERT_NE(help, nullptr);
    wynv_help_set_menu_assoc(help, win_, 100, 7, 0);
    wynv_help_set_menu_assoc(help, nullptr, 100, 8, 0);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 100), 7);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, nullptr, 100), 8);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, button_, 100), 0);
    // Only the low 16 bits name the tag.
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 0x10064), 7);
    // Tags 100 and 100 + 513 share a bucket and stay apart.
    wynv_help_set_menu_assoc(help, win_, 613, 9, 0);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 613), 9);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 100), 7);
    EXPECT_TRUE(reported_ids().empty());
    for (int32_t bad : {0, -3, 0x8000}) {
        wynv_help_set_menu_assoc(help, win_, bad, 5, 0);
        EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, bad), 0);
    }
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>(6, 0x210000));
}

TEST_F(HelpAssoc, a_bad_handle_is_reported_by_the_association_calls_and_ignored_by_the_others) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    auto* forged = reinterpret_cast<HELP_INFO>(reinterpret_cast<char*>(help) + 8);
    for (HELP_INFO bad : {static_cast<HELP_INFO>(nullptr), forged}) {
        reported_ids().clear();
        wynv_help_set_win_assoc(bad, win_, 3);
        EXPECT_EQ(wynv_help_get_win_assoc(bad, win_), 0);
        wynv_help_set_menu_assoc(bad, win_, 3, 3, 0);
        EXPECT_EQ(wynv_help_get_menu_assoc(bad, win_, 3), 0);
        wynv_help_disassoc_all(bad, win_);
        EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>(5, 0x500000));
        reported_ids().clear();
        wynv_help_display_topic(bad, 5);
        wynv_help_search_topic(bad, 0, "x");
        wynv_help_begin_objclick(bad, win_, 0);
        EVENT ev{};
        ev.type = E_COMMAND;
        ev.v.cmd.tag = 32462;
        EXPECT_FALSE(wynv_help_process_event(bad, win_, &ev));
        EXPECT_FALSE(wynv_help_assoc_all(bad, win_, 101, nullptr));
        EXPECT_TRUE(reported_ids().empty());
    }
    EXPECT_TRUE(calls().empty());
    wynv_help_set_win_assoc(help, nullptr, 3);
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{0x210000});
}

TEST_F(HelpAssoc, a_whole_window_is_bound_from_the_file_with_its_menus_and_controls) {
    write("norva.csa", "W 101 0 500\nM 40 101 7\nM 41 0 8\nM 42 101 9\nM 43 999 10\n"
                       "C 5 0 900\nC 6 101 901\nC 7 101 902\n");
    HELP_INFO help = open(scratch_, "norva", HELP_OPEN_NO_MENU_ASSOC);
    ASSERT_NE(help, nullptr);
    MENU_ITEM sub[] = {{42, const_cast<char*>("Deep"), 0, 0, nullptr, 0}, {}};
    MENU_ITEM tree[] = {{40, const_cast<char*>("File"), 0, 0, sub, 0},
                        {41, const_cast<char*>("Any"), 0, 0, nullptr, 0},
                        {43, const_cast<char*>("Other"), 0, 0, nullptr, 0},
                        {}};
    WIN_DEF def[4] = {};
    def[0].type = WT_PLAIN;
    def[0].u.menu_tree = tree;
    def[1].type = WT_PUSH_BUTTON;
    def[1].menu_or_id = 5;
    def[2].type = WT_EDIT;
    def[2].menu_or_id = 6;
    ASSERT_TRUE(wynv_help_assoc_all(help, win_, 101, def));
    EXPECT_EQ(wynv_help_get_win_assoc(help, win_), 500);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 40), 7);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 41), 8);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 42), 9);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 43), 0);
    EXPECT_EQ(wynv_help_get_win_assoc(help, button_), 900);
    EXPECT_EQ(wynv_help_get_win_assoc(help, edit_), 901);

    // A control needs its definition given; a window of no resource binds nothing.
    EXPECT_FALSE(wynv_help_assoc_all(help, button_, 5, nullptr));
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{0x597170});
    EXPECT_FALSE(wynv_help_assoc_all(help, win_, 4242, nullptr));
}

TEST_F(HelpAssoc, destroying_a_window_drops_its_own_its_menus_and_its_controls_bindings) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    WINDOW other = makeChild(RCT{10, 320, 100, 400});
    wynv_help_set_win_assoc(help, win_, 40);
    wynv_help_set_win_assoc(help, button_, 41);
    wynv_help_set_menu_assoc(help, win_, 100, 42, 0);
    wynv_help_set_win_assoc(help, other, 43);
    wynv_help_set_menu_assoc(help, other, 100, 44, 0);
    const int before = records(help);
    wynk_vobj_destroy(win_);
    pump();
    EXPECT_EQ(records(help), before - 3);
    EXPECT_EQ(wynv_help_get_win_assoc(help, win_), 0);
    EXPECT_EQ(wynv_help_get_win_assoc(help, button_), 0);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, win_, 100), 0);
    EXPECT_EQ(wynv_help_get_win_assoc(help, other), 43);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, other, 100), 44);
    // The bindings every window shares stay.
    EXPECT_EQ(wynv_help_get_menu_assoc(help, nullptr, 32455), 32001);
}

TEST_F(HelpAssoc, a_dialog_binds_as_a_dialog) {
    HELP_INFO help = open(scratch_, "norva", HELP_OPEN_NO_MENU_ASSOC);
    ASSERT_NE(help, nullptr);
    WIN_DEF def[2] = {};
    def[0].type = WT_MODELESS_DLG;
    def[0].rct = RCT{10, 10, 100, 200};
    def[0].text = const_cast<char*>("Dialog");
    WINDOW dlg = wynk_dlg_create_def(def, EM_ALL, record_event, 0);
    ASSERT_NE(dlg, nullptr);
    wynv_help_set_win_assoc(help, dlg, 95);
    EXPECT_EQ(wynv_help_get_win_assoc(help, dlg), 95);
    EXPECT_EQ(help->list.first()->kind, HELP_KIND_DIALOG);
    wynk_vobj_destroy(dlg);
    pump();
    EXPECT_EQ(records(help), 0);
}
