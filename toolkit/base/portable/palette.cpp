// Colour palettes: the colours held, their capacity and the tolerance within which a colour
// counts as held, and the library's default palette.
#include <algorithm>

#include "portable/core_state.h"
#include "portable/image_internal.h"
#include "portable/report_hook.h"
#include <wyn/errmsg.h>
#include <wyn/mem.h>
#include <wyn/palette.h>
#include <wyn/static.h>

struct wyn_palette {
    int32_t type;
    int size;
    int ncolors;
    int tolerance;
    COLOR colors[WYN_PALET_MAX_SIZE];
};

namespace {

constexpr char kReportUnit[] = "vpalet";

// The twenty colours a display keeps for itself whatever the applications ask for.
constexpr COLOR kSystemColors[] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0xC0DCC0, 0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000,
    0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

void make_default(void* block) {
    auto* p = static_cast<wyn_palette*>(block);
    p->type = WYN_PALET_SYSTEM;
    p->size = static_cast<int>(std::size(kSystemColors));
    p->ncolors = p->size;
    std::copy(std::begin(kSystemColors), std::end(kSystemColors), p->colors);
}

const WYN_STATIC_DESC default_desc = {sizeof(wyn_palette), nullptr, make_default, nullptr};

// The default palette lives in the process's static data, not in the registry of live objects.
bool live(PALETTE palette) {
    return palette && (image_registry_has(palette) || palette == wynv_palet_default());
}

bool usable(PALETTE palette) {
    if (!palette) {
        image_report(IMAGE_NULL_PALETTE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return false;
    }
    if (!live(palette)) {
        image_report(IMAGE_INVALID_PALETTE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return false;
    }
    return true;
}

// Adds one colour unless the nearest colour held is within the tolerance.
bool add_one(PALETTE palette, COLOR color) {
    const COLOR rgb = color & 0xFFFFFFu;
    const uint64_t limit = uint64_t(palette->tolerance) * uint64_t(palette->tolerance);
    uint32_t nearest = UINT32_MAX;
    for (int i = 0; i < palette->ncolors && nearest > limit; ++i)
        nearest = std::min(nearest, image_color_distance2(palette->colors[i], rgb));
    if (palette->ncolors > 0 && nearest <= limit) return false;
    palette->colors[palette->ncolors++] = rgb;
    return true;
}

bool fixed(PALETTE palette) {
    if (palette->type != WYN_PALET_SYSTEM) return false;
    image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
    return true;
}

} // namespace

PALETTE wynv_palet_create(int32_t type, int size) {
    if (type != WYN_PALET_NORMAL || size < 1 || size > WYN_PALET_MAX_SIZE) {
        image_report(IMAGE_PALETTE_FAILED, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    // The default palette is made first: made later, it could take the block of a palette just
    // destroyed and so bring that stale handle back to life.
    if (!wynv_palet_default()) return nullptr;
    auto* palette = static_cast<wyn_palette*>(wynv_mem_zalloc(sizeof(wyn_palette)));
    if (!palette) return nullptr;
    palette->type = type;
    palette->size = size;
    image_registry_add(palette);
    return palette;
}

void wynv_palet_destroy(PALETTE palette) {
    if (!palette || !usable(palette) || palette->type == WYN_PALET_SYSTEM) return;
    image_registry_remove(palette);
    wynv_mem_free(palette);
}

BOOLEAN wynv_palet_is_valid(PALETTE palette) {
    return live(palette) ? TRUE : FALSE;
}

PALETTE wynv_palet_default(void) {
    return static_cast<PALETTE>(wynk_static_get_ptr(&default_desc));
}

int32_t wynv_palet_get_type(PALETTE palette) {
    return usable(palette) ? palette->type : -1;
}

int wynv_palet_get_size(PALETTE palette) {
    return usable(palette) ? palette->size : -1;
}

int wynv_palet_get_ncolors(PALETTE palette) {
    return usable(palette) ? palette->ncolors : -1;
}

int wynv_palet_get_colors(PALETTE palette, COLOR* colors, int max) {
    if (!usable(palette)) return -1;
    if (!colors || max < 0) {
        image_report(colors ? IMAGE_BAD_VALUE : IMAGE_NULL_POINTER, PORTABLE_ERROR, kReportUnit,
                     __LINE__);
        return -1;
    }
    const int n = std::min(max, palette->ncolors);
    std::copy(palette->colors, palette->colors + n, colors);
    return n;
}

int wynv_palet_add_colors(PALETTE palette, const COLOR* colors, int count) {
    if (!usable(palette) || fixed(palette)) return -1;
    if (!colors || count < 0) {
        image_report(colors ? IMAGE_BAD_VALUE : IMAGE_NULL_POINTER, PORTABLE_ERROR, kReportUnit,
                     __LINE__);
        return -1;
    }
    // There is no native palette to update on a true-colour display: the record is the palette.
    int added = 0;
    for (int i = 0; i < count && palette->ncolors < palette->size; ++i)
        added += add_one(palette, colors[i]) ? 1 : 0;
    return added;
}

int wynv_palet_add_colors_from_image(PALETTE palette, IMAGE image) {
    if (!usable(palette) || fixed(palette)) return -1;
    if (!wynv_image_is_valid(image)) {
        image_report(image ? IMAGE_INVALID_IMAGE : IMAGE_NULL_IMAGE, PORTABLE_ERROR, kReportUnit,
                     __LINE__);
        return -1;
    }
    int added = 0;
    if (image->format != WYN_IMAGE_DIRECT) {
        for (int i = 0; i < image->ncolors && palette->ncolors < palette->size; ++i)
            if (image->clut[i] != WYN_IMAGE_CLUT_UNSET) added += add_one(palette, image->clut[i]);
        return added;
    }
    for (int y = 0; y < image->height && palette->ncolors < palette->size; ++y) {
        for (int x = 0; x < image->width && palette->ncolors < palette->size; ++x)
            added += add_one(palette, wynv_image_get_pixel(image, x, y)) ? 1 : 0;
    }
    return added;
}

int wynv_palet_get_tolerance(PALETTE palette) {
    return usable(palette) ? palette->tolerance : -1;
}

BOOLEAN wynv_palet_set_tolerance(PALETTE palette, int tolerance) {
    if (!usable(palette)) return FALSE;
    if (tolerance < 0) {
        image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    palette->tolerance = tolerance;
    return TRUE;
}

namespace {

bool window_alive(WINDOW win) {
    if (core_win_alive(win)) return true;
    image_report(win ? WYN_MSG_INVALID_WINDOW : WYN_MSG_NULL_WINDOW, PORTABLE_ERROR, kReportUnit,
                 __LINE__);
    return false;
}

} // namespace

BOOLEAN wynv_palet_map_win(PALETTE palette, WINDOW win) {
    // The display shows every colour as it is: realising a palette changes nothing on it.
    return usable(palette) && window_alive(win) ? TRUE : FALSE;
}

PALETTE wynv_vobj_get_palet(WINDOW win) {
    if (!window_alive(win)) return nullptr;
    for (WINDOW w = win; w && core_win_alive(w); w = w->parent)
        if (w->palette && wynv_palet_is_valid(w->palette)) return w->palette;
    return wynv_palet_default();
}

void wynv_vobj_set_palet(WINDOW win, PALETTE palette) {
    if (!window_alive(win) || (palette && !usable(palette))) return;
    win->palette = palette;
}
