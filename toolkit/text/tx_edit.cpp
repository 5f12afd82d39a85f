// Editing: keys, caret moves, words, the selection, the mouse, the clipboard and the Edit menu.
#include <algorithm>
#include <cstring>
#include <string>
#include <wyn/attr.h>
#include <wyn/clipboard.h>
#include <wyn/ctl.h>
#include <wyn/menu.h>
#include <wyn/str.h>
#include <wyn/win.h>

#include "tx_internal.h"

namespace tx {

namespace {

constexpr char kUnit[] = "tx_edit";
constexpr uint32_t kSuspendPaste = 1000; // bytes a paste may hold and still draw as it goes
constexpr int32_t kSuspendLines = 5;     // lines a deletion may span and still draw

bool moving_key(uint16_t key) {
    return (key >= KEY_UP && key <= KEY_END) || key == KEY_WORD_LEFT || key == KEY_WORD_RIGHT;
}

bool at_line_end(const record& r, const pos& p) {
    return p.ch >= line_chars(r, p.par, p.line);
}

bool is_sep_at(const record& r, const pos& p) {
    if (at_line_end(r, p)) return true;
    const char c = block(r, p.par).text()[place_of(r, p).off];
    return c == ' ' || c == '\t';
}

// One character right, the end of a wrapped line and the start of the next visited once.
pos char_right(const record& r, const pos& p) {
    const uint16_t chars = line_chars(r, p.par, p.line);
    const bool more_lines = p.line + 1 < r.pars[p.par].lines;
    if (p.ch < chars) {
        if (p.ch + 1 == chars && more_lines) return make_pos(r, p.par, uint16_t(p.line + 1), 0);
        return make_pos(r, p.par, p.line, uint16_t(p.ch + 1));
    }
    if (more_lines) return make_pos(r, p.par, uint16_t(p.line + 1), 1);
    if (p.par + 1 < r.npars) return make_pos(r, uint16_t(p.par + 1), 0, 0);
    return p;
}

pos char_left(const record& r, const pos& p) {
    if (p.ch > 0) return make_pos(r, p.par, p.line, uint16_t(p.ch - 1));
    if (p.line > 0) {
        const uint16_t chars = line_chars(r, p.par, uint16_t(p.line - 1));
        return make_pos(r, p.par, uint16_t(p.line - 1), uint16_t(chars ? chars - 1 : 0));
    }
    if (p.par > 0) {
        const uint16_t par = uint16_t(p.par - 1);
        const uint16_t line = uint16_t(r.pars[par].lines - 1);
        return make_pos(r, par, line, line_chars(r, par, line));
    }
    return p;
}

// The character boundary of a line nearest to x, the left one on a tie.
pos nearest(const record& r, uint16_t par, uint16_t line, int x) {
    const uint32_t a = line_start(r, par, line);
    const uint32_t e = line_end(r, par, line);
    const char* text = block(r, par).text();
    int cx = 0;
    uint16_t ch = 0;
    for (uint32_t i = a; i < e; ++ch) {
        const uint32_t n = char_bytes(text + i, e - i);
        const int nx = measure(r, text + i, n, cx);
        if (nx > x) {
            if (x - cx > nx - x) ++ch;
            return make_pos(r, par, line, ch);
        }
        cx = nx;
        i += n;
    }
    return make_pos(r, par, line, ch);
}

pos vertical(const record& r, const pos& p, int32_t lines) {
    uint16_t par = p.par, line = p.line;
    for (; lines < 0; ++lines) {
        if (line > 0) {
            --line;
        } else if (par > 0) {
            --par;
            line = uint16_t(r.pars[par].lines - 1);
        } else {
            break;
        }
    }
    for (; lines > 0; --lines) {
        if (line + 1 < r.pars[par].lines) {
            ++line;
        } else if (par + 1 < r.npars) {
            ++par;
            line = 0;
        } else {
            break;
        }
    }
    return nearest(r, par, line, p.x);
}

pos word_left(const record& r, const pos& p) {
    pos q = char_left(r, p);
    if (pos_same(q, p)) return p;
    for (pos n; is_sep_at(r, q) && !pos_same(n = char_left(r, q), q);) q = n;
    for (pos n; !is_sep_at(r, q) && !pos_same(n = char_left(r, q), q);) q = n;
    return is_sep_at(r, q) ? char_right(r, q) : q;
}

pos word_right(const record& r, const pos& p) {
    pos q = p;
    for (pos n; !is_sep_at(r, q) && !pos_same(n = char_right(r, q), q);) q = n;
    for (pos n; is_sep_at(r, q) && !pos_same(n = char_right(r, q), q);) q = n;
    return q;
}

// The run of non-space, non-tab bytes around a place.
void word_at(const record& r, const place& at, place& from, place& to) {
    const par_block& b = block(r, at.par);
    auto word = [&](uint32_t i) { return b.text()[i] != ' ' && b.text()[i] != '\t'; };
    uint32_t s = at.off, e = at.off;
    while (s > 0 && word(s - 1)) --s;
    while (e < b.length && word(e)) ++e;
    from = place{at.par, s};
    to = place{at.par, e};
}

pos move_target(const record& r, uint16_t key, const pos& p) {
    const int32_t page = std::max(1, visible_lines(r) - 1);
    switch (key) {
    case KEY_UP:
        return vertical(r, p, -1);
    case KEY_DOWN:
        return vertical(r, p, 1);
    case KEY_RIGHT:
        return char_right(r, p);
    case KEY_LEFT:
        return char_left(r, p);
    case KEY_PAGE_UP:
        return vertical(r, p, -page);
    case KEY_PAGE_DOWN:
        return vertical(r, p, page);
    case KEY_LINE_HOME:
        return make_pos(r, p.par, p.line, 0);
    case KEY_LINE_END:
        return make_pos(r, p.par, p.line, line_chars(r, p.par, p.line));
    case KEY_HOME:
        return make_pos(r, 0, 0, 0);
    case KEY_END:
        return text_end(r);
    case KEY_WORD_LEFT:
        return word_left(r, p);
    case KEY_WORD_RIGHT:
        return word_right(r, p);
    default:
        return p;
    }
}

void move_caret(record& r, uint16_t key, bool shift) {
    if (r.npars == 0) return;
    const pos p = move_target(r, key, r.end);
    if (shift) {
        select(r, r.anchor, p);
    } else {
        select(r, p, p);
    }
    show_caret_place(r);
}

// Splits the paragraph at the caret as Enter does.
bool split_at_caret(record& r) {
    const place at = place_of(r, r.end);
    const par_block& b = block(r, at.par);
    if (at.off == 0) {
        // The new empty paragraph goes above; the caret stays with the text it was before.
        if (!par_insert(r, at.par, "", 0)) return false;
        const pos c = make_pos(r, uint16_t(at.par + 1), 0, 0);
        select(r, c, c);
        return true;
    }
    const std::string tail(b.text() + at.off, b.length - at.off);
    if (!par_insert(r, uint16_t(at.par + 1), tail.data(), uint32_t(tail.size()))) return false;
    par_replace(r, at.par, at.off, block(r, at.par).length, "", 0);
    const pos c = make_pos(r, uint16_t(at.par + 1), 0, 0);
    select(r, c, c);
    return true;
}

bool ensure_paragraph(record& r) {
    return r.npars > 0 || par_insert(r, 0, "", 0);
}

std::string selected_text(const record& r) {
    place from, to;
    sel_places(r, from, to);
    std::string out;
    for (uint16_t p = from.par; p <= to.par && p < r.npars; ++p) {
        const par_block& b = block(r, p);
        const uint32_t s = p == from.par ? from.off : 0;
        const uint32_t e = p == to.par ? to.off : b.length;
        if (p != from.par) out += "\r\n";
        out.append(b.text() + s, e - s);
    }
    return out;
}

bool copy(record& r) {
    if (r.attr & TX_NO_COPY) return false;
    const std::string text = selected_text(r);
    if (text.empty() || !wynk_cb_open(TRUE)) return false;
    bool done = false;
    if (void* data = wynk_cb_alloc_data(int32_t(text.size()))) {
        std::memcpy(data, text.data(), text.size());
        done = wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 0, nullptr) != 0;
    }
    wynk_cb_close();
    st().clip_has_text = wynk_cb_has_format(CB_FORMAT_TEXT, nullptr);
    update_menu(r);
    return done;
}

bool paste(record& r) {
    if (r.attr & (TX_NO_PASTE | TX_READONLY)) return false;
    if (!wynk_cb_has_format(CB_FORMAT_TEXT, nullptr) || !wynk_cb_open(FALSE)) return false;
    int32_t size = 0;
    const char* data = static_cast<const char*>(wynk_cb_get_data(CB_FORMAT_TEXT, nullptr, &size));
    const std::string text = data && size > 0 ? std::string(data, size_t(size)) : std::string();
    wynk_cb_close();
    if (text.empty() || !ensure_paragraph(r)) return false;
    const bool suspended_here = text.size() > kSuspendPaste && !(r.state & kStateSuspended);
    if (suspended_here) suspend(r);
    delete_selection(r);
    const char* at = text.data();
    const char* end = at + text.size();
    int term = 0;
    const char* eol = wynv_str_find_eol(text.data(), long(text.size()), &term);
    while (at < end) {
        const char* stop = eol ? eol : end;
        insert_at_caret(r, at, uint32_t(stop - at));
        if (!eol) break;
        if (!(r.attr & TX_ONE_PAR) && !split_at_caret(r)) break;
        at = eol + term;
        eol = wynv_str_find_eol(nullptr, 0, &term);
    }
    if (suspended_here) resume(r);
    show_caret_place(r);
    return true;
}

// The editing keys: everything but the moves.
bool edit_key(record& r, uint16_t ch, bool virt) {
    const bool is_del = ch == KEY_DEL || (virt && ch == KEY_CLEAR);
    const bool is_back = !virt && ch == '\b';
    const bool is_enter = !virt && ch == '\r';
    const bool had_sel = !pos_same(r.anchor, r.end);
    bool changed = false;
    if (had_sel) changed = delete_selection(r);
    if (!ensure_paragraph(r)) return changed;
    if (is_back || is_del) {
        if (had_sel) return changed;
        select(r, r.end, move_target(r, is_back ? KEY_LEFT : KEY_RIGHT, r.end));
        return delete_selection(r) || changed;
    }
    if (is_enter) return (!(r.attr & TX_ONE_PAR) && split_at_caret(r)) || changed;
    if (virt) return changed; // insert, back-tab, help, function keys: the selection only
    char mb[8] = {};
    const int n = wynk_str_convert_wc_to_mb(mb, wchar_t(ch));
    if (n <= 0) return changed;
    const place at = place_of(r, r.end);
    if ((r.attr & TX_OVERTYPE) && !had_sel && at.off < block(r, at.par).length) {
        const par_block& b = block(r, at.par);
        const uint32_t old = char_bytes(b.text() + at.off, b.length - at.off);
        if (!par_replace(r, at.par, at.off, at.off + old, mb, uint32_t(n))) return changed;
        const pos c = pos_of(r, place{at.par, at.off + uint32_t(n)});
        select(r, c, c);
        return true;
    }
    return insert_at_caret(r, mb, uint32_t(n)) || changed;
}

pos word_extend(const record& r, const place& at) {
    place from, to;
    word_at(r, at, from, to);
    const state& s = st();
    return place_before(at, s.mouse_place) ? pos_of(r, from) : pos_of(r, to);
}

} // namespace

void sel_places(const record& r, place& from, place& to) {
    from = place_of(r, r.anchor);
    to = place_of(r, r.end);
    if (place_before(to, from)) std::swap(from, to);
}

void select(record& r, const pos& anchor, const pos& end) {
    const bool was_empty = pos_same(r.anchor, r.end);
    r.anchor = anchor;
    r.end = end;
    update_highlight(r);
    update_caret(r);
    if (was_empty != pos_same(anchor, end)) update_menu(r);
}

bool insert_at_caret(record& r, const char* text, uint32_t len) {
    if (!ensure_paragraph(r)) return false;
    const place at = place_of(r, r.end);
    const par_block& b = block(r, at.par);
    if (r.limit) {
        const uint32_t chars = count_chars(b.text(), b.length);
        if (chars >= r.limit) return false;
        len = chars_bytes(text, len, r.limit - chars);
    }
    if (len == 0 || !par_replace(r, at.par, at.off, at.off, text, len)) return false;
    const pos c = pos_of(r, place{at.par, at.off + len});
    select(r, c, c);
    return true;
}

bool delete_selection(record& r) {
    place from, to;
    sel_places(r, from, to);
    if (place_same(from, to)) return false;
    const pos lo = pos_before(r.anchor, r.end) ? r.anchor : r.end;
    const pos hi = pos_before(r.anchor, r.end) ? r.end : r.anchor;
    const int32_t spanned = line_index(r, hi.par, hi.line) - line_index(r, lo.par, lo.line) + 1;
    const bool suspended_here = spanned > kSuspendLines && !(r.state & kStateSuspended);
    if (suspended_here) suspend(r);
    bool done;
    if (from.par == to.par) {
        done = par_replace(r, from.par, from.off, to.off, "", 0);
    } else {
        const par_block& last = block(r, to.par);
        const std::string tail(last.text() + to.off, last.length - to.off);
        done = par_replace(r, from.par, from.off, block(r, from.par).length, tail.data(),
                           uint32_t(tail.size()));
        if (done) {
            for (uint16_t p = to.par; p > from.par; --p) par_remove(r, p);
            report_scroll(r, -1, r.total, -1);
            const int32_t row = line_index(r, from.par, 0) - origin_index(r);
            draw_rows(r, int(std::max<int32_t>(row, -1)), visible_lines(r));
        }
    }
    if (done) {
        const pos c = pos_of(r, from);
        select(r, c, c);
    }
    if (suspended_here) resume(r);
    return done;
}

void handle_key(record& r, const EVENT& ev) {
    const uint16_t ch = ev.v.chr.ch;
    // Without attribute 713 a code above 255 counts as a key only when the event says it is
    // one: this toolkit delivers characters beyond Latin-1, which must be typed, not dropped.
    const bool virt = st().key_flag ? ev.v.chr.virtual_key != 0
                                    : ch == KEY_DEL || (ch > 255 && ev.v.chr.virtual_key);
    if (virt && moving_key(ch)) {
        move_caret(r, ch, ev.v.chr.shift != 0);
        return;
    }
    if (r.attr & TX_READONLY) return;
    const bool deleting = ch == KEY_DEL || (virt && ch == KEY_CLEAR) || (!virt && ch == '\b');
    if (deleting) {
        if (r.deleting) {
            TX_REPORT(kFatal, TX_ERR_REENTERED);
            return;
        }
        r.deleting = 1;
    }
    const bool changed = edit_key(r, ch, virt);
    if (deleting) r.deleting = 0;
    show_caret_place(r);
    if (changed) notify_change(r, 0, 0);
}

bool handle_command(record& r, int16_t tag) {
    bool changed = false;
    switch (tag) {
    case MENU_TAG_COPY:
        copy(r);
        return true;
    case MENU_TAG_CUT:
        if (r.attr & (TX_NO_CUT | TX_READONLY)) return true;
        if (copy(r)) changed = delete_selection(r);
        break;
    case MENU_TAG_PASTE:
        changed = paste(r);
        break;
    case MENU_TAG_CLEAR: {
        if (r.attr & TX_READONLY) return true;
        EVENT ev{};
        ev.type = E_CHAR;
        ev.v.chr.ch = KEY_DEL;
        ev.v.chr.virtual_key = TRUE;
        handle_key(r, ev);
        return true;
    }
    default:
        return false;
    }
    show_caret_place(r);
    if (changed) notify_change(r, 0, 0);
    return true;
}

void set_selection(record& r, uint16_t ap, uint16_t al, uint16_t ac, uint16_t ep, uint16_t el,
                   uint16_t ec) {
    if (r.npars == 0) return;
    auto clamp = [&](uint16_t p, uint16_t l, uint16_t c) {
        if (p >= r.npars) return text_end(r);
        if (l >= r.pars[p].lines) return make_pos(r, p, uint16_t(r.pars[p].lines - 1), 65535);
        return make_pos(r, p, l, c);
    };
    const pos a = clamp(ap, al, ac);
    const pos e = clamp(ep, el, ec);
    select(r, a, e);
    if (r.attr & TX_AUTO_VSCROLL) {
        const int32_t origin = origin_index(r);
        const int32_t end_line = line_index(r, e.par, e.line);
        const int32_t anchor_line = line_index(r, a.par, a.line);
        if (end_line < origin) {
            scroll_lines(r, std::max<int32_t>(end_line - 1, 0) - origin);
        } else if (anchor_line >= origin + visible_lines(r)) {
            scroll_lines(r, anchor_line - (origin + visible_lines(r)) + 1);
        }
    }
    if (r.attr & TX_AUTO_HSCROLL) show_point(r, r.view.left - r.hor + e.x, r.view.top, r.avg_width, 0);
    update_caret(r);
}

void update_menu(record& r) {
    if (r.attr & TX_NO_MENU) return;
    const auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    const auto screen = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_SCREEN_WINDOW));
    WINDOW top = r.notify;
    for (WINDOW up; top && top != task && (up = wynk_vobj_get_parent(top)) && up != screen;)
        top = up;
    if (!top) return;
    const bool sel = !pos_same(r.anchor, r.end);
    const bool ro = r.attr & TX_READONLY;
    wynk_menu_set_item_enabled(top, MENU_TAG_CUT, !ro && !(r.attr & TX_NO_CUT) && sel);
    wynk_menu_set_item_enabled(top, MENU_TAG_COPY, !(r.attr & TX_NO_COPY) && sel);
    wynk_menu_set_item_enabled(top, MENU_TAG_CLEAR, !ro && ((r.attr & TX_CLEAR_ON) || sel));
    wynk_menu_set_item_enabled(top, MENU_TAG_PASTE,
                               !ro && !(r.attr & TX_NO_PASTE) && st().clip_has_text);
}

pos point_pos(const record& r, PNT where) {
    if (r.npars == 0) return pos{};
    const int lh = std::max<int>(1, r.line_height);
    const int dy = where.v - r.view.top;
    const int32_t row = dy < 0 ? 0 : dy / lh;
    uint16_t par = 0, line = 0;
    if (!line_at(r, origin_index(r) + row, par, line)) return text_end(r);
    const int x = std::clamp<int>(where.h, r.view.left, r.view.right) - r.view.left + r.hor;
    return nearest(r, par, line, x);
}

void mouse_down(record& r, PNT where, bool shift, bool dbl) {
    wynk_win_trap_pointer(r.win);
    if (r.npars == 0) return;
    state& s = st();
    const pos p = point_pos(r, where);
    const place at = place_of(r, p);
    if (dbl) {
        r.state |= kStateWordDrag;
    } else {
        r.state &= uint16_t(~kStateWordDrag);
    }
    if (shift) {
        if (dbl) {
            place from, to;
            word_at(r, place_of(r, r.anchor), from, to);
            s.mouse_place = from;
            s.word_anchor_end = to;
            select(r, pos_before(p, r.anchor) ? pos_of(r, to) : pos_of(r, from),
                   word_extend(r, at));
        } else {
            select(r, r.anchor, p);
        }
    } else if (dbl) {
        place from, to;
        word_at(r, at, from, to);
        s.mouse_place = from;
        s.word_anchor_end = to;
        select(r, pos_of(r, from), pos_of(r, to));
    } else {
        select(r, p, p);
    }
    wynk_win_set_caret_visible(r.win, FALSE);
}

void mouse_move(record& r, PNT where) {
    if (r.npars == 0) return;
    const bool outside = where.v < r.view.top || where.v >= r.view.bottom ||
                         where.h < r.view.left || where.h >= r.view.right;
    if (outside) show_point(r, where.h, where.v, 0, 0);
    const pos p = point_pos(r, where);
    if (r.state & kStateWordDrag) {
        const state& s = st();
        const place at = place_of(r, p);
        const pos anchor = place_before(at, s.mouse_place) ? pos_of(r, s.word_anchor_end)
                                                          : pos_of(r, s.mouse_place);
        select(r, anchor, word_extend(r, at));
    } else {
        select(r, r.anchor, p);
    }
    wynk_win_set_caret_visible(r.win, FALSE);
}

void mouse_up(record& r) {
    wynk_win_release_pointer();
    update_caret(r);
    update_menu(r);
}

} // namespace tx
