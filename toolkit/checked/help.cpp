// Checked help calls: the help handle, windows, events, tags and ids are checked before the help
// library is asked.
#include <wyn/checked/help.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr char kHelp[] = "thelp";

bool help_info(const Call& c, HELP_INFO help) {
    return wynv_help_is_valid_info(help) || c.fail(WYN_MSG_INVALID_OBJECT_HANDLE);
}

// A window object by its signature alone: help may name any window, dialog or control.
bool signed_window(const Call& c, WINDOW win) {
    return (win && win->magic == WYN_WIN_MAGIC) || c.fail(WYN_MSG_INVALID_WINDOW);
}

bool given_window(const Call& c, WINDOW win) {
    return c.given(win) && signed_window(c, win);
}

bool menu_tag(const Call& c, int32_t tag) {
    return static_cast<int16_t>(tag) >= 1 || c.fail(WYN_MSG_BAD_VALUE);
}

bool resource_id(const Call& c, int32_t id) {
    return id >= 1 || c.fail(WYN_MSG_NULL_HANDLE);
}

bool topic_given(const Call& c, int32_t topic) {
    return topic != 0 || c.fail(WYN_MSG_NULL_HANDLE);
}

} // namespace

// clang-format off
CHECKED(kHelp, wyn_help_open_helpfile, (const FILE_SPEC* file_spec, uint32_t flags),
        c.given(file_spec), nullptr, wynv_help_open_helpfile, (file_spec, flags))
CHECKED(kHelp, wyn_help_close_helpfile, (HELP_INFO help),
        help_info(c, help), FALSE, wynv_help_close_helpfile, (help))
CHECKED(kHelp, wyn_help_display_topic, (HELP_INFO help, int32_t topic),
        help_info(c, help) && topic_given(c, topic), void(), wynv_help_display_topic, (help, topic))
CHECKED(kHelp, wyn_help_search_topic, (HELP_INFO help, int32_t topic, const char* keyword),
        help_info(c, help), void(), wynv_help_search_topic, (help, topic, keyword ? keyword : ""))
CHECKED(kHelp, wyn_help_set_menu_assoc,
        (HELP_INFO help, WINDOW win, int32_t tag, int32_t topic, intptr_t extra),
        help_info(c, help) && (!win || signed_window(c, win)) && menu_tag(c, tag),
        void(), wynv_help_set_menu_assoc, (help, win, tag, topic, extra))
CHECKED(kHelp, wyn_help_get_menu_assoc, (HELP_INFO help, WINDOW win, int32_t tag),
        help_info(c, help) && given_window(c, win) && menu_tag(c, tag),
        0, wynv_help_get_menu_assoc, (help, win, tag))
CHECKED(kHelp, wyn_help_set_win_assoc, (HELP_INFO help, WINDOW win, int32_t topic, intptr_t),
        help_info(c, help) && given_window(c, win), void(), wynv_help_set_win_assoc,
        (help, win, topic))
CHECKED(kHelp, wyn_help_get_win_assoc, (HELP_INFO help, WINDOW win),
        help_info(c, help) && given_window(c, win), 0, wynv_help_get_win_assoc, (help, win))
CHECKED(kHelp, wyn_help_assoc_all, (HELP_INFO help, WINDOW win, int32_t res_id, const WIN_DEF* def),
        help_info(c, help) && given_window(c, win) && resource_id(c, res_id),
        FALSE, wynv_help_assoc_all, (help, win, res_id, def))
CHECKED(kHelp, wyn_help_disassoc_all, (HELP_INFO help, WINDOW win),
        help_info(c, help) && given_window(c, win), void(), wynv_help_disassoc_all, (help, win))
CHECKED(kHelp, wyn_help_begin_objclick, (HELP_INFO help, WINDOW win, intptr_t extra),
        help_info(c, help) && signed_window(c, win), void(), wynv_help_begin_objclick,
        (help, win, extra))
CHECKED(kHelp, wyn_help_end_objclick, (HELP_INFO help),
        help_info(c, help), void(), wynv_help_end_objclick, (help))
CHECKED(kHelp, wyn_help_process_event, (HELP_INFO help, WINDOW win, EVENT* ev),
        help_info(c, help) && given_window(c, win) && c.given(ev),
        FALSE, wynv_help_process_event, (help, win, ev))
MARKED(kHelp, wyn_help_get_flavor, (), wynv_help_get_flavor, ())
// clang-format on
