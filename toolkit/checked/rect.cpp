// Checked rectangle calls: every rectangle and point argument is required.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
CHECKED(kRect, wyn_rect_set, (RCT* r, int left, int top, int right, int bottom),
        c.given(r), nullptr, wynv_rect_set, (r, left, top, right, bottom))
CHECKED(kRect, wyn_rect_set_empty, (RCT* r),
        c.given(r), nullptr, wynv_rect_set_empty, (r))
MARKED(kRect, wyn_rect_is_empty, (const RCT* r), wynv_rect_is_empty, (r))
CHECKED(kRect, wyn_rect_get_width, (const RCT* r),
        c.given(r), 0, wynv_rect_get_width, (r))
CHECKED(kRect, wyn_rect_get_height, (const RCT* r),
        c.given(r), 0, wynv_rect_get_height, (r))
CHECKED(kRect, wyn_rect_set_width, (RCT* r, int width),
        c.given(r), nullptr, wynv_rect_set_width, (r, width))
CHECKED(kRect, wyn_rect_set_height, (RCT* r, int height),
        c.given(r), nullptr, wynv_rect_set_height, (r, height))
CHECKED(kRect, wyn_rect_get_pos, (const RCT* r, PNT* pos),
        c.given(r) && c.given(pos), nullptr, wynv_rect_get_pos, (r, pos))
CHECKED(kRect, wyn_rect_set_pos, (RCT* r, const PNT* pos),
        c.given(r) && c.given(pos), nullptr, wynv_rect_set_pos, (r, pos))
CHECKED(kRect, wyn_rect_offset, (RCT* r, int dh, int dv),
        c.given(r), nullptr, wynv_rect_offset, (r, dh, dv))
CHECKED(kRect, wyn_rect_intersect, (RCT* result, const RCT* a, const RCT* b),
        c.given(result) && c.given(a) && c.given(b), FALSE, wynv_rect_intersect, (result, a, b))
CHECKED(kRect, wyn_rect_has_point, (const RCT* r, const PNT* p),
        c.given(r) && c.given(p), FALSE, wynv_rect_has_point, (r, p))
CHECKED(kRect, wyn_rect_repair, (RCT* r),
        c.given(r), nullptr, wynv_rect_repair, (r))
// clang-format on
