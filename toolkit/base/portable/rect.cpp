// Rectangle helpers over RCT and the conversion of character and dialog units to pixels.
#include "portable/rect.h"

#include <algorithm>
#include <cstdint>

#include "portable/report_hook.h"
#include <wyn/mem.h>
#include <wyn/rect.h>
#include <wyn/static.h>
#include <wyn/windef.h>

namespace {

constexpr char kReportUnit[] = "vrect";

struct BaseUnits {
    int width;
    int height;
};

// A common dialog font cell until the window system tells the real one.
constexpr BaseUnits kDefaultUnits = {8, 16};
const WYN_STATIC_DESC units_desc = {sizeof(BaseUnits), &kDefaultUnits, nullptr, nullptr};

// Coordinates are 16-bit; wider results are clamped rather than wrapped to the other side.
int16_t clamp16(long v) {
    return static_cast<int16_t>(std::clamp<long>(v, INT16_MIN, INT16_MAX));
}

// value * scale / divisor rounded to nearest, halves away from zero, so that negative
// coordinates round like positive ones.
int16_t scaled(int16_t value, int scale, int divisor) {
    if (value == WYN_COORD_DEFAULT) return value;
    long product = static_cast<long>(value) * scale;
    long half = divisor / 2;
    return clamp16(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

} // namespace

void portable_set_dialog_base_units(int width, int height) {
    if (auto* units = static_cast<BaseUnits*>(wynk_static_get_ptr(&units_desc)))
        *units = BaseUnits{width, height};
}

RCT* wynv_rect_set(RCT* r, int left, int top, int right, int bottom) {
    if (!r) return nullptr;
    *r = RCT{clamp16(top), clamp16(left), clamp16(bottom), clamp16(right)};
    return r;
}

RCT* wynv_rect_set_empty(RCT* r) {
    if (r) *r = RCT{0, 0, 0, 0};
    return r;
}

BOOLEAN wynv_rect_is_empty(const RCT* r) {
    return !r || r->right <= r->left || r->bottom <= r->top ? TRUE : FALSE;
}

int wynv_rect_get_width(const RCT* r) {
    return r ? r->right - r->left : 0;
}
int wynv_rect_get_height(const RCT* r) {
    return r ? r->bottom - r->top : 0;
}

RCT* wynv_rect_set_width(RCT* r, int width) {
    if (r) r->right = clamp16(static_cast<long>(r->left) + width);
    return r;
}

RCT* wynv_rect_set_height(RCT* r, int height) {
    if (r) r->bottom = clamp16(static_cast<long>(r->top) + height);
    return r;
}

PNT* wynv_rect_get_pos(const RCT* r, PNT* pos) {
    if (!r || !pos) return nullptr;
    *pos = PNT{r->top, r->left};
    return pos;
}

RCT* wynv_rect_set_pos(RCT* r, const PNT* pos) {
    if (!r || !pos) return r;
    return wynv_rect_offset(r, pos->h - r->left, pos->v - r->top);
}

RCT* wynv_rect_offset(RCT* r, int dh, int dv) {
    if (!r) return nullptr;
    *r = RCT{clamp16(static_cast<long>(r->top) + dv), clamp16(static_cast<long>(r->left) + dh),
             clamp16(static_cast<long>(r->bottom) + dv), clamp16(static_cast<long>(r->right) + dh)};
    return r;
}

BOOLEAN wynv_rect_intersect(RCT* result, const RCT* a, const RCT* b) {
    if (!result || !a || !b) return FALSE;
    RCT common{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
               std::min(a->right, b->right)};
    // Intersecting with an empty or inverted rectangle yields nothing, never a repaired one.
    if (wynv_rect_is_empty(a) || wynv_rect_is_empty(b) || wynv_rect_is_empty(&common)) {
        wynv_rect_set_empty(result);
        return FALSE;
    }
    *result = common;
    return TRUE;
}

BOOLEAN wynv_rect_has_point(const RCT* r, const PNT* p) {
    if (!r || !p) return FALSE;
    return p->h >= r->left && p->h < r->right && p->v >= r->top && p->v < r->bottom ? TRUE : FALSE;
}

RCT* wynv_rect_repair(RCT* r) {
    if (!r) return nullptr;
    if (r->left > r->right) std::swap(r->left, r->right);
    if (r->top > r->bottom) std::swap(r->top, r->bottom);
    return r;
}

BOOLEAN wynk_rect_to_pixels(RCT* r, int units) {
    if (!r) return FALSE;
    if (units == WYN_UNITS_PIXELS) return TRUE;
    if (units != WYN_UNITS_CHARS && units != WYN_UNITS_DIALOG) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    auto* base = static_cast<BaseUnits*>(wynk_static_get_ptr(&units_desc));
    BaseUnits u = base ? *base : kDefaultUnits;
    int hdiv = units == WYN_UNITS_DIALOG ? 4 : 1;
    int vdiv = units == WYN_UNITS_DIALOG ? 8 : 1;
    *r = RCT{scaled(r->top, u.height, vdiv), scaled(r->left, u.width, hdiv),
             scaled(r->bottom, u.height, vdiv), scaled(r->right, u.width, hdiv)};
    return TRUE;
}

// The saved rectangles and units of a definition array, entry by entry.
struct wyn_windef_rects {
    size_t count;
    struct Saved {
        RCT rct;
        int32_t units;
    } entries[1];
};

WINDEF_RECTS wynv_rect_repair_windef(WIN_DEF* def) {
    if (!def) return nullptr;
    size_t count = 0;
    while (def[count].type != WT_NONE) ++count;
    size_t size = sizeof(wyn_windef_rects) + count * sizeof(wyn_windef_rects::Saved);
    auto saved = static_cast<WINDEF_RECTS>(wynv_mem_alloc(size));
    if (!saved) return nullptr;
    // Counted as entries are saved, so a failure part-way restores exactly those.
    saved->count = 0;
    for (size_t i = 0; i < count; ++i) {
        saved->entries[i] = {def[i].rct, def[i].units};
        saved->count = i + 1;
        if (!wynk_rect_to_pixels(&def[i].rct, def[i].units)) {
            wynv_rect_restore(def, saved);
            return nullptr;
        }
        def[i].units = WU_PIXELS;
    }
    return saved;
}

void wynv_rect_restore(WIN_DEF* def, WINDEF_RECTS saved) {
    if (def && saved)
        for (size_t i = 0; i < saved->count; ++i) {
            def[i].rct = saved->entries[i].rct;
            def[i].units = saved->entries[i].units;
        }
    wynv_mem_free(saved);
}
