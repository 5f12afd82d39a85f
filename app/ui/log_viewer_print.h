// Printing of the continuous log: the whole working copy page by page, or the lines around the
// view on one page, each line as the file holds it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <wyn/types.h>

inline constexpr const char* PRINT_SCREEN_TITLE = "Norvane VoltSentry Plus Continuous Log File";
// "Print Screen" prints at most this many lines, its title included.
inline constexpr int PRINT_SCREEN_LINES = 22;
// Printed lines are cut at this many characters.
inline constexpr int PRINT_LINE_CHARS = 79;

// Where "Print Screen" starts reading for a view last read at byte position: 672 bytes before it
// when it lies above 924, else the start of the file.
long print_screen_start(long position);

// Lines of a printed page: the printable height over the line height, and at least one, so that
// a font taller than the page still moves through the file.
int print_lines_per_page(int32_t page_height, int32_t line_height);

// Reads a text file as printed lines: each at most PRINT_LINE_CHARS characters (a longer one goes
// on in the next), its line end dropped.
class print_line_reader {
  public:
    // Opens file at byte start. A start inside a line skips the rest of that line, so that a torn
    // record is never printed as though it were one; is_open() tells whether the file opened.
    print_line_reader(const char* file, long start);

    bool is_open() const { return static_cast<bool>(file_); }

    // The next line into line; false at the end of the file or when it cannot be read.
    bool next(std::string& line);

  private:
    struct closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, closer> file_;
};

// The viewer window that prints, repainted around the job; null once it has gone.
using print_viewer = WINDOW (*)();

// Prints every line of file, page after page, on the page set up in a fresh print record.
// Shows "Printing failed!" when the record cannot be had or the job fails; false then, or when
// the page set-up was cancelled.
bool print_whole_file(print_viewer viewer, const char* file);

// Prints one page: the title, then the lines of file from print_screen_start(position), 22 lines
// at most in all. Fails as print_whole_file.
bool print_screen(print_viewer viewer, const char* file, long position);
