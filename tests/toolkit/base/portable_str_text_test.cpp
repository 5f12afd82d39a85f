// Wildcard matching, mnemonic markers, line-end scanning and checked formatting.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "portable_reports.h"
#include <wyn/str.h>

namespace {

TEST(StrMatch, CaseModesAndEscapes) {
    EXPECT_TRUE(wynv_str_match("Log1.TXT", "*.txt", FALSE));
    EXPECT_FALSE(wynv_str_match("Log1.TXT", "*.txt", TRUE));
    EXPECT_TRUE(wynv_str_match("a*", "a\\*", TRUE));
    EXPECT_FALSE(wynv_str_match("ab", "a\\*", TRUE));
    EXPECT_FALSE(wynv_str_match("a", "a\\*", TRUE));
    EXPECT_TRUE(wynv_str_match("a\\", "a\\", TRUE)); // a trailing backslash stands for itself
    EXPECT_TRUE(wynv_str_match("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", FALSE));
}

TEST(StrMatch, StarsAndQuestionMarksCountCharactersNotBytes) {
    EXPECT_TRUE(wynv_str_match("", "*", TRUE));
    EXPECT_FALSE(wynv_str_match("", "?", TRUE));
    EXPECT_TRUE(wynv_str_match("\xE2\x82\xAC", "?", TRUE));
    EXPECT_FALSE(wynv_str_match("\xE2\x82\xAC", "???", TRUE));
    EXPECT_TRUE(wynv_str_match("abcabcabd", "*abd", TRUE));
    EXPECT_TRUE(wynv_str_match("xaybz", "*a*b?", TRUE));
    EXPECT_FALSE(wynv_str_match("xaybz", "*a*b", TRUE));
    EXPECT_TRUE(wynv_str_match(nullptr, nullptr, TRUE));
    EXPECT_FALSE(wynv_str_match("a", nullptr, TRUE));
    EXPECT_FALSE(wynv_str_match(nullptr, "*", TRUE));
    // Many stars over a long miss must stay fast (no exponential backtracking).
    std::string text(2000, 'a');
    EXPECT_FALSE(wynv_str_match(text.c_str(), "*a*a*a*a*a*a*a*a*a*a*b", TRUE));
}

TEST(StrMnemonic, MarkerIsRemovedAndItsIndexReported) {
    char buf[32];
    int index = -1;
    EXPECT_STREQ(wynv_str_get_mnemonic("~Open", &index, buf, sizeof buf), "Open");
    EXPECT_EQ(index, 0);
    EXPECT_STREQ(wynv_str_get_mnemonic("Sa~ve", &index, buf, sizeof buf), "Save");
    EXPECT_EQ(index, 2);
    EXPECT_STREQ(wynv_str_get_mnemonic("Plain", &index, buf, sizeof buf), "Plain");
    EXPECT_EQ(index, WYN_NO_MNEMONIC);
    EXPECT_STREQ(wynv_str_get_mnemonic("Tail~", &index, buf, sizeof buf), "Tail~");
    EXPECT_EQ(index, WYN_NO_MNEMONIC);
    EXPECT_STREQ(wynv_str_get_mnemonic("~", &index, buf, sizeof buf), "~");
    EXPECT_EQ(index, WYN_NO_MNEMONIC);
    // "Save" with its terminator needs 5 bytes.
    EXPECT_EQ(wynv_str_get_mnemonic("Sa~ve", &index, buf, 4), nullptr);
    EXPECT_NE(wynv_str_get_mnemonic("Sa~ve", &index, buf, 5), nullptr);
}

TEST(StrMnemonic, SettingTheMarkerRespectsTextAndCharacterBounds) {
    char buf[32];
    EXPECT_STREQ(wynv_str_set_mnemonic("Save", 2, buf, sizeof buf), "Sa~ve");
    EXPECT_STREQ(wynv_str_set_mnemonic("Save", 0, buf, sizeof buf), "~Save");
    EXPECT_STREQ(wynv_str_set_mnemonic("Save", 4, buf, sizeof buf), "Save");
    EXPECT_STREQ(wynv_str_set_mnemonic("Save", -1, buf, sizeof buf), "Save");
    // Byte 2 lies inside "é": inserting there would split the character.
    EXPECT_STREQ(wynv_str_set_mnemonic("R\xC3\xA9sum\xC3\xA9", 2, buf, sizeof buf),
                 "R\xC3\xA9sum\xC3\xA9");
    EXPECT_STREQ(wynv_str_set_mnemonic("R\xC3\xA9sum\xC3\xA9", 1, buf, sizeof buf),
                 "R~\xC3\xA9sum\xC3\xA9");
    EXPECT_EQ(wynv_str_set_mnemonic("Save", 2, buf, 5), nullptr);
    EXPECT_NE(wynv_str_set_mnemonic("Save", 2, buf, 6), nullptr);
}

struct Eol {
    long offset;
    int length;
};

std::vector<Eol> line_ends(const std::string& text) {
    std::vector<Eol> ends;
    int len = 0;
    for (char* p = wynv_str_find_eol(text.data(), static_cast<long>(text.size()), &len); p;
         p = wynv_str_find_eol(nullptr, 0, &len))
        ends.push_back({p - text.data(), len});
    return ends;
}

bool operator==(const Eol& a, const Eol& b) {
    return a.offset == b.offset && a.length == b.length;
}

TEST(StrEol, TheFirstLineEndFixesTheConvention) {
    using Ends = std::vector<Eol>;
    EXPECT_EQ(line_ends("a\r\nb\r\nc"), (Ends{{1, 2}, {4, 2}}));
    EXPECT_EQ(line_ends("a\n\rb\n\r"), (Ends{{1, 2}, {4, 2}}));
    // Under CR LF a lone LF is text; under LF a CR is text.
    EXPECT_EQ(line_ends("a\r\nb\nc\r\n"), (Ends{{1, 2}, {6, 2}}));
    EXPECT_EQ(line_ends("a\nb\r\nc"), (Ends{{1, 1}, {4, 1}}));
    EXPECT_EQ(line_ends("a\rb\r"), (Ends{{1, 1}, {3, 1}}));
    // A CR at the very end of the buffer cannot be followed by LF within it.
    EXPECT_EQ(line_ends("abc\r"), (Ends{{3, 1}}));
    EXPECT_EQ(line_ends("no line end"), Ends{});
}

TEST(StrEol, ScansOnlyTheGivenLengthAndWarnsOnBrokenCharacters) {
    ReportCapture capture;
    int len = 0;
    const char text[] = "ab\ncd\n";
    EXPECT_EQ(wynv_str_find_eol(text, 2, &len), nullptr);
    EXPECT_TRUE(ReportCapture::reports().empty());

    const char broken[] = "\xC3(\xFF\xFFx\nz";
    EXPECT_EQ(wynv_str_find_eol(broken, 7, &len), broken + 5);
    EXPECT_TRUE(ReportCapture::only(0x1220010, 1));

    // A character cut by the end of the buffer is not broken.
    ReportCapture::reports().clear();
    EXPECT_EQ(wynv_str_find_eol("ab\xE2\x82", 4, &len), nullptr);
    EXPECT_TRUE(ReportCapture::reports().empty());

    EXPECT_EQ(wynv_str_find_eol(text, -1, &len), nullptr);
    EXPECT_TRUE(ReportCapture::only(0x1250004, 1));
    EXPECT_EQ(wynv_str_find_eol(nullptr, 0, &len), nullptr);
}

TEST(StrFormat, FormatsKnownConversionsWithinTheBuffer) {
    char buf[32];
    EXPECT_EQ(wynv_str_sprintf(buf, sizeof buf, "%-4d|%+.2f|%5s|%%|%lx", 7, 2.5, "ab", 255L), 21);
    EXPECT_STREQ(buf, "7   |+2.50|   ab|%|ff");
    EXPECT_EQ(wynv_str_sprintf(buf, sizeof buf, "%*.*s|%hhd|%zu", 3, 1, "xyz", 5, size_t{9}), 7);
    EXPECT_STREQ(buf, "  x|5|9");
}

TEST(StrFormat, RefusesOverflowAndIllegalConversions) {
    char buf[8];
    ReportCapture capture;
    EXPECT_EQ(wynv_str_sprintf(buf, sizeof buf, "%s", "12345678"), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_TRUE(ReportCapture::only(0x1260004, 2));
    EXPECT_EQ(wynv_str_sprintf(buf, sizeof buf, "%s", "1234567"), 7);

    // Held in variables so the compiler's own format check does not object first; "%n" would
    // write through its argument if it reached the formatter.
    for (const char* format : {"%n", "abc%", "%1$d", "%Ld", "%y", "%lln"}) {
        ReportCapture::reports().clear();
        int target = 0;
        std::strcpy(buf, "junk");
        EXPECT_EQ(wynv_str_sprintf(buf, sizeof buf, format, &target), -1) << format;
        EXPECT_STREQ(buf, "") << format;
        EXPECT_EQ(target, 0) << format;
        EXPECT_TRUE(ReportCapture::only(0x159000A, 1)) << format;
    }
}

TEST(StrResource, MissingStringsGiveTheDefaultWithinTheBuffer) {
    PortableStringSource previous = portable_set_string_source(
        [](int id) -> const char* { return id == 30001 ? "OK" : nullptr; });
    char buf[4];
    EXPECT_STREQ(wynv_str_getstr(30001, buf, sizeof buf, "x"), "OK");
    EXPECT_STREQ(wynv_str_getstr(30002, buf, sizeof buf, "Cancel"), "Can");
    EXPECT_STREQ(wynv_str_getstr(30002, nullptr, 0, "Cancel"), "Cancel");
    EXPECT_EQ(wynv_str_getstr(30001, buf, 0, "x"), nullptr);
    portable_set_string_source(previous);
}

} // namespace
