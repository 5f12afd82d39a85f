// The help client: opening the help file on first need, pending registrations, the help hook.
#include "ui/help_client.h"

#include "engine/report.h"
#include "ui/prompts.h"
#include "ui/test_seam.h"

#include <cstdio>
#include <utility>
#include <wyn/checked/dm.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>

namespace {

constexpr char kHelpFileName[] = "norva";
constexpr char kFindPrompt[] = "Please Find and Open help file...";
constexpr char kUnreadable[] = "Help file is unreadable, please choose another.";
constexpr char kInvalid[] = "Invalid help file, please choose another.";
// The Help menu's own tag and the standard Help-menu commands the library answers.
constexpr int16_t kFirstHelpTag = 32450;
constexpr int16_t kLastHelpTag = 32462;

bool opens_help(const EVENT& ev) {
    return ev.type == E_HELP ||
           (ev.type == E_COMMAND && ev.v.cmd.tag >= kFirstHelpTag && ev.v.cmd.tag <= kLastHelpTag);
}

} // namespace

void help_client::ensure_open() {
    if (help_ || asking_) return;
    FILE_SPEC help_file{};
    // Without a default directory the library finds nothing beside it and searches on.
    wyn_fsys_get_default_dir(&help_file.dir);
    std::snprintf(help_file.name, sizeof help_file.name, "%s", kHelpFileName);
    help_ = wyn_help_open_helpfile(&help_file, 0);
    // The dialog runs its own event loop, in which F1 asks for help on the dialog itself.
    asking_ = true;
    while (!help_) {
        const int16_t result = ask_for_file(help_file);
        if (result == 1) break;
        if (result == 0) {
            // Asking again would fail again, for ever.
            post_message("Help: the file dialog could not be shown.", MSG_EVENT_LOG);
            std::fprintf(stderr, "voltsentry: help: the file dialog could not be shown\n");
            break;
        }
        if (wyn_fsys_get_file_attr(&help_file, WYN_FATTR_READABLE) != TRUE) {
            ui_error(kUnreadable);
            continue;
        }
        if (wyn_fsys_get_file_attr(&help_file, WYN_FATTR_IS_DIR) == TRUE) {
            ui_error(kInvalid);
            continue;
        }
        help_ = wyn_help_open_helpfile(&help_file, 0);
        if (!help_) ui_note(kInvalid);
    }
    asking_ = false;
    if (!help_) return;
    // Slot order, not the order of registration: a reused slot is applied where it lies.
    const std::vector<help_pending_entry> waiting = std::exchange(pending_, {});
    next_free_ = -1;
    for (const help_pending_entry& entry : waiting)
        if (entry.object) apply(entry);
}

int16_t help_client::ask_for_file(FILE_SPEC& help_file) {
    test_seam_log("file-open", kFindPrompt);
    if (test_seam_scripted()) return test_seam_answer_file_open(help_file);
    return wyn_dm_post_file_open(&help_file, kFindPrompt);
}

BOOLEAN help_client::on_event(void* hook_value, WINDOW win, EVENT* ev) {
    if (previous_hook_ && !previous_hook_(hook_value, win, ev)) return FALSE;
    if (!help_) {
        if (!opens_help(*ev)) return TRUE;
        ensure_open();
        if (!help_) return TRUE;
    }
    HELP_INFO help = hook_value ? static_cast<HELP_INFO>(hook_value) : help_;
    return wyn_help_process_event(help, win, ev) ? FALSE : TRUE;
}

void help_client::install_hook() {
    const auto current =
        reinterpret_cast<WYN_EVENT_HOOK>(wyn_vobj_get_attr(nullptr, ATTR_EVENT_HOOK));
    if (current != help_event_hook) previous_hook_ = current;
    wyn_vobj_set_attr(nullptr, ATTR_EVENT_HOOK, reinterpret_cast<ATTR_VALUE>(help_event_hook));
    hooked_ = true;
}

void help_client::close() {
    release_pending();
    if (help_) wyn_help_close_helpfile(std::exchange(help_, nullptr));
    if (!hooked_) return;
    hooked_ = false;
    const auto current =
        reinterpret_cast<WYN_EVENT_HOOK>(wyn_vobj_get_attr(nullptr, ATTR_EVENT_HOOK));
    if (current == help_event_hook)
        wyn_vobj_set_attr(nullptr, ATTR_EVENT_HOOK,
                          reinterpret_cast<ATTR_VALUE>(std::exchange(previous_hook_, nullptr)));
}

void help_client::release_pending() {
    pending_ = {};
    next_free_ = -1;
}

// The association file binds menu items of a window's menu bar: the window is presented with a
// definition that names only that bar, which the library walks item by item.
void help_client::bind_menu_bar(WINDOW win, int32_t menu_id) {
    WIN_DEF def[2] = {};
    def[0].type = wyn_vobj_get_type(win);
    def[0].menu_or_id = static_cast<uint32_t>(menu_id);
    def[1].type = WT_NONE;
    wyn_help_assoc_all(help_, win, menu_id, def);
}

void help_client::apply(const help_pending_entry& entry) {
    switch (entry.kind) {
    case HELP_ASSOC_WINDOW:
        // The program's own topic is set last, so it stands whatever the file says.
        if (entry.res_id > 0) {
            wyn_help_assoc_all(help_, entry.object, entry.res_id, nullptr);
            if (entry.topic == 0) break;
        }
        wyn_help_set_win_assoc(help_, entry.object, entry.topic, 0);
        break;
    case HELP_ASSOC_CONTROL:
        if (WINDOW ctl = wyn_win_get_ctl(entry.object, static_cast<int16_t>(entry.id)))
            wyn_help_set_win_assoc(help_, ctl, entry.topic, 0);
        break;
    case HELP_ASSOC_MENU:
        if (entry.res_id > 0) bind_menu_bar(entry.object, entry.res_id);
        wyn_help_set_menu_assoc(help_, entry.object, entry.id, entry.topic, 0);
        break;
    default:
        break;
    }
}

void help_client::add_assoc(WINDOW object, int32_t id, int32_t topic, int16_t kind,
                            int32_t res_id) {
    const help_pending_entry entry{object, id, topic, kind, res_id};
    if (help_) {
        apply(entry);
        return;
    }
    if (!object) return;
    if (next_free_ < 0) {
        next_free_ = static_cast<int32_t>(pending_.size());
        pending_.resize(pending_.size() + kGrowth);
    }
    const auto filled = static_cast<size_t>(next_free_);
    pending_[filled] = entry;
    next_free_ = -1;
    for (size_t i = filled + 1; i < pending_.size() && next_free_ < 0; ++i)
        if (!pending_[i].object) next_free_ = static_cast<int32_t>(i);
    for (size_t i = 0; i < filled && next_free_ < 0; ++i)
        if (!pending_[i].object) next_free_ = static_cast<int32_t>(i);
}

void help_client::forget_window(WINDOW win) {
    if (help_ || !win) return;
    for (size_t i = 0; i < pending_.size(); ++i) {
        if (pending_[i].object != win) continue;
        pending_[i] = {};
        next_free_ = static_cast<int32_t>(i);
    }
}

help_client& help_client_of_program() {
    static help_client client;
    return client;
}

HELP_INFO help_get_info() {
    help_ensure_open();
    return help_client_of_program().info();
}

void help_ensure_open() {
    help_client_of_program().ensure_open();
}

BOOLEAN help_event_hook(void* hook_value, WINDOW win, EVENT* ev) {
    return help_client_of_program().on_event(hook_value, win, ev);
}

void help_install_hook() {
    help_client_of_program().install_hook();
}

void help_close() {
    help_client_of_program().close();
}

void help_add_assoc(WINDOW object, int32_t id, int32_t topic, int16_t kind, int32_t res_id) {
    help_client_of_program().add_assoc(object, id, topic, kind, res_id);
}

void help_forget_window(WINDOW win) {
    help_client_of_program().forget_window(win);
}

void help_follow_window(WINDOW win, const EVENT& ev, int32_t topic, int32_t res_id) {
    if (ev.type == E_CREATE)
        help_add_assoc(win, 0, topic, HELP_ASSOC_WINDOW, res_id);
    else if (ev.type == E_DESTROY)
        help_forget_window(win);
}
