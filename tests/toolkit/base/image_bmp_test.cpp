// Windows bitmap files: what the writer makes reads back, the header forms and depths a reader
// meets, and damaged files refused without reading past their end.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "image_support.h"
#include "portable_reports.h"

namespace {

namespace fs = std::filesystem;

IMAGE read_bytes(const std::string& bytes) {
    MemoryReader in(bytes);
    return wynv_image_read_bmp(in.stream());
}

void put16(std::string& s, size_t at, uint16_t v) {
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}
void put32(std::string& s, size_t at, uint32_t v) {
    put16(s, at, static_cast<uint16_t>(v));
    put16(s, at + 2, static_cast<uint16_t>(v >> 16));
}

TEST(ImageBmp, EveryFormatReadsBackAsWritten) {
    const COLOR colours[] = {0x102030, 0xFF0000, 0x00FF00, 0xFFFFFF, 0x000000, 0x8080FF};
    const char* names[] = {"", "indexed.bmp", "direct.bmp", "mono.bmp"};
    for (int32_t format : {WYN_IMAGE_INDEXED, WYN_IMAGE_DIRECT, WYN_IMAGE_MONO}) {
        SCOPED_TRACE(format);
        ImageGuard image(wynv_image_create(format, 5, 3));
        wynv_image_set_resolution(image.image, 96, 300);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                wynv_image_set_pixel(image.image, x, y, colours[(x + y) % 6]);
        const std::string file = bmp_bytes(image.image);
        keep_seed("bmp", names[format], file);
        ImageGuard back(read_bytes(file));
        ASSERT_TRUE(wynv_image_is_valid(back.image));
        EXPECT_EQ(wynv_image_get_format(back.image), format);
        EXPECT_EQ(wynv_image_get_ncolors(back.image), wynv_image_get_ncolors(image.image));
        int32_t h = 0, v = 0;
        wynv_image_get_resolution(back.image, &h, &v);
        EXPECT_EQ(h, 96);
        EXPECT_EQ(v, 300);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(wynv_image_get_pixel(back.image, x, y),
                          wynv_image_get_pixel(image.image, x, y))
                    << x << "," << y;
    }
}

TEST(ImageBmp, OneByOneMonochromeFileIsFoundByItsContent) {
    const fs::path path = fs::temp_directory_path() / ("wyn_image_" + std::to_string(::getpid()));
    ImageGuard image(wynv_image_create(WYN_IMAGE_MONO, 1, 1));
    wynv_image_set_pixel(image.image, 0, 0, 0xFFFFFF);
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        IOSTR out = wynv_iostr_create_fwrite(file);
        EXPECT_TRUE(wynv_image_write_winbmp(image.image, out));
        wynv_iostr_destroy(out);
        std::fclose(file);
    }
    EXPECT_EQ(fs::file_size(path), 14u + 40 + 8 + 4);
    keep_seed("bmp", "one_by_one.bmp", bmp_bytes(image.image));
    ImageGuard by_content(wynv_image_read(path.c_str()));
    ImageGuard by_name(wynv_image_read_bmp_from_fn(path.c_str()));
    fs::remove(path);
    for (IMAGE read : {by_content.image, by_name.image}) {
        ASSERT_TRUE(wynv_image_is_valid(read));
        EXPECT_EQ(wynv_image_get_format(read), WYN_IMAGE_MONO);
        EXPECT_EQ(wynv_image_get_stride(read), 4);
        EXPECT_EQ(wynv_image_get_pixel(read, 0, 0), 0xFFFFFFu);
        EXPECT_EQ(wynv_image_get_scanline(read, 0)[0], 0x80);
    }
}

TEST(ImageBmp, HandWrittenFourBitFileGivesIndexedPixelsAndItsTable) {
    ImageGuard image(wynv_image_read_bmp_from_fn(VS_TEST_DATA "/images/four_bit.bmp"));
    ASSERT_TRUE(wynv_image_is_valid(image.image));
    EXPECT_EQ(wynv_image_get_format(image.image), WYN_IMAGE_INDEXED);
    EXPECT_EQ(wynv_image_get_ncolors(image.image), 16);
    const uint8_t* top = wynv_image_get_scanline(image.image, 0);
    const uint8_t* bottom = wynv_image_get_scanline(image.image, 1);
    EXPECT_EQ(top[0], 1);
    EXPECT_EQ(top[2], 3);
    EXPECT_EQ(bottom[0], 15);
    EXPECT_EQ(bottom[1], 0);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 1, 0), 0x00FF00u);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 2, 0), 0x0000FFu);
    EXPECT_EQ(wynv_image_get_clut(image.image, 15), 0xFFFFFFu);
    int32_t h = 0;
    wynv_image_get_resolution(image.image, &h, nullptr);
    EXPECT_EQ(h, 72);
}

TEST(ImageBmp, OlderHeaderTopDownRowsAndThirtyTwoBitPixelsAreRead) {
    // The 12-byte header: 16-bit sizes and three-byte table entries.
    std::string core(14 + 12 + 2 * 3 + 4, '\0');
    core[0] = 'B', core[1] = 'M';
    put32(core, 10, 14 + 12 + 6);
    put32(core, 14, 12);
    put16(core, 18, 2);
    put16(core, 20, 1);
    put16(core, 22, 1);
    put16(core, 24, 1);
    core[26] = '\x10', core[27] = '\x20', core[28] = '\x30'; // blue, green, red
    core[29] = core[30] = core[31] = '\xFF';
    core[32] = '\x40'; // second pixel set
    keep_seed("bmp", "core_header.bmp", core);
    ImageGuard mono(read_bytes(core));
    ASSERT_TRUE(wynv_image_is_valid(mono.image));
    EXPECT_EQ(wynv_image_get_pixel(mono.image, 0, 0), 0x302010u);
    EXPECT_EQ(wynv_image_get_pixel(mono.image, 1, 0), 0xFFFFFFu);
    {
        ReportCapture reports;
        put16(core, 18, 0);
        EXPECT_EQ(read_bytes(core), nullptr);
        EXPECT_TRUE(ReportCapture::only(0x590000, PORTABLE_ERROR));
    }

    // A negative height stores the top row first.
    ImageGuard direct(wynv_image_create(WYN_IMAGE_DIRECT, 1, 2));
    std::string file = bmp_bytes(direct.image);
    put32(file, 22, static_cast<uint32_t>(-2));
    put16(file, 28, 32);
    file.resize(54);
    file += std::string("\x01\x02\x03\xFF\x04\x05\x06\xFF", 8);
    keep_seed("bmp", "top_down_32.bmp", file);
    ImageGuard top_down(read_bytes(file));
    ASSERT_TRUE(wynv_image_is_valid(top_down.image));
    EXPECT_EQ(wynv_image_get_pixel(top_down.image, 0, 0), 0x030201u);
    EXPECT_EQ(wynv_image_get_pixel(top_down.image, 0, 1), 0x060504u);
}

TEST(ImageBmp, DamagedFilesAreRefusedAsParseFailures) {
    ImageGuard image(wynv_image_create(WYN_IMAGE_INDEXED, 4, 4));
    const std::string good = bmp_bytes(image.image);
    struct Damage {
        const char* what;
        size_t at;
        uint32_t value;
        int width; // 2 or 4 bytes
    };
    const Damage damages[] = {
        {"header size", 14, 64, 4},
        {"width", 18, 0x7FFFFFFF, 4},
        {"height", 22, 0x80000000, 4},
        {"planes", 26, 2, 2},
        {"depth 16", 28, 16, 2},
        {"compressed", 30, 1, 4},
        {"offset past end", 10, 5000, 4},
        {"offset in header", 10, 20, 4},
        {"huge colour count", 46, 0xFFFFFFFF, 4},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string bad = good;
        if (d.width == 2)
            put16(bad, d.at, static_cast<uint16_t>(d.value));
        else
            put32(bad, d.at, d.value);
        ReportCapture reports;
        ImageGuard read(read_bytes(bad));
        EXPECT_EQ(read.image, nullptr);
        EXPECT_TRUE(ReportCapture::only(0x590000, PORTABLE_ERROR));
    }
    // Every cut of the file short of its last row is refused.
    for (size_t cut = 0; cut < good.size(); cut += 7) {
        ReportCapture reports;
        ImageGuard read(read_bytes(good.substr(0, cut)));
        EXPECT_EQ(read.image, nullptr) << cut;
    }
}

TEST(ImageBmp, WriteFailuresAndUnsupportedPicturesReportFalse) {
    ImageGuard image(wynv_image_create(WYN_IMAGE_MONO, 2, 2));
    IOSTR refusing = wynv_iostr_create_write([](void*, const void*, long) { return -1L; }, nullptr);
    ReportCapture reports;
    EXPECT_FALSE(wynv_image_write_winbmp(image.image, refusing));
    EXPECT_TRUE(ReportCapture::only(0x1560002, PORTABLE_ERROR));
    EXPECT_FALSE(wynv_image_write_macpict(image.image, refusing));
    wynv_iostr_destroy(refusing);
    MemoryReader in(bmp_bytes(image.image));
    EXPECT_EQ(wynv_image_read_macpict(in.stream()), nullptr);
}

} // namespace
