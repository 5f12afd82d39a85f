// Drawing: the window's tools saved and restored around every drawing, the frame, the lines
// with their highlight, and the caret.
#include <algorithm>
#include <wyn/ctl.h>
#include <wyn/font.h>

#include "tx_internal.h"

namespace tx {

namespace {

constexpr RCT kNoClip = {0, 0, 25000, 25000};

void fill(WINDOW win, int top, int left, int bottom, int right, COLOR color) {
    if (right <= left || bottom <= top) return;
    const DRAW_CPEN pen{0, PAT_HOLLOW, PS_SOLID_LINE, color};
    const DRAW_CBRUSH brush{PAT_SOLID, color};
    wynk_dwin_set_cpen(win, &pen);
    wynk_dwin_set_cbrush(win, &brush);
    const RCT rc{int16_t(std::clamp(top, -32000, 32000)), int16_t(std::clamp(left, -32000, 32000)),
                 int16_t(std::clamp(bottom, -32000, 32000)),
                 int16_t(std::clamp(right, -32000, 32000))};
    wynk_dwin_draw_rect(win, &rc);
}

bool in_range(const place& pl, const place& from, const place& to) {
    return !place_before(pl, from) && place_before(pl, to);
}

// Draws one view row; the caller holds a drawing scope.
void draw_row(record& r, int row, const place& hs, const place& he) {
    const int top = r.view.top + row * r.line_height;
    if (top >= r.view.bottom) return;
    const int bottom = top + r.line_height;
    uint16_t par = 0, line = 0;
    if (!line_at(r, origin_index(r) + row, par, line)) {
        fill(r.win, top, r.view.left, bottom, r.view.right, r.back_color);
        return;
    }
    ++st().line_draws;
    const char* text = block(r, par).text();
    const uint32_t a = line_start(r, par, line);
    const uint32_t e = line_end(r, par, line);
    const int x0 = r.view.left - r.hor;
    const int baseline = top + r.ascent;
    int x = 0;
    uint32_t i = a;
    while (i < e) {
        const bool sel = in_range(place{par, i}, hs, he);
        const bool tab = text[i] == '\t';
        uint32_t j = i;
        while (j < e && (text[j] == '\t') == tab && in_range(place{par, j}, hs, he) == sel)
            j += char_bytes(text + j, e - j);
        const int w = measure(r, text + i, j - i, x);
        if (x0 + w >= r.view.left) {
            fill(r.win, top, x0 + x, bottom, x0 + w, sel ? r.text_color : r.back_color);
            if (!tab) {
                wynk_dwin_set_fore_color(r.win, sel ? r.back_color : r.text_color);
                wynk_dwin_draw_text(r.win, x0 + x, baseline, text + i, int(j - i));
            }
        }
        x = w;
        i = j;
        if (x0 + x >= r.view.right) return;
    }
    const bool after = in_range(place{par, e}, hs, he) && (line + 1 < r.pars[par].lines || he.par > par);
    fill(r.win, top, std::max<int>(x0 + x, r.view.left), bottom, r.view.right,
         after ? r.text_color : r.back_color);
}

int rows_in_view(const record& r) {
    return std::max(1, (r.view.bottom - r.view.top + r.line_height - 1) / std::max<int>(1, r.line_height));
}

} // namespace

draw_scope::draw_scope(const record& r, bool for_drawing) : win_(r.win), drawing_(for_drawing) {
    if (FONT current = wynk_dwin_get_font(win_)) font_ = wynv_font_copy(nullptr, current, FA_ALL);
    wynv_dwin_set_font(win_, r.font);
    if (!drawing_) return;
    have_tools_ = wynk_dwin_get_draw_ctools(win_, &tools_) != nullptr;
    wynk_dwin_get_clip(win_, &clip_);
    DRAW_CTOOLS mine{};
    wynv_app_get_default_ctools(&mine);
    mine.pen = DRAW_CPEN{0, PAT_SOLID, PS_SOLID_LINE, r.border_color};
    mine.brush = DRAW_CBRUSH{PAT_SOLID, r.back_color};
    mine.mode = M_COPY;
    mine.fore_color = r.text_color;
    mine.back_color = r.back_color;
    mine.opaque_text = FALSE;
    wynk_dwin_set_draw_ctools(win_, &mine);
    wynk_dwin_set_clip(win_, &r.view);
}

draw_scope::~draw_scope() {
    if (drawing_) {
        if (have_tools_) wynk_dwin_set_draw_ctools(win_, &tools_);
        const bool none = clip_.top == kNoClip.top && clip_.left == kNoClip.left &&
                          clip_.bottom == kNoClip.bottom && clip_.right == kNoClip.right;
        wynk_dwin_set_clip(win_, none ? nullptr : &clip_);
    }
    if (font_) {
        wynv_dwin_set_font(win_, font_);
        wynv_font_destroy(font_);
    }
}

RCT view_of(const RCT& outer, uint16_t attr) {
    if (!(attr & TX_BORDER)) return outer;
    return RCT{int16_t(outer.top + 4), int16_t(outer.left + 4), int16_t(outer.bottom - 4),
               int16_t(outer.right - 4)};
}

bool can_draw(const record& r) {
    return !(r.state & kStateSuspended) && !(r.attr & TX_INVISIBLE) && r.win;
}

void draw_all(record& r) {
    if (!can_draw(r)) return;
    {
        draw_scope scope(r, true);
        const RCT grown = grown_by_one(r.rect);
        wynk_dwin_set_clip(r.win, &grown);
        const DRAW_CBRUSH brush{PAT_SOLID, r.back_color};
        wynk_dwin_set_cbrush(r.win, &brush);
        const DRAW_CPEN pen{0, (r.attr & TX_BORDER) ? PAT_SOLID : PAT_HOLLOW, PS_SOLID_LINE,
                            r.border_color};
        wynk_dwin_set_cpen(r.win, &pen);
        wynk_dwin_draw_rect(r.win, &r.rect);
    }
    draw_rows(r, 0, rows_in_view(r) - 1);
    update_caret(r);
}

void draw_rows(record& r, int first, int last) {
    if (!can_draw(r)) return;
    first = std::max(first, 0);
    last = std::min(last, rows_in_view(r) - 1);
    if (first > last) return;
    draw_scope scope(r, true);
    place hs = place_of(r, r.hl_start), he = place_of(r, r.hl_end);
    for (int row = first; row <= last; ++row) draw_row(r, row, hs, he);
}

void draw_par_lines(record& r, uint16_t par, uint16_t from, uint16_t to) {
    const int32_t row = line_index(r, par, 0) - origin_index(r);
    draw_rows(r, int(std::max<int32_t>(row + from, -1)), int(std::min<int32_t>(row + to, 32000)));
}

void update_highlight(record& r) {
    pos from = r.anchor, to = r.end;
    if (pos_before(to, from)) std::swap(from, to);
    if (r.state & kStateHidden) from = to = r.end;
    if (pos_same(from, r.hl_start) && pos_same(to, r.hl_end)) return;
    const pos lo = pos_before(from, r.hl_start) ? from : r.hl_start;
    const pos hi = pos_before(r.hl_end, to) ? to : r.hl_end;
    r.hl_start = from;
    r.hl_end = to;
    const int32_t origin = origin_index(r);
    draw_rows(r, int(std::max<int32_t>(line_index(r, lo.par, lo.line) - origin, -1)),
              int(std::min<int32_t>(line_index(r, hi.par, hi.line) - origin, 32000)));
}

void update_caret(record& r) {
    state& s = st();
    const slot* sl = slot_at(r.slot);
    const bool active = sl && (sl->flags & kSlotActive);
    if (!active) return; // the window's caret belongs to its active text edit
    const int32_t row = line_index(r, r.end.par, r.end.line) - origin_index(r);
    const int x = r.view.left - r.hor + r.end.x;
    const int y = r.view.top + int(row) * r.line_height;
    const bool shown = !(r.state & (kStateHidden | kStateSuspended)) &&
                       !(r.attr & TX_INVISIBLE) && pos_same(r.anchor, r.end) && row >= 0 &&
                       y + r.line_height <= r.view.bottom + r.line_height - 1 &&
                       x >= r.view.left && x <= r.view.right;
    if (shown) {
        wynk_win_set_caret_size(r.win, 1, int16_t(r.ascent + r.descent));
        s.caret = PNT{int16_t(y), int16_t(x)};
        wynk_win_set_caret_pos(r.win, s.caret);
    }
    s.caret_shown = shown;
    wynk_win_set_caret_visible(r.win, shown ? TRUE : FALSE);
}

void invalidate(const record& r) {
    if (r.state & kStateSuspended) return;
    const RCT grown = grown_by_one(r.rect);
    wynk_dwin_invalidate_rect(r.win, &grown);
}

} // namespace tx
