// Tests of Windows text-file reading, appending and atomic rewriting.
#include "files/text_file.h"
#include "files_support.h"

#include <string>
#include <vector>

namespace {

using text_file_test = files_test;

std::vector<std::string> lines_of(const char* path, std::size_t max) {
    text_reader in(path);
    std::vector<std::string> out;
    std::string line;
    while (in.read_line(line, max)) out.push_back(line);
    return out;
}

TEST_F(text_file_test, ReadingTurnsCrLfIntoLfAndKeepsLoneCarriageReturns) {
    write_bytes("t", "one\r\ntwo\rx\nthree\r");
    EXPECT_EQ(lines_of("t", 100), (std::vector<std::string>{"one\n", "two\rx\n", "three\r"}));
}

TEST_F(text_file_test, LongLinesCountAsOneLineOrComeInPieces) {
    const std::string big(70000, 'b');
    write_bytes("t", "ab" + big + "\r\nnext\r\n");
    EXPECT_EQ(lines_of("t", 4), (std::vector<std::string>{"abbb", "next"}));

    text_reader in("t");
    std::string piece, whole;
    int pieces = 0;
    while (in.read_piece(piece, 1000)) {
        whole += piece;
        ++pieces;
    }
    EXPECT_EQ(whole, "ab" + big + "\nnext\n");
    EXPECT_EQ(pieces, 72);
}

TEST_F(text_file_test, CrLfSplitAcrossTheReadBufferIsStillOneLineEnd) {
    const std::string first(65535, 'a');
    write_bytes("t", first + "\r\nb\r\n");
    const auto lines = lines_of("t", 70000);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first + "\n");
}

TEST_F(text_file_test, AppendWritesCrLfAndReportsAFullDisk) {
    EXPECT_EQ(append_text("a", "x\ny\n"), 0);
    EXPECT_EQ(append_text("a", "z\n"), 0);
    EXPECT_EQ(read_bytes("a"), "x\r\ny\r\nz\r\n");
    if (exists("/dev/full")) {
        EXPECT_EQ(append_text("/dev/full", "x\n"), 2);
    }
    EXPECT_EQ(append_text("no/dir/a", "x\n"), 2);
}

TEST_F(text_file_test, AtomicRewriteReplacesWholeOrNotAtAll) {
    write_bytes("f", "old");
    {
        atomic_text_file out("f");
        ASSERT_TRUE(out.is_open());
        out.write("new\n");
        EXPECT_EQ(read_bytes("f"), "old");
    }
    EXPECT_EQ(read_bytes("f"), "old"); // abandoned without commit
    EXPECT_FALSE(exists("f.tmp"));
    EXPECT_EQ(rewrite_text_file("f", "new\n"), 0);
    EXPECT_EQ(read_bytes("f"), "new\r\n");
    EXPECT_EQ(rewrite_text_file("no/dir/f", "x"), 2);
}

} // namespace
