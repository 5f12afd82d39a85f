// Windows bitmap files: the reader of the 40- and 12-byte header forms at 1, 4, 8, 24 and 32
// bits, and the writer.
#include <algorithm>
#include <cstring>

#include "portable/image_internal.h"
#include "portable/report_hook.h"

namespace {

constexpr char kReportUnit[] = "vbmp";
constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kCoreHeader = 12;

uint16_t u16(std::span<const uint8_t> d, size_t at) {
    return static_cast<uint16_t>(d[at] | d[at + 1] << 8);
}
uint32_t u32(std::span<const uint8_t> d, size_t at) {
    return uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 | uint32_t{d[at + 2]} << 16 |
           uint32_t{d[at + 3]} << 24;
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v);
    put16(out, v >> 16);
}

// Pixels per metre to dots per inch and back, rounded.
int32_t dpi_of(uint32_t per_metre) {
    if (per_metre > 0x7FFFFFFFu) return 0;
    return static_cast<int32_t>((uint64_t{per_metre} * 254 + 5000) / 10000);
}
uint32_t per_metre_of(int32_t dpi) {
    return static_cast<uint32_t>((int64_t{dpi} * 10000 + 127) / 254);
}

struct Header {
    uint32_t info_size;
    int width;
    int height;
    bool top_down;
    unsigned depth;
    unsigned colors;      // entries in the table
    unsigned entry_bytes; // 4 in the 40-byte form, 3 in the 12-byte form
    uint32_t pixel_offset;
    uint32_t horz_ppm;
    uint32_t vert_ppm;
};

IMAGE fail(int line) {
    image_report(IMAGE_PARSE_FAILURE, PORTABLE_ERROR, kReportUnit, line);
    return nullptr;
}

bool read_header(std::span<const uint8_t> d, Header& h) {
    if (d.size() < kFileHeader + kCoreHeader) return false;
    h.pixel_offset = u32(d, 10);
    h.info_size = u32(d, kFileHeader);
    unsigned planes;
    if (h.info_size == kInfoHeader) {
        if (d.size() < kFileHeader + kInfoHeader) return false;
        const auto w = static_cast<int32_t>(u32(d, 18));
        const auto hh = static_cast<int32_t>(u32(d, 22));
        planes = u16(d, 26);
        h.depth = u16(d, 28);
        // Only uncompressed rows are read.
        if (u32(d, 30) != 0) return false;
        h.horz_ppm = u32(d, 38);
        h.vert_ppm = u32(d, 42);
        const uint32_t used = u32(d, 46);
        if (w <= 0 || hh == 0 || hh == INT32_MIN) return false;
        h.width = w > WYN_IMAGE_MAX_SIDE ? WYN_IMAGE_MAX_SIDE + 1 : w;
        h.top_down = hh < 0;
        const int32_t rows = hh < 0 ? -hh : hh;
        h.height = rows > WYN_IMAGE_MAX_SIDE ? WYN_IMAGE_MAX_SIDE + 1 : rows;
        h.colors = used > 256 ? 256 : used;
        h.entry_bytes = 4;
    } else if (h.info_size == kCoreHeader) {
        h.width = u16(d, 18);
        h.height = u16(d, 20);
        planes = u16(d, 22);
        h.depth = u16(d, 24);
        h.top_down = false;
        h.horz_ppm = h.vert_ppm = 0;
        h.colors = 0;
        h.entry_bytes = 3;
        if (h.width == 0 || h.height == 0) return false;
    } else {
        return false;
    }
    if (planes != 1) return false;
    if (h.depth != 1 && h.depth != 4 && h.depth != 8 && h.depth != 24 && h.depth != 32)
        return false;
    if (h.depth <= 8 && h.colors == 0) h.colors = 1u << h.depth;
    if (h.depth > 8) h.colors = 0;
    return true;
}

// Converts one file row into the image's row.
void convert_row(const uint8_t* in, uint8_t* out, const Header& h) {
    switch (h.depth) {
    case 1:
        std::memcpy(out, in, (static_cast<size_t>(h.width) + 7) / 8);
        break;
    case 4:
        for (int x = 0; x < h.width; ++x) out[x] = (x & 1) ? in[x / 2] & 0x0F : in[x / 2] >> 4;
        break;
    case 8:
        std::memcpy(out, in, static_cast<size_t>(h.width));
        break;
    default: {
        const unsigned step = h.depth / 8;
        for (int x = 0; x < h.width; ++x, in += step, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
        }
    }
    }
}

} // namespace

bool bmp_detect(std::span<const uint8_t> data) {
    if (data.size() < kFileHeader + 4 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t info = u32(data, kFileHeader);
    return info == kInfoHeader || info == kCoreHeader;
}

IMAGE bmp_parse(std::span<const uint8_t> d) {
    Header h{};
    if (!bmp_detect(d) || !read_header(d, h)) return fail(__LINE__);
    if (h.width > WYN_IMAGE_MAX_SIDE || h.height > WYN_IMAGE_MAX_SIDE) return fail(__LINE__);
    const size_t row_bytes = (static_cast<size_t>(h.width) * h.depth + 31) / 32 * 4;
    const size_t table_at = kFileHeader + h.info_size;
    const size_t table_bytes = size_t{h.colors} * h.entry_bytes;
    // Every byte the header promises must be in the file before anything is allocated.
    if (table_at + table_bytes > d.size()) return fail(__LINE__);
    if (h.pixel_offset < table_at || h.pixel_offset > d.size() ||
        (d.size() - h.pixel_offset) / row_bytes < static_cast<size_t>(h.height))
        return fail(__LINE__);
    const int32_t format = h.depth == 1   ? WYN_IMAGE_MONO
                           : h.depth <= 8 ? WYN_IMAGE_INDEXED
                                          : WYN_IMAGE_DIRECT;
    IMAGE image = image_create(format, h.width, h.height, false);
    if (!image) return fail(__LINE__);
    if (format == WYN_IMAGE_MONO && h.colors > 2) h.colors = 2;
    for (unsigned i = 0; i < h.colors; ++i) {
        const uint8_t* e = d.data() + table_at + size_t{i} * h.entry_bytes;
        image->clut[i] = COLOR{e[2]} << 16 | COLOR{e[1]} << 8 | e[0];
    }
    if (format != WYN_IMAGE_DIRECT) image->ncolors = static_cast<uint16_t>(h.colors);
    image->horz_res = dpi_of(h.horz_ppm);
    image->vert_res = dpi_of(h.vert_ppm);
    for (int y = 0; y < h.height; ++y) {
        const int file_row = h.top_down ? y : h.height - 1 - y;
        convert_row(d.data() + h.pixel_offset + static_cast<size_t>(file_row) * row_bytes,
                    wynv_image_get_scanline(image, y), h);
    }
    return image;
}

std::vector<uint8_t> bmp_encode(IMAGE image) {
    const unsigned depth = image->format == WYN_IMAGE_MONO      ? 1
                           : image->format == WYN_IMAGE_INDEXED ? 8
                                                                : 24;
    const int width = image->width, height = image->height;
    const size_t row_bytes = (static_cast<size_t>(width) * depth + 31) / 32 * 4;
    const unsigned colors = depth == 24 ? 0 : image->ncolors;
    // A table of no colours would tell readers "all of them"; write those the depth can address.
    const unsigned written = depth == 24 ? 0 : colors ? colors : 1u << depth;
    const uint32_t offset = static_cast<uint32_t>(kFileHeader + kInfoHeader + written * 4);
    const size_t total = offset + row_bytes * height;

    std::vector<uint8_t> out;
    out.reserve(total);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(total));
    put32(out, 0);
    put32(out, offset);
    put32(out, kInfoHeader);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, depth);
    put32(out, 0);
    put32(out, static_cast<uint32_t>(row_bytes * height));
    put32(out, per_metre_of(image->horz_res));
    put32(out, per_metre_of(image->vert_res));
    put32(out, colors);
    put32(out, 0);
    for (unsigned i = 0; i < written; ++i) {
        const COLOR c = image->clut[i] == WYN_IMAGE_CLUT_UNSET ? 0 : image->clut[i];
        put32(out, c & 0xFFFFFFu);
    }
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = image->pixels + static_cast<size_t>(y) * image->stride;
        const size_t start = out.size();
        if (depth == 24) {
            for (int x = 0; x < width; ++x) out.insert(out.end(), row + x * 4, row + x * 4 + 3);
        } else {
            out.insert(out.end(), row, row + std::min<size_t>(row_bytes, image->stride));
        }
        out.resize(start + row_bytes, 0);
    }
    return out;
}
