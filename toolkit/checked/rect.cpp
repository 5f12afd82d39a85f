// Checked rectangle calls: every rectangle and point argument is required.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

RCT* wyn_rect_set(RCT* r, int left, int top, int right, int bottom) {
    Call c(__func__, kRect);
    if (!c.given(r)) return nullptr;
    return wynv_rect_set(r, left, top, right, bottom);
}

RCT* wyn_rect_set_empty(RCT* r) {
    Call c(__func__, kRect);
    if (!c.given(r)) return nullptr;
    return wynv_rect_set_empty(r);
}

BOOLEAN wyn_rect_is_empty(const RCT* r) {
    Call c(__func__, kRect);
    return wynv_rect_is_empty(r);
}

int wyn_rect_get_width(const RCT* r) {
    Call c(__func__, kRect);
    if (!c.given(r)) return 0;
    return wynv_rect_get_width(r);
}

int wyn_rect_get_height(const RCT* r) {
    Call c(__func__, kRect);
    if (!c.given(r)) return 0;
    return wynv_rect_get_height(r);
}

RCT* wyn_rect_set_width(RCT* r, int width) {
    Call c(__func__, kRect);
    if (!c.given(r)) return nullptr;
    return wynv_rect_set_width(r, width);
}

RCT* wyn_rect_set_height(RCT* r, int height) {
    Call c(__func__, kRect);
    if (!c.given(r)) return nullptr;
    return wynv_rect_set_height(r, height);
}

PNT* wyn_rect_get_pos(const RCT* r, PNT* pos) {
    Call c(__func__, kRect);
    if (!c.given(r) || !c.given(pos)) return nullptr;
    return wynv_rect_get_pos(r, pos);
}

RCT* wyn_rect_set_pos(RCT* r, const PNT* pos) {
    Call c(__func__, kRect);
    if (!c.given(r) || !c.given(pos)) return nullptr;
    return wynv_rect_set_pos(r, pos);
}

RCT* wyn_rect_offset(RCT* r, int dh, int dv) {
    Call c(__func__, kRect);
    if (!c.given(r)) return nullptr;
    return wynv_rect_offset(r, dh, dv);
}

BOOLEAN wyn_rect_intersect(RCT* result, const RCT* a, const RCT* b) {
    Call c(__func__, kRect);
    if (!c.given(result) || !c.given(a) || !c.given(b)) return FALSE;
    return wynv_rect_intersect(result, a, b);
}

BOOLEAN wyn_rect_has_point(const RCT* r, const PNT* p) {
    Call c(__func__, kRect);
    if (!c.given(r) || !c.given(p)) return FALSE;
    return wynv_rect_has_point(r, p);
}

RCT* wyn_rect_repair(RCT* r) {
    Call c(__func__, kRect);
    if (!c.given(r)) return nullptr;
    return wynv_rect_repair(r);
}
