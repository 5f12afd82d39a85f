// The remote system selector's window: the server table, its hidden twin, and the choice of a
// system to view.
#include "ui/remote_selector.h"

#include "engine/app_state.h"
#include "engine/poll_cycle.h"
#include "table/table.h"
#include "ui/help_client.h"
#include "ui/log_viewer_window.h"

#include <memory>
#include <res/ids.h>
#include <wyn/checked/win.h>

namespace {

// The tables' places are given in pixels: converted as resource units they would outgrow the
// window.
constexpr const char* kServerProps[] = {"Server Table",       "INVISIBLE=FALSE", "NOHORZSCROLL=TRUE",
                                        "NOVERTSCROLL=FALSE", "POS=32,40",       "SIZE=480,264",
                                        "TF_ALLOW_SELECT"};
constexpr const char* kWorkstationProps[] = {
    "Workstation Table", "INVISIBLE=FALSE", "NOHORZSCROLL=TRUE", "NOVERTSCROLL=FALSE",
    "POS=272,40",        "SIZE=467,264",    "TF_ALLOW_SELECT",   ""};

struct selector_window {
    WINDOW win = nullptr;
    WINDOW servers = nullptr;
    std::vector<std::string> systems;
};

// The one selector's state, from its E_CREATE to its E_DESTROY; the systems to list wait here
// for the E_CREATE that shows them.
std::unique_ptr<selector_window> g_selector;
std::vector<std::string> g_pending;

const char* system_line(WINDOW, table_model*, int32_t line, int16_t*) {
    if (!g_selector || line < 0 || size_t(line) >= g_selector->systems.size()) return nullptr;
    return g_selector->systems[size_t(line)].c_str();
}

// Both tables select one line at a time and follow the window's edges.
WINDOW make_table(WINDOW win, int16_t id, const RCT& rct, int32_t count, const char* const* props) {
    WINDOW table = table_create(id, &rct, count, props, win, 0, 0);
    table_properties p;
    if (!table || !table_get_properties(table, &p)) return table;
    p.flags &= ~TF_CALLBACK;
    p.flags |= TF_GROW | TF_EDGES;
    p.flags &= ~(TF_APPENDED | TF_SELECT | TF_MULTI_SELECT);
    p.flags |= TF_SELECT;
    table_set_properties(table, &p);
    return table;
}

void on_create(WINDOW win) {
    g_selector = std::make_unique<selector_window>();
    selector_window& s = *g_selector;
    s.win = win;
    s.systems = std::move(g_pending);
    g_pending.clear();
    s.servers = make_table(win, IDR_SERVER_TABLE, RCT{40, 32, 264, 480},
                           int32_t(std::size(kServerProps)), kServerProps);
    if (WINDOW other = make_table(win, IDR_WORKSTATION_TABLE, RCT{40, 272, 264, 467},
                                  int32_t(std::size(kWorkstationProps)), kWorkstationProps)) {
        wyn_vobj_set_enabled(other, FALSE);
        wyn_vobj_set_visible(other, FALSE);
    }
    if (s.servers && !s.systems.empty())
        table_display(s.servers, int32_t(s.systems.size()), system_line, nullptr);
}

// "OK": the first selected line names the system to view, after its mark.
void choose(selector_window& s) {
    int32_t line = -1;
    const char* text = s.servers ? table_first_sel(s.servers, &line) : nullptr;
    const std::string name = text && text[0] ? std::string(text + 1) : std::string();
    wyn_vobj_destroy(s.win);
    if (!name.empty() && g_app) enter_remote_view(name.c_str());
}

bool lists_nothing(WINDOW win) {
    return g_selector && g_selector->win == win && g_selector->systems.empty();
}

} // namespace

WINDOW remote_selector_window() {
    return g_selector ? g_selector->win : nullptr;
}

bool open_remote_selector() {
    // Nothing in this program learns of remote systems, so the list is always empty.
    return open_remote_selector_on({});
}

bool open_remote_selector_on(const std::vector<std::string>& systems) {
    if (g_selector) {
        wyn_vobj_raise(g_selector->win);
        return true;
    }
    g_pending = systems;
    const bool made = open_viewer(WIN_REMOTE_SELECTOR, remote_selector_handler, lists_nothing,
                                  REMOTE_NONE);
    g_pending.clear();
    return made;
}

int32_t remote_selector_handler(WINDOW win, EVENT* ev) {
    help_follow_window(win, *ev, HELP_TOPIC_REMOTE_SELECTOR, WIN_REMOTE_SELECTOR);
    switch (ev->type) {
    case E_CREATE:
        on_create(win);
        break;
    case E_DESTROY:
        if (g_selector && g_selector->win == win) g_selector.reset();
        break;
    case E_CONTROL:
        if (!g_selector || g_selector->win != win) break;
        if (ev->v.ctl.id == IDR_OK)
            choose(*g_selector);
        else if (ev->v.ctl.id == IDR_CANCEL)
            wyn_vobj_destroy(win);
        break;
    default:
        viewer_common_event(win, ev);
        break;
    }
    return 0;
}
