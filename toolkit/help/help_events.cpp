// Help's side of event dispatch: the standard Help-menu commands, help requests, and
// object-click mode, in which the next click names the object whose topic is shown.
#include <wyn/attr.h>
#include <wyn/ctl.h>

#include "help_info.h"

using namespace wynhelp;

namespace {

// The standard Help-menu commands.
enum : int16_t {
    kTagFocusHelp = 32451,
    kTagHowToUse = 32452,
    kTagWindowHelp = 32453,
    kTagKeyboard = 32454,
    kTagIndex = 32455,
    kTagTopic32002 = 32456,
    kTagSearch = 32457,
    kTagObjClick = 32458,
    kTagAbout = 32459,
    kTagGlossary = 32461,
    kTagContents = 32462
};

enum class Action { pass, handled, show, search };

struct Outcome {
    Action action = Action::pass;
    int32_t topic = 0;
};

Outcome show(int32_t topic) {
    return {Action::show, topic};
}

// The topic of menu item tag in win, else in every window.
int32_t menu_topic(HELP_INFO help, WINDOW win, int32_t tag) {
    if (static_cast<int16_t>(tag) <= 0) return 0;
    if (int32_t topic = wynv_help_get_menu_assoc(help, win, tag)) return topic;
    return win ? wynv_help_get_menu_assoc(help, nullptr, tag) : 0;
}

Outcome in_objclick(HELP_INFO help, WINDOW win, const EVENT& ev) {
    switch (ev.type) {
    case E_MOUSE_MOVE: {
        PNT where = ev.v.mouse.where;
        // The toolkit names the screen's coordinates by no window at all.
        wynk_vobj_translate_points(win, nullptr, &where, 1);
        help->last_pointer = where;
        return {};
    }
    case E_MOUSE_DOWN:
        return {Action::handled};
    case E_MOUSE_UP:
    case E_MOUSE_DBL:
    case E_HELP: {
        wynv_help_end_objclick(help);
        WINDOW under = wynk_scr_get_vobj_at(help->last_pointer);
        return show(under ? wynv_help_get_win_assoc(help, under) : 0);
    }
    case E_CLOSE:
        wynv_help_end_objclick(help);
        return {};
    case E_CHAR:
        wynv_help_end_objclick(help);
        return {Action::handled};
    case E_COMMAND:
        wynv_help_end_objclick(help);
        return show(menu_topic(help, win, ev.v.cmd.tag));
    case E_CONTROL: {
        const CONTROL_INFO& ci = ev.v.ctl.ci;
        // An edit's focus changes come and go while the user aims; they are not a choice.
        if ((ci.type == WT_EDIT || ci.type == WT_LIST_EDIT) && ci.v.edit.focus_change != 0)
            return {};
        wynv_help_end_objclick(help);
        return show(ancestor_assoc(help, ci.win));
    }
    default:
        return {};
    }
}

Outcome on_command(HELP_INFO help, WINDOW win, int16_t tag) {
    switch (tag) {
    case kTagFocusHelp:
        return show(ancestor_assoc(help, wynk_scr_get_focus_vobj()));
    case kTagHowToUse:
        return show(HELP_TOPIC_HELP_ON_HELP);
    case kTagWindowHelp: {
        const int32_t own = wynv_help_get_win_assoc(help, win);
        return show(own ? own : HELP_TOPIC_INDEX);
    }
    case kTagKeyboard:
        return show(32005);
    case kTagIndex:
        return show(HELP_TOPIC_INDEX);
    case kTagTopic32002:
        return show(32002);
    case kTagSearch:
        return {Action::search};
    case kTagObjClick:
        wynv_help_begin_objclick(help, win, 0);
        return {Action::handled};
    case kTagAbout:
        return show(32007);
    case kTagGlossary:
        return show(32009);
    case kTagContents:
        return show(HELP_TOPIC_CONTENTS);
    default:
        return {};
    }
}

Outcome on_help_request(HELP_INFO help, WINDOW win, const EVENT& ev) {
    if (ev.v.help.tid != 0) return show(ev.v.help.tid);
    if (int32_t topic = menu_topic(help, win, ev.v.help.tag)) return show(topic);
    return show(ancestor_assoc(help, ev.v.help.obj));
}

Outcome work_out(HELP_INFO help, WINDOW win, const EVENT& ev) {
    if (ev.type == E_DESTROY) {
        // A window that goes while it traps the pointer for object clicks ends the mode.
        if (win && win == help->objclick_win) wynv_help_end_objclick(help);
        if (win) wynv_help_disassoc_all(help, win);
        return {};
    }
    if (help->mode_flags & kModeObjClick) return in_objclick(help, win, ev);
    if (ev.type == E_COMMAND) return on_command(help, win, ev.v.cmd.tag);
    if (ev.type == E_HELP) return on_help_request(help, win, ev);
    return {};
}

} // namespace

BOOLEAN wynv_help_process_event(HELP_INFO help, WINDOW win, EVENT* ev) {
    if (!wynv_help_is_valid_info(help) || !ev) return FALSE;
    const Outcome outcome = work_out(help, win, *ev);
    switch (outcome.action) {
    case Action::pass:
        return FALSE;
    case Action::handled:
        return TRUE;
    case Action::show:
        wynv_help_display_topic(help, outcome.topic ? outcome.topic : HELP_TOPIC_CONTENTS);
        return TRUE;
    case Action::search:
        wynv_help_search_topic(help, 0, "");
        return TRUE;
    }
    return FALSE;
}

void wynv_help_begin_objclick(HELP_INFO help, WINDOW win, intptr_t) {
    if (!wynv_help_is_valid_info(help) || !win || (help->mode_flags & kModeObjClick)) return;
    const auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    if (wynk_vobj_get_attr(nullptr, ATTR_DRAW_TASK) == 0 && win == task) {
        wynk_scr_beep();
        return;
    }
    help->mode_flags |= kModeObjClick;
    help->objclick_win = win;
    help->saved_cursor = wynk_win_get_cursor(win);
    wynk_win_set_cursor(win, CURSOR_HELP);
    wynk_win_trap_pointer(win);
}

void wynv_help_end_objclick(HELP_INFO help) {
    if (!wynv_help_is_valid_info(help) || !(help->mode_flags & kModeObjClick)) return;
    help->mode_flags &= ~kModeObjClick;
    wynk_win_release_pointer();
    wynk_win_set_cursor(help->objclick_win, help->saved_cursor);
    help->objclick_win = nullptr;
}
