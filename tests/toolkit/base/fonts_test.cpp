// Fonts: the native descriptor's parsing and completion, the height mapping, the text form, the
// font cache, mapping to native faces (monospaced ones where asked), window fonts and families.
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTimer>
#include <wyn/font.h>

#include "kernel/drawing.h"
#include "kernel/fonts.h"
#include "portable/font_cache.h"
#include "portable/font_desc.h"
#include "portable/font_object.h"
#include "toolkit/base/app_support.h"

namespace {

constexpr const char* kFullDesc = "NT_01/-16/0/0/0/700/1/0/0/1/0/0/2/32/Arial";
constexpr const char* kPureMapping = "NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/*";

std::string serialized(FONT font) {
    std::string text(size_t(wynv_font_serialize(font, nullptr, 0)), '\0');
    wynv_font_serialize(font, text.data(), int32_t(text.size()));
    text.pop_back();
    return text;
}

} // namespace

TEST(FontDescriptor, ParsesAndWritesBackEveryField) {
    std::optional<FontDesc> desc = font_desc_parse(kFullDesc);
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->num[FD_HEIGHT], -16);
    EXPECT_EQ(desc->num[FD_WEIGHT], 700);
    EXPECT_EQ(desc->num[FD_PITCH_FAMILY], 32);
    EXPECT_EQ(desc->face, "Arial");
    EXPECT_EQ(font_desc_format(*desc), kFullDesc);

    std::optional<FontDesc> wild = font_desc_parse(kPureMapping);
    ASSERT_TRUE(wild);
    for (const auto& field : wild->num) EXPECT_FALSE(field);
    EXPECT_FALSE(wild->face);
    EXPECT_EQ(font_desc_format(font_desc_wildcard()), kPureMapping);

    // A face may hold the separator: it is the rest of the text.
    EXPECT_EQ(font_desc_parse("NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/A/B")->face, "A/B");
}

TEST(FontDescriptor, GarbageIsRefused) {
    const char* bad[] = {
        "",
        "NT_01",
        "NT_02/*/*/*/*/*/*/*/*/*/*/*/*/*/*",
        "NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*",             // a field short: no face
        "NT_01/*/*/*/*/*/*/*/*/*/*/*/*",               // two fields short
        "NT_01//*/*/*/*/*/*/*/*/*/*/*/*/Arial",        // empty number
        "NT_01/12x/*/*/*/*/*/*/*/*/*/*/*/*/Arial",     // junk after a number
        "NT_01/ 12/*/*/*/*/*/*/*/*/*/*/*/*/Arial",     // blank before a number
        "NT_01/+12/*/*/*/*/*/*/*/*/*/*/*/*/Arial",     // sign the writer never writes
        "NT_01/99999999999/*/*/*/*/*/*/*/*/*/*/*/*/A", // beyond 32 bits
        "NT_01/*/*/*/*/1001/*/*/*/*/*/*/*/*/Arial",    // weight above 1000
        "NT_01/*/*/*/*/*/256/*/*/*/*/*/*/*/Arial",     // byte field above 255
        "NT_01/*/*/*/*/*/*/*/*/-1/*/*/*/*/Arial",      // negative byte field
        "nt_01/*/*/*/*/*/*/*/*/*/*/*/*/*/*",
    };
    for (const char* text : bad) EXPECT_FALSE(font_desc_parse(text)) << text;
    EXPECT_FALSE(
        font_desc_parse(std::string("NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/") + std::string(64, 'x')));
    EXPECT_TRUE(
        font_desc_parse(std::string("NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/") + std::string(63, 'x')));
    const std::string with_nul("NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/A\0B", 35);
    EXPECT_FALSE(font_desc_parse(with_nul));
}

TEST(FontDescriptor, HeightFollowsSizeAndResolution) {
    EXPECT_EQ(font_height_for(12, 96), -16);
    EXPECT_EQ(font_height_for(12, 300), -50);
    EXPECT_EQ(font_height_for(10, 96), -13);
    EXPECT_EQ(font_height_for(100000, 96), font_height_for(9999, 96));
    EXPECT_EQ(font_height_for(-5, 96), 0);
}

TEST(FontDescriptor, WildcardsAreFilledFromThePortableAttributes) {
    const FontLogical bold = font_desc_complete(
        font_desc_wildcard(), "Arial", FS_BOLD | FS_ITALIC | FS_UNDERLINE | FS_STRIKEOUT, 12, 96);
    EXPECT_EQ(font_desc_format(bold), "NT_01/-16/0/0/0/700/1/1/1/1/0/0/2/32/Arial");
    const FontLogical plain = font_desc_complete(font_desc_wildcard(), "Arial", 0, 12, 96);
    EXPECT_EQ(plain.num[FD_WEIGHT], 400);
    EXPECT_EQ(plain.num[FD_ITALIC], 0);
    // Concrete fields win over the attributes.
    const FontLogical fixed =
        font_desc_complete(*font_desc_parse(kFullDesc), "Times New Roman", 0, 30, 300);
    EXPECT_EQ(font_desc_format(fixed), kFullDesc);
    // A family name longer than a face is cut without splitting a character.
    const std::string long_name = std::string(62, 'a') + "\xC3\xA9";
    EXPECT_EQ(font_desc_complete(font_desc_wildcard(), long_name, 0, 12, 96).face,
              std::string(62, 'a'));
}

TEST(FontCacheTest, DropsTheLeastRecentlyUsedAndKeepsFontsInUse) {
    EXPECT_EQ(FontCache::capacity_for(0), 10u);
    EXPECT_EQ(FontCache::capacity_for(-3), 10u);
    EXPECT_EQ(FontCache::capacity_for(2), 4u);
    EXPECT_EQ(FontCache::capacity_for(25), 25u);

    FontCache cache;
    auto a = std::make_shared<int>(1);
    cache.insert("a", a, 4);
    for (const char* key : {"b", "c", "d"}) cache.insert(key, std::make_shared<int>(0), 4);
    EXPECT_EQ(cache.find("a"), a); // "a" is now the most recent; "b" the oldest
    cache.insert("e", std::make_shared<int>(0), 4);
    EXPECT_EQ(cache.size(), 4u);
    EXPECT_FALSE(cache.find("b"));
    EXPECT_TRUE(cache.find("a"));
    std::weak_ptr<int> held = a;
    for (const char* key : {"f", "g", "h", "i"}) cache.insert(key, std::make_shared<int>(0), 4);
    EXPECT_FALSE(cache.find("a"));
    EXPECT_EQ(held.lock(), a); // the caller's reference keeps it alive
}

class FontTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        font_ = wynv_font_create();
        ASSERT_NE(font_, nullptr);
    }
    void TearDown() override {
        wynv_font_destroy(font_);
        ToolkitTest::TearDown();
    }
    FONT font_ = nullptr;
};

TEST_F(FontTest, NewFontIsTwelvePointSystemAskingForAPureMapping) {
    EXPECT_TRUE(wynv_font_is_valid(font_));
    EXPECT_EQ(font_->magic, 0x6A6AFA5Au);
    EXPECT_STREQ(wynv_font_get_family(font_), "system");
    EXPECT_EQ(wynv_font_get_style(font_), 0u);
    EXPECT_EQ(wynv_font_get_size(font_), 12);
    EXPECT_STREQ(wynv_font_get_native_desc(font_), kPureMapping);
    EXPECT_FALSE(wynv_font_is_mapped(font_));
    EXPECT_STREQ(wynk_font_get_plat_name(), "NT_01");
    // Family names are interned.
    FONT other = wynv_font_create();
    EXPECT_EQ(wynv_font_get_family(other), wynv_font_get_family(font_));
    wynv_font_destroy(other);
    EXPECT_FALSE(wynv_font_is_valid(nullptr));
}

TEST_F(FontTest, SerialisesAsFiveBackslashSeparatedFields) {
    wynv_font_set_family(font_, "times");
    wynv_font_set_style(font_, FS_ITALIC);
    wynv_font_set_size(font_, 10);
    const std::string expected = std::string("01\\times\\2\\10\\") + kPureMapping;
    EXPECT_EQ(wynv_font_serialize(font_, nullptr, 0), int32_t(expected.size() + 1));
    EXPECT_EQ(serialized(font_), expected);

    char small[8] = "junk";
    EXPECT_EQ(wynv_font_serialize(font_, small, sizeof small), 0);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(reported_ids().back(), 0x1260004u);
}

TEST_F(FontTest, MappedFontRoundTripsThroughItsTextForm) {
    wynv_font_set_family(font_, "helvetica");
    wynv_font_set_style(font_, FS_BOLD);
    ASSERT_TRUE(fonts_map(font_, 96));
    const std::string text = serialized(font_);
    EXPECT_EQ(text.substr(0, 17), "01\\helvetica\\1\\12");
    EXPECT_NE(text.find("NT_01/-16/0/0/0/700/"), std::string::npos);

    FONT copy = wynv_font_create();
    ASSERT_TRUE(wynv_font_deserialize(copy, text.c_str()));
    EXPECT_STREQ(wynv_font_get_family(copy), "helvetica");
    EXPECT_EQ(wynv_font_get_style(copy), FS_BOLD);
    EXPECT_EQ(wynv_font_get_size(copy), 12);
    EXPECT_STREQ(wynv_font_get_native_desc(copy), wynv_font_get_native_desc(font_));
    EXPECT_FALSE(wynv_font_is_mapped(copy));
    EXPECT_EQ(serialized(copy), text);
    wynv_font_destroy(copy);
}

TEST_F(FontTest, MalformedTextFormLeavesTheFontUnchanged) {
    wynv_font_set_family(font_, "courier");
    const std::string before = serialized(font_);
    const char* bad[] = {
        "01\\times\\2\\10",                                       // three separators
        "01\\times\\bold\\10\\NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/*", // style no number
        "01\\times\\2\\1e3\\NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/*",   // size no integer
        "01\\times\\2\\99999999999\\NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/*",
        "01\\times\\2\\10\\NT_01/garbage",
        "01\\times\\2\\10\\",
        "",
    };
    for (const char* text : bad) {
        reported_ids().clear();
        EXPECT_FALSE(wynv_font_deserialize(font_, text)) << text;
        ASSERT_FALSE(reported_ids().empty());
        EXPECT_EQ(reported_ids().back(), 0x240000u);
        EXPECT_EQ(serialized(font_), before);
    }
    EXPECT_FALSE(wynv_font_deserialize(font_, nullptr));
    EXPECT_FALSE(wynv_font_set_native_desc(font_, "NT_01/1/2"));
    EXPECT_EQ(serialized(font_), before);
    EXPECT_TRUE(wynv_font_has_valid_native_desc(font_));
    // The version field is not checked.
    EXPECT_TRUE(
        wynv_font_deserialize(font_, "07\\times\\0\\-3\\NT_01/*/*/*/*/*/*/*/*/*/*/*/*/*/*"));
    EXPECT_EQ(wynv_font_get_size(font_), -3);
}

TEST_F(FontTest, MappingCompletesTheDescriptorForTheResolution) {
    ASSERT_TRUE(fonts_map(font_, 96));
    EXPECT_TRUE(wynv_font_is_mapped(font_));
    EXPECT_STREQ(wynv_font_get_native_desc(font_), "NT_01/-16/0/0/0/400/0/0/0/1/0/0/2/32/System");
    EXPECT_EQ(wynk_font_get_size_mapped(font_), 12);
    // Another resolution maps again from the attributes, not from the completed height.
    ASSERT_TRUE(fonts_map(font_, 300));
    EXPECT_NE(std::string(wynv_font_get_native_desc(font_)).find("NT_01/-50/"), std::string::npos);
    EXPECT_EQ(wynk_font_get_size_mapped(font_), 12);
    int32_t leading = -1, ascent = 0, descent = 0;
    ASSERT_TRUE(wynk_font_get_metrics(font_, &leading, &ascent, &descent));
    EXPECT_GT(ascent, 30);
    EXPECT_GT(descent, 0);
    EXPECT_GE(leading, 0);

    // Changing the size after a mapping is honoured by the next one.
    wynv_font_set_size(font_, 24);
    EXPECT_FALSE(wynv_font_is_mapped(font_));
    EXPECT_FALSE(wynk_font_get_metrics(font_, &leading, &ascent, &descent));
    ASSERT_TRUE(fonts_map(font_, 96));
    EXPECT_NE(std::string(wynv_font_get_native_desc(font_)).find("NT_01/-32/"), std::string::npos);
    wynv_font_set_style(font_, FS_BOLD | FS_ITALIC);
    ASSERT_TRUE(fonts_map(font_, 96));
    EXPECT_EQ(wynk_font_get_style_mapped(font_) & (FS_BOLD | FS_ITALIC), FS_BOLD | FS_ITALIC);
}

TEST_F(FontTest, BuiltInFamiliesFindInstalledFaces) {
    for (const char* family : {"system", "helvetica", "times", "fixed", "courier"}) {
        wynv_font_set_family(font_, family);
        std::shared_ptr<const NativeFont> native = fonts_map(font_, 96);
        ASSERT_TRUE(native) << family;
        EXPECT_FALSE(native->family.isEmpty());
        EXPECT_TRUE(wynk_font_is_scalable(font_)) << family;
    }
    wynv_font_set_family(font_, "helvetica");
    fonts_map(font_, 96);
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))) {
        EXPECT_STREQ(wynk_font_get_family_mapped(font_), "Liberation Sans");
    }
    wynv_font_set_family(font_, "times");
    fonts_map(font_, 96);
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Serif"))) {
        EXPECT_STREQ(wynk_font_get_family_mapped(font_), "Liberation Serif");
    }
}

TEST_F(FontTest, FixedAndCourierAreAlwaysMonospaced) {
    for (const char* family : {"fixed", "courier"}) {
        for (uint32_t style : {FS_NORMAL, FS_BOLD}) {
            wynv_font_set_family(font_, family);
            wynv_font_set_style(font_, style);
            std::shared_ptr<const NativeFont> native = fonts_map(font_, 96);
            ASSERT_TRUE(native);
            EXPECT_TRUE(QFontInfo(native->font).fixedPitch()) << family;
            QFontMetrics fm(native->font);
            EXPECT_EQ(fm.horizontalAdvance(QStringLiteral("iiii")),
                      fm.horizontalAdvance(QStringLiteral("WWWW")))
                << family;
        }
    }
    // Even a face the machine lacks, named explicitly, gives a monospaced font for "fixed".
    FontLogical logical = font_desc_complete(font_desc_wildcard(), "No Such Face Here", 0, 12, 96);
    const QFont forced = fonts_qfont_for(logical, true);
    EXPECT_TRUE(QFontInfo(forced).fixedPitch());
}

TEST_F(FontTest, PositiveHeightIsTheCellHeight) {
    FontLogical logical = font_desc_complete(
        *font_desc_parse("NT_01/40/*/*/*/*/*/*/*/*/*/*/*/*/Arial"), "", 0, 12, 96);
    QFontMetrics fm(fonts_qfont_for(logical, false));
    EXPECT_NEAR(fm.height(), 40, 2);
    FontLogical huge = font_desc_complete(
        *font_desc_parse("NT_01/-2000000000/*/*/*/*/*/*/*/*/*/*/*/*/Arial"), "", 0, 12, 96);
    EXPECT_LE(fonts_qfont_for(huge, false).pixelSize(), 4096);
}

TEST_F(FontTest, CopyTakesTheNamedAttributes) {
    wynv_font_set_family(font_, "times");
    wynv_font_set_size(font_, 20);
    wynv_font_set_app_data(font_, 77);
    FONT all = wynv_font_copy(nullptr, font_, FA_ALL);
    ASSERT_NE(all, nullptr);
    EXPECT_STREQ(wynv_font_get_family(all), "times");
    EXPECT_EQ(wynv_font_get_size(all), 20);
    EXPECT_EQ(wynv_font_get_app_data(all), 77);
    FONT some = wynv_font_create();
    wynv_font_copy(some, font_, FA_SIZE);
    EXPECT_STREQ(wynv_font_get_family(some), "system");
    EXPECT_EQ(wynv_font_get_size(some), 20);
    EXPECT_EQ(wynv_font_copy(some, nullptr, FA_ALL), nullptr);
    wynv_font_destroy(all);
    wynv_font_destroy(some);
}

TEST_F(FontTest, WindowKeepsItsOwnCopyOfTheFont) {
    startApp();
    WINDOW win = makeChild(RCT{0, 0, 100, 200});
    ASSERT_NE(win, nullptr);
    EXPECT_STREQ(wynv_dwin_get_font_family(win), "system");
    FONT mine = wynv_font_create();
    wynv_font_set_family(mine, "courier");
    wynv_font_set_size(mine, 20);
    wynv_dwin_set_font(win, mine);
    wynv_font_destroy(mine);
    EXPECT_STREQ(wynv_dwin_get_font_family(win), "courier");
    EXPECT_EQ(wynv_dwin_get_font_size(win), 20);
    EXPECT_EQ(wynv_dwin_get_font_size_mapped(win), 20);
    EXPECT_TRUE(wynv_font_is_valid(wynk_dwin_get_font(win)));
    const int wide = wynk_dwin_get_text_width(win, "abcd", -1);
    EXPECT_NEAR(wide, 2 * wynk_dwin_get_text_width(win, "ab", -1), 1);
    EXPECT_EQ(wynk_dwin_get_text_width(win, "abcd", 2), wynk_dwin_get_text_width(win, "ab", -1));
    wynv_dwin_set_font_size(win, 10);
    EXPECT_NEAR(wynk_dwin_get_text_width(win, "abcd", -1), wide / 2, 2);
    EXPECT_EQ(wynk_dwin_get_font(nullptr), nullptr);
}

TEST_F(FontTest, FamiliesStylesAndSizesAreListed) {
    SLIST families = wynv_fmap_get_families(nullptr);
    ASSERT_NE(families, nullptr);
    EXPECT_GT(wynv_slist_count(families), 0);
    wynv_slist_destroy(families);

    const char* family = "Liberation Sans";
    if (!QFontDatabase::hasFamily(QString::fromUtf8(family))) GTEST_SKIP();
    SLIST styles = wynv_fmap_get_family_styles(nullptr, family);
    bool has_bold = false;
    for (int i = 0; i < wynv_slist_count(styles); ++i) {
        long bits = 0;
        wynv_slist_get_elt(styles, i, &bits);
        has_bold |= bits == long(FS_BOLD);
    }
    EXPECT_TRUE(has_bold);
    wynv_slist_destroy(styles);

    SLIST sizes = wynv_fmap_get_familystyle_sizes(nullptr, family, FS_BOLD);
    ASSERT_GT(wynv_slist_count(sizes), 3);
    long previous = 0;
    for (int i = 0; i < wynv_slist_count(sizes); ++i) {
        long size = 0;
        const char* text = wynv_slist_get_elt(sizes, i, &size);
        EXPECT_EQ(std::to_string(size), text);
        EXPECT_GT(size, previous);
        previous = size;
    }
    wynv_slist_destroy(sizes);
    SLIST at_twelve = wynv_fmap_get_familysize_styles(nullptr, family, 12);
    EXPECT_GE(wynv_slist_count(at_twelve), 2);
    wynv_slist_destroy(at_twelve);
}

TEST_F(FontTest, FontDialogChoiceChangesTheFontAndSendsFontEvent) {
    startApp();
    WINDOW win = makeChild(RCT{0, 0, 100, 200});
    ASSERT_NE(win, nullptr);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QFont chosen(QStringLiteral("Liberation Serif"));
        chosen.setPointSizeF(17.5);
        chosen.setBold(true);
        dialog->setCurrentFont(chosen);
        dialog->accept();
    });
    seen_events().clear();
    EXPECT_TRUE(wynv_dm_post_font_sel(win, font_, nullptr, 0));
    EXPECT_EQ(wynv_font_get_size(font_), 18); // (175 + 5) / 10
    EXPECT_EQ(wynv_font_get_style(font_) & FS_BOLD, FS_BOLD);
    EXPECT_STRNE(wynv_font_get_family(font_), "system");
    std::vector<int32_t> types = types_for(win);
    ASSERT_EQ(std::count(types.begin(), types.end(), E_FONT), 1);
    for (const SeenEvent& s : seen_events()) {
        if (s.ev.type == E_FONT) {
            EXPECT_EQ(wynv_event_get_font(&s.ev), font_);
        }
    }

    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_FALSE(wynv_dm_post_font_sel(win, font_, nullptr, 0));
}

TEST_F(FontTest, ResourceFontKeepsOnlyACompleteDescriptor) {
    WYN_RES_FONT res{};
    res.size = 10;
    res.style = FS_BOLD;
    std::strcpy(res.family, "fixed");
    std::strcpy(res.native, "NT_01");
    FONT bare = font_from_resource(&res);
    EXPECT_STREQ(wynv_font_get_family(bare), "fixed");
    EXPECT_EQ(wynv_font_get_size(bare), 10);
    EXPECT_EQ(wynv_font_get_style(bare), FS_BOLD);
    EXPECT_STREQ(wynv_font_get_native_desc(bare), kPureMapping);
    std::strcpy(res.native, kFullDesc);
    FONT full = font_from_resource(&res);
    EXPECT_STREQ(wynv_font_get_native_desc(full), kFullDesc);
    wynv_font_destroy(bare);
    wynv_font_destroy(full);
}
