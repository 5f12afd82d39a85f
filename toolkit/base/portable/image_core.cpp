// Images in memory: creation, the colour table, pixels, rows, fills and scaled copies.
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "portable/image_internal.h"
#include "portable/report_hook.h"
#include <wyn/mem.h>
#include <wyn/static.h>

namespace {

constexpr char kReportUnit[] = "vimage";
constexpr unsigned kRowAlignment = 4;

using Registry = std::unordered_set<const void*>;

void make_registry(void* block) {
    *static_cast<Registry**>(block) = new Registry;
}
void drop_registry(void* block) {
    delete *static_cast<Registry**>(block);
}

const WYN_STATIC_DESC registry_desc = {sizeof(Registry*), nullptr, make_registry, drop_registry};

Registry* registry() {
    auto** slot = static_cast<Registry**>(wynk_static_get_ptr(&registry_desc));
    return slot ? *slot : nullptr;
}

// A live image, or a report of why not.
bool usable(IMAGE image) {
    if (!image) {
        image_report(IMAGE_NULL_IMAGE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return false;
    }
    if (!image_registry_has(image)) {
        image_report(IMAGE_INVALID_IMAGE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return false;
    }
    return true;
}

bool indexed(const wyn_image* image) {
    return image->format != WYN_IMAGE_DIRECT;
}

int clut_capacity(const wyn_image* image) {
    return image->format == WYN_IMAGE_MONO ? 2 : image->format == WYN_IMAGE_INDEXED ? 256 : 0;
}

bool inside(const wyn_image* image, int x, int y) {
    return x >= 0 && y >= 0 && x < image->width && y < image->height;
}

uint8_t* row_of(const wyn_image* image, int y) {
    return image->pixels + static_cast<size_t>(y) * image->stride;
}

// The stored value of a pixel: a table index, or 0xRRGGBB in format 2.
uint32_t raw_pixel(const wyn_image* image, int x, int y) {
    const uint8_t* row = row_of(image, y);
    switch (image->format) {
    case WYN_IMAGE_INDEXED:
        return row[x];
    case WYN_IMAGE_MONO:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    default: {
        const uint8_t* p = row + static_cast<size_t>(x) * 4;
        return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    }
    }
}

void set_raw_pixel(wyn_image* image, int x, int y, uint32_t value) {
    uint8_t* row = row_of(image, y);
    switch (image->format) {
    case WYN_IMAGE_INDEXED:
        row[x] = static_cast<uint8_t>(value);
        break;
    case WYN_IMAGE_MONO: {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = value ? row[x >> 3] | bit : row[x >> 3] & ~bit;
        break;
    }
    default: {
        uint8_t* p = row + static_cast<size_t>(x) * 4;
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
        p[3] = 0;
    }
    }
}

COLOR color_of(const wyn_image* image, uint32_t raw) {
    return indexed(image) ? image->clut[raw] : raw;
}

// The value to store for a colour.
uint32_t value_for(wyn_image* image, COLOR color) {
    return indexed(image) ? static_cast<uint32_t>(image_index_for(image, color))
                          : color & 0xFFFFFFu;
}

// A table entry of a live indexed image, or a report of why not.
bool clut_entry(IMAGE image, int index) {
    if (!usable(image)) return false;
    if (indexed(image) && index >= 0 && index < WYN_IMAGE_CLUT_SIZE) return true;
    image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
    return false;
}

// The part of rect (null: all) inside the image, as half-open bounds; false when empty.
bool clip(const wyn_image* image, const RCT* rect, int& left, int& top, int& right, int& bottom) {
    left = rect ? std::max<int>(rect->left, 0) : 0;
    top = rect ? std::max<int>(rect->top, 0) : 0;
    right = rect ? std::min<int>(rect->right, image->width) : image->width;
    bottom = rect ? std::min<int>(rect->bottom, image->height) : image->height;
    return left < right && top < bottom;
}

} // namespace

void image_registry_add(const void* object) {
    if (Registry* live = registry()) live->insert(object);
}

void image_registry_remove(const void* object) {
    if (Registry* live = registry()) live->erase(object);
}

bool image_registry_has(const void* object) {
    Registry* live = registry();
    return object && live && live->count(object) != 0;
}

void image_report(uint32_t id, int severity, const char* unit, int line) {
    portable_report(id, severity, unit, line);
}

unsigned image_stride_for(int32_t format, int width) {
    size_t bytes;
    switch (format) {
    case WYN_IMAGE_INDEXED:
        bytes = static_cast<size_t>(width);
        break;
    case WYN_IMAGE_DIRECT:
        bytes = static_cast<size_t>(width) * 4;
        break;
    case WYN_IMAGE_MONO:
        bytes = static_cast<size_t>(width - 1) / 8 + 1;
        break;
    default:
        return 0;
    }
    const size_t stride = (bytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    return stride <= 0xFFFF ? static_cast<unsigned>(stride) : 0;
}

IMAGE image_create(int32_t format, int width, int height, bool report_size) {
    if (format < WYN_IMAGE_INDEXED || format > WYN_IMAGE_MONO) {
        image_report(IMAGE_BAD_FORMAT, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    const unsigned stride =
        width >= 1 && width <= WYN_IMAGE_MAX_SIDE && height >= 1 && height <= WYN_IMAGE_MAX_SIDE
            ? image_stride_for(format, width)
            : 0;
    if (stride == 0) {
        if (report_size) image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    auto* image = static_cast<wyn_image*>(wynv_mem_zalloc(sizeof(wyn_image)));
    if (!image) return nullptr;
    image->pixels = static_cast<uint8_t*>(wynv_mem_zalloc(size_t{stride} * height));
    if (!image->pixels) {
        wynv_mem_free(image);
        return nullptr;
    }
    image->format = format;
    image->width = static_cast<int16_t>(width);
    image->height = static_cast<int16_t>(height);
    image->stride = static_cast<uint16_t>(stride);
    if (format != WYN_IMAGE_DIRECT) {
        std::fill(std::begin(image->clut), std::end(image->clut), WYN_IMAGE_CLUT_UNSET);
        image->clut[0] = 0;
        image->clut[1] = 0xFFFFFF;
        image->ncolors = 2;
    }
    image_registry_add(image);
    return image;
}

uint32_t image_color_distance2(COLOR a, COLOR b) {
    const int dr = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
    const int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
    const int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

int image_index_for(IMAGE image, COLOR color) {
    const COLOR rgb = color & 0xFFFFFFu;
    const int used = std::min<int>(image->ncolors, clut_capacity(image));
    int nearest = 0;
    uint32_t best = UINT32_MAX;
    for (int i = 0; i < used; ++i) {
        if (image->clut[i] == WYN_IMAGE_CLUT_UNSET) continue;
        const uint32_t d = image_color_distance2(image->clut[i], rgb);
        if (d == 0 && (image->clut[i] & 0xFFFFFFu) == rgb) return i;
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    if (used < clut_capacity(image)) {
        image->clut[used] = rgb;
        image->ncolors = static_cast<uint16_t>(used + 1);
        return used;
    }
    return nearest;
}

IMAGE wynv_image_create(int32_t format, int width, int height) {
    return image_create(format, width, height, true);
}

void wynv_image_destroy(IMAGE image) {
    if (!image) return;
    if (!usable(image)) return;
    image_registry_remove(image);
    wynv_mem_free(image->pixels);
    wynv_mem_free(image);
}

BOOLEAN wynv_image_is_valid(IMAGE image) {
    return image_registry_has(image) ? TRUE : FALSE;
}

BOOLEAN wynv_image_is_valid_pos(IMAGE image, int x, int y) {
    return image_registry_has(image) && inside(image, x, y) ? TRUE : FALSE;
}

int32_t wynv_image_get_format(IMAGE image) {
    return usable(image) ? image->format : 0;
}

BOOLEAN wynv_image_get_dimensions(IMAGE image, int16_t* width, int16_t* height) {
    if (!usable(image)) return FALSE;
    if (width) *width = image->width;
    if (height) *height = image->height;
    return TRUE;
}

int wynv_image_get_stride(IMAGE image) {
    return usable(image) ? image->stride : 0;
}

BOOLEAN wynv_image_get_resolution(IMAGE image, int32_t* horz, int32_t* vert) {
    if (!usable(image)) return FALSE;
    if (horz) *horz = image->horz_res;
    if (vert) *vert = image->vert_res;
    return TRUE;
}

BOOLEAN wynv_image_set_resolution(IMAGE image, int32_t horz, int32_t vert) {
    if (!usable(image)) return FALSE;
    if (horz < 0 || vert < 0) {
        image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    image->horz_res = horz;
    image->vert_res = vert;
    return TRUE;
}

int wynv_image_get_ncolors(IMAGE image) {
    return usable(image) ? image->ncolors : 0;
}

BOOLEAN wynv_image_set_ncolors(IMAGE image, int ncolors) {
    if (!usable(image)) return FALSE;
    if (ncolors < 0 || ncolors > clut_capacity(image)) {
        image_report(IMAGE_TOO_MANY_COLORS, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    image->ncolors = static_cast<uint16_t>(ncolors);
    return TRUE;
}

COLOR wynv_image_get_clut(IMAGE image, int index) {
    return clut_entry(image, index) ? image->clut[index] : WYN_IMAGE_CLUT_UNSET;
}

BOOLEAN wynv_image_set_clut(IMAGE image, int index, COLOR color) {
    if (!clut_entry(image, index)) return FALSE;
    image->clut[index] = color == WYN_IMAGE_CLUT_UNSET ? color : color & 0xFFFFFFu;
    return TRUE;
}

COLOR wynv_image_get_pixel(IMAGE image, int x, int y) {
    if (!usable(image)) return 0;
    if (!inside(image, x, y)) {
        image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return 0;
    }
    return color_of(image, raw_pixel(image, x, y));
}

BOOLEAN wynv_image_set_pixel(IMAGE image, int x, int y, COLOR color) {
    if (!usable(image)) return FALSE;
    if (!inside(image, x, y)) {
        image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    set_raw_pixel(image, x, y, value_for(image, color));
    return TRUE;
}

uint8_t* wynv_image_get_scanline(IMAGE image, int row) {
    if (!usable(image)) return nullptr;
    if (row < 0 || row >= image->height) {
        image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    return row_of(image, row);
}

BOOLEAN wynv_image_fill_rect(IMAGE image, const RCT* rect, COLOR color) {
    if (!usable(image)) return FALSE;
    int left, top, right, bottom;
    if (!clip(image, rect, left, top, right, bottom)) return TRUE;
    const uint32_t value = value_for(image, color);
    for (int y = top; y < bottom; ++y) {
        if (image->format == WYN_IMAGE_INDEXED) {
            std::memset(row_of(image, y) + left, static_cast<int>(value), right - left);
            continue;
        }
        for (int x = left; x < right; ++x) set_raw_pixel(image, x, y, value);
    }
    return TRUE;
}

BOOLEAN wynv_image_transfer(IMAGE dst, IMAGE src, const RCT* dst_rect, const RCT* src_rect) {
    if (!usable(dst) || !usable(src)) return FALSE;
    const RCT whole_dst = {0, 0, dst->height, dst->width};
    const RCT whole_src = {0, 0, src->height, src->width};
    const RCT d = dst_rect ? *dst_rect : whole_dst;
    const RCT s = src_rect ? *src_rect : whole_src;
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        image_report(IMAGE_BAD_VALUE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    // Between indexed images the colour of each source index is placed once, not per pixel.
    uint32_t index_map[WYN_IMAGE_CLUT_SIZE];
    const bool mapped = indexed(src) && indexed(dst);
    if (mapped) {
        for (int i = 0; i < clut_capacity(src); ++i)
            index_map[i] = src->clut[i] == WYN_IMAGE_CLUT_UNSET ? 0 : value_for(dst, src->clut[i]);
    }
    int left, top, right, bottom;
    if (!clip(dst, &d, left, top, right, bottom)) return TRUE;
    for (int y = top; y < bottom; ++y) {
        const int sy = s.top + static_cast<int>(int64_t{y - d.top} * sh / dh);
        if (sy < 0 || sy >= src->height) continue;
        for (int x = left; x < right; ++x) {
            const int sx = s.left + static_cast<int>(int64_t{x - d.left} * sw / dw);
            if (sx < 0 || sx >= src->width) continue;
            const uint32_t raw = raw_pixel(src, sx, sy);
            set_raw_pixel(dst, x, y, mapped ? index_map[raw] : value_for(dst, color_of(src, raw)));
        }
    }
    return TRUE;
}
