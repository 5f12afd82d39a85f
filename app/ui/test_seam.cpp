// The test seam: a log of what the program shows and a script of the user's answers.
#include "ui/test_seam.h"

#include "engine/os_shutdown.h"
#include "table/hosting.h"
#include "ui/menu_bar.h"
#include "ui/ui_host.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <wyn/checked/app.h>
#include <wyn/checked/ctl.h>
#include <wyn/checked/errmsg.h>
#include <wyn/checked/list.h>
#include <wyn/checked/sbar.h>
#include <wyn/checked/text.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>

namespace {

// How soon after a dialog opens its scripted click comes, and how far apart scripted commands
// are: long enough for the dialog's own start-up events to have been delivered.
constexpr int32_t kActionDelayMs = 50;
constexpr long kMaxTimeScale = 1000;
// The longest a scripted step may hold its dialog open.
constexpr long kMaxHoldMs = 600000;
// The controls of the toolkit's standard question that answers 0, 1 and 2 click.
constexpr int16_t kAskButtons[] = {1, 4, 2};

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};


// How long a scripted step holds its dialog open: so many milliseconds, or until a text has gone
// to the message panel (when is empty for a plain delay).
struct hold {
    int32_t delay_ms = 0;
    std::string when;

    bool holds() const { return delay_ms > 0 || !when.empty(); }
};

// What a script line does to a control of the dialog it acts on before its closing click.
enum class step_kind { click, check, uncheck, set, scroll, choose, type, inspect, key };

struct step {
    step_kind kind;
    int16_t control;
    int32_t value = 0; // the bar position of set, the scroll action of scroll, the key of key
    std::string text;  // the entry of choose, the text of type, the modifiers of key ("c", "s")
};

// The steps and the closing click for the next dialog that opens; the click comes once the steps
// are done and its hold is over. A group whose script ended before a press has no click.
struct scripted_press {
    int16_t control;
    hold until;
    std::deque<step> steps = {};
    bool closes = true;
};

// A dialog's steps and click waiting for its timer.
struct pending_press {
    int32_t timer;
    WINDOW dialog;
    scripted_press group;
};

// A scripted answer; a held one keeps its question open as its hold says.
struct scripted_answer {
    int16_t answer;
    hold until;
};

// An open dialog whose click waits for a text on the message panel.
struct awaited_press {
    WINDOW dialog;
    int16_t control;
    std::string when;
};

constexpr std::pair<const char*, step_kind> kStepVerbs[] = {
    {"click", step_kind::click},   {"check", step_kind::check}, {"uncheck", step_kind::uncheck},
    {"set", step_kind::set},       {"scroll", step_kind::scroll}, {"choose", step_kind::choose},
    {"type", step_kind::type},     {"inspect", step_kind::inspect}, {"key", step_kind::key}};

constexpr std::pair<const char*, int32_t> kKeys[] = {
    {"up", KEY_UP},          {"down", KEY_DOWN},           {"left", KEY_LEFT},
    {"right", KEY_RIGHT},    {"page-up", KEY_PAGE_UP},     {"page-down", KEY_PAGE_DOWN},
    {"home", KEY_HOME},      {"end", KEY_END},             {"line-home", KEY_LINE_HOME},
    {"line-end", KEY_LINE_END}, {"insert", KEY_INSERT},    {"delete", KEY_DEL},
    {"f1", KEY_F1}};

constexpr std::pair<const char*, int32_t> kScrollActions[] = {{"line-up", SC_LINE_UP},
                                                              {"line-down", SC_LINE_DOWN},
                                                              {"page-up", SC_PAGE_UP},
                                                              {"page-down", SC_PAGE_DOWN}};

struct seam_state {
    std::unique_ptr<std::FILE, file_closer> log;
    bool scripted = false;
    std::deque<scripted_press> presses;
    // Steps read since the last press line, for the press that follows them.
    std::deque<step> steps;
    // Groups for a window named by its title rather than for the next dialog, in script order.
    std::vector<std::pair<std::string, scripted_press>> window_groups;
    // The title of a "window" line whose group is still being read.
    std::optional<std::string> window_target;
    std::deque<scripted_answer> answers;
    // Paths for the file-open dialogs to come, in order; none stands for a cancel.
    std::deque<std::optional<std::string>> files;
    // The click that answers the held question about to open, taken before any scripted press.
    std::optional<scripted_press> held_answer;
    std::deque<int16_t> commands;
    std::vector<pending_press> pending;
    // Steps or presses being carried out: one may run an event loop of its own (a print, a
    // question), in which the next command must not come yet.
    int running = 0;
    std::vector<awaited_press> awaited;
    WINDOW task = nullptr;
    int32_t command_timer = -1;
    // Titles as they were at creation: a window being destroyed may no longer report its own.
    std::map<WINDOW, std::string> titles;
    // The scaled clock: calendar time at start, and real time since then times the factor.
    time_t clock_base = 0;
    std::chrono::steady_clock::time_point clock_start;
    app_clock_source clock = nullptr; // null while time runs as it does
    long time_scale = 1;
};

seam_state& seam() {
    static seam_state state;
    return state;
}

bool is_window_type(int32_t type) {
    switch (type) {
    case WT_DOC:
    case WT_PLAIN:
    case WT_DBL:
    case WT_TASK:
    case WT_NO_BORDER:
    case WT_MODAL:
    case WT_MODAL_DLG:
    case WT_MODELESS_DLG:
        return true;
    default:
        return false;
    }
}

// Reads the optional "after <ms>" or "when <text>" that ends a press or answer line; false when
// the rest of the line is anything else.
bool read_hold(std::istringstream& words, hold& until) {
    until = {};
    std::string word;
    if (!(words >> word)) return true;
    if (word == "when") {
        std::getline(words >> std::ws, until.when);
        while (!until.when.empty() && std::isspace(static_cast<unsigned char>(until.when.back())))
            until.when.pop_back();
        return !until.when.empty();
    }
    long ms = -1;
    if (word != "after" || !(words >> ms) || ms < 0 || ms > kMaxHoldMs || words >> word)
        return false;
    until.delay_ms = static_cast<int32_t>(ms);
    return true;
}

// The rest of a line after its blanks, without trailing blanks.
std::string rest_of(std::istringstream& words) {
    std::string rest;
    std::getline(words >> std::ws, rest);
    while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.back()))) rest.pop_back();
    return rest;
}

// Reads what follows a step verb and its control; false when it is not what the verb takes.
bool read_step_argument(std::istringstream& words, step& st) {
    std::string word;
    switch (st.kind) {
    case step_kind::set: {
        long value = 0;
        if (!(words >> value) || value < -32768 || value > 32767 || words >> word) return false;
        st.value = static_cast<int32_t>(value);
        return true;
    }
    case step_kind::scroll:
        if (!(words >> word)) return false;
        for (const auto& [name, action] : kScrollActions)
            if (word == name) st.value = action;
        return st.value != 0 && !(words >> word);
    case step_kind::key: {
        if (!(words >> word) || words >> st.text) return false;
        // Modifiers come first, each with its '+': "ctrl+shift+end".
        for (bool more = true; more;) {
            more = false;
            for (const auto& [prefix, flag] : {std::pair{"ctrl+", 'c'}, std::pair{"shift+", 's'}})
                if (word.starts_with(prefix)) {
                    st.text += flag;
                    word.erase(0, std::strlen(prefix));
                    more = true;
                }
        }
        for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const auto& [name, code] : kKeys)
            if (word == name) st.value = code;
        return st.value != 0;
    }
    case step_kind::choose:
    case step_kind::type:
        st.text = rest_of(words);
        return st.kind == step_kind::type || !st.text.empty();
    default:
        return !(words >> word);
    }
}

std::optional<step_kind> step_verb(const std::string& verb) {
    for (const auto& [name, kind] : kStepVerbs)
        if (verb == name) return kind;
    return std::nullopt;
}

// Ends the group being read: for the window a "window" line named, else for the next dialog.
void end_group(seam_state& s, scripted_press group) {
    if (s.window_target) {
        s.window_groups.emplace_back(*std::exchange(s.window_target, std::nullopt), std::move(group));
    } else if (!group.steps.empty() || group.closes) {
        s.presses.push_back(std::move(group));
    }
}

void read_script(const char* path) {
    std::ifstream in(path);
    if (!in) {
        test_seam_log("script-error", path);
        return;
    }
    seam_state& s = seam();
    s.scripted = true;
    std::string line;
    while (std::getline(in, line)) {
        // A typed text may hold '#'; every other line ends its words at a comment.
        std::istringstream first(line);
        std::string verb;
        if (!(first >> verb) || verb[0] == '#') continue;
        if (verb != "type" && verb != "choose") line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        words >> verb;
        if (verb == "window") {
            const std::string title = rest_of(words);
            if (title.empty()) {
                test_seam_log("script-error", line.c_str());
                continue;
            }
            // Steps read so far without their press act on what they would have without it.
            end_group(s, {0, {}, std::exchange(s.steps, {}), false});
            s.window_target = title;
            continue;
        }
        if (verb == "file") {
            const std::string path = rest_of(words);
            if (path.empty())
                test_seam_log("script-error", line.c_str());
            else
                s.files.push_back(path == "cancel" ? std::nullopt : std::optional{path});
            continue;
        }
        long value = 0;
        if (!(words >> value) || value < -32768 || value > 32767) {
            test_seam_log("script-error", line.c_str());
            continue;
        }
        const auto v = static_cast<int16_t>(value);
        if (const auto kind = step_verb(verb)) {
            step st{*kind, v, 0, {}};
            if (read_step_argument(words, st))
                s.steps.push_back(std::move(st));
            else
                test_seam_log("script-error", line.c_str());
            continue;
        }
        hold until;
        const bool rest_ok = read_hold(words, until);
        if (verb == "press" && rest_ok)
            end_group(s, {v, until, std::exchange(s.steps, {})});
        else if (verb == "answer" && rest_ok && (!until.holds() || (v >= 0 && v <= 2)))
            s.answers.push_back({v, until});
        else if (verb == "command" && rest_ok && !until.holds())
            s.commands.push_back(v);
        else
            test_seam_log("script-error", line.c_str());
    }
    // Steps at the end of a script act on their window, or on the next dialog, which stays open.
    end_group(s, {0, {}, std::exchange(s.steps, {}), false});
}

void log_created(WINDOW win) {
    char title[256] = "";
    wyn_vobj_get_title(win, title, sizeof title);
    seam().titles[win] = title;
    test_seam_log("window", title);
}

void log_destroyed(WINDOW win) {
    auto it = seam().titles.find(win);
    if (it == seam().titles.end()) return;
    test_seam_log("destroy", it->second.c_str());
    seam().titles.erase(it);
}

// The control event a dialog gets from control id, as the window system would deliver it.
EVENT control_event(WINDOW dialog, int16_t control) {
    EVENT ev{};
    ev.type = E_CONTROL;
    ev.v.ctl.id = control;
    ev.v.ctl.ci.win = wyn_win_get_ctl(dialog, control);
    ev.v.ctl.ci.type = ev.v.ctl.ci.win ? wyn_vobj_get_type(ev.v.ctl.ci.win) : WT_PUSH_BUTTON;
    return ev;
}

void press(WINDOW dialog, int16_t control) {
    EVENT ev = control_event(dialog, control);
    wyn_win_dispatch_event(dialog, &ev);
}

void step_error(const step& st, const char* what) {
    test_seam_log("script-error", ("control " + std::to_string(st.control) + ": " + what).c_str());
}

// Moves a bar as the user does: the bar itself never goes beyond its range.
void move_bar(WINDOW dialog, WINDOW ctl, const step& st) {
    EVENT ev = control_event(dialog, st.control);
    int32_t min = 0, max = 0;
    wyn_sbar_get_range(ctl, SCROLL_CTL, &min, &max);
    const int32_t pos = wyn_sbar_get_pos(ctl, SCROLL_CTL);
    ev.v.ctl.ci.v.scroll.what = st.kind == step_kind::set ? SC_THUMB : st.value;
    ev.v.ctl.ci.v.scroll.pos =
        static_cast<int16_t>(st.kind == step_kind::set ? std::clamp(st.value, min, max) : pos);
    wyn_win_dispatch_event(dialog, &ev);
}

void choose_entry(WINDOW dialog, WINDOW ctl, const step& st) {
    const int32_t count = wyn_list_count_all(ctl);
    for (int32_t i = 0; i < count; ++i) {
        char entry[256] = "";
        if (!wyn_list_get_elt(ctl, i, entry, sizeof entry) || st.text != entry) continue;
        wyn_list_set_sel(ctl, i, TRUE);
        EVENT ev = control_event(dialog, st.control);
        ev.v.ctl.ci.v.lbox.dbl_click = 0;
        wyn_win_dispatch_event(dialog, &ev);
        return;
    }
    step_error(st, ("no entry " + st.text).c_str());
}

void inspect(WINDOW ctl, const step& st) {
    const uint32_t flags = wyn_vobj_get_flags(ctl);
    const int32_t type = wyn_vobj_get_type(ctl);
    char text[256] = "";
    int32_t value = 0;
    if (type == WT_HSCROLL || type == WT_VSCROLL) value = wyn_sbar_get_pos(ctl, SCROLL_CTL);
    if (type == WT_LIST_BOX || type == WT_LIST_BUTTON || type == WT_LIST_EDIT) {
        value = wyn_list_get_sel_index(ctl);
        if (value >= 0) wyn_list_get_elt(ctl, value, text, sizeof text);
    } else {
        wyn_vobj_get_title(ctl, text, sizeof text);
    }
    const bool checkable = type == WT_CHECK_BOX || type == WT_RADIO_BUTTON;
    char line[400];
    std::snprintf(line, sizeof line, "%d enabled %d shown %d checked %d value %d text %s",
                  st.control, (flags & VOBJ_FLAG_ENABLED) ? 1 : 0,
                  (flags & VOBJ_FLAG_VISIBLE) ? 1 : 0, checkable && wyn_ctl_is_checked(ctl) ? 1 : 0,
                  value, text);
    test_seam_log("control", line);
}

// A text view is inspected as a control whose value is its paragraph count and whose text is its
// first paragraph; each paragraph then follows on a line of its own.
void inspect_text(TX tx, const step& st) {
    const int32_t count = wyn_tx_get_num_pars(tx);
    char first[256] = "";
    if (count > 0) wyn_tx_copy_line(tx, 0, 0, first, sizeof first);
    const uint16_t attr = wyn_tx_get_attr(tx);
    char line[400];
    std::snprintf(line, sizeof line, "%d enabled %d shown %d checked 0 value %d text %s", st.control,
                  (attr & TX_DISABLED) ? 0 : 1, (attr & TX_INVISIBLE) ? 0 : 1, count, first);
    test_seam_log("control", line);
    for (int32_t par = 0; par < count; ++par) {
        char text[256] = "";
        wyn_tx_copy_line(tx, uint16_t(par), 0, text, sizeof text);
        std::snprintf(line, sizeof line, "%d %d %s", st.control, par, text);
        test_seam_log("paragraph", line);
    }
}

// F1 in a dialog, as the window system turns it into a help request for the object with the
// focus: the control named (with id 0 the dialog's focused control, else the dialog itself).
void press_help_key(WINDOW dialog, WINDOW target) {
    if (target == dialog) {
        WINDOW focus = wyn_scr_get_focus_vobj();
        if (focus && wyn_vobj_get_parent(focus) == dialog) target = focus;
    }
    EVENT ev{};
    ev.type = E_HELP;
    ev.v.help.obj = target;
    ev.v.help.tag = target == dialog ? 0 : wyn_ctl_get_id(target);
    wyn_win_dispatch_event(dialog, &ev);
}

// A key as the window system delivers it to the focused object: the control, or with control id
// 0 the window itself, which hands it to its focused control.
void press_key(WINDOW dialog, const step& st) {
    WINDOW target = st.control == 0 ? dialog : wyn_win_get_ctl(dialog, st.control);
    // The table and the other custom controls are found through their own layer.
    if (!target) target = custom_ctl_find(dialog, st.control);
    if (!target) {
        step_error(st, "not in this dialog");
        return;
    }
    const int32_t type = wyn_vobj_get_type(dialog);
    const bool in_dialog = type == WT_MODAL_DLG || type == WT_MODELESS_DLG;
    if (st.value == KEY_F1 && st.text.empty() && in_dialog) {
        press_help_key(dialog, target);
        return;
    }
    EVENT ev{};
    ev.type = E_CHAR;
    ev.v.chr.ch = static_cast<uint16_t>(st.value);
    ev.v.chr.virtual_key = TRUE;
    ev.v.chr.control = st.text.find('c') != std::string::npos ? TRUE : FALSE;
    ev.v.chr.shift = st.text.find('s') != std::string::npos ? TRUE : FALSE;
    ev.v.chr.modifiers = (ev.v.chr.control ? WYN_MOD_CTRL : 0) | (ev.v.chr.shift ? WYN_MOD_SHIFT : 0);
    wyn_win_dispatch_event(target, &ev);
}

// Does one scripted step to a control of dialog.
void run_step(WINDOW dialog, const step& st) {
    if (st.kind == step_kind::key) {
        press_key(dialog, st);
        return;
    }
    WINDOW ctl = wyn_win_get_ctl(dialog, st.control);
    if (!ctl && st.kind == step_kind::inspect) {
        if (TX tx = wyn_tx_get_tx(dialog, st.control)) {
            inspect_text(tx, st);
            return;
        }
    }
    if (!ctl) {
        step_error(st, "not in this dialog");
        return;
    }
    switch (st.kind) {
    case step_kind::click:
        press(dialog, st.control);
        break;
    case step_kind::check:
    case step_kind::uncheck:
        if ((wyn_ctl_is_checked(ctl) != FALSE) != (st.kind == step_kind::check))
            press(dialog, st.control);
        break;
    case step_kind::set:
    case step_kind::scroll:
        move_bar(dialog, ctl, st);
        break;
    case step_kind::choose:
        choose_entry(dialog, ctl, st);
        break;
    case step_kind::type: {
        wyn_vobj_set_title(ctl, st.text.c_str());
        EVENT ev = control_event(dialog, st.control);
        ev.v.ctl.ci.v.edit.focus_change = 0;
        wyn_win_dispatch_event(dialog, &ev);
        break;
    }
    case step_kind::inspect:
        inspect(ctl, st);
        break;
    case step_kind::key:
        break;
    }
}

void next_command() {
    seam_state& s = seam();
    // A window's or dialog's steps still to come go first, as a person finishes with one window
    // before choosing the next command.
    if (!s.pending.empty() || !s.awaited.empty() || s.running > 0) return;
    if (s.commands.empty()) {
        wyn_timer_destroy(s.command_timer);
        s.command_timer = -1;
        return;
    }
    EVENT ev{};
    ev.type = E_COMMAND;
    ev.v.cmd.tag = s.commands.front();
    s.commands.pop_front();
    wyn_win_dispatch_event(s.task, &ev);
}

void schedule_press(WINDOW dialog, scripted_press p);

// Runs a scripted action when its timer fires; false swallows that timer event.
bool on_timer(WINDOW win, int32_t id) {
    seam_state& s = seam();
    if (win == s.task && id == s.command_timer) {
        next_command();
        return false;
    }
    for (auto it = s.pending.begin(); it != s.pending.end(); ++it) {
        if (it->dialog != win || it->timer != id) continue;
        pending_press p = std::move(*it);
        s.pending.erase(it);
        wyn_timer_destroy(p.timer);
        ++s.running;
        if (p.group.steps.empty()) {
            if (p.group.closes) press(p.dialog, p.group.control);
            --s.running;
            return false;
        }
        const step st = std::move(p.group.steps.front());
        p.group.steps.pop_front();
        run_step(p.dialog, st);
        --s.running;
        // A step may close its dialog (a click on "OK"): what was left for it is then dropped.
        if (s.titles.count(p.dialog)) schedule_press(p.dialog, std::move(p.group));
        return false;
    }
    return true;
}

void schedule_press(WINDOW dialog, scripted_press p) {
    if (p.steps.empty() && !p.closes) return;
    if (p.steps.empty() && !p.until.when.empty()) {
        seam().awaited.push_back({dialog, p.control, p.until.when});
        return;
    }
    // Never sooner than the dialog's own start-up events need; the hold counts once the steps
    // are done.
    const int32_t delay = p.steps.empty() ? std::max(p.until.delay_ms, kActionDelayMs)
                                          : kActionDelayMs;
    const int32_t timer = wyn_timer_create(dialog, delay);
    if (timer > 0)
        seam().pending.push_back({timer, dialog, std::move(p)});
    else
        test_seam_log("script-error", "no timer for a scripted press");
}

BOOLEAN watch_event(void*, WINDOW win, EVENT* ev) {
    seam_state& s = seam();
    switch (ev->type) {
    case E_CREATE: {
        const int32_t type = wyn_vobj_get_type(win);
        if (!is_window_type(type)) break;
        log_created(win);
        const auto named = std::find_if(s.window_groups.begin(), s.window_groups.end(),
                                         [&](const auto& g) { return g.first == s.titles[win]; });
        if (named != s.window_groups.end()) {
            scripted_press group = std::move(named->second);
            s.window_groups.erase(named);
            schedule_press(win, std::move(group));
            break;
        }
        const bool dialog = type == WT_MODAL_DLG || type == WT_MODELESS_DLG;
        if (!dialog) break;
        if (s.held_answer) {
            schedule_press(win, *s.held_answer);
            s.held_answer.reset();
        } else if (!s.presses.empty()) {
            schedule_press(win, s.presses.front());
            s.presses.pop_front();
        }
        break;
    }
    case E_DESTROY:
        log_destroyed(win);
        std::erase_if(s.pending, [win](const pending_press& p) { return p.dialog == win; });
        std::erase_if(s.awaited, [win](const awaited_press& p) { return p.dialog == win; });
        break;
    case E_TIMER:
        return on_timer(win, ev->v.timer.id) ? TRUE : FALSE;
    default:
        break;
    }
    return TRUE;
}

time_t scaled_now() {
    const seam_state& s = seam();
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now() - s.clock_start).count();
    return s.clock_base + static_cast<time_t>(ms * s.time_scale / 1000);
}

void start_time_scale(const char* text) {
    char* end = nullptr;
    const long factor = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || factor < 1 || factor > kMaxTimeScale) {
        test_seam_log("script-error", text);
        return;
    }
    seam_state& s = seam();
    s.time_scale = factor;
    s.clock_base = std::time(nullptr);
    s.clock_start = std::chrono::steady_clock::now();
    s.clock = scaled_now;
    the_ui_host().set_time_scale(static_cast<int>(factor));
}

// Logs a panel message and releases the clicks that waited for it. The click itself comes from
// a timer, so the dialog closes outside the code that wrote to the panel.
void on_panel_message(const char* text) {
    test_seam_log("message", text);
    seam_state& s = seam();
    const std::string shown = text ? text : "";
    std::vector<awaited_press> due;
    std::erase_if(s.awaited, [&](const awaited_press& p) {
        if (p.when != shown) return false;
        due.push_back(p);
        return true;
    });
    for (const awaited_press& p : due) schedule_press(p.dialog, {p.control, {}});
}

int32_t log_toolkit_error(WYN_ERRMSG* msg, intptr_t) {
    char line[600];
    const char* api = wyn_errmsg_get_api_name(msg);
    const char* file = wyn_errmsg_get_code_file(msg);
    std::snprintf(line, sizeof line, "0x%X %s (%s %s:%u)",
                  static_cast<unsigned>(wyn_errmsg_get_msg_id(msg)), wyn_errmsg_get_msg_text(msg),
                  api ? api : "", file ? file : "", wyn_errmsg_get_code_line(msg));
    test_seam_log("toolkit-error", line);
    return 1;
}

} // namespace

void test_seam_start() {
    seam_state& s = seam();
    if (const char* path = std::getenv("VOLTSENTRY_TEST_LOG")) {
        s.log.reset(std::fopen(path, "a"));
    }
    if (const char* path = std::getenv("VOLTSENTRY_TEST_SCRIPT")) read_script(path);
    if (!s.log && !s.scripted) return;
    // A test run may reach the power-off stand-in command, never the machine's own power-off.
    forbid_real_power_off();
    watch_panel_messages(on_panel_message);
    if (s.log) {
        if (const char* scale = std::getenv("VOLTSENTRY_TEST_TIMESCALE")) start_time_scale(scale);
    }
    wyn_vobj_set_attr(nullptr, ATTR_EVENT_HOOK, reinterpret_cast<ATTR_VALUE>(watch_event));
    if (s.scripted)
        wyn_vobj_set_attr(nullptr, ATTR_ERROR_HANDLER,
                          reinterpret_cast<ATTR_VALUE>(log_toolkit_error));
}

bool test_seam_scripted() {
    return seam().scripted;
}

bool test_seam_active() {
    return seam().scripted || seam().log;
}

app_clock_source test_seam_clock() {
    return seam().clock;
}

void test_seam_log(const char* kind, const char* text) {
    std::FILE* f = seam().log.get();
    if (!f) return;
    std::fprintf(f, "%s %s\n", kind, text ? text : "");
    // Tests read the log while the program runs.
    std::fflush(f);
}

bool test_seam_hold_next_answer() {
    seam_state& s = seam();
    if (s.answers.empty() || !s.answers.front().until.holds()) return false;
    const scripted_answer held = s.answers.front();
    s.answers.pop_front();
    s.held_answer = scripted_press{kAskButtons[held.answer], held.until};
    return true;
}

int16_t test_seam_answer_file_open(FILE_SPEC& file) {
    seam_state& s = seam();
    if (s.files.empty()) return 1;
    const std::optional<std::string> path = std::move(s.files.front());
    s.files.pop_front();
    if (!path) return 1;
    const size_t slash = path->rfind('/');
    const std::string name = slash == std::string::npos ? *path : path->substr(slash + 1);
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : path->substr(0, slash);
    FILE_SPEC chosen{};
    if (name.empty() || name.size() > WYN_SZ_FNAME ||
        !wyn_fsys_convert_str_to_dir(dir.c_str(), &chosen.dir)) {
        test_seam_log("script-error", ("file " + *path).c_str());
        return 1;
    }
    std::snprintf(chosen.name, sizeof chosen.name, "%s", name.c_str());
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        std::snprintf(chosen.type, sizeof chosen.type, "%s", name.c_str() + dot + 1);
    file = chosen;
    return 2;
}

void test_seam_question_closed() {
    // A question that never came up as the toolkit's dialog must not answer the next dialog.
    seam().held_answer.reset();
}

int16_t test_seam_next_answer() {
    seam_state& s = seam();
    if (s.answers.empty()) return 2;
    const int16_t answer = s.answers.front().answer;
    s.answers.pop_front();
    return answer;
}

void test_seam_application_ready(WINDOW task) {
    seam_state& s = seam();
    if (s.log) test_seam_log("menubar", has_menu_bar(task) ? "1" : "0");
    if (s.commands.empty() || s.command_timer > 0) return;
    s.task = task;
    s.command_timer = wyn_timer_create(task, kActionDelayMs);
}

void test_seam_finish(int status) {
    seam_state& s = seam();
    test_seam_log("exit", std::to_string(status).c_str());
    s.log.reset();
}
