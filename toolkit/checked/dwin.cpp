// Checked drawing calls: drawing itself is what E_UPDATE is for, so only updating and scrolling
// are refused meanwhile.
#include <wyn/checked/dwin.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr int32_t kFirstStdPen = STD_PEN_BLACK;
constexpr int32_t kLastStdPen = STD_PEN_WHITE;
constexpr int32_t kFirstStdBrush = STD_BRUSH_BLACK;
constexpr int32_t kLastStdBrush = STD_BRUSH_WHITE;
// What an unknown standard pen or brush becomes.
constexpr int32_t kStdFallback = 1;
// A text length meaning "up to the terminator".
constexpr int kWholeText = -1;

} // namespace

DRAW_CTOOLS* wyn_app_get_default_ctools(DRAW_CTOOLS* ct) {
    Call c(__func__, kApp);
    if (!c.given(ct)) return nullptr;
    return wynv_app_get_default_ctools(ct);
}

DRAW_CTOOLS* wyn_dwin_get_draw_ctools(WINDOW win, DRAW_CTOOLS* ct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(ct)) return nullptr;
    return wynk_dwin_get_draw_ctools(win, ct);
}

void wyn_dwin_set_draw_ctools(WINDOW win, const DRAW_CTOOLS* ct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(ct)) return;
    wynk_dwin_set_draw_ctools(win, ct);
}

void wyn_dwin_set_cpen(WINDOW win, const DRAW_CPEN* pen) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(pen)) return;
    wynk_dwin_set_cpen(win, pen);
}

void wyn_dwin_set_cbrush(WINDOW win, const DRAW_CBRUSH* brush) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(brush)) return;
    wynk_dwin_set_cbrush(win, brush);
}

void wyn_dwin_set_draw_mode(WINDOW win, uint32_t mode) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    if (mode > M_OR && !c.fail(WYN_MSG_BAD_VALUE)) return;
    wynk_dwin_set_draw_mode(win, mode);
}

void wyn_dwin_set_fore_color(WINDOW win, COLOR color) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    wynk_dwin_set_fore_color(win, color);
}

void wyn_dwin_set_back_color(WINDOW win, COLOR color) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    wynk_dwin_set_back_color(win, color);
}

void wyn_dwin_set_std_cpen(WINDOW win, int32_t id) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    if (id < kFirstStdPen || id > kLastStdPen) {
        c.warn(WYN_MSG_BAD_VALUE);
        id = kStdFallback;
    }
    wynv_dwin_set_std_cpen(win, id);
}

void wyn_dwin_set_std_cbrush(WINDOW win, int32_t id) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    if (id < kFirstStdBrush || id > kLastStdBrush) {
        c.warn(WYN_MSG_BAD_VALUE);
        id = kStdFallback;
    }
    wynv_dwin_set_std_cbrush(win, id);
}

void wyn_dwin_set_clip(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    wynk_dwin_set_clip(win, rct);
}

RCT* wyn_dwin_get_clip(WINDOW win, RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct)) return nullptr;
    return wynk_dwin_get_clip(win, rct);
}

void wyn_dwin_draw_rect(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct)) return;
    wynk_dwin_draw_rect(win, rct);
}

void wyn_dwin_draw_roundrect(WINDOW win, const RCT* rct, int oval_width, int oval_height) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct)) return;
    wynk_dwin_draw_roundrect(win, rct, oval_width, oval_height);
}

void wyn_dwin_draw_oval(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct)) return;
    wynk_dwin_draw_oval(win, rct);
}

void wyn_dwin_draw_arc(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct) || !c.given(start) || !c.given(stop)) return;
    wynk_dwin_draw_arc(win, rct, start, stop);
}

void wyn_dwin_draw_pie(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct) || !c.given(start) || !c.given(stop)) return;
    wynk_dwin_draw_pie(win, rct, start, stop);
}

void wyn_dwin_draw_polygon(WINDOW win, const PNT* points, int count) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(points) || !c.at_least(count, 1)) return;
    wynk_dwin_draw_polygon(win, points, count);
}

void wyn_dwin_draw_polyline(WINDOW win, const PNT* points, int count) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(points) || !c.at_least(count, 1)) return;
    wynk_dwin_draw_polyline(win, points, count);
}

void wyn_dwin_draw_set_pos(WINDOW win, const PNT* pos) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(pos)) return;
    wynk_dwin_draw_set_pos(win, pos);
}

PNT* wyn_dwin_get_pos(WINDOW win, PNT* pos) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(pos)) return nullptr;
    return wynk_dwin_get_pos(win, pos);
}

void wyn_dwin_draw_line(WINDOW win, const PNT* pos) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(pos)) return;
    wynk_dwin_draw_line(win, pos);
}

void wyn_dwin_draw_aline(WINDOW win, const PNT* pos, BOOLEAN arrow_start, BOOLEAN arrow_end) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(pos)) return;
    wynk_dwin_draw_aline(win, pos, arrow_start, arrow_end);
}

void wyn_dwin_draw_text(WINDOW win, int x, int y, const char* text, int len) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(text) || !c.at_least(len, kWholeText)) return;
    wynk_dwin_draw_text(win, x, y, text, len);
}

int wyn_dwin_get_text_width(WINDOW win, const char* text, int len) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(text) || !c.at_least(len, kWholeText)) return 0;
    return wynk_dwin_get_text_width(win, text, len);
}

BOOLEAN wyn_dwin_draw_icon(WINDOW win, int x, int y, int32_t icon_id) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return FALSE;
    return wynk_dwin_draw_icon(win, x, y, icon_id);
}

void wyn_dwin_clear(WINDOW win, COLOR color) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    wynv_dwin_clear(win, color);
}

void wyn_dwin_invalidate_rect(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    if (rct && rect_inverted(*rct)) c.warn(WYN_MSG_BAD_RECT_FORMAT);
    wynk_dwin_invalidate_rect(win, rct);
}

BOOLEAN wyn_dwin_is_update_needed(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct)) return FALSE;
    return wynk_dwin_is_update_needed(win, rct);
}

void wyn_dwin_update(WINDOW win) {
    Call c(__func__, kDwin);
    if (!c.outside_update() || !c.drawable(win)) return;
    wynk_dwin_update(win);
}

void wyn_dwin_scroll_rect(WINDOW win, const RCT* rct, int dh, int dv) {
    Call c(__func__, kDwin);
    if (!c.outside_update() || !c.drawable(win) || !c.given(rct)) return;
    wynk_dwin_scroll_rect(win, rct, dh, dv);
}
