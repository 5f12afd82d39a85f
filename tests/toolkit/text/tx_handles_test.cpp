// Handles, slots and windows: bad handles reported, slots reused, text edits found and taken
// along with their window, the Edit menu kept up to date, and hosted focus notifications.
#include <wyn/clipboard.h>
#include <wyn/ctl.h>
#include <wyn/menu.h>
#include <wyn/res.h>

#include "tx_support.h"

namespace {

class tx_handles : public tx_test {
  protected:
    // The enabled state of the task window's Edit items cut, copy, paste and clear.
    std::vector<bool> edit_items() {
        std::vector<bool> out;
        MENU_ITEM* tree = wynk_menu_get_tree(task());
        if (!tree) return out;
        for (const MENU_ITEM* i = tree[0].submenu; i && i->tag; ++i)
            out.push_back(i->flags & MENU_FLAG_ENABLED);
        wynv_res_free_menu_tree(tree);
        return out;
    }
    static WINDOW task() {
        return reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    }
};

class tx_hosted_focus : public tx_test {
  protected:
    tx_hosted_focus() : tx_test(false) {}
};

char* label(const char* s) {
    return const_cast<char*>(s);
}

} // namespace

TEST_F(tx_handles, BadHandlesAndMissingWindowsAreReportedAndRefused) {
    ASSERT_TRUE(make());
    const RCT rct{0, 0, 50, 50};
    EXPECT_EQ(wynv_tx_create(nullptr, &rct, 0, nullptr, 0, 0), nullptr);
    EXPECT_EQ(wynv_tx_get_attr(reinterpret_cast<TX>(uintptr_t(9))), 0);
    wynv_tx_destroy(reinterpret_cast<TX>(uintptr_t(40)));
    EXPECT_FALSE(wynv_tx_process_event(nullptr, nullptr));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{TX_ERR_NULL_WINDOW, TX_ERR_INVALID, TX_ERR_BAD_SLOT}));
    reported_ids().clear();
    EXPECT_FALSE(wynv_tx_is_valid(reinterpret_cast<TX>(uintptr_t(9))));
    EXPECT_FALSE(wynv_tx_is_valid(nullptr));
    EXPECT_TRUE(reported_ids().empty()) << "asking whether a handle is valid never reports";
}

TEST_F(tx_handles, SlotsAreReusedAndWindowsTakeTheirTextEditsAlong) {
    TX first = make(), second = make(), third = make();
    EXPECT_EQ(reinterpret_cast<uintptr_t>(third), 3u);
    wynv_tx_destroy(second);
    EXPECT_FALSE(wynv_tx_is_valid(second));
    EXPECT_EQ(make(), second) << "the first free slot is taken again";
    EXPECT_EQ(wynv_tx_get_next_tx(nullptr, parent_), first);
    EXPECT_EQ(wynv_tx_get_next_tx(first, parent_), second);
    EXPECT_EQ(wynv_tx_get_next_tx(third, parent_), nullptr);
    wynk_scr_set_focus_vobj(wynk_vobj_get_parent(parent_));
    EXPECT_EQ(wynv_tx_get_active(), nullptr) << "the focus is not on the text edits' window";
    wynv_tx_set_active(first);
    EXPECT_EQ(wynv_tx_get_active(), first);

    char text[] = "from a definition";
    WIN_DEF def{};
    def.type = WT_TEXT_EDIT;
    def.rct = RCT{150, 10, 250, 210};
    def.text = text;
    def.menu_or_id = 12;
    TX made = wynv_tx_create_def(&def, parent_, 77);
    EXPECT_EQ(wynv_tx_get_tx(parent_, 12), made);
    EXPECT_EQ(wynv_tx_get_data(made), 77);
    EXPECT_EQ(wynv_tx_get_num_pars(made), 1);

    wynk_vobj_destroy(parent_);
    for (TX tx : {first, second, third, made}) EXPECT_FALSE(wynv_tx_is_valid(tx));
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(tx_handles, TheEditMenuFollowsTheSelectionTheAttributesAndTheClipboard) {
    MENU_ITEM edit[] = {{MENU_TAG_CUT, label("Cu~t"), 0, 0, nullptr, 0},
                        {MENU_TAG_COPY, label("~Copy"), 0, 0, nullptr, 0},
                        {MENU_TAG_PASTE, label("~Paste"), 0, 0, nullptr, 0},
                        {MENU_TAG_CLEAR, label("C~lear"), 0, 0, nullptr, 0},
                        {}};
    MENU_ITEM bar[] = {{1, label("~Edit"), 0, MENU_FLAG_ENABLED, edit, 0}, {}};
    wynk_menu_set_tree(task(), bar);
    clip("on the clipboard");
    ASSERT_TRUE(make());
    wynv_tx_add_par(tx_, TX_PAR_END, "words");
    wynv_tx_set_active(tx_);
    EXPECT_EQ(edit_items(), (std::vector<bool>{false, false, true, false}));
    wynv_tx_set_sel(tx_, 0, 0, 0, 0, 0, 3);
    EXPECT_EQ(edit_items(), (std::vector<bool>{true, true, true, true}));
    wynv_tx_set_attr(tx_, TX_WRAP | TX_READONLY);
    EXPECT_EQ(edit_items(), (std::vector<bool>{false, true, false, false}));
    wynv_tx_set_attr(tx_, TX_WRAP | TX_NO_COPY | TX_CLEAR_ON);
    wynv_tx_set_sel(tx_, 0, 0, 1, 0, 0, 1);
    EXPECT_EQ(edit_items(), (std::vector<bool>{false, false, true, true}));
    wynv_tx_set_attr(tx_, TX_WRAP | TX_NO_MENU);
    wynv_tx_set_sel(tx_, 0, 0, 0, 0, 0, 3);
    EXPECT_EQ(edit_items(), (std::vector<bool>{false, false, true, true})) << "left alone";
}

TEST_F(tx_hosted_focus, TheHostedChildReportsFocusChangesAndKeepsItsState) {
    RCT rct{10, 10, 110, 210};
    tx_ = wynv_tx_create(parent_, &rct, TX_WRAP, nullptr, 0, 0);
    ASSERT_NE(tx_, nullptr);
    EXPECT_NE(tx_, static_cast<TX>(parent_));
    wynk_scr_set_focus_vobj(parent_);
    pump();
    notes().clear();
    wynv_tx_set_active(tx_);
    pump();
    EXPECT_EQ(wynv_tx_get_active(), tx_);
    wynk_scr_set_focus_vobj(parent_);
    pump();
    EXPECT_EQ(wynv_tx_get_active(), nullptr);
    EXPECT_EQ(notes(), (std::vector<std::vector<int>>{{0, 1, 1}, {0, 1, 0}}));
    wynv_tx_set_attr(tx_, TX_WRAP | TX_INVISIBLE);
    EXPECT_FALSE(wynk_vobj_get_flags(static_cast<WINDOW>(tx_)) & VOBJ_FLAG_VISIBLE);
    wynv_tx_destroy(tx_);
    EXPECT_FALSE(wynv_tx_is_valid(tx_));
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(tx_handles, ATextEditDestroyedFromItsOwnCallBackFinishesTheOperationFirst) {
    ASSERT_TRUE(make());
    wynv_tx_add_par(tx_, TX_PAR_END, "kept until the edit is over");
    wynv_tx_set_scroll_callback(tx_, [](TX tx, int32_t, int32_t, int32_t) { wynv_tx_destroy(tx); });
    EXPECT_TRUE(wynv_tx_append(tx_, 0, " and then some more words to make the paragraph wrap again"));
    EXPECT_FALSE(wynv_tx_is_valid(tx_));
    EXPECT_EQ(make(), tx_) << "its slot is free again";
    EXPECT_TRUE(reported_ids().empty());
}
