// String lists: insertion order, moving lists, membership checks and the debug listing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "portable_reports.h"
#include <wyn/slist.h>

namespace {

std::vector<std::string> strings_of(SLIST list) {
    std::vector<std::string> out;
    for (SLIST_ELT e = wynv_slist_get_first(list); e; e = wynv_slist_get_next(list, e))
        out.emplace_back(wynv_slist_get(list, e, nullptr));
    return out;
}

std::vector<long> data_of(SLIST list) {
    std::vector<long> out;
    for (SLIST_ELT e = wynv_slist_get_first(list); e; e = wynv_slist_get_next(list, e))
        out.push_back(*wynv_slist_get_data(e));
    return out;
}

struct List {
    SLIST handle = wynv_slist_create();
    ~List() { wynv_slist_destroy(handle); }
    operator SLIST() const { return handle; }
};

using Strings = std::vector<std::string>;

TEST(SlistSorted, KeepsCaseInsensitiveOrderAndPutsEqualStringsBeforeOldOnes) {
    List list;
    for (const char* s : {"delta", "Alpha", "charlie", "bravo"})
        ASSERT_TRUE(wynv_slist_add_sorted(list, s, 0, FALSE, FALSE));
    EXPECT_EQ(strings_of(list), (Strings{"Alpha", "bravo", "charlie", "delta"}));

    ASSERT_TRUE(wynv_slist_add_sorted(list, "BRAVO", 7, FALSE, FALSE));
    EXPECT_EQ(strings_of(list), (Strings{"Alpha", "BRAVO", "bravo", "charlie", "delta"}));
    EXPECT_EQ(data_of(list), (std::vector<long>{0, 7, 0, 0, 0}));
}

TEST(SlistSorted, UniqueEqualStringInOtherCaseIsASuccessfulNoOp) {
    List list;
    wynv_slist_add_sorted(list, "Log1.TXT", 1, TRUE, FALSE);
    EXPECT_TRUE(wynv_slist_add_sorted(list, "log1.txt", 2, TRUE, FALSE));
    EXPECT_EQ(strings_of(list), (Strings{"Log1.TXT"}));
    EXPECT_EQ(data_of(list), (std::vector<long>{1}));

    // Case-sensitive mode sees two different strings.
    EXPECT_TRUE(wynv_slist_add_sorted(list, "log1.txt", 2, TRUE, TRUE));
    EXPECT_EQ(wynv_slist_count(list), 2);
}

TEST(SlistSorted, RefusesNullAndListMarkedStrings) {
    List list;
    ReportCapture capture;
    EXPECT_FALSE(wynv_slist_add_sorted(list,
                                       "\xFF"
                                       "abc",
                                       0, FALSE, TRUE));
    EXPECT_FALSE(wynv_slist_add_sorted(list, nullptr, 0, FALSE, TRUE));
    EXPECT_FALSE(wynv_slist_add_sorted(nullptr, "x", 0, FALSE, TRUE));
    EXPECT_EQ(ReportCapture::reports().size(), 3u);
    EXPECT_EQ(wynv_slist_count(list), 0);
}

TEST(SlistPositions, InsertsAtFrontMiddleAndAppendsBeyondTheEnd) {
    List list;
    wynv_slist_add_at_pos(list, 0, "b", 0);
    wynv_slist_add_at_pos(list, 0, "a", 0);
    wynv_slist_add_at_pos(list, 99, "d", 0);
    wynv_slist_add_at_pos(list, 2, "c", 0);
    wynv_slist_add_at_pos(list, -1, "e", 0);
    EXPECT_EQ(strings_of(list), (Strings{"a", "b", "c", "d", "e"}));
    long data = -1;
    EXPECT_STREQ(wynv_slist_get_elt(list, 4, &data), "e");
    EXPECT_EQ(wynv_slist_get_elt(list, 5, &data), nullptr);
    EXPECT_EQ(wynv_slist_get_elt(list, -1, &data), nullptr);
}

TEST(SlistMove, AddingAListMovesAllItsElementsAndLeavesItEmptyButValid) {
    List list;
    List other;
    wynv_slist_add_at_pos(list, 99, "a", 1);
    wynv_slist_add_at_pos(list, 99, "d", 4);
    wynv_slist_add_at_pos(other, 99, "b", 2);
    wynv_slist_add_at_pos(other, 99, "c", 3);

    ASSERT_TRUE(wynv_slist_add_at_pos(list, 1, reinterpret_cast<const char*>(other.handle), 0));
    EXPECT_EQ(strings_of(list), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(data_of(list), (std::vector<long>{1, 2, 3, 4}));
    EXPECT_EQ(wynv_slist_count(list), 4);
    EXPECT_TRUE(wynv_slist_is_valid(other));
    EXPECT_EQ(wynv_slist_count(other), 0);

    // Moving the now empty list changes nothing, and appending after the moved run still works.
    ASSERT_TRUE(wynv_slist_add_at_pos(list, 0, reinterpret_cast<const char*>(other.handle), 0));
    wynv_slist_add_at_elt(list, nullptr, "e", 5);
    EXPECT_EQ(strings_of(list), (Strings{"a", "b", "c", "d", "e"}));
}

TEST(SlistMove, RefusesToMoveAListIntoItselfOrAStringThatOnlyLooksLikeAList) {
    List list;
    wynv_slist_add_at_pos(list, 0, "a", 0);
    ReportCapture capture;
    EXPECT_FALSE(wynv_slist_add_at_pos(list, 0, reinterpret_cast<const char*>(list.handle), 0));
    const char fake[] = "\xFF\xFF\xFF\xFF garbage";
    EXPECT_FALSE(wynv_slist_add_at_pos(list, 0, fake, 0));
    EXPECT_EQ(ReportCapture::reports().size(), 2u);
    EXPECT_EQ(strings_of(list), (Strings{"a"}));
}

TEST(SlistElements, ForeignElementsAreReportedAndNeverUnlinked) {
    List list;
    List other;
    wynv_slist_add_at_pos(list, 0, "a", 0);
    wynv_slist_add_at_pos(other, 0, "x", 0);
    SLIST_ELT foreign = wynv_slist_get_first(other);

    ReportCapture capture;
    EXPECT_TRUE(wynv_slist_add_at_elt(list, foreign, "b", 0));
    EXPECT_EQ(strings_of(list), (Strings{"a", "b"}));
    EXPECT_FALSE(wynv_slist_rem(list, foreign));
    EXPECT_EQ(ReportCapture::reports().size(), 2u);
    EXPECT_EQ(strings_of(other), (Strings{"x"}));
}

TEST(SlistElements, RemovingTheLastElementKeepsAppendsAtTheEnd) {
    List list;
    wynv_slist_add_at_pos(list, 99, "a", 0);
    wynv_slist_add_at_pos(list, 99, "b", 0);
    ASSERT_TRUE(wynv_slist_rem(list, wynv_slist_get_next(list, wynv_slist_get_first(list))));
    wynv_slist_add_at_elt(list, nullptr, "c", 0);
    ASSERT_TRUE(wynv_slist_rem(list, wynv_slist_get_first(list)));
    wynv_slist_add_at_pos(list, 99, "d", 0);
    EXPECT_EQ(strings_of(list), (Strings{"c", "d"}));
    EXPECT_EQ(wynv_slist_count(list), 2);
}

TEST(SlistValidity, OnlyLiveListsAreValid) {
    SLIST list = wynv_slist_create();
    EXPECT_TRUE(wynv_slist_is_valid(list));
    wynv_slist_destroy(list);
    EXPECT_FALSE(wynv_slist_is_valid(list));
    EXPECT_FALSE(wynv_slist_is_valid(nullptr));
    char fake[16] = "\xFF\xFF\xFF\xFF";
    EXPECT_FALSE(wynv_slist_is_valid(reinterpret_cast<SLIST>(fake)));
}

std::vector<std::string>& debug_lines() {
    static std::vector<std::string> lines;
    return lines;
}

TEST(SlistDebug, WritesOneNumberedLinePerElementOrTheEmptyAndNullTexts) {
    debug_lines().clear();
    PortableDebugSink previous =
        portable_set_debug_sink([](const char* line) { debug_lines().emplace_back(line); });
    List list;
    wynv_slist_debug(nullptr);
    wynv_slist_debug(list);
    wynv_slist_add_at_pos(list, 99, "one", 42);
    wynv_slist_add_at_pos(list, 99, "two", -3);
    wynv_slist_debug(list);
    portable_set_debug_sink(previous);
    EXPECT_EQ(debug_lines(), (Strings{"NULL argument.", "Empty list.",
                                      "   1: Refcon =        42   String = \"one\"",
                                      "   2: Refcon =        -3   String = \"two\""}));
}

} // namespace
