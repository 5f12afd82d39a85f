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

// clang-format off
CHECKED(kApp, wyn_app_get_default_ctools, (DRAW_CTOOLS* ct),
        c.given(ct), nullptr, wynv_app_get_default_ctools, (ct))
CHECKED(kDwin, wyn_dwin_get_draw_ctools, (WINDOW win, DRAW_CTOOLS* ct),
        c.drawable(win) && c.given(ct), nullptr, wynk_dwin_get_draw_ctools, (win, ct))
CHECKED(kDwin, wyn_dwin_set_draw_ctools, (WINDOW win, const DRAW_CTOOLS* ct),
        c.drawable(win) && c.given(ct), void(), wynk_dwin_set_draw_ctools, (win, ct))
CHECKED(kDwin, wyn_dwin_set_cpen, (WINDOW win, const DRAW_CPEN* pen),
        c.drawable(win) && c.given(pen), void(), wynk_dwin_set_cpen, (win, pen))
CHECKED(kDwin, wyn_dwin_set_cbrush, (WINDOW win, const DRAW_CBRUSH* brush),
        c.drawable(win) && c.given(brush), void(), wynk_dwin_set_cbrush, (win, brush))
CHECKED(kDwin, wyn_dwin_set_fore_color, (WINDOW win, COLOR color),
        c.drawable(win), void(), wynk_dwin_set_fore_color, (win, color))
CHECKED(kDwin, wyn_dwin_set_back_color, (WINDOW win, COLOR color),
        c.drawable(win), void(), wynk_dwin_set_back_color, (win, color))
CHECKED(kDwin, wyn_dwin_set_clip, (WINDOW win, const RCT* rct),
        c.drawable(win), void(), wynk_dwin_set_clip, (win, rct))
CHECKED(kDwin, wyn_dwin_get_clip, (WINDOW win, RCT* rct),
        c.drawable(win) && c.given(rct), nullptr, wynk_dwin_get_clip, (win, rct))
CHECKED(kDwin, wyn_dwin_draw_rect, (WINDOW win, const RCT* rct),
        c.drawable(win) && c.given(rct), void(), wynk_dwin_draw_rect, (win, rct))
CHECKED(kDwin, wyn_dwin_draw_roundrect,
        (WINDOW win, const RCT* rct, int oval_width, int oval_height),
        c.drawable(win) && c.given(rct),
        void(), wynk_dwin_draw_roundrect, (win, rct, oval_width, oval_height))
CHECKED(kDwin, wyn_dwin_draw_oval, (WINDOW win, const RCT* rct),
        c.drawable(win) && c.given(rct), void(), wynk_dwin_draw_oval, (win, rct))
CHECKED(kDwin, wyn_dwin_draw_arc, (WINDOW win, const RCT* rct, const PNT* start, const PNT* stop),
        c.drawable(win) && c.given(rct) && c.given(start) && c.given(stop),
        void(), wynk_dwin_draw_arc, (win, rct, start, stop))
CHECKED(kDwin, wyn_dwin_draw_pie, (WINDOW win, const RCT* rct, const PNT* start, const PNT* stop),
        c.drawable(win) && c.given(rct) && c.given(start) && c.given(stop),
        void(), wynk_dwin_draw_pie, (win, rct, start, stop))
CHECKED(kDwin, wyn_dwin_draw_polygon, (WINDOW win, const PNT* points, int count),
        c.drawable(win) && c.given(points) && c.at_least(count, 1),
        void(), wynk_dwin_draw_polygon, (win, points, count))
CHECKED(kDwin, wyn_dwin_draw_polyline, (WINDOW win, const PNT* points, int count),
        c.drawable(win) && c.given(points) && c.at_least(count, 1),
        void(), wynk_dwin_draw_polyline, (win, points, count))
CHECKED(kDwin, wyn_dwin_draw_set_pos, (WINDOW win, const PNT* pos),
        c.drawable(win) && c.given(pos), void(), wynk_dwin_draw_set_pos, (win, pos))
CHECKED(kDwin, wyn_dwin_get_pos, (WINDOW win, PNT* pos),
        c.drawable(win) && c.given(pos), nullptr, wynk_dwin_get_pos, (win, pos))
CHECKED(kDwin, wyn_dwin_draw_line, (WINDOW win, const PNT* pos),
        c.drawable(win) && c.given(pos), void(), wynk_dwin_draw_line, (win, pos))
CHECKED(kDwin, wyn_dwin_draw_aline,
        (WINDOW win, const PNT* pos, BOOLEAN arrow_start, BOOLEAN arrow_end),
        c.drawable(win) && c.given(pos),
        void(), wynk_dwin_draw_aline, (win, pos, arrow_start, arrow_end))
CHECKED(kDwin, wyn_dwin_draw_text, (WINDOW win, int x, int y, const char* text, int len),
        c.drawable(win) && c.given(text) && c.at_least(len, kWholeText),
        void(), wynk_dwin_draw_text, (win, x, y, text, len))
CHECKED(kDwin, wyn_dwin_get_text_width, (WINDOW win, const char* text, int len),
        c.drawable(win) && c.given(text) && c.at_least(len, kWholeText),
        0, wynk_dwin_get_text_width, (win, text, len))
CHECKED(kDwin, wyn_dwin_draw_icon, (WINDOW win, int x, int y, int32_t icon_id),
        c.drawable(win), FALSE, wynk_dwin_draw_icon, (win, x, y, icon_id))
CHECKED(kDwin, wyn_dwin_clear, (WINDOW win, COLOR color),
        c.drawable(win), void(), wynv_dwin_clear, (win, color))
CHECKED(kDwin, wyn_dwin_is_update_needed, (WINDOW win, const RCT* rct),
        c.drawable(win) && c.given(rct), FALSE, wynk_dwin_is_update_needed, (win, rct))
CHECKED(kDwin, wyn_dwin_update, (WINDOW win),
        c.outside_update() && c.drawable(win), void(), wynk_dwin_update, (win))
CHECKED(kDwin, wyn_dwin_scroll_rect, (WINDOW win, const RCT* rct, int dh, int dv),
        c.outside_update() && c.drawable(win) && c.given(rct),
        void(), wynk_dwin_scroll_rect, (win, rct, dh, dv))
// clang-format on

void wyn_dwin_set_draw_mode(WINDOW win, uint32_t mode) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    if (mode > M_OR && !c.fail(WYN_MSG_BAD_VALUE)) return;
    wynk_dwin_set_draw_mode(win, mode);
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

void wyn_dwin_invalidate_rect(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win)) return;
    if (rct && rect_inverted(*rct)) c.warn(WYN_MSG_BAD_RECT_FORMAT);
    wynk_dwin_invalidate_rect(win, rct);
}
