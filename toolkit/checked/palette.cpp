// Checked palette calls: every function that takes a palette refuses a null or dead one, and an
// image or window argument is checked as its own family is.
#include <wyn/checked/palette.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr char kPalet[] = "tpalet";

constexpr WYN_MSG_ID kNullPalette = 0x1210004;
constexpr WYN_MSG_ID kInvalidPalette = 0x1220004;

// A live palette, or the report of a null or dead one.
bool palette(const Call& c, PALETTE p, Where where = Where::current()) {
    if (!p) return c.fail(kNullPalette, where);
    return wynv_palet_is_valid(p) || c.fail(kInvalidPalette, where);
}

} // namespace

// clang-format off
MARKED(kPalet, wyn_palet_create, (int32_t type, int size), wynv_palet_create, (type, size))
CHECKED(kPalet, wyn_palet_destroy, (PALETTE p),
        palette(c, p), void(), wynv_palet_destroy, (p))
MARKED(kPalet, wyn_palet_is_valid, (PALETTE p), wynv_palet_is_valid, (p))
MARKED(kPalet, wyn_palet_default, (), wynv_palet_default, ())
CHECKED(kPalet, wyn_palet_get_type, (PALETTE p),
        palette(c, p), -1, wynv_palet_get_type, (p))
CHECKED(kPalet, wyn_palet_get_size, (PALETTE p),
        palette(c, p), -1, wynv_palet_get_size, (p))
CHECKED(kPalet, wyn_palet_get_ncolors, (PALETTE p),
        palette(c, p), -1, wynv_palet_get_ncolors, (p))
CHECKED(kPalet, wyn_palet_get_tolerance, (PALETTE p),
        palette(c, p), -1, wynv_palet_get_tolerance, (p))
CHECKED(kPalet, wyn_palet_set_tolerance, (PALETTE p, int tolerance),
        palette(c, p) && c.at_least(tolerance, 0), FALSE, wynv_palet_set_tolerance, (p, tolerance))
CHECKED(kPalet, wyn_palet_get_colors, (PALETTE p, COLOR* colors, int max),
        palette(c, p) && c.given(colors) && c.at_least(max, 0),
        -1, wynv_palet_get_colors, (p, colors, max))
CHECKED(kPalet, wyn_palet_add_colors, (PALETTE p, const COLOR* colors, int count),
        palette(c, p) && c.given(colors) && c.at_least(count, 0),
        -1, wynv_palet_add_colors, (p, colors, count))
CHECKED(kPalet, wyn_palet_add_colors_from_image, (PALETTE p, IMAGE i),
        palette(c, p) && c.image(i), -1, wynv_palet_add_colors_from_image, (p, i))
CHECKED(kPalet, wyn_palet_map_win, (PALETTE p, WINDOW win),
        palette(c, p) && c.window(win, kObjectTypes), FALSE, wynv_palet_map_win, (p, win))
CHECKED(kVobj, wyn_vobj_get_palet, (WINDOW win),
        c.window(win, kAnyType), nullptr, wynv_vobj_get_palet, (win))
CHECKED(kVobj, wyn_vobj_set_palet, (WINDOW win, PALETTE p),
        c.outside_update() && c.window(win, kAnyType) && palette(c, p),
        void(), wynv_vobj_set_palet, (win, p))
// clang-format on
