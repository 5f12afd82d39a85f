// What the table control draws: escape codes, column widths, the highlight, and the control of a
// class without a handler.
#include <cstdlib>
#include <string>

#include "table/properties.h"
#include "table_support.h"

namespace {

constexpr uint32_t blue = 0x0000FF, black = 0x000000, white = 0xFFFFFF;

class table_draw : public table_test {
  protected:
    // A table on white with blue text and no separators, showing lines as given.
    void show(const std::vector<std::string>& lines, std::vector<int32_t> widths = {}) {
        make_table({"Draw", "POS=0,0", "SIZE=300,200", "NOVERTSCROLL", "NOHORZSCROLL"});
        for (const std::string& l : lines) table_printf(table_, "%s", l.c_str());
        table_properties p;
        table_get_properties(table_, &p);
        p.flags &= ~uint32_t(TF_SEPARATORS | TF_NO_CLIP | TF_SELECT);
        p.back_color = 0x0BFFFFFF;
        p.text_color = 0x030000FF;
        p.left_margin = 4;
        table_set_properties(table_, &p);
        if (!widths.empty()) table_widths(table_, int32_t(widths.size()), widths.data(), TRUE);
        line_height_ = p.line_height;
        wyn_dwin_invalidate_rect(table_, nullptr);
        pump();
        image_ = wyn::testing::window_image(table_);
        ASSERT_FALSE(image_.empty());
    }
    // Pixels of the line's row within left ... right that are of the colour (text is smoothed,
    // so near colours count).
    int row(int line, int left, int right, uint32_t rgb) {
        int n = 0;
        for (int y = line * line_height_; y < (line + 1) * line_height_; ++y)
            for (int x = left; x < right; ++x) n += near(px(x, y), rgb);
        return n;
    }
    static bool near(uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 60) return false;
        return true;
    }
    int line_height_ = 0;
};

} // namespace

TEST_F(table_draw, EscapeCodesColourTheTextOrShowAsText) {
    show({"\\C6MMMM", "\\C12MMMM", "\\\\C6MMMM", "MMMM"}, {280});
    EXPECT_GT(row(0, 0, 300, black), 20) << "\\C6 is the built-in black";
    EXPECT_EQ(row(0, 0, 300, blue), 0);
    EXPECT_GT(row(1, 0, 300, blue), 20) << "colour 12 is beyond the table: the colour stays";
    EXPECT_EQ(row(1, 0, 300, black), 0);
    // A doubled backslash shows "\C6" before the text, so the line is wider than the plain one.
    auto extent = [&](int line) {
        int right = 0;
        for (int x = 0; x < 300; ++x)
            if (row(line, x, x + 1, blue) > 0) right = x;
        return right;
    };
    EXPECT_GT(extent(2), extent(3) + 8);
    EXPECT_EQ(row(2, 0, 300, black), 0);
}

TEST_F(table_draw, AColumnWidthOfZeroCountsAs100Pixels) {
    show({"\tMMMM"}, {0, 50});
    // The second column starts after the margin, 100 pixels and the gap of 20.
    EXPECT_EQ(row(0, 0, 123, blue), 0);
    EXPECT_GT(row(0, 124, 180, blue), 10);
}

TEST_F(table_draw, SelectedLinesAreInverted) {
    show({"", "", ""});
    table_properties p;
    table_get_properties(table_, &p);
    p.flags |= TF_SELECT;
    table_set_properties(table_, &p);
    table_set_sel(table_, 1, 1);
    pump();
    image_ = wyn::testing::window_image(table_);
    EXPECT_EQ(px(150, line_height_ / 2), white);
    EXPECT_EQ(px(150, line_height_ + line_height_ / 2), black) << "white inverted";
    table_set_sel(table_, 1, 0);
    pump();
    image_ = wyn::testing::window_image(table_);
    EXPECT_EQ(px(150, line_height_ + line_height_ / 2), white);
}

TEST_F(table_test, AClassWithoutHandlerPaintsItselfBlack) {
    const RCT rct{0, 0, 60, 80};
    const char* props[] = {"Nothing"};
    WINDOW ctl = custom_ctl_create(7, &rct, 1, props, parent_, 0, 0, "no such class");
    ASSERT_NE(ctl, nullptr);
    EXPECT_EQ(custom_ctl_find(parent_, 7), ctl);
    pump();
    image_ = wyn::testing::window_image(ctl);
    ASSERT_FALSE(image_.empty());
    EXPECT_GT(count(0, 0, image_.width, image_.height, black), image_.width * image_.height / 2);
    EXPECT_GT(count(0, 0, image_.width, image_.height, white), 10) << "the white text";
}

TEST(table_properties_list, KeywordsMatchByPrefixWithQuotedAndCutValues) {
    const std::string long_value(300, 'v');
    const std::string long_entry = "LONG=" + long_value;
    const char* props[] = {"NOHORZSCROLL", "NOVERT", "NOHORZSCROLL=TRUE", "INVISIBLE=FALSE",
                           "SCALED=1", "POS=\"12, 34\"x", "SIZE=AUTO", "TRANSLATED",
                           long_entry.c_str()};
    const int32_t n = int32_t(std::size(props));
    EXPECT_TRUE(props_flag(n, props, "NOHORZSCROLL")) << "entry 0 is the name, not a keyword";
    EXPECT_FALSE(props_flag(n, props, "NOVERTSCROLL")) << "the entry must begin with the keyword";
    EXPECT_TRUE(props_flag(n, props, "NOVERT"));
    EXPECT_FALSE(props_flag(n, props, "INVISIBLE"));
    EXPECT_TRUE(props_flag(n, props, "SCALED"));
    EXPECT_TRUE(props_flag(n, props, "TRANSLATED"));
    EXPECT_EQ(props_find(n, props, "POS"), std::optional<std::string>("12, 34"));
    EXPECT_EQ(props_pair(n, props, "POS"), (std::pair<int32_t, int32_t>(12, 34)));
    EXPECT_FALSE(props_pair(n, props, "SIZE").has_value()) << "AUTO leaves the default";
    EXPECT_EQ(props_find(n, props, "LONG")->size(), props_value_max);
    EXPECT_FALSE(props_find(n, props, "MISSING").has_value());
}

TEST(table_properties_list, OnlyTheFirst1000EntriesAreSearched) {
    std::vector<std::string> entries(1001, "FILLER");
    entries[999] = "NEAR";
    entries[1000] = "FAR";
    std::vector<const char*> props;
    for (const std::string& e : entries) props.push_back(e.c_str());
    EXPECT_TRUE(props_flag(int32_t(props.size()), props.data(), "NEAR"));
    EXPECT_FALSE(props_flag(int32_t(props.size()), props.data(), "FAR"));
    EXPECT_EQ(props_pair(2, std::vector<const char*>{"x", "P=99999999999;-5"}.data(), "P"),
              (std::pair<int32_t, int32_t>(INT32_MAX, -5)));
}
