// Windows built from definition arrays and window resources: the window first, then its
// controls, and only then its E_CREATE, so that the handler finds every control in place.
#include "kernel/win_create.h"

#include <vector>

#include "kernel/controls.h"
#include "portable/static_block.h"
#include "portable/core_state.h"
#include <wyn/ctl.h>
#include <wyn/dlg.h>
#include <wyn/errmsg.h>
#include <wyn/rect.h>
#include <wyn/res.h>

namespace {

constexpr char kUnit[] = "kwdef";

// The window flags this toolkit gives a meaning to, and the bits it carries through unchanged
// (the task window's default flags among them).
constexpr uint32_t kCarriedWindowFlags = 0x00FFu;
constexpr uint32_t kKnownWindowFlags = WSF_HSCROLL | WSF_VSCROLL | WSF_INVISIBLE | WSF_NO_ACTIVATE |
                                       WSF_MINIMIZED | WSF_NO_MENUBAR | WSF_MAXIMIZED |
                                       kCarriedWindowFlags;

// A window of a definition waiting for its E_CREATE, when its controls are made.
struct Pending {
    WIN_DEF* def;
    EVENT_HANDLER handler;
    EVENT_MASK mask;
    bool failed = false;
};

struct CreateState {
    std::vector<Pending*> pending; // innermost creation last
};

CreateState* state() {
    return static_block<CreateState>();
}

bool is_window_type(int32_t type) {
    return type == WT_DOC || type == WT_PLAIN || type == WT_DBL || type == WT_NO_BORDER ||
           type == WT_MODAL;
}

// Gives the window its controls and then its own handler; a window whose controls fail is
// destroyed without another event.
bool complete(WINDOW win, const Pending& p) {
    if (!win_create_controls(win, p.def)) {
        win_discard(win);
        return false;
    }
    win->handler = p.handler;
    win->event_mask = p.mask;
    return true;
}

// Stands in for the window's handler until its E_CREATE: makes the controls, then hands the
// window and that first event to the application's handler. A window whose controls fail is
// destroyed before anything reaches the application.
int32_t creation_handler(WINDOW win, EVENT* ev) {
    CreateState* st = state();
    if (!st || st->pending.empty() || ev->type != E_CREATE) return -1;
    Pending* p = st->pending.back();
    st->pending.pop_back();
    if (!complete(win, *p)) {
        p->failed = true;
        return -1;
    }
    if (!p->handler || !(p->mask & EM_BIT(E_CREATE))) return -1;
    return p->handler(win, ev);
}

bool parent_takes(WINDOW parent, int32_t type) {
    if (!core_win_alive(parent)) return false;
    switch (parent->type) {
    case WT_MODAL_DLG:
    case WT_MODELESS_DLG:
        return type == WT_MODAL;
    case WT_DOC:
    case WT_PLAIN:
    case WT_DBL:
    case WT_TASK:
    case WT_SCREEN:
    case WT_NO_BORDER:
    case WT_MODAL:
        return true;
    default:
        return false;
    }
}

bool flags_valid(const WIN_DEF* def) {
    if (!wynv_win_check_flags(def[0].flags)) return false;
    for (const WIN_DEF* e = def + 1; e->type != WT_NONE; ++e)
        if (e->type != WT_TEXT_EDIT && !wynv_ctl_check_flags(e->type, e->u.ctl_flags)) return false;
    return true;
}

} // namespace

bool win_create_controls(WINDOW win, const WIN_DEF* def) {
    if (def[0].font) wynk_win_set_ctl_font(win, def[0].font);
    if (def[0].colors) wynk_win_set_ctl_colors(win, def[0].colors);
    WYN_TX_CREATE_DEF tx_create = core().tx_create_def;
    for (const WIN_DEF* e = def + 1; e->type != WT_NONE; ++e) {
        const bool made = e->type == WT_TEXT_EDIT ? tx_create && tx_create(e, win, 0)
                                                  : wynk_ctl_create_def(e, win, 0) != nullptr;
        if (!made) return false;
    }
    return true;
}

void win_discard(WINDOW win) {
    win->handler = nullptr;
    win->event_mask = 0;
    wynk_vobj_destroy(win);
}

BOOLEAN wynv_win_check_flags(uint32_t flags) {
    if (flags & ~kKnownWindowFlags) return FALSE;
    return (flags & WSF_MINIMIZED) && (flags & WSF_MAXIMIZED) ? FALSE : TRUE;
}

BOOLEAN wynv_ctl_check_flags(int32_t type, uint32_t ctl_flags) {
    uint32_t allowed = CTL_FLAG_DISABLED | CTL_FLAG_INVISIBLE;
    switch (type) {
    case WT_PUSH_BUTTON:
        allowed |= CTL_FLAG_DEFAULT;
        break;
    case WT_RADIO_BUTTON:
    case WT_CHECK_BOX:
        allowed |= CTL_FLAG_CHECKED;
        break;
    case WT_EDIT:
        allowed |= CTL_FLAG_READ_ONLY | CTL_FLAG_PASSWORD;
        break;
    case WT_LIST_BOX:
        allowed |= CTL_FLAG_MULTI_SEL | CTL_FLAG_SORTED;
        break;
    case WT_LIST_BUTTON:
    case WT_LIST_EDIT:
        allowed |= CTL_FLAG_SORTED;
        break;
    default:
        if (!ctl_is_control_type(type)) return FALSE;
        break;
    }
    return (ctl_flags & ~allowed) ? FALSE : TRUE;
}

WINDOW wynk_win_create_def(WIN_DEF* def, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data) {
    CreateState* st = state();
    if (!def || !st || !is_window_type(def[0].type)) return nullptr;
    ctl_sync_base_units();
    RCT rct = def[0].rct;
    if (!wynk_rect_to_pixels(&rct, def[0].units)) return nullptr;
    Pending pending{def, handler, mask};
    st->pending.push_back(&pending);
    WINDOW win = wynk_win_create(def[0].type, &rct, def[0].text,
                                 static_cast<int16_t>(def[0].menu_or_id & 0xFFFFu), parent,
                                 def[0].flags, EM_ALL, creation_handler, app_data);
    // Still waiting when the window never got as far as its E_CREATE, or a global handler kept
    // that event to itself: the window then gets its controls and its handler now.
    st = state();
    if (!st || st->pending.empty() || st->pending.back() != &pending)
        return pending.failed ? nullptr : win;
    st->pending.pop_back();
    return core_win_alive(win) && complete(win, pending) ? win : nullptr;
}

WINDOW wynv_win_create_res(int32_t id, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data) {
    // The reader reports a missing or damaged resource itself.
    WIN_DEF* def = wynv_res_get_win_def(id);
    if (!def) return nullptr;
    WINDOW win = nullptr;
    if (!parent_takes(parent, def[0].type))
        wynv_errmsg_dispatch(parent, WYN_SEV_ERROR, WYN_MSG_INCORRECT_WINDOW_TYPE, kUnit, __LINE__);
    else if (!flags_valid(def))
        wynv_errmsg_dispatch(parent, WYN_SEV_ERROR, WYN_MSG_BAD_VALUE, kUnit, __LINE__);
    else
        win = wynk_win_create_def(def, parent, mask, handler, app_data);
    wynv_res_free_win_def(def);
    return win;
}

WINDOW wynk_win_create_res(int32_t id, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data) {
    return wynv_win_create_res(id, parent, mask, handler, app_data);
}
