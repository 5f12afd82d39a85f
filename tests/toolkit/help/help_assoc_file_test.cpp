// The association file reader: which lines count, which faults discard the table, the order of
// the table and the lookups with and without a container.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "help_assoc_file.h"

using namespace wynhelp;

namespace {

struct Read {
    WYN_MSG_ID fault = 0;
    int32_t where = 0;
    FileTable table;
};

Read read_text(const std::string& text) {
    Read r;
    std::FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!f) return r;
    r.fault = read_assoc_file(f, r.table, &r.where);
    std::fclose(f);
    return r;
}

} // namespace

TEST(help_assoc_file, comments_blank_and_indented_lines_are_skipped_and_letters_take_either_case) {
    const Read r = read_text("# comment\n' another\n\n   W 9 9 9\n\tD 9 9 9\n"
                             "w 101 0 500\nd 102 0 95\nC 5 102 900\nm 40 101 7\n");
    ASSERT_EQ(r.fault, 0u);
    ASSERT_EQ(r.table.count, 4);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileWindow, 101, 0), 500);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileDialog, 102, 0), 95);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileControl, 5, 102), 900);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileMenu, 40, 101), 7);
    // The kind is part of the key: dialog 101 is not window 101.
    EXPECT_EQ(lookup_file_assoc(r.table, kFileDialog, 101, 0), 0);
}

TEST(help_assoc_file, a_line_short_of_fields_or_of_unknown_kind_discards_the_whole_table) {
    const Read short_line = read_text("# c\n\nW 101 0 500\nC 5\nD 102 0 95\n");
    EXPECT_EQ(short_line.fault, kMsgShortLine);
    EXPECT_EQ(short_line.where, 4);
    EXPECT_EQ(short_line.table.count, 0);
    EXPECT_EQ(lookup_file_assoc(short_line.table, kFileWindow, 101, 0), 0);

    const Read unknown = read_text("W 101 0 500\nX 1 2 3\n");
    EXPECT_EQ(unknown.fault, kMsgUnknownKind);
    EXPECT_EQ(unknown.where, 2);
    EXPECT_EQ(unknown.table.count, 0);

    // A number that does not fit the file's 32-bit fields is no number at all.
    EXPECT_EQ(read_text("W 101 0 99999999999\n").fault, kMsgShortLine);
}

TEST(help_assoc_file, an_empty_file_or_one_of_comments_gives_an_empty_table_without_fault) {
    EXPECT_EQ(read_text("").fault, 0u);
    const Read r = read_text("# only\n\n");
    EXPECT_EQ(r.fault, 0u);
    EXPECT_EQ(r.table.count, 0);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileWindow, 1, 0), 0);
}

TEST(help_assoc_file, a_line_longer_than_99_bytes_reads_on_as_a_line_of_its_own) {
    // The tail after 99 bytes starts with a letter of no kind, so the file is refused; had the
    // reader seen the whole line, it would have taken it.
    const std::string longline = "W 101 0 500" + std::string(88, ' ') + "Q 1 2 3\n";
    const Read r = read_text(longline);
    EXPECT_EQ(r.fault, kMsgUnknownKind);
    EXPECT_EQ(r.where, 2);
}

TEST(help_assoc_file, a_control_entry_for_container_0_answers_for_any_window_without_its_own) {
    const Read r = read_text("C 5 0 900\nC 5 102 901\nC 6 103 950\n");
    ASSERT_EQ(r.fault, 0u);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileControl, 5, 102), 901);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileControl, 5, 777), 900);
    // Asked for container 0, any window's entry for the control answers.
    EXPECT_EQ(lookup_file_assoc(r.table, kFileControl, 6, 0), 950);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileControl, 6, 104), 0);
}

TEST(help_assoc_file, ids_at_both_ends_of_the_32_bit_range_sort_and_are_found) {
    const Read r = read_text("W 2147483647 0 1\nW -2147483648 0 2\nW 0 0 3\nW -1 0 4\n"
                             "M 2147483647 -2147483648 5\nM 2147483647 2147483647 6\n");
    ASSERT_EQ(r.fault, 0u);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileWindow, 2147483647, 0), 1);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileWindow, -2147483647 - 1, 0), 2);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileWindow, 0, 0), 3);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileWindow, -1, 0), 4);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileMenu, 2147483647, -2147483647 - 1), 5);
    EXPECT_EQ(lookup_file_assoc(r.table, kFileMenu, 2147483647, 2147483647), 6);
}
