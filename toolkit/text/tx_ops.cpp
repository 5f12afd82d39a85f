// The exported text edit operations.
#include <algorithm>
#include <cstring>
#include <optional>
#include <wyn/clipboard.h>
#include <wyn/ctl.h>
#include <wyn/font.h>
#include <wyn/rect.h>
#include <wyn/win.h>

#include "tx_internal.h"

using namespace tx;

namespace {

constexpr char kUnit[] = "tx_ops";

// A locked record with its font set in the window for measuring, for one operation.
class op {
  public:
    explicit op(TX handle) : ref_(handle) {
        if (ref_) scope_.emplace(*ref_, false);
    }
    explicit operator bool() const { return bool(ref_); }
    record* operator->() const { return ref_.operator->(); }
    record& operator*() const { return *ref_; }

  private:
    ref ref_;
    std::optional<draw_scope> scope_;
};

uint32_t length_of(const char* text) {
    return text ? uint32_t(std::min<size_t>(std::strlen(text), SIZE_MAX >> 1)) : 0;
}

// Lays out again and redraws after a change of the view, the font, the margin or the tab stop.
void relayout(record& r) {
    r.view = view_of(r.rect, r.attr);
    layout_all(r);
    clamp_positions(r);
    draw_all(r);
}

void redraw_from(record& r, uint16_t par) {
    if (!can_draw(r)) return;
    const int32_t row = line_index(r, par, 0) - origin_index(r);
    draw_rows(r, int(std::max<int32_t>(row, -1)), visible_lines(r));
}

bool range_ok(const record& r, uint16_t par) {
    if (par < r.npars) return true;
    TX_REPORT(kWarning, TX_ERR_RANGE);
    return false;
}

} // namespace

TX wynv_tx_create(WINDOW win, const RCT* rct, uint16_t attr, FONT font, int16_t margin,
                  uint16_t limit) {
    if (!rct) {
        TX_REPORT(kWarning, TX_ERR_RANGE);
        return nullptr;
    }
    return create(win, *rct, attr, font, margin, limit, 0, 0);
}

void* wynv_tx_create_def(const void* def, WINDOW win, intptr_t app_data) {
    const auto* d = static_cast<const WIN_DEF*>(def);
    if (!d) return nullptr;
    RCT rct = d->rct;
    wynk_rect_to_pixels(&rct, d->units);
    TX tx = create(win, rct, uint16_t(d->tx_attrs), d->font, int16_t(d->flags & 0xFFFF),
                   uint16_t(d->flags >> 16), int32_t(d->menu_or_id), app_data);
    if (tx && d->text && d->text[0]) wynv_tx_add_par(tx, TX_PAR_END, d->text);
    return tx;
}

void wynv_tx_destroy(TX handle) {
    read_modes();
    if (st().raw) {
        const auto n = reinterpret_cast<uintptr_t>(handle);
        if (n == 0 || n >= st().nslots) {
            TX_REPORT(kFatal, TX_ERR_BAD_SLOT);
            return;
        }
    }
    const uint32_t n = slot_of(handle);
    if (!n) {
        TX_REPORT(kFatal, TX_ERR_INVALID);
        return;
    }
    if (!st().raw) wynk_vobj_destroy(static_cast<WINDOW>(handle));
    if (slot_at(n)) destroy_slot(n);
}

BOOLEAN wynv_tx_add_par(TX handle, uint16_t par, const char* text) {
    op r(handle);
    if (!r) return FALSE;
    if ((r->attr & TX_ONE_PAR) && r->npars > 0) return FALSE;
    const uint16_t at = std::min<uint16_t>(par, r->npars);
    if (!par_insert(*r, at, text ? text : "", length_of(text))) return FALSE;
    redraw_from(*r, at);
    return TRUE;
}

BOOLEAN wynv_tx_append(TX handle, uint16_t par, const char* text) {
    op r(handle);
    if (!r || r->npars == 0) return FALSE;
    const uint16_t at = std::min<uint16_t>(par, uint16_t(r->npars - 1));
    const pos end = make_pos(*r, at, uint16_t(r->pars[at].lines - 1), 65535);
    r->anchor = r->end = end;
    const bool done = insert_at_caret(*r, text ? text : "", length_of(text));
    update_caret(*r);
    return done ? TRUE : FALSE;
}

BOOLEAN wynv_tx_set_par(TX handle, uint16_t par, const char* text) {
    op r(handle);
    if (!r || !range_ok(*r, par)) return FALSE;
    if (!par_replace(*r, par, 0, block(*r, par).length, text ? text : "", length_of(text)))
        return FALSE;
    update_highlight(*r);
    update_caret(*r);
    return TRUE;
}

BOOLEAN wynv_tx_rem_par(TX handle, uint16_t par) {
    op r(handle);
    if (!r || !range_ok(*r, par)) return FALSE;
    par_remove(*r, par);
    report_scroll(*r, -1, r->total, -1);
    redraw_from(*r, par);
    update_caret(*r);
    return TRUE;
}

BOOLEAN wynv_tx_clear(TX handle) {
    op r(handle);
    if (!r) return FALSE;
    pars_free(*r);
    r->hor = 0;
    draw_all(*r);
    report_scroll(*r, 0, 0, 0);
    return TRUE;
}

uint16_t wynv_tx_get_num_pars(TX handle) {
    ref r(handle);
    return r ? r->npars : 0;
}

uint16_t wynv_tx_get_num_par_lines(TX handle, uint16_t par) {
    ref r(handle);
    return r && range_ok(*r, par) ? r->pars[par].lines : 0;
}

int32_t wynv_tx_get_num_lines(TX handle) {
    ref r(handle);
    return r ? r->total : 0;
}

uint16_t wynv_tx_get_num_chars(TX handle, uint16_t par, uint16_t line) {
    ref r(handle);
    if (!r || !range_ok(*r, par)) return 0;
    if (line >= r->pars[par].lines) {
        TX_REPORT(kWarning, TX_ERR_RANGE);
        return 0;
    }
    return line_chars(*r, par, line);
}

const char* wynv_tx_get_line(TX handle, uint16_t par, int16_t mode, uint16_t line, int32_t* len) {
    if (len) *len = 0;
    ref r(handle);
    if (!r) return nullptr;
    state& s = st();
    switch (mode) {
    case TX_LINE_OPEN:
        if (range_ok(*r, par)) {
            s.open_slot = r.slot_number();
            s.open_par = par;
        }
        return nullptr;
    case TX_LINE_READ: {
        // Reading without an open paragraph is refused rather than trusted.
        if (s.open_slot != r.slot_number() || !range_ok(*r, s.open_par)) return nullptr;
        if (line >= r->pars[s.open_par].lines) {
            TX_REPORT(kWarning, TX_ERR_RANGE);
            return nullptr;
        }
        const uint32_t a = line_start(*r, s.open_par, line);
        if (len) *len = int32_t(line_end(*r, s.open_par, line) - a);
        return block(*r, s.open_par).text() + a;
    }
    default:
        if (s.open_slot == r.slot_number()) s.open_slot = 0;
        return nullptr;
    }
}

void wynv_tx_get_sel(TX handle, uint16_t* start_par, uint16_t* start_line, uint16_t* start_char,
                     uint16_t* end_par, uint16_t* end_line, uint16_t* end_char) {
    ref r(handle);
    pos from{}, to{};
    if (r) {
        from = pos_before(r->end, r->anchor) ? r->end : r->anchor;
        to = pos_before(r->end, r->anchor) ? r->anchor : r->end;
    }
    if (start_par) *start_par = from.par;
    if (start_line) *start_line = from.line;
    if (start_char) *start_char = from.ch;
    if (end_par) *end_par = to.par;
    if (end_line) *end_line = to.line;
    if (end_char) *end_char = to.ch;
}

void wynv_tx_set_sel(TX handle, uint16_t anchor_par, uint16_t anchor_line, uint16_t anchor_char,
                     uint16_t end_par, uint16_t end_line, uint16_t end_char) {
    op r(handle);
    if (r) set_selection(*r, anchor_par, anchor_line, anchor_char, end_par, end_line, end_char);
}

uint16_t wynv_tx_get_attr(TX handle) {
    ref r(handle);
    return r ? r->attr : 0;
}

void wynv_tx_set_attr(TX handle, uint16_t attr) {
    op r(handle);
    if (!r) return;
    const uint16_t old = r->attr;
    r->attr = attr;
    if (!st().raw) apply_host_state(*r);
    if ((old ^ attr) & (TX_WRAP | TX_BORDER)) {
        relayout(*r);
    } else if ((old ^ attr) & TX_INVISIBLE) {
        invalidate(*r);
    } else {
        draw_all(*r);
    }
    st().clip_has_text = wynk_cb_has_format(CB_FORMAT_TEXT, nullptr);
    update_menu(*r);
    update_caret(*r);
}

FONT wynv_tx_get_font(TX handle) {
    ref r(handle);
    return r ? wynv_font_copy(nullptr, r->font, FA_ALL) : nullptr;
}

void wynv_tx_set_font(TX handle, FONT font) {
    op r(handle);
    if (!r || !font) return;
    measure_font(*r, font);
    relayout(*r);
}

uint16_t wynv_tx_get_margin(TX handle) {
    ref r(handle);
    return r ? r->margin : 0;
}

void wynv_tx_set_margin(TX handle, int16_t margin) {
    op r(handle);
    if (!r) return;
    r->margin = uint16_t(std::max<int16_t>(margin, 0));
    relayout(*r);
}

uint16_t wynv_tx_get_limit(TX handle) {
    ref r(handle);
    return r ? r->limit : 0;
}

void wynv_tx_set_limit(TX handle, uint16_t limit) {
    ref r(handle);
    if (r) r->limit = limit;
}

int16_t wynv_tx_get_tabstop(TX handle) {
    ref r(handle);
    return r ? int16_t(r->tab) : 0;
}

void wynv_tx_set_tabstop(TX handle, int16_t tabstop) {
    op r(handle);
    if (!r) return;
    r->tab = uint16_t(std::max<int16_t>(tabstop, 1));
    relayout(*r);
}

int32_t wynv_tx_get_cid(TX handle) {
    ref r(handle);
    return r ? r->cid : 0;
}

intptr_t wynv_tx_get_data(TX handle) {
    ref r(handle);
    return r ? r->data : 0;
}

void wynv_tx_set_data(TX handle, intptr_t data) {
    ref r(handle);
    if (r) r->data = data;
}

RCT* wynv_tx_get_rect(TX handle, RCT* rct) {
    ref r(handle);
    if (!r || !rct) return rct;
    if (st().raw) {
        *rct = r->rect;
    } else {
        wynk_vobj_get_outer_rect(r->win, rct);
    }
    return rct;
}

RCT* wynv_tx_get_view(TX handle, RCT* rct) {
    ref r(handle);
    if (!r || !rct) return rct;
    *rct = r->view;
    if (!st().raw) {
        PNT corners[2] = {{r->view.top, r->view.left}, {r->view.bottom, r->view.right}};
        wynk_vobj_translate_points(r->win, r->notify, corners, 2);
        *rct = RCT{corners[0].v, corners[0].h, corners[1].v, corners[1].h};
    }
    return rct;
}

WINDOW wynv_tx_get_win(TX handle) {
    ref r(handle);
    return r ? r->win : nullptr;
}

void wynv_tx_move(TX handle, const RCT* rct) {
    op r(handle);
    if (!r || !rct) return;
    invalidate(*r);
    if (st().raw) {
        r->rect = *rct;
    } else {
        wynk_vobj_move(r->win, rct);
        r->rect = RCT{0, 0, int16_t(rct->bottom - rct->top), int16_t(rct->right - rct->left)};
    }
    if (slot* sl = slot_at(r->slot)) sl->rct = r->rect;
    relayout(*r);
}

void wynv_tx_get_origin(TX handle, uint16_t* par, uint16_t* line, int32_t* first_line,
                        int32_t* hor_origin) {
    ref r(handle);
    if (par) *par = r ? r->org_par : 0;
    if (line) *line = r ? r->org_line : 0;
    if (first_line) *first_line = r ? origin_index(*r) : 0;
    if (hor_origin) *hor_origin = r ? r->hor : 0;
}

void wynv_tx_scroll_vert(TX handle, int32_t lines) {
    op r(handle);
    if (r) scroll_lines(*r, std::clamp<int32_t>(lines, -1000000, 1000000));
}

void wynv_tx_scroll_hor(TX handle, int32_t pixels) {
    op r(handle);
    if (r) scroll_hor(*r, std::clamp<int32_t>(pixels, -100000, 100000));
}

void wynv_tx_set_scroll_callback(TX handle, WYN_TX_SCROLL_FN fn) {
    ref r(handle);
    if (r) r->scroll_fn = fn;
}

BOOLEAN wynv_tx_is_scroll_update(void) {
    return st().scroll_update ? TRUE : FALSE;
}

void wynv_tx_suspend(TX handle) {
    ref r(handle);
    if (r) suspend(*r);
}

void wynv_tx_resume(TX handle) {
    op r(handle);
    if (r) resume(*r);
}

void wynv_tx_reset(TX handle) {
    op r(handle);
    if (!r) return;
    const bool was = r->state & kStateSuspended;
    suspend(*r);
    r->anchor = r->end = r->hl_start = r->hl_end = pos{};
    r->org_par = r->org_line = 0;
    r->hor = 0;
    layout_all(*r);
    clamp_positions(*r);
    update_menu(*r);
    if (!was) resume(*r);
}

void wynv_tx_set_colors(TX handle, COLOR text, COLOR border, COLOR back) {
    op r(handle);
    if (!r) return;
    r->colors_fixed = 1;
    r->text_color = text;
    r->border_color = border;
    r->back_color = back;
    if (!st().raw) {
        const COLOR list[7] = {TX_COLOR_TEXT, text, TX_COLOR_BACK, back, TX_COLOR_BORDER, border, 0};
        std::copy(list, list + 7, r->color_list);
        wynk_win_set_ctl_colors(r->win, r->color_list);
    }
    draw_all(*r);
}

void wynv_tx_reset_colors(WINDOW win, COLOR* colors, BOOLEAN reset) {
    if (!win) {
        TX_REPORT(kFatal, TX_ERR_NULL_WINDOW);
        return;
    }
    read_modes();
    for (uint32_t n = 1; n < st().nslots; ++n) {
        const slot* sl = slot_at(n);
        if (!sl) continue;
        ref r = ref::of_slot(n);
        if (!r || r->colors_fixed || (r->win != win && r->notify != win)) continue;
        const COLOR before[3] = {r->text_color, r->back_color, r->border_color};
        for (const COLOR* c = colors; c && c[0] != 0; c += 2) {
            COLOR* target = c[0] == TX_COLOR_TEXT   ? &r->text_color
                            : c[0] == TX_COLOR_BACK ? &r->back_color
                            : c[0] == TX_COLOR_BORDER ? &r->border_color
                                                      : nullptr;
            if (target) *target = reset ? (c[0] == TX_COLOR_BACK ? COLOR_WHITE : COLOR_BLACK) : c[1];
        }
        if (before[0] != r->text_color || before[1] != r->back_color || before[2] != r->border_color)
            draw_all(*r);
    }
    if (!st().raw && colors) wynk_win_set_ctl_colors(win, colors);
}

void wynv_tx_set_active(TX handle) {
    op r(handle);
    if (!r) return;
    make_active(r->slot);
    wynk_scr_set_focus_vobj(r->win);
    r->state &= uint16_t(~kStateHidden);
    update_highlight(*r);
    update_caret(*r);
    st().clip_has_text = wynk_cb_has_format(CB_FORMAT_TEXT, nullptr);
    update_menu(*r);
}

TX wynv_tx_get_active(void) {
    read_modes();
    ref r = ref::of_slot(focus_slot());
    return r ? r->app_handle : nullptr;
}

void* wynv_tx_get_tx(WINDOW win, int32_t cid) {
    read_modes();
    if (!win) return nullptr;
    if (!st().raw && host_of_child(win) && cid == -1) return win;
    for (uint32_t n = 1; n < st().nslots; ++n) {
        if (!slot_at(n)) continue;
        ref r = ref::of_slot(n);
        if (!r || (st().raw ? r->win != win : r->notify != win)) continue;
        if (cid == -1 || r->cid == cid) return r->app_handle;
    }
    return nullptr;
}

TX wynv_tx_get_next_tx(TX handle, WINDOW win) {
    read_modes();
    const uint32_t from = handle ? slot_of(handle) : 0;
    if (handle && !from) return nullptr;
    for (uint32_t n = from + 1; n < st().nslots; ++n) {
        if (!slot_at(n)) continue;
        ref r = ref::of_slot(n);
        if (r && (!win || r->win == win || r->notify == win)) return r->app_handle;
    }
    return nullptr;
}

BOOLEAN wynv_tx_is_valid(TX handle) {
    return slot_of(handle) ? TRUE : FALSE;
}

BOOLEAN wynv_tx_process_event(WINDOW win, EVENT* ev) {
    read_modes();
    if (!st().raw || !ev) return FALSE;
    if (!win) {
        TX_REPORT(kFatal, TX_ERR_NULL_WINDOW);
        return FALSE;
    }
    return process(win, *ev) ? TRUE : FALSE;
}
