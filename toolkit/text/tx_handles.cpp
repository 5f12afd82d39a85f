// The handle table, hosting in child windows, event routing and focus.
#include <algorithm>
#include <new>
#include <wyn/attr.h>
#include <wyn/clipboard.h>
#include <wyn/ctl.h>
#include <wyn/font.h>
#include <wyn/menu.h>
#include <wyn/rect.h>
#include <wyn/static.h>
#include <wyn/win.h>

#include "tx_internal.h"

namespace tx {

namespace {

constexpr char kUnit[] = "tx_handles";
constexpr char kEditClass[] = "TXEditClassName";
constexpr char kParentClass[] = "TXParentClassCXO";
constexpr EVENT_MASK kEditMask = 10198;  // destroy, focus, update, mouse, character, command
constexpr EVENT_MASK kParentMask = 8192; // menu commands
constexpr uint32_t kNoMenuBar = 0x800;

void release_state(void* block) {
    auto* s = static_cast<state*>(block);
    for (uint32_t n = 1; n < s->nslots; ++n) {
        slot& sl = s->slots[n];
        if (!sl.win || !sl.handle) continue;
        auto* r = static_cast<record*>(wynv_gmem_lock(sl.handle));
        if (r) {
            pars_free(*r);
            block_free(r->par_handle);
            wynv_font_destroy(r->font);
        }
        while (wynv_gmem_unlock(sl.handle)) {
        }
        wynv_gmem_free(sl.handle);
    }
    block_free(s->slot_handle);
    block_free(s->scratch_handle);
    block_free(s->host_handle);
    *s = state{};
}

const WYN_STATIC_DESC kStateDesc = {sizeof(state), nullptr, nullptr, release_state};

int32_t do_nothing(WINDOW, EVENT*) {
    return 0;
}

// A new slot: the first free one or one more at the end; 0 when out of memory.
uint32_t take_slot() {
    state& s = st();
    for (uint32_t n = 1; n < s.nslots; ++n)
        if (!s.slots[n].win && !s.slots[n].handle) return n;
    const uint32_t count = std::max<uint32_t>(s.nslots, 1) + 1;
    void* p = s.slot_handle ? block_resize(s.slot_handle, count * sizeof(slot))
                            : block_new(s.slot_handle, count * sizeof(slot));
    if (!p) return 0;
    s.slots = static_cast<slot*>(p);
    for (uint32_t n = s.nslots; n < count; ++n) s.slots[n] = slot{};
    s.nslots = count;
    return count - 1;
}

host* add_host() {
    state& s = st();
    const size_t bytes = (s.nhosts + 1) * sizeof(host);
    void* p = s.host_handle ? block_resize(s.host_handle, bytes) : block_new(s.host_handle, bytes);
    if (!p) return nullptr;
    s.hosts = static_cast<host*>(p);
    return &s.hosts[s.nhosts++];
}

void remove_host(WINDOW child) {
    state& s = st();
    for (uint32_t i = 0; i < s.nhosts; ++i) {
        if (s.hosts[i].child != child) continue;
        std::copy(s.hosts + i + 1, s.hosts + s.nhosts, s.hosts + i);
        --s.nhosts;
        return;
    }
}

// The child's extension hands the child's events to the engine after the next handler.
int32_t edit_cxo(CXO cxo, EVENT* ev) {
    if (ev->type == E_CXO) {
        if (ev->v.cxo.msg == CXO_MSG_DESTROY) {
            host* h = host_of_child(cxo->owner);
            if (h && h->cxo == cxo) {
                const uint32_t engine = h->engine;
                remove_host(cxo->owner);
                if (slot_at(engine)) destroy_slot(engine);
            }
        }
        return 0;
    }
    WINDOW child = cxo->owner;
    const int32_t next = wynv_cxo_call_next(nullptr, cxo, ev);
    return process(child, *ev) ? 1 : next;
}

// The parent's extension offers menu commands to the focus object first when it is a text edit.
int32_t parent_cxo(CXO cxo, EVENT* ev) {
    if (ev->type != E_COMMAND) return 0;
    WINDOW focus = wynk_scr_get_focus_vobj();
    if (focus && host_of_child(focus) && wynk_win_dispatch_event(focus, ev) == 1) return 1;
    return wynv_cxo_call_next(nullptr, cxo, ev);
}

bool has_focus(const record& r) {
    return wynk_scr_get_focus_vobj() == r.win;
}

void apply_colors(record& r, const COLOR* list, bool reset) {
    for (; list && list[0] != 0; list += 2) {
        switch (list[0]) {
        case TX_COLOR_TEXT:
            r.text_color = reset ? COLOR_BLACK : list[1];
            break;
        case TX_COLOR_BACK:
            r.back_color = reset ? COLOR_WHITE : list[1];
            break;
        case TX_COLOR_BORDER:
            r.border_color = reset ? COLOR_BLACK : list[1];
            break;
        default:
            break;
        }
    }
}

bool point_in(const RCT& rc, PNT p) {
    return p.v >= rc.top && p.v < rc.bottom && p.h >= rc.left && p.h < rc.right;
}

void focus_changed(uint32_t n, bool gained) {
    ref r = ref::of_slot(n);
    if (!r) return;
    if (gained) {
        r->state &= uint16_t(~kStateHidden);
        st().clip_has_text = wynk_cb_has_format(CB_FORMAT_TEXT, nullptr);
        update_menu(*r);
    } else {
        r->state |= kStateHidden;
    }
    update_highlight(*r);
    draw_rows(*r, 0, visible_lines(*r) - 1);
    update_caret(*r);
    if (!st().raw) notify_change(*r, 1, gained ? 1 : 0);
}

} // namespace

state& st() {
    static state fallback{};
    auto* s = static_cast<state*>(wynk_static_get_ptr(&kStateDesc));
    return s ? *s : fallback;
}

void read_modes() {
    state& s = st();
    if (s.modes_read) return;
    s.raw = wynk_vobj_get_attr(nullptr, ATTR_TX_RAW) != 0;
    s.key_flag = wynk_vobj_get_attr(nullptr, ATTR_KEY_HOOK_EVENT) != 0;
    s.modes_read = true;
}

void report(int16_t severity, WYN_MSG_ID id, const char* unit, int line) {
    wynv_errmsg_dispatch(nullptr, severity, id, unit, line);
}

slot* slot_at(uint32_t n) {
    state& s = st();
    if (n == 0 || n >= s.nslots || !s.slots[n].win || s.slots[n].doomed) return nullptr;
    return &s.slots[n];
}

host* host_of_child(WINDOW child) {
    state& s = st();
    for (uint32_t i = 0; child && i < s.nhosts; ++i)
        if (s.hosts[i].child == child) return &s.hosts[i];
    return nullptr;
}

uint32_t slot_of(TX tx) {
    if (!tx) return 0;
    read_modes();
    if (st().raw) {
        const auto n = reinterpret_cast<uintptr_t>(tx);
        return n < UINT32_MAX && slot_at(uint32_t(n)) ? uint32_t(n) : 0;
    }
    host* h = host_of_child(static_cast<WINDOW>(tx));
    return h && slot_at(h->engine) ? h->engine : 0;
}

ref::ref(TX tx, bool quiet) {
    const uint32_t n = slot_of(tx);
    if (n == 0) {
        if (!quiet) TX_REPORT(kFatal, TX_ERR_INVALID);
        return;
    }
    acquire(n);
}

ref ref::of_slot(uint32_t n) {
    ref out;
    out.acquire(n);
    return out;
}

void ref::acquire(uint32_t n) {
    slot* s = slot_at(n);
    if (!s) return;
    if (s->locks++ == 0) s->locked = static_cast<record*>(wynv_gmem_lock(s->handle));
    slot_ = n;
    if (!s->locked || s->locked->signature != kSignature) {
        TX_REPORT(kFatal, TX_ERR_INVALID);
        return; // released by the destructor
    }
    rec_ = s->locked;
}

ref::~ref() {
    if (!slot_) return;
    state& s = st();
    if (slot_ >= s.nslots) return;
    slot& sl = s.slots[slot_];
    if (--sl.locks > 0) return;
    // A text edit destroyed while an operation on it was under way (from a call-back) is
    // released only now, so that the operation finds its text where it left it.
    if (sl.doomed && rec_) {
        pars_free(*rec_);
        block_free(rec_->par_handle);
        wynv_font_destroy(rec_->font);
        rec_->signature = 0;
    }
    wynv_gmem_unlock(sl.handle);
    sl.locked = nullptr;
    if (sl.doomed) {
        if (!wynv_gmem_free(sl.handle)) TX_REPORT(kFatal, TX_ERR_RELEASE);
        sl = slot{};
    }
}

TX create(WINDOW win, const RCT& rct, uint16_t attr, FONT font, int16_t margin, uint16_t limit,
          int32_t cid, intptr_t data) {
    read_modes();
    if (!win) {
        TX_REPORT(kFatal, TX_ERR_NULL_WINDOW);
        return nullptr;
    }
    state& s = st();
    WINDOW draw_win = win;
    RCT outer = rct;
    if (!s.raw) {
        draw_win = wynk_win_create(WT_NO_BORDER, &rct, "", 0, win, kNoMenuBar, EM_ALL, do_nothing,
                                   data);
        if (!draw_win) return nullptr;
        draw_win->state |= WS_TEXT_EDIT;
        outer = RCT{0, 0, int16_t(rct.bottom - rct.top), int16_t(rct.right - rct.left)};
    }
    const uint32_t n = take_slot();
    GHANDLE handle = nullptr;
    auto* r = n ? static_cast<record*>(block_new(handle, sizeof(record))) : nullptr;
    if (!r) {
        if (!s.raw) wynk_vobj_destroy(draw_win);
        return nullptr;
    }
    r = new (r) record{};
    r->signature = kSignature;
    r->slot = n;
    r->attr = attr;
    r->win = draw_win;
    r->notify = win;
    r->rect = outer;
    r->view = view_of(outer, attr);
    r->margin = uint16_t(std::max<int16_t>(margin, 0));
    r->limit = limit;
    r->cid = cid;
    r->data = data;
    r->tab = 8;
    r->text_color = COLOR_BLACK;
    r->back_color = COLOR_WHITE;
    r->border_color = COLOR_BLACK;
    apply_colors(*r, wynk_win_get_ctl_colors(win), false);
    r->state = kStateHidden;
    s.slots[n] = slot{draw_win, outer, handle, nullptr, 0, 0, false};
    wynv_gmem_unlock(handle);
    {
        ref locked = ref::of_slot(n);
        measure_font(*locked, font ? font : wynk_dwin_get_font(draw_win));
        if (!locked->font) {
            s.slots[n].doomed = true;
            if (!s.raw) wynk_vobj_destroy(draw_win);
            return nullptr;
        }
    }
    TX app = reinterpret_cast<TX>(uintptr_t(n));
    if (!s.raw) {
        host* h = add_host();
        if (!h) {
            destroy_slot(n);
            wynk_vobj_destroy(draw_win);
            return nullptr;
        }
        *h = host{n, cid, draw_win, win, nullptr};
        CXO cxo = wynv_cxo_create(draw_win, 0, 0, edit_cxo, kEditMask, kEditClass, intptr_t(n));
        if (host* again = host_of_child(draw_win)) again->cxo = cxo;
        if (!wynv_win_get_cxo(win, kParentClass))
            wynv_cxo_create(win, 0, 0, parent_cxo, kParentMask, kParentClass, 0);
        app = draw_win;
    }
    ref r2 = ref::of_slot(n);
    r2->app_handle = app;
    if (!s.raw) apply_host_state(*r2);
    make_active(n);
    s.clip_has_text = wynk_cb_has_format(CB_FORMAT_TEXT, nullptr);
    invalidate(*r2);
    update_menu(*r2);
    return app;
}

void destroy_slot(uint32_t n) {
    state& s = st();
    if (n == 0 || n >= s.nslots) {
        TX_REPORT(kFatal, TX_ERR_BAD_SLOT);
        return;
    }
    if (!slot_at(n)) return;
    {
        ref r = ref::of_slot(n);
        if (!r) return;
        if (s.tracking == n) {
            s.tracking = 0;
            wynk_win_release_pointer();
        }
        if (s.open_slot == n) s.open_slot = 0;
        if (s.slots[n].flags & kSlotActive) wynk_win_set_caret_visible(r->win, FALSE);
        if (!(r->state & kStateSuspended) && wynk_vobj_get_parent(r->win)) {
            // Clears its area unless its own window is going away with it.
            if (st().raw) invalidate(*r);
        }
        s.slots[n].doomed = true;
    }
    for (uint32_t i = 0; i < s.nhosts; ++i)
        if (s.hosts[i].engine == n) remove_host(s.hosts[i].child);
}

void apply_host_state(record& r) {
    wynk_vobj_set_enabled(r.win, (r.attr & TX_DISABLED) ? FALSE : TRUE);
    wynk_vobj_set_visible(r.win, (r.attr & TX_INVISIBLE) ? FALSE : TRUE);
}

void make_active(uint32_t n) {
    state& s = st();
    slot* me = slot_at(n);
    if (!me) return;
    const WINDOW win = me->win;
    for (uint32_t i = 1; i < s.nslots; ++i) {
        slot* other = slot_at(i);
        if (!other || i == n || other->win != win || !(other->flags & kSlotActive)) continue;
        other->flags &= uint16_t(~kSlotActive);
        ref r = ref::of_slot(i);
        if (!r) continue;
        r->state |= kStateHidden;
        update_highlight(*r);
        draw_rows(*r, 0, visible_lines(*r) - 1);
    }
    me = slot_at(n);
    me->flags |= kSlotActive;
    ref r = ref::of_slot(n);
    if (r && has_focus(*r)) r->state &= uint16_t(~kStateHidden);
    if (r) update_caret(*r);
}

uint32_t active_slot(WINDOW win) {
    state& s = st();
    for (uint32_t i = 1; i < s.nslots; ++i) {
        slot* sl = slot_at(i);
        if (sl && sl->win == win && (sl->flags & kSlotActive)) return i;
    }
    return 0;
}

uint32_t focus_slot() {
    WINDOW focus = wynk_scr_get_focus_vobj();
    if (!focus) return 0;
    if (!st().raw) {
        host* h = host_of_child(focus);
        return h ? h->engine : 0;
    }
    return active_slot(focus);
}

bool process(WINDOW win, EVENT& ev) {
    read_modes();
    state& s = st();
    switch (ev.type) {
    case E_DESTROY:
        for (uint32_t i = 1; i < s.nslots; ++i)
            if (slot_at(i) && s.slots[i].win == win) destroy_slot(i);
        return false;
    case E_FOCUS:
        if (const uint32_t n = active_slot(win)) focus_changed(n, ev.v.focus.active != 0);
        return false;
    case E_UPDATE:
        for (uint32_t i = 1; i < s.nslots; ++i) {
            if (!slot_at(i) || s.slots[i].win != win) continue;
            const RCT grown = grown_by_one(s.slots[i].rct);
            if (!wynk_dwin_is_update_needed(win, &grown)) continue;
            ref r = ref::of_slot(i);
            if (r) draw_all(*r);
        }
        return false;
    case E_MOUSE_DOWN:
    case E_MOUSE_DBL:
        for (uint32_t i = 1; i < s.nslots; ++i) {
            if (!slot_at(i) || s.slots[i].win != win || !point_in(s.slots[i].rct, ev.v.mouse.where))
                continue;
            ref r = ref::of_slot(i);
            if (!r || (r->attr & (TX_INVISIBLE | TX_DISABLED))) continue;
            make_active(i);
            if ((r->attr & TX_READONLY) && (r->attr & TX_NO_COPY)) return true;
            r->state &= uint16_t(~kStateHidden);
            s.tracking = i;
            mouse_down(*r, ev.v.mouse.where, ev.v.mouse.shift != 0, ev.type == E_MOUSE_DBL);
            return true;
        }
        return false;
    case E_MOUSE_MOVE:
    case E_MOUSE_UP: {
        if (!s.tracking || !slot_at(s.tracking) || s.slots[s.tracking].win != win) return false;
        ref r = ref::of_slot(s.tracking);
        if (!r) return false;
        if (ev.type == E_MOUSE_MOVE) {
            mouse_move(*r, ev.v.mouse.where);
        } else {
            s.tracking = 0;
            mouse_up(*r);
        }
        return true;
    }
    case E_CHAR: {
        const uint32_t n = active_slot(win);
        ref r = ref::of_slot(n);
        if (!r || (r->attr & (TX_INVISIBLE | TX_DISABLED))) return false;
        handle_key(*r, ev);
        return true;
    }
    case E_COMMAND: {
        if (ev.v.cmd.tag < MENU_TAG_CUT || ev.v.cmd.tag > MENU_TAG_CLEAR) return false;
        uint32_t n = active_slot(win);
        if (!n) n = focus_slot();
        ref r = ref::of_slot(n);
        return r && handle_command(*r, ev.v.cmd.tag);
    }
    default:
        return false;
    }
}

void notify_change(record& r, int16_t focus_change, int16_t active) {
    if (st().raw || !r.notify) return;
    EVENT ev{};
    ev.type = E_CONTROL;
    ev.v.ctl.id = int16_t(r.cid);
    ev.v.ctl.ci.type = TX_CONTROL_TYPE;
    ev.v.ctl.ci.win = r.win;
    ev.v.ctl.ci.v.edit.focus_change = focus_change;
    ev.v.ctl.ci.v.edit.active = active;
    wynk_win_dispatch_event(r.notify, &ev);
}

} // namespace tx
