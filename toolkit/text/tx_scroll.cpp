// Scrolling: the origin moved by lines and pixels within its limits, the window contents moved
// along, points kept in view, the scroll call-back, and suspension of drawing.
#include <algorithm>
#include <cstdlib>
#include <wyn/ctl.h>

#include "tx_internal.h"

namespace tx {

namespace {

void move_contents(record& r, int dh, int dv) {
    if (!can_draw(r)) return;
    if (std::abs(dv) > 9999) dv = dv < 0 ? -10000 : 10000;
    draw_scope scope(r, true);
    st().scroll_update = true;
    wynk_dwin_scroll_rect(r.win, &r.view, dh, dv);
    st().scroll_update = false;
}

// The largest horizontal origin.
int max_hor(const record& r) {
    if (!(r.attr & TX_WRAP)) return 32767;
    const int width = r.view.right - r.view.left;
    return std::max(0, int(wrap_width(r)) - width);
}

} // namespace

int32_t origin_index(const record& r) {
    return r.npars ? line_index(r, r.org_par, r.org_line) : 0;
}

int32_t scroll_lines(record& r, int32_t lines) {
    if (r.npars == 0 || lines == 0) return 0;
    const int32_t cur = origin_index(r);
    const int32_t vis = visible_lines(r);
    const int32_t last = std::max<int32_t>(0, r.total - vis);
    int32_t want = cur + lines;
    if (lines > 0) want = std::min(want, std::max(cur, last));
    want = std::max<int32_t>(want, 0);
    const int32_t delta = want - cur;
    if (delta == 0) return 0;
    line_at(r, want, r.org_par, r.org_line);
    move_contents(r, 0, int(-int64_t(delta) * r.line_height > 10000    ? 10000
                            : -int64_t(delta) * r.line_height < -10000 ? -10000
                                                                       : -delta * r.line_height));
    if (std::abs(delta) >= vis) {
        draw_rows(r, 0, vis);
    } else if (delta > 0) {
        draw_rows(r, int(vis - delta - 1), vis);
    } else {
        draw_rows(r, 0, int(-delta));
    }
    update_caret(r);
    report_scroll(r, want, -1, -1);
    return delta;
}

void scroll_pixels(record& r, int32_t pixels) {
    const int lh = std::max<int>(1, r.line_height);
    const int32_t lines = pixels > 0 ? (pixels + lh - 1) / lh : -((-pixels + lh - 1) / lh);
    scroll_lines(r, lines);
}

void scroll_hor(record& r, int32_t pixels) {
    const int32_t want = std::clamp<int32_t>(int32_t(r.hor) + pixels, 0, max_hor(r));
    const int32_t delta = want - r.hor;
    if (delta == 0) return;
    r.hor = uint16_t(want);
    move_contents(r, int(-delta), 0);
    draw_rows(r, 0, visible_lines(r));
    update_caret(r);
    report_scroll(r, -1, -1, want);
}

void show_point(record& r, int x, int y, int mx, int my) {
    if (r.attr & TX_AUTO_HSCROLL) {
        if (x + mx > r.view.right) {
            scroll_hor(r, x + mx - r.view.right);
        } else if (x < r.view.left && r.hor != 0) {
            scroll_hor(r, x - r.view.left);
        }
    }
    if (r.attr & TX_AUTO_VSCROLL) {
        if (y + my > r.view.bottom) {
            scroll_pixels(r, y + my - r.view.bottom);
        } else if (y < r.view.top && origin_index(r) != 0) {
            scroll_pixels(r, y - r.view.top);
        }
    }
}

void show_caret_place(record& r) {
    const int32_t row = line_index(r, r.end.par, r.end.line) - origin_index(r);
    const int64_t y = int64_t(r.view.top) + int64_t(row) * r.line_height;
    const int x = r.view.left - r.hor + r.end.x;
    show_point(r, x, int(std::clamp<int64_t>(y, -2000000000, 2000000000)), r.avg_width,
               r.ascent + r.descent);
    update_caret(r);
}

void report_scroll(record& r, int32_t vert, int32_t total, int32_t hor) {
    if (!r.scroll_fn || (r.state & kStateSuspended)) return;
    r.scroll_fn(r.app_handle, vert, total, hor);
}

void suspend(record& r) {
    if (r.state & kStateSuspended) return;
    r.state |= kStateSuspended;
    ++st().suspensions;
    if (const slot* sl = slot_at(r.slot); sl && (sl->flags & kSlotActive))
        wynk_win_set_caret_visible(r.win, FALSE);
}

void resume(record& r) {
    if (!(r.state & kStateSuspended)) return;
    r.state &= uint16_t(~kStateSuspended);
    invalidate(r);
    report_scroll(r, origin_index(r), r.total, r.hor);
    update_caret(r);
}

} // namespace tx
