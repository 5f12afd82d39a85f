// Navigation groups: named, ordered sets of windows. The program makes none, so a group only
// records its members; focus moves within the windows as it would without one.
#include <algorithm>
#include <string>
#include <vector>

#include "portable/static_block.h"
#include "kernel/vobj.h"
#include "portable/core_state.h"
#include <wyn/nav.h>

struct wyn_nav {
    std::string name;
    std::vector<WINDOW> members;
};

namespace {

struct NavState {
    std::vector<NAV> groups;
    ~NavState() {
        for (NAV nav : groups) delete nav;
    }
};

NavState* state() {
    return static_block<NavState>();
}

bool is_group(NAV nav) {
    NavState* st = state();
    return nav && st && std::find(st->groups.begin(), st->groups.end(), nav) != st->groups.end();
}

} // namespace

NAV wynv_nav_create(const char* name) {
    NavState* st = state();
    if (!name || !st) return nullptr;
    NAV nav = new (std::nothrow) wyn_nav{name, {}};
    if (nav) st->groups.push_back(nav);
    return nav;
}

BOOLEAN wynv_nav_add_win(NAV nav, WINDOW win) {
    if (!is_group(nav) || !core_win_alive(win)) return FALSE;
    if (NAV old = wynv_win_get_nav(win)) wynv_nav_rem_win(old, win);
    nav->members.push_back(win);
    return TRUE;
}

BOOLEAN wynv_nav_rem_win(NAV nav, WINDOW win) {
    if (!is_group(nav)) return FALSE;
    return std::erase(nav->members, win) > 0 ? TRUE : FALSE;
}

SLIST wynv_nav_list_wins(NAV nav) {
    if (!is_group(nav)) return nullptr;
    // Destroyed windows leave their groups.
    std::erase_if(nav->members, [](WINDOW w) { return !core_win_alive(w); });
    return vobj_list_of(nav->members);
}

void wynv_nav_destroy(NAV nav) {
    NavState* st = state();
    if (!is_group(nav)) return;
    std::erase(st->groups, nav);
    delete nav;
}

NAV wynv_win_get_nav(WINDOW win) {
    NavState* st = state();
    if (!st || !core_win_alive(win)) return nullptr;
    for (NAV nav : st->groups)
        if (std::find(nav->members.begin(), nav->members.end(), win) != nav->members.end())
            return nav;
    return nullptr;
}
