// X bitmap and X pixmap files, the colour names, and the choice of reader by content.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image_support.h"
#include "portable/image_colors.h"
#include "portable_reports.h"

namespace {

IMAGE xbm(const std::string& text, const char* seed = nullptr) {
    if (seed) keep_seed("xbm", seed, text);
    MemoryReader in(text);
    return wynv_image_read_xbm(in.stream());
}

IMAGE xpm(const std::string& text, const char* seed = nullptr) {
    if (seed) keep_seed("xpm", seed, text);
    MemoryReader in(text);
    return wynv_image_read_xpm(in.stream());
}

// Collects the debug log's lines while it lives.
class DebugCapture {
  public:
    DebugCapture() : previous_(portable_set_debug_sink(record)) { lines().clear(); }
    ~DebugCapture() { portable_set_debug_sink(previous_); }
    static std::vector<std::string>& lines() {
        static std::vector<std::string> list;
        return list;
    }

  private:
    static void record(const char* line) { lines().emplace_back(line); }
    PortableDebugSink previous_;
};

const std::string kXpmHead = "/* XPM */\nstatic char *x[] = {\n";

TEST(ImageXbm, BitsAreReadLeastSignificantFirstAsBlackOnWhite) {
    ImageGuard image(xbm("/* a glyph */\n#define g_width 10\n#define g_height 2\n"
                         "#define g_x_hot 1\nstatic unsigned char g_bits[] = {\n"
                         "  0x01, 0x02, 0xff,0X3 /* row 2 */ };\n",
                         "glyph.xbm"));
    ASSERT_TRUE(wynv_image_is_valid(image.image));
    EXPECT_EQ(wynv_image_get_format(image.image), WYN_IMAGE_MONO);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 0, 0), 0x000000u);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 9, 0), 0x000000u);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 8, 0), 0xFFFFFFu);
    EXPECT_EQ(wynv_image_get_scanline(image.image, 1)[0], 0xFF);
    EXPECT_EQ(wynv_image_get_scanline(image.image, 1)[1], 0xC0);

    // The older form holds sixteen pixels in each value.
    ImageGuard shorts(xbm("#define s_width 16\n#define s_height 1\n"
                          "static unsigned short s_bits[] = { 0x8001 };",
                          "shorts.xbm"));
    ASSERT_TRUE(wynv_image_is_valid(shorts.image));
    EXPECT_EQ(wynv_image_get_pixel(shorts.image, 0, 0), 0x000000u);
    EXPECT_EQ(wynv_image_get_pixel(shorts.image, 14, 0), 0xFFFFFFu);
    EXPECT_EQ(wynv_image_get_pixel(shorts.image, 15, 0), 0x000000u);
    // A name that merely contains the word keeps eight pixels to a value.
    ImageGuard named(xbm("#define shortcut_width 16\n#define shortcut_height 1\n"
                         "static char shortcut_bits[] = { 0x01, 0x80 };"));
    ASSERT_TRUE(wynv_image_is_valid(named.image));
    EXPECT_EQ(wynv_image_get_pixel(named.image, 15, 0), 0x000000u);
    EXPECT_EQ(wynv_image_get_pixel(named.image, 8, 0), 0xFFFFFFu);
}

TEST(ImageXbm, DamagedFilesReportTheirFault) {
    {
        ReportCapture reports;
        ImageGuard image(wynv_image_read_xbm_from_fn(VS_TEST_DATA "/images/no_brace.xbm"));
        EXPECT_EQ(image.image, nullptr);
        EXPECT_TRUE(ReportCapture::only(0x1590001, PORTABLE_ERROR));
    }
    const char* damaged[] = {
        "#define a_width 8\n#define a_height 3\nstatic char a_bits[] = { 0x01, 0x02 };",
        "#define a_width 8\n#define a_height 1\nstatic char a_bits[] = { 0x100 };",
        "#define a_width 8\n#define a_height 1\nstatic char a_bits[] = { zz };",
        "#define a_width 0\n#define a_height 1\nstatic char a_bits[] = { 0x00 };",
        "#define a_width 8\nstatic char a_bits[] = { 0x00 };",
        "#define a_width 99999999\n#define a_height 1\nstatic char a_bits[] = { 0 };",
        "#define a_width 32767\n#define a_height 32767\nstatic char a_bits[] = { 0 };",
    };
    for (const char* text : damaged) {
        SCOPED_TRACE(text);
        ReportCapture reports;
        ImageGuard image(xbm(text));
        EXPECT_EQ(image.image, nullptr);
        EXPECT_TRUE(ReportCapture::only(0x590000, PORTABLE_ERROR));
    }
}

TEST(ImageXpm, GreyLevelsNamedAndHexColoursFillTheTable) {
    ImageGuard image(wynv_image_read(VS_TEST_DATA "/images/gray50_named.xpm"));
    ASSERT_TRUE(wynv_image_is_valid(image.image));
    EXPECT_EQ(wynv_image_get_format(image.image), WYN_IMAGE_INDEXED);
    EXPECT_EQ(wynv_image_get_ncolors(image.image), 5);
    EXPECT_EQ(wynv_image_get_clut(image.image, 0), 0xFFFFFFu); // None shows the background
    EXPECT_EQ(wynv_image_get_clut(image.image, 1), 0x7F7F7Fu);
    EXPECT_EQ(wynv_image_get_clut(image.image, 2), 0x7F7F7Fu);
    EXPECT_EQ(wynv_image_get_clut(image.image, 3), 0x2F4F4Fu);
    EXPECT_EQ(wynv_image_get_clut(image.image, 4), 0xFF0000u);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 3, 0), 0x2F4F4Fu);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 0, 1), 0xFF0000u);
    EXPECT_EQ(wynv_image_get_scanline(image.image, 1)[2], 1);
}

TEST(ImageXpm, TwoCharacterPixelsShortHexAndExtensionsAreRead) {
    ImageGuard image(xpm(kXpmHead + "\"2 1 2 2 0 0 XPMEXT\",\n\"aa c #0F0\",\n"
                                    "\"bb s mark c #000000001111\",\n\"bbaa\",\n"
                                    "\"XPMEXT note\", \"text\", \"XPMENDEXT\"};\n",
                         "two_chars.xpm"));
    ASSERT_TRUE(wynv_image_is_valid(image.image));
    EXPECT_EQ(wynv_image_get_pixel(image.image, 0, 0), 0x000011u);
    EXPECT_EQ(wynv_image_get_pixel(image.image, 1, 0), 0x00FF00u);
}

TEST(ImageXpm, UnknownNamesAreLoggedAndEmptyNamesWarn) {
    DebugCapture log;
    ReportCapture reports;
    ImageGuard image(xpm(kXpmHead + "\"3 1 3 1\",\n\"a c nosuchcolour m black\",\n"
                                    "\"b c nosuchcolour\",\n\"c c \",\n\"abc\"};",
                         "unknown_names.xpm"));
    ASSERT_TRUE(wynv_image_is_valid(image.image));
    ASSERT_EQ(DebugCapture::lines().size(), 2u);
    EXPECT_EQ(DebugCapture::lines()[0], "Named color 'nosuchcolour' not found.\n");
    // The monochrome value stands in for an unknown colour; without one the entry stays unset.
    EXPECT_EQ(wynv_image_get_clut(image.image, 0), 0x000000u);
    EXPECT_EQ(wynv_image_get_clut(image.image, 1), WYN_IMAGE_CLUT_UNSET);
    EXPECT_EQ(wynv_image_get_clut(image.image, 2), 0xFFFFFFu);
    EXPECT_TRUE(ReportCapture::only(0x1530005, PORTABLE_WARNING));
}

TEST(ImageXpm, EachDamagedSectionReportsItsOwnMessage) {
    struct Case {
        std::string text;
        uint32_t id;
    };
    const Case cases[] = {
        {"/* XPM */ no declaration", 0x1590002},
        {"static char *x[] = {\"1 1 1 1\",\"a c red\",\"a\"};", 0x1590002},
        {kXpmHead + "\"1 1 1\",", 0x1590003},
        {kXpmHead + "\"1 x 1 1\",", 0x1590003},
        {kXpmHead + "\"1 1 1 1 XPMEXX\",", 0x1590003},
        {kXpmHead + "\"1 1 1 11\",", 0x1590004},
        {kXpmHead + "\"1 1 257 1\",", 0x152000D},
        {kXpmHead + "\"40000 1 1 1\",", 0x152000D},
        {kXpmHead + "\"1 1 2 1\",\"a c red\"};", 0x1590005},
        {kXpmHead + "\"1 1 1 2\",\"a\",\"aa\"};", 0x1590005},
        {kXpmHead + "\"1 1 1 1\",\"a red\",\"a\"};", 0x1590005},
        {kXpmHead + "\"2 1 1 1\",\"a c red\",\"ab\"};", 0x1590006},
        {kXpmHead + "\"2 2 1 1\",\"a c red\",\"aa\",\"a\"};", 0x1590006},
        {kXpmHead + "\"9 9 1 1\",\"a c red\",\"aaa\"};", 0x1590006},
        {kXpmHead + "\"1 1 1 1 XPMEXT\",\"a c red\",\"a\",\"XPMEXT x\"};", 0x1590007},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ReportCapture reports;
        ImageGuard image(xpm(c.text));
        EXPECT_EQ(image.image, nullptr);
        EXPECT_TRUE(ReportCapture::only(c.id, PORTABLE_ERROR));
    }
}

TEST(ImageColours, NamesAreFoundByHalvingSearchAndGreyLevelsFollowTheRule) {
    EXPECT_EQ(image_color_name_count(), 448);
    EXPECT_EQ(image_color_by_name("AliceBlue"), 0xF0F8FFu);
    EXPECT_EQ(image_color_by_name("yellow green"), 0x9ACD32u);
    EXPECT_EQ(image_color_by_name("tomato1"), 0xFF6347u);
    EXPECT_EQ(image_color_by_name("tomato4"), 0x8B3626u);
    EXPECT_EQ(image_color_by_name("tomato5"), std::nullopt);
    EXPECT_EQ(image_color_by_name("Grey0"), 0x000000u);
    EXPECT_EQ(image_color_by_name("gray100"), 0xFFFFFFu);
    EXPECT_EQ(image_color_by_name("gray101"), std::nullopt);
    EXPECT_EQ(image_color_by_name("grey"), 0xBEBEBEu);
    EXPECT_EQ(image_color_by_name(""), std::nullopt);
}

TEST(ImageRead, TheReaderIsChosenByContent) {
    {
        ReportCapture reports;
        EXPECT_EQ(wynv_image_read(VS_TEST_DATA "/images/no_such_file.bmp"), nullptr);
        EXPECT_TRUE(ReportCapture::only(0x1530001, PORTABLE_ERROR));
    }
    {
        ReportCapture reports;
        EXPECT_EQ(wynv_image_read(VS_TEST_DATA "/images/no_brace.xbm"), nullptr);
        EXPECT_TRUE(ReportCapture::only(0x1590001, PORTABLE_ERROR));
    }
    ReportCapture reports;
    EXPECT_EQ(wynv_image_read(VS_TEST_DATA "/images/../images"), nullptr);
    EXPECT_EQ(wynv_image_read(__FILE__), nullptr);
    ASSERT_FALSE(ReportCapture::reports().empty());
    EXPECT_EQ(ReportCapture::reports().back().id, 0x520000u);
}

} // namespace
