// Help in event dispatch, through the library's own event hook on real windows: the Help-menu
// commands, help requests, object-click mode and a closed file's hook.
#include <wyn/attr.h>
#include <wyn/ctl.h>
#include <wyn/help_engine.h>

#include "help_support.h"

namespace {

class HelpEvents : public HelpWindowTest {
  protected:
    // Dispatches ev to win as the event loop does; true when it reached win's handler.
    bool reaches(WINDOW win, EVENT ev) {
        seen_events().clear();
        wynk_win_dispatch_event(win, &ev);
        for (const SeenEvent& s : seen_events())
            if (s.win == win && s.ev.type == ev.type) return true;
        return false;
    }

    static EVENT command(int16_t tag) {
        EVENT ev{};
        ev.type = E_COMMAND;
        ev.v.cmd.tag = tag;
        return ev;
    }

    static EVENT help_request(WINDOW obj, int16_t tag, int32_t tid = 0) {
        EVENT ev{};
        ev.type = E_HELP;
        ev.v.help.obj = obj;
        ev.v.help.tag = tag;
        ev.v.help.tid = tid;
        return ev;
    }

    static EVENT mouse(int32_t type, const RCT& over) {
        EVENT ev{};
        ev.type = type;
        ev.v.mouse.where = PNT{static_cast<int16_t>((over.top + over.bottom) / 2),
                               static_cast<int16_t>((over.left + over.right) / 2)};
        return ev;
    }

    static EVENT key(char ch) {
        EVENT ev{};
        ev.type = E_CHAR;
        ev.v.chr.ch = static_cast<uint16_t>(ch);
        return ev;
    }

    RCT empty_rct_{150, 150, 180, 250};
};

} // namespace

TEST_F(HelpEvents, the_help_menu_commands_show_their_topics_and_stop_at_help) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    for (int16_t tag : {32452, 32453, 32454, 32455, 32456, 32459, 32461, 32462})
        EXPECT_FALSE(reaches(win_, command(tag))) << tag;
    EXPECT_EQ(shown(),
              (std::vector<int32_t>{32000, 32001, 32005, 32001, 32002, 32007, 32009, 32006}));
    // The window's own topic, once it has one.
    wynv_help_set_win_assoc(help, win_, 77);
    calls().clear();
    EXPECT_FALSE(reaches(win_, command(32453)));
    EXPECT_FALSE(reaches(win_, command(32457)));
    ASSERT_EQ(calls().size(), 2u);
    EXPECT_EQ(calls()[0].data, 77u);
    EXPECT_EQ(calls()[1].command, uint32_t{WYN_HELP_PARTIALKEY});
    EXPECT_EQ(calls()[1].keyword, "");
    EXPECT_EQ(calls()[1].owner, wynwi_get_utility_hwnd());
    // Commands of the application's own go on to the window.
    calls().clear();
    EXPECT_TRUE(reaches(win_, command(1001)));
    EXPECT_TRUE(calls().empty());
}

TEST_F(HelpEvents, help_on_menu_item_32455_gives_the_index_or_without_defaults_the_way_up) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(reaches(win_, help_request(button_, 32455)));
    EXPECT_EQ(shown(), std::vector<int32_t>{32001});
    ASSERT_TRUE(wynv_help_close_helpfile(help));

    HELP_INFO bare = open(scratch_, "norva", HELP_OPEN_NO_MENU_ASSOC);
    ASSERT_NE(bare, nullptr);
    // Only the first open installs the hook; this file is asked directly.
    calls().clear();
    EVENT ev = help_request(button_, 32455);
    EXPECT_TRUE(wynv_help_process_event(bare, win_, &ev));
    wynv_help_set_win_assoc(bare, win_, 66);
    EXPECT_TRUE(wynv_help_process_event(bare, win_, &ev));
    ev = help_request(button_, 0, 123);
    EXPECT_TRUE(wynv_help_process_event(bare, win_, &ev));
    EXPECT_EQ(shown(), (std::vector<int32_t>{32006, 66, 123}));
}

TEST_F(HelpEvents, help_on_the_focused_object_climbs_to_the_nearest_association) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    wynv_help_set_win_assoc(help, win_, 55);
    wynk_scr_set_focus_vobj(edit_);
    pump();
    ASSERT_EQ(wynk_scr_get_focus_vobj(), edit_);
    EXPECT_FALSE(reaches(win_, command(32451)));
    wynv_help_set_win_assoc(help, edit_, 56);
    EXPECT_FALSE(reaches(win_, command(32451)));
    EXPECT_EQ(shown(), (std::vector<int32_t>{55, 56}));
}

TEST_F(HelpEvents, object_click_mode_ended_by_a_key_shows_nothing_and_restores_the_cursor) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    wynk_win_set_cursor(win_, CURSOR_CROSS);
    EXPECT_FALSE(reaches(win_, command(32458)));
    EXPECT_EQ(help->mode_flags, 0x1u);
    EXPECT_EQ(wynk_win_get_cursor(win_), CURSOR_HELP);
    EXPECT_FALSE(reaches(win_, mouse(E_MOUSE_DOWN, button_rct_)));
    EXPECT_FALSE(reaches(win_, key('x')));
    EXPECT_EQ(help->mode_flags, 0u);
    EXPECT_EQ(wynk_win_get_cursor(win_), CURSOR_CROSS);
    EXPECT_TRUE(calls().empty());
    // With the mode over, the mouse and keys are the window's again.
    EXPECT_TRUE(reaches(win_, mouse(E_MOUSE_DOWN, button_rct_)));
    EXPECT_TRUE(reaches(win_, key('y')));
}

TEST_F(HelpEvents, a_click_in_object_click_mode_shows_the_topic_of_the_object_under_the_pointer) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    wynv_help_set_win_assoc(help, button_, 900);
    wynv_help_set_win_assoc(help, win_, 800);

    wynv_help_begin_objclick(help, win_, 0);
    EXPECT_TRUE(reaches(win_, mouse(E_MOUSE_MOVE, button_rct_)));
    EXPECT_FALSE(reaches(win_, mouse(E_MOUSE_UP, button_rct_)));
    // Over the window itself, its own topic; over a control without one, the contents.
    wynv_help_begin_objclick(help, win_, 0);
    reaches(win_, mouse(E_MOUSE_MOVE, empty_rct_));
    EXPECT_FALSE(reaches(win_, mouse(E_MOUSE_DBL, empty_rct_)));
    wynv_help_begin_objclick(help, win_, 0);
    reaches(win_, mouse(E_MOUSE_MOVE, edit_rct_));
    EXPECT_FALSE(reaches(win_, mouse(E_MOUSE_UP, edit_rct_)));
    EXPECT_EQ(shown(), (std::vector<int32_t>{900, 800, 32006}));
    EXPECT_EQ(help->mode_flags, 0u);
}

TEST_F(HelpEvents, object_click_mode_takes_a_control_a_menu_command_and_a_close) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    wynv_help_set_win_assoc(help, win_, 800);
    wynv_help_set_menu_assoc(help, win_, 1001, 61, 0);

    wynv_help_begin_objclick(help, win_, 0);
    EVENT focus{};
    focus.type = E_CONTROL;
    focus.v.ctl.id = 6;
    focus.v.ctl.ci.type = WT_EDIT;
    focus.v.ctl.ci.win = edit_;
    focus.v.ctl.ci.v.edit.focus_change = 1;
    // The edit's focus coming and going is no choice; its click is, and climbs to the window.
    EXPECT_TRUE(reaches(win_, focus));
    EXPECT_EQ(help->mode_flags, 0x1u);
    EVENT click = focus;
    click.v.ctl.ci.type = WT_PUSH_BUTTON;
    click.v.ctl.ci.win = button_;
    click.v.ctl.ci.v.edit.focus_change = 0;
    EXPECT_FALSE(reaches(win_, click));

    wynv_help_begin_objclick(help, win_, 0);
    EXPECT_FALSE(reaches(win_, command(1001)));
    wynv_help_begin_objclick(help, win_, 0);
    EXPECT_FALSE(reaches(win_, command(1002)));
    wynv_help_begin_objclick(help, win_, 0);
    EVENT close{};
    close.type = E_CLOSE;
    EXPECT_TRUE(reaches(win_, close));
    EXPECT_EQ(help->mode_flags, 0u);
    EXPECT_EQ(shown(), (std::vector<int32_t>{800, 61, 32006}));
}

TEST_F(HelpEvents, object_click_mode_is_refused_on_the_task_window_unless_it_draws) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    wynv_help_begin_objclick(help, task, 0);
    EXPECT_EQ(help->mode_flags, 0u);
    wynv_vobj_set_attr(nullptr, ATTR_DRAW_TASK, 1);
    wynv_help_begin_objclick(help, task, 0);
    EXPECT_EQ(help->mode_flags, 0x1u);
    wynv_help_end_objclick(help);
    EXPECT_EQ(help->mode_flags, 0u);
}

TEST_F(HelpEvents, a_window_destroyed_in_object_click_mode_ends_the_mode) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    wynv_help_begin_objclick(help, win_, 0);
    wynk_vobj_destroy(win_);
    pump();
    EXPECT_EQ(help->mode_flags, 0u);
    EXPECT_EQ(help->objclick_win, nullptr);
}

TEST_F(HelpEvents, after_the_hooks_file_is_closed_events_pass_through_untouched) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(reaches(win_, command(32462)));
    ASSERT_TRUE(wynv_help_close_helpfile(help));
    calls().clear();
    EXPECT_TRUE(reaches(win_, command(32462)));
    EXPECT_TRUE(reaches(win_, help_request(button_, 32455)));
    EXPECT_TRUE(calls().empty());
}

TEST_F(HelpEvents, topics_and_searches_go_to_the_viewer_as_its_commands) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    wynv_help_display_topic(help, 32000);
    wynv_help_display_topic(help, 32006);
    wynv_help_display_topic(help, 107);
    wynv_help_search_topic(help, 0, "alarms");
    ASSERT_EQ(calls().size(), 4u);
    EXPECT_EQ(calls()[0].command, uint32_t{WYN_HELP_HELPONHELP});
    EXPECT_EQ(calls()[1].command, uint32_t{WYN_HELP_CONTENTS});
    EXPECT_EQ(calls()[2].command, uint32_t{WYN_HELP_CONTEXT});
    EXPECT_EQ(calls()[2].data, 107u);
    EXPECT_EQ(calls()[3].keyword, "alarms");
    for (const ViewerCall& c : calls()) {
        EXPECT_EQ(c.path, scratch_ + "/norva.hlp");
        EXPECT_EQ(c.owner, wynwi_get_utility_hwnd());
    }
}

TEST_F(HelpEvents, f1_on_an_object_shows_its_own_topic_else_its_windows_else_the_contents) {
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    // F1 asks for help on the focused object with neither tag nor topic.
    EXPECT_FALSE(reaches(win_, help_request(button_, 0)));
    wynv_help_set_win_assoc(help, win_, 66);
    EXPECT_FALSE(reaches(win_, help_request(button_, 0)));
    wynv_help_set_win_assoc(help, button_, 88);
    EXPECT_FALSE(reaches(win_, help_request(button_, 0)));
    EXPECT_EQ(shown(), (std::vector<int32_t>{32006, 66, 88}));
}
