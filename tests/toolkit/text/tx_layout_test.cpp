// Breaking paragraphs into lines, tabs, storage limits and the text operations' edge cases.
#include <wyn/font.h>

#include "tx_support.h"

namespace {

class tx_layout : public tx_test {};

// The width of a line without the separators it ends with.
int ink_width(TX tx, uint16_t par, uint16_t line, std::string* words = nullptr) {
    int32_t len = 0;
    wynv_tx_get_line(tx, par, TX_LINE_OPEN, 0, nullptr);
    const char* s = wynv_tx_get_line(tx, par, TX_LINE_READ, line, &len);
    std::string text(s, size_t(len));
    wynv_tx_get_line(tx, par, TX_LINE_CLOSE, 0, nullptr);
    if (words) *words = text;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    tx::ref r(tx);
    tx::draw_scope scope(*r, false);
    return tx::measure(*r, text.data(), uint32_t(text.size()), 0);
}

} // namespace

TEST_F(tx_layout, WrappedLinesFitTheViewLessTwoPixelsOrTheMargin) {
    ASSERT_TRUE(make(TX_WRAP, RCT{0, 0, 200, 100}));
    const std::string text = "one two three four five six seven eight nine ten eleven twelve "
                             "thirteen fourteen fifteen sixteen seventeen eighteen";
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, text.c_str()));
    const uint16_t lines = wynv_tx_get_num_par_lines(tx_, 0);
    ASSERT_GT(lines, 2);
    for (uint16_t l = 0; l < lines; ++l) {
        std::string words;
        EXPECT_LE(ink_width(tx_, 0, l, &words), 98) << words;
        if (l + 1 < lines) {
            // The next line's first word would not have fitted on this one.
            std::string next;
            ink_width(tx_, 0, uint16_t(l + 1), &next);
            const std::string joined = words + next.substr(0, next.find(' '));
            tx::ref r(tx_);
            tx::draw_scope scope(*r, false);
            EXPECT_GT(tx::measure(*r, joined.data(), uint32_t(joined.size()), 0), 98) << joined;
        }
    }
    EXPECT_EQ(wynv_tx_get_num_lines(tx_), lines);
    wynv_tx_set_margin(tx_, 60);
    EXPECT_GT(wynv_tx_get_num_par_lines(tx_, 0), lines);
    for (uint16_t l = 0; l < wynv_tx_get_num_par_lines(tx_, 0); ++l) EXPECT_LE(ink_width(tx_, 0, l), 60);
    wynv_tx_set_attr(tx_, 0);
    EXPECT_EQ(wynv_tx_get_num_lines(tx_), 1) << "without wrap a paragraph is one line";
    consistent();
    // The check the fuzz target relies on sees a stale layout.
    tx::ref r(tx_);
    r->attr = TX_WRAP;
    EXPECT_STREQ(tx::check_consistency(tx_), "line breaks differ from a fresh layout");
    r->attr = 0;
}

TEST_F(tx_layout, TabsGoToTheirStopsAndSpacesAreNeverSplit) {
    ASSERT_TRUE(make());
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "a\tb"));
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "a\t\tb"));
    {
        tx::ref r(tx_);
        r->avg_width = 7;
    }
    EXPECT_EQ(wynv_tx_get_tabstop(tx_), 8);
    EXPECT_EQ(x_of(0, 0, 2), 56);
    EXPECT_EQ(x_of(1, 0, 3), 112) << "each further tab one tab width more";
    wynv_tx_set_tabstop(tx_, 2);
    {
        tx::ref r(tx_);
        r->avg_width = 7;
    }
    EXPECT_EQ(x_of(0, 0, 2), 14);

    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, std::string(300, ' ').c_str()));
    EXPECT_EQ(wynv_tx_get_num_par_lines(tx_, 2), 1);
    // A word wider than the line is cut by characters, every line keeping at least one.
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, std::string(100, 'W').c_str()));
    EXPECT_GT(wynv_tx_get_num_par_lines(tx_, 3), 3);
    for (uint16_t l = 0; l < wynv_tx_get_num_par_lines(tx_, 3); ++l) {
        EXPECT_GE(wynv_tx_get_num_chars(tx_, 3, l), 1);
        EXPECT_LE(ink_width(tx_, 3, l), 98);
    }
    consistent();
}

TEST_F(tx_layout, ParagraphsAreAddedAppendedReplacedAndRemovedWithinTheirLimits) {
    ASSERT_TRUE(make(TX_WRAP, RCT{0, 0, 200, 300}, 0, 10));
    EXPECT_FALSE(wynv_tx_append(tx_, 0, "x")) << "nothing to append to";
    EXPECT_TRUE(reported_ids().empty());
    ASSERT_TRUE(wynv_tx_add_par(tx_, 65535, "second"));
    ASSERT_TRUE(wynv_tx_add_par(tx_, 0, "first"));
    ASSERT_TRUE(wynv_tx_add_par(tx_, 40, "third"));
    EXPECT_EQ(text(), "first|second|third");
    ASSERT_TRUE(wynv_tx_set_par(tx_, 1, "abcdefgh"));
    EXPECT_TRUE(wynv_tx_append(tx_, 1, "ijkl")) << "the limit of 10 leaves room for 2";
    EXPECT_FALSE(wynv_tx_append(tx_, 1, "z")) << "a full paragraph takes nothing";
    EXPECT_TRUE(wynv_tx_append(tx_, 9, "!")) << "the index is clamped to the last";
    EXPECT_EQ(text(), "first|abcdefghij|third!");
    EXPECT_FALSE(wynv_tx_set_par(tx_, 3, "x"));
    EXPECT_FALSE(wynv_tx_rem_par(tx_, 3));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{TX_ERR_RANGE, TX_ERR_RANGE}));
    EXPECT_TRUE(wynv_tx_rem_par(tx_, 0));
    EXPECT_EQ(text(), "abcdefghij|third!");
    EXPECT_EQ(wynv_tx_get_num_chars(tx_, 0, 0), 10);
    int32_t len = 5;
    EXPECT_EQ(wynv_tx_get_line(tx_, 0, TX_LINE_READ, 0, &len), nullptr) << "no paragraph opened";
    EXPECT_EQ(len, 0);
    consistent();
    EXPECT_TRUE(wynv_tx_clear(tx_));
    EXPECT_EQ(wynv_tx_get_num_pars(tx_), 0);
    EXPECT_EQ(wynv_tx_get_num_lines(tx_), 0);
    consistent();
}

TEST_F(tx_layout, OversizedParagraphsAndTablesAreRefusedWithTheirErrors) {
    ASSERT_TRUE(make(TX_WRAP, RCT{0, 0, 200, 300}, 1));
    EXPECT_FALSE(wynv_tx_add_par(tx_, TX_PAR_END, std::string(70000, 'x').c_str()));
    EXPECT_FALSE(wynv_tx_add_par(tx_, TX_PAR_END, std::string(32740, 'x').c_str()));
    // At a 1-pixel margin every character is a line of its own: 20,000 lines overfill the table.
    EXPECT_FALSE(wynv_tx_add_par(tx_, TX_PAR_END, std::string(20000, 'x').c_str()));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{TX_ERR_RANGE, TX_ERR_BLOCK, TX_ERR_BLOCK}));
    EXPECT_EQ(wynv_tx_get_num_pars(tx_), 0);
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, std::string(16000, 'x').c_str()));
    reported_ids().clear();
    EXPECT_FALSE(wynv_tx_append(tx_, 0, std::string(1000, 'y').c_str()));
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{TX_ERR_BLOCK});
    EXPECT_EQ(text(), std::string(16000, 'x')) << "a refused edit leaves the text as it was";
    consistent();
    // A narrower margin is not refused: the last line the table holds takes the rest.
    wynv_tx_set_margin(tx_, 0);
    ASSERT_TRUE(wynv_tx_append(tx_, 0, std::string(4000, 'y').c_str()));
    reported_ids().clear();
    wynv_tx_set_margin(tx_, 1);
    EXPECT_GT(wynv_tx_get_num_lines(tx_), 16000);
    EXPECT_LT(wynv_tx_get_num_lines(tx_), 16384);
    EXPECT_TRUE(reported_ids().empty());
    EXPECT_EQ(text(), std::string(16000, 'x') + std::string(4000, 'y'));
    consistent();
}

TEST_F(tx_layout, AtMost65534ParagraphsAreHeld) {
    ASSERT_TRUE(make(0));
    wynv_tx_suspend(tx_);
    for (int i = 0; i < 65534; ++i) ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "p")) << i;
    EXPECT_FALSE(wynv_tx_add_par(tx_, TX_PAR_END, "p"));
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{TX_ERR_RANGE});
    EXPECT_EQ(wynv_tx_get_num_pars(tx_), 65534);
    EXPECT_EQ(wynv_tx_get_num_lines(tx_), 65534);
    wynv_tx_resume(tx_);
}

TEST_F(tx_layout, TheProgramsSelectionIsClampedIntoTheText) {
    ASSERT_TRUE(make());
    wynv_tx_set_sel(tx_, 1, 1, 1, 2, 2, 2);
    uint16_t v[6];
    wynv_tx_get_sel(tx_, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    EXPECT_EQ(std::vector<uint16_t>(v, v + 6), std::vector<uint16_t>(6, 0)) << "no paragraphs";
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "alpha"));
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "beta gamma delta epsilon zeta eta"));
    const uint16_t last = uint16_t(wynv_tx_get_num_par_lines(tx_, 1) - 1);
    const uint16_t end = wynv_tx_get_num_chars(tx_, 1, last);
    wynv_tx_set_sel(tx_, 0, 0, 99, 9, 0, 0);
    wynv_tx_get_sel(tx_, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    EXPECT_EQ(std::vector<uint16_t>(v, v + 6), (std::vector<uint16_t>{0, 0, 5, 1, last, end}));
    wynv_tx_set_sel(tx_, 1, 40, 0, 0, 0, 2);
    wynv_tx_get_sel(tx_, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    EXPECT_EQ(std::vector<uint16_t>(v, v + 6), (std::vector<uint16_t>{0, 0, 2, 1, last, end}))
        << "start first; a line past the last is the end of the paragraph";
    consistent();
}

TEST_F(tx_layout, TheFontGivenOutIsACopy) {
    ASSERT_TRUE(make());
    FONT font = wynv_tx_get_font(tx_);
    ASSERT_NE(font, nullptr);
    const int32_t size = wynv_font_get_size(font);
    wynv_font_set_size(font, size + 10);
    wynv_font_destroy(font);
    font = wynv_tx_get_font(tx_);
    EXPECT_EQ(wynv_font_get_size(font), size);
    wynv_font_set_size(font, 30);
    ASSERT_TRUE(wynv_tx_add_par(tx_, TX_PAR_END, "big"));
    const int before = x_of(0, 0, 3);
    wynv_tx_set_font(tx_, font);
    wynv_font_destroy(font);
    EXPECT_GT(x_of(0, 0, 3), before) << "a larger font re-measures";
    consistent();
}
