// The continuous log's printed lines: where a screen print starts, how many lines fill a page,
// and how the file is cut into printed lines.
#include "tools/process_support.h"

#include "ui/log_viewer_print.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> all_lines(const std::string& path, long start) {
    print_line_reader reader(path.c_str(), start);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    return lines;
}

TEST(print_screen_start, goes_672_bytes_back_only_above_byte_924) {
    EXPECT_EQ(print_screen_start(580), 0);   // the view at line 10
    EXPECT_EQ(print_screen_start(1160), 488); // the view at line 20
    EXPECT_EQ(print_screen_start(924), 0);
    EXPECT_EQ(print_screen_start(982), 310);
}

TEST(print_lines_per_page, divides_the_page_and_never_gives_an_empty_page) {
    EXPECT_EQ(print_lines_per_page(1000, 16), 62);
    // A font taller than the page, or one without metrics, must still move through the file.
    EXPECT_EQ(print_lines_per_page(10, 16), 1);
    EXPECT_EQ(print_lines_per_page(1000, 0), 1);
    EXPECT_EQ(print_lines_per_page(0, 16), 1);
}

TEST(print_line_reader, drops_line_ends_and_cuts_long_lines_at_79_characters) {
    const temp_dir dir;
    const std::string path = dir.file("lines.txt");
    const std::string long_line(100, 'x');
    const std::string exact(79, 'y');
    std::ofstream(path, std::ios::binary) << "first\r\n" << long_line << "\r\n" << exact << "\r\n"
                                          << "\r\nlast";
    const std::vector<std::string> lines = all_lines(path, 0);
    // A line of exactly 79 characters leaves no empty line behind its line end.
    const std::vector<std::string> expected{"first", long_line.substr(0, 79), long_line.substr(79),
                                            exact, "", "last"};
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(print_line_reader(dir.file("none").c_str(), 0).is_open());
}

TEST(print_line_reader, a_start_inside_a_record_begins_at_the_next_whole_one) {
    const temp_dir dir;
    const std::string path = dir.file("records.dat");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 30; ++i) {
            char record[59];
            std::snprintf(record, sizeof record, "%-56d\r\n", i);
            out << record;
        }
    }
    // Byte 488 lies 24 bytes into record 8: the torn rest of it is not printed.
    std::vector<std::string> lines = all_lines(path, 488);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.front().substr(0, 2), "9 ");
    // A start on a record's first byte keeps that record.
    lines = all_lines(path, 58 * 9);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.front().substr(0, 2), "9 ");
    EXPECT_EQ(all_lines(path, 58 * 30).size(), 0u);
}

} // namespace
