// Tests of Windows text-file reading, appending and atomic rewriting.
#include "files/text_file.h"
#include "files_support.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
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
    EXPECT_FALSE(exists(atomic_text_file::temporary_name("f", 0).c_str()));
    EXPECT_EQ(rewrite_text_file("f", "new\n"), 0);
    EXPECT_EQ(read_bytes("f"), "new\r\n");
    EXPECT_EQ(rewrite_text_file("no/dir/f", "x"), 2);
}

TEST_F(text_file_test, AppendCompletesADamagedLastRecordFirst) {
    // Records of 8 bytes, the last cut short after 3: padded with blanks and CR LF to 8 bytes.
    write_bytes("r", "abcdef\r\nabc");
    EXPECT_EQ(append_text("r", "ABCDEF\n", 8), 0);
    EXPECT_EQ(read_bytes("r"), "abcdef\r\nabc   \r\nABCDEF\r\n");
    // One byte short: only the LF of the CR LF is missing.
    write_bytes("r", "abcdef\r");
    EXPECT_EQ(append_text("r", "ABCDEF\n", 8), 0);
    EXPECT_EQ(read_bytes("r"), "abcdef\r\nABCDEF\r\n");
}

// The directories synced, each with the bytes of "f" at that moment (empty when it is not there).
std::vector<std::pair<std::string, std::string>> g_synced;
void note_sync(const char* directory) {
    g_synced.emplace_back(directory, read_bytes("f"));
}

TEST_F(text_file_test, RewriteThroughALinkReplacesItsTargetAndKeepsTheLink) {
    ASSERT_EQ(mkdir("etc", 0755), 0);
    write_bytes("etc/real", "old");
    ASSERT_EQ(chmod("etc/real", 0640), 0);
    // A chain: f -> g -> etc/real, relative links each.
    ASSERT_EQ(symlink("etc/real", "g"), 0);
    ASSERT_EQ(symlink("g", "f"), 0);
    g_synced.clear();
    EXPECT_EQ(rewrite_text_file("f", "new\n", note_sync), 0);
    struct stat st {};
    ASSERT_EQ(lstat("f", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat("g", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat("etc/real", &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(read_bytes("etc/real"), "new\r\n");
    // The directory of the replaced file is synced, after the rename.
    EXPECT_EQ(g_synced, (std::vector<std::pair<std::string, std::string>>{{"etc", "new\r\n"}}));

    // A link to a file not there yet creates it.
    ASSERT_EQ(symlink("etc/later", "h"), 0);
    EXPECT_EQ(rewrite_text_file("h", "x\n"), 0);
    EXPECT_EQ(read_bytes("etc/later"), "x\r\n");
}

TEST_F(text_file_test, StaleTemporaryFilesAreNeverFollowedNorTouched) {
    write_bytes("victim", "precious");
    write_bytes("f", "old");
    // A link planted at the first temporary name, and a stale file at the second.
    const std::string first = atomic_text_file::temporary_name("f", 0);
    const std::string second = atomic_text_file::temporary_name("f", 1);
    ASSERT_EQ(symlink("victim", first.c_str()), 0);
    write_bytes(second.c_str(), "stale");
    EXPECT_EQ(rewrite_text_file("f", "new\n"), 0);
    EXPECT_EQ(read_bytes("f"), "new\r\n");
    EXPECT_EQ(read_bytes("victim"), "precious");
    EXPECT_EQ(read_bytes(second.c_str()), "stale");
    struct stat st {};
    ASSERT_EQ(lstat(first.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

} // namespace
