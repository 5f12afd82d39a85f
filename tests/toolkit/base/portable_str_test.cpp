// UTF-8 string functions: character boundaries, bounded copies, comparison, search, case and
// wide-character conversion, and number parsing.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "portable_reports.h"
#include <wyn/mem.h>
#include <wyn/str.h>

namespace {

// "é" is 2 bytes, "€" 3 and "𝄞" 4.
const char kMixed[] = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"
                      "b";

TEST(StrLength, CountsWholeUtf8Characters) {
    EXPECT_EQ(wynv_str_get_byte_count(kMixed), 11);
    EXPECT_EQ(wynv_str_get_char_count(kMixed), 5);
    EXPECT_EQ(wynk_str_get_char_size(kMixed + 3), 3);
    EXPECT_EQ(wynk_str_get_char_size(kMixed + 6), 4);
    // Characters within n bytes never count a character cut by the limit.
    EXPECT_EQ(wynv_str_get_n_char_count(kMixed, 5), 2);
    EXPECT_EQ(wynv_str_get_n_char_count(kMixed, 6), 3);
    EXPECT_EQ(wynv_str_get_n_char_count(kMixed, 100), 5);
    EXPECT_EQ(wynv_str_get_n_char_size(kMixed, 4), 10);
    EXPECT_EQ(wynv_str_get_n_char_size(kMixed, 100), 11);
}

TEST(StrLength, BrokenSequencesCountOneByteEachAndNeverPassTheTerminator) {
    // A lead byte of a 3-byte sequence followed by the terminator, a stray continuation byte,
    // an overlong "/" and an encoded surrogate.
    const char truncated[] = "x\xE2\x82";
    EXPECT_EQ(wynv_str_get_char_count(truncated), 3);
    EXPECT_EQ(wynk_str_get_char_size(truncated + 1), 1);
    EXPECT_EQ(wynv_str_get_char_count("\x80"), 1);
    EXPECT_EQ(wynv_str_get_char_count("\xC0\xAF"), 2);
    EXPECT_EQ(wynv_str_get_char_count("\xED\xA0\x80"), 3);
    EXPECT_EQ(wynk_str_get_char_size(nullptr), 0);
}

TEST(StrCopy, SizeLimitedCopyNeverSplitsACharacterAndAlwaysTerminates) {
    char buf[16];
    std::memset(buf, 'Z', sizeof buf);
    ASSERT_EQ(wynv_str_copy_n_size(buf, kMixed, 6), buf);
    EXPECT_STREQ(buf, "a\xC3\xA9"); // the 3-byte "€" would need 7 bytes with the terminator
    ASSERT_EQ(wynv_str_copy_n_size(buf, kMixed, 1), buf);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(wynv_str_copy_n_size(buf, kMixed, 0), nullptr);

    wynv_str_copy_n_char(buf, kMixed, 3);
    EXPECT_STREQ(buf, "a\xC3\xA9\xE2\x82\xAC");
    wynv_str_concat_n_char(buf, "\xF0\x9D\x84\x9Ezz", 1);
    EXPECT_STREQ(buf, "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E");

    char* dup = wynv_str_duplicate(kMixed);
    EXPECT_STREQ(dup, kMixed);
    wynv_mem_free(dup);
}

TEST(StrCompare, IgnoresCaseOfNonAsciiLettersAndOrdersNullFirst) {
    EXPECT_EQ(wynv_str_compare_ignoring_case("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"), 0);
    EXPECT_LT(wynv_str_compare_ignoring_case("abc", "ABCD"), 0);
    EXPECT_GT(wynv_str_compare_ignoring_case("abd", "ABC"), 0);
    EXPECT_LT(wynv_str_compare_ignoring_case(nullptr, ""), 0);
    EXPECT_EQ(wynv_str_compare_ignoring_case(nullptr, nullptr), 0);
    EXPECT_EQ(wynv_str_collate_ignoring_case("Zeta", "zETA"), 0);
    // Three characters of different byte sizes compare equal, the fourth differs.
    EXPECT_EQ(wynv_str_compare_n_char("a\xC3\xA9\xE2\x82\xACx", "a\xC3\xA9\xE2\x82\xACy", 3), 0);
    EXPECT_LT(wynv_str_compare_n_char("a\xC3\xA9\xE2\x82\xACx", "a\xC3\xA9\xE2\x82\xACy", 4), 0);
    EXPECT_TRUE(wynv_str_is_equal(nullptr, nullptr));
    EXPECT_FALSE(wynv_str_is_equal("a", nullptr));
}

TEST(StrSearch, FindsWholeCharactersOnly) {
    EXPECT_EQ(wynv_str_find_first_wchar(kMixed, L'\u20AC'), kMixed + 3);
    const char twice[] = "\xC3\xA9x\xC3\xA9";
    EXPECT_EQ(wynv_str_find_last_wchar(twice, L'\u00E9'), twice + 3);
    // The set holds "é" (C3 A9): a character sharing only its lead byte is not in it.
    const char other[] = "ab\xC3\xA8\xC3\xA9";
    EXPECT_EQ(wynv_str_find_char_set(other, "\xC3\xA9"), other + 4);
    EXPECT_EQ(wynv_str_find_not_char_set(other, "ab\xC3\xA8"), other + 4);
    EXPECT_EQ(wynv_str_find_not_char_set("aaa", "a"), nullptr);
    EXPECT_EQ(wynv_str_find_substring(kMixed, "\xF0\x9D\x84\x9E"
                                              "b"),
              kMixed + 6);
    EXPECT_EQ(wynv_str_find_substring(kMixed, "c"), nullptr);
    const char path[] = "a/\xC3\xA9/c";
    EXPECT_EQ(wynv_str_find_first_char(path, '/'), path + 1);
    EXPECT_EQ(wynv_str_find_last_char(path, '/'), path + 4);
}

TEST(StrSearch, TokensAndSpaces) {
    const char line[] = "  ,alpha, \xC3\xA9t\xC3\xA9 ,";
    long len = 0;
    char* token = wynv_str_find_token(line, " ,", &len);
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(std::string(token, len), "alpha");
    token = wynv_str_find_token(token + len, " ,", &len);
    EXPECT_EQ(std::string(token, len), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(wynv_str_find_token(token + len, " ,", &len), nullptr);
    EXPECT_STREQ(wynv_str_skip_space(" \t\nx "), "x ");
    EXPECT_EQ(wynv_str_skip_space(" \t "), nullptr);
}

TEST(StrClassify, LettersUseUnicodeTablesAndTheRestAscii) {
    EXPECT_TRUE(wynv_str_is_alpha("\xC3\xA9"));
    EXPECT_TRUE(wynv_str_is_upper("\xC3\x89"));
    EXPECT_TRUE(wynv_str_is_lower("\xC3\xA9"));
    EXPECT_FALSE(wynv_str_is_digit("\xD9\xA3")); // Arabic-Indic three: not a runtime digit
    EXPECT_FALSE(wynv_str_is_alpha("\xC3"));     // a broken sequence is no letter
    EXPECT_TRUE(wynv_str_is_invariant("?"));
    EXPECT_FALSE(wynv_str_is_invariant("#"));
    EXPECT_FALSE(wynv_str_is_invariant("\xC3\xA9"));
    EXPECT_FALSE(wynv_str_is_space(nullptr));
}

TEST(StrCase, InPlaceConversionKeepsByteLengths) {
    char text[] = "\xC3\x89t\xC3\xA9 \xC4\xB0stanbul";
    // "É" lowers to "é" (both 2 bytes); "İ" (2 bytes) would lower to "i" (1 byte) and stays.
    wynk_str_convert_to_lower(text);
    EXPECT_STREQ(text, "\xC3\xA9t\xC3\xA9 \xC4\xB0stanbul");
    wynk_str_convert_to_upper(text);
    EXPECT_STREQ(text, "\xC3\x89T\xC3\x89 \xC4\xB0STANBUL");
    EXPECT_EQ(wynv_str_convert_wchar_to_lower(L'\u0393'), L'\u03B3');
}

TEST(StrWide, ConversionsRoundTripEvenInvalidBytes) {
    const char source[] = "a\xFF\xC3\xA9\xE2\x82";
    wchar_t wide[16];
    ASSERT_EQ(wynv_str_convert_mbs_to_wcs(wide, source, 16), 5);
    EXPECT_EQ(wide[1], 0xDCFF);
    EXPECT_EQ(wide[2], 0xE9);
    char back[16];
    ASSERT_EQ(wynv_str_convert_wcs_to_mbs(back, wide, sizeof back), 5);
    EXPECT_STREQ(back, source);

    // Bounded by the destination: never a split character, always terminated.
    EXPECT_EQ(wynv_str_convert_wcs_to_mbs(back, wide, 4), 2);
    EXPECT_STREQ(back, "a\xFF");
    EXPECT_EQ(wynv_str_convert_mbs_to_wcs(wide, source, 3), 2);
    EXPECT_EQ(wide[2], 0);
    const wchar_t lone_surrogate[] = {0xD800, 0};
    EXPECT_EQ(wynv_str_convert_wcs_to_mbs(back, lone_surrogate, sizeof back), -1);

    wchar_t wc;
    EXPECT_EQ(wynk_str_convert_mb_to_wc(&wc, "\xF0\x9D\x84\x9E"), 4);
    EXPECT_EQ(wc, 0x1D11E);
    EXPECT_EQ(wynk_str_convert_wc_to_mb(back, 0x20AC), 3);
}

TEST(StrNumbers, OutOfRangeValuesAreWarnedAboutAndClamped) {
    ReportCapture capture;
    char* end = nullptr;
    EXPECT_EQ(wynv_str_parse_long("0x1F rest", 0, &end), 31);
    EXPECT_STREQ(end, " rest");
    EXPECT_TRUE(ReportCapture::reports().empty());
    EXPECT_EQ(wynv_str_parse_long("99999999999999999999999", 10, nullptr), LONG_MAX);
    EXPECT_TRUE(ReportCapture::only(0x1590008, 1));
    EXPECT_DOUBLE_EQ(wynv_str_parse_double("2.5e1", nullptr), 25.0);
    wynv_str_parse_double("1e999", nullptr);
    EXPECT_EQ(ReportCapture::reports().size(), 2u);
}

} // namespace
