// What the image readers' fuzz targets share: quiet reports, and the checks every image that
// a reader accepts must pass.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "portable/report_hook.h"
#include "toolkit/base/image_support.h"

namespace image_fuzz {

inline void check(bool ok) {
    if (!ok) std::abort();
}

// Reports and debug lines go nowhere: a damaged file is the expected case here.
inline void quiet() {
    static const bool once = [] {
        portable_set_report_sink([](uint32_t, int, const char*, int) {});
        portable_set_debug_sink([](const char*) {});
        return true;
    }();
    (void)once;
}

// Reads data with reader; an image it accepts is whole, every pixel readable, and what the
// bitmap writer makes of it reads back with the same colours.
inline void run(IMAGE (*reader)(IOSTR), const uint8_t* data, size_t size) {
    quiet();
    MemoryReader in(data, size);
    ImageGuard image(reader(in.stream()));
    if (!image.image) return;
    int16_t width = 0, height = 0;
    check(wynv_image_get_dimensions(image.image, &width, &height) && width > 0 && height > 0);
    const int32_t format = wynv_image_get_format(image.image);
    const int ncolors = wynv_image_get_ncolors(image.image);
    check(ncolors >= 0 && ncolors <= (format == WYN_IMAGE_MONO ? 2 : 256));
    // Large images are checked at their corners and along a diagonal only.
    const bool small = int{width} * height <= 4096;
    const auto same = [](COLOR read, COLOR made) {
        // An unset table entry is written as black.
        return read == made || (made == WYN_IMAGE_CLUT_UNSET && read == 0);
    };
    const std::string file = bmp_bytes(image.image);
    ImageGuard back(wynv_image_read_bmp(MemoryReader(file).stream()));
    check(back.image != nullptr);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!small && x != y * width / height && x != 0 && x != width - 1) continue;
            check(same(wynv_image_get_pixel(back.image, x, y),
                       wynv_image_get_pixel(image.image, x, y)));
        }
    }
}

} // namespace image_fuzz
