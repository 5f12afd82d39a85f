// Printing of the continuous log: the print jobs and the lines they read.
#include "ui/log_viewer_print.h"

#include "ui/prompts.h"

#include <vector>
#include <wyn/checked/app.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/font.h>
#include <wyn/checked/print.h>
#include <wyn/checked/win.h>

namespace {

// The records of the data log are 58 bytes; a view that has gone past 16 of them prints from
// about a dozen records before the last one read.
constexpr long kScreenBack = 672;
constexpr long kScreenFrom = 924;

struct print_record_deleter {
    void operator()(PRINT_RECORD* rec) const { wyn_print_destroy(rec); }
};
using print_record = std::unique_ptr<PRINT_RECORD, print_record_deleter>;

struct paper_deleter {
    void operator()(WINDOW win) const { wyn_vobj_destroy(win); }
};
using paper_window = std::unique_ptr<std::remove_pointer_t<WINDOW>, paper_deleter>;

// What a print job is given: its record, its file, and for a screen where to start.
struct print_job {
    PRINT_RECORD* rec;
    const char* file;
    long start;
};

// The listing's font on paper: fixed, so that the record's columns stay under each other.
int32_t set_listing_font(WINDOW paper) {
    wyn_dwin_set_font_family(paper, "fixed");
    wyn_dwin_set_font_style(paper, 0);
    wyn_dwin_set_font_size(paper, 10);
    DRAW_CTOOLS tools;
    wyn_app_get_default_ctools(&tools);
    wyn_dwin_set_draw_ctools(paper, &tools);
    int32_t leading = 0, ascent = 0, descent = 0;
    FONT font = wyn_dwin_get_font(paper);
    if (font && (wyn_font_is_mapped(font) || wyn_font_map(font, paper)))
        wyn_font_get_metrics(font, &leading, &ascent, &descent);
    return leading + ascent + descent;
}

// Draws lines as lines 1, 2, ... of every band of the open page.
void draw_page(WINDOW paper, const std::vector<std::string>& lines, int32_t line_height) {
    while (wyn_print_get_next_band()) {
        wyn_dwin_clear(paper, COLOR_WHITE);
        for (size_t k = 0; k < lines.size(); ++k)
            wyn_dwin_draw_text(paper, 10, int(k + 1) * line_height, lines[k].c_str(), -1);
    }
}

// Reads up to count lines; fewer at the end of the file.
std::vector<std::string> read_lines(print_line_reader& reader, int count) {
    std::vector<std::string> lines;
    std::string line;
    while (int(lines.size()) < count && reader.next(line)) lines.push_back(line);
    return lines;
}

BOOLEAN print_file_job(intptr_t data) {
    const auto& job = *reinterpret_cast<const print_job*>(data);
    print_line_reader reader(job.file, 0);
    if (!reader.is_open()) return FALSE;
    paper_window paper(wyn_print_create_win(job.rec, "Continuous Log File"));
    if (!paper) return FALSE;
    const int32_t line_height = set_listing_font(paper.get());
    int32_t width = 0, height = 0, hres = 0, vres = 0;
    if (!wyn_app_escape(WYN_ESCAPE_PAGE_METRICS, job.rec, &width, &height, &hres, &vres))
        return FALSE;
    const int per_page = print_lines_per_page(height, line_height);
    // The page's lines are read before it opens, so the last page is never an empty one; an
    // empty file still prints its one empty page.
    std::vector<std::string> lines = read_lines(reader, per_page);
    bool first = true;
    while (first || !lines.empty()) {
        first = false;
        if (!wyn_print_open_page(job.rec)) return FALSE;
        draw_page(paper.get(), lines, line_height);
        if (!wyn_print_close_page(job.rec)) return FALSE;
        lines = read_lines(reader, per_page);
    }
    return TRUE;
}

BOOLEAN print_screen_job(intptr_t data) {
    const auto& job = *reinterpret_cast<const print_job*>(data);
    print_line_reader reader(job.file, job.start);
    if (!reader.is_open()) return FALSE;
    paper_window paper(wyn_print_create_win(job.rec, "Continuous Log Screen"));
    if (!paper) return FALSE;
    const int32_t line_height = set_listing_font(paper.get());
    std::vector<std::string> lines{PRINT_SCREEN_TITLE};
    for (std::string& line : read_lines(reader, PRINT_SCREEN_LINES - 1)) lines.push_back(line);
    if (!wyn_print_open_page(job.rec)) return FALSE;
    draw_page(paper.get(), lines, line_height);
    return wyn_print_close_page(job.rec);
}

// The viewer is asked for afresh after the set-up dialog and the job, whose event loops may have
// let it close.
void repaint(print_viewer viewer) {
    if (WINDOW win = viewer()) wyn_dwin_invalidate_rect(win, nullptr);
}

bool run_print(print_viewer viewer, WYN_PRINT_FN fn, const char* file, long start) {
    print_record rec(wyn_print_create(nullptr));
    bool printed = false;
    if (!rec) {
        ui_error("Printing failed!");
    } else if (wyn_dm_post_page_setup(rec.get())) {
        repaint(viewer);
        const print_job job{rec.get(), file, start};
        printed = wyn_print_start_thread(fn, reinterpret_cast<intptr_t>(&job));
        if (!printed) ui_error("Printing failed!");
    }
    repaint(viewer);
    return printed;
}

} // namespace

long print_screen_start(long position) {
    return position > kScreenFrom ? position - kScreenBack : 0;
}

int print_lines_per_page(int32_t page_height, int32_t line_height) {
    if (line_height <= 0 || page_height < line_height) return 1;
    return int(page_height / line_height);
}

print_line_reader::print_line_reader(const char* file, long start)
    : file_(std::fopen(file, "rb")) {
    if (!file_ || start <= 0) return;
    if (std::fseek(file_.get(), start - 1, SEEK_SET) != 0) return;
    if (std::getc(file_.get()) == '\n') return;
    for (int c = std::getc(file_.get()); c != EOF && c != '\n'; c = std::getc(file_.get())) {
    }
}

bool print_line_reader::next(std::string& line) {
    if (!file_) return false;
    std::FILE* f = file_.get();
    line.clear();
    int c = std::getc(f);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::getc(f)) {
        if (int(line.size()) == PRINT_LINE_CHARS) {
            // A line cut at the limit goes on in the next one, unless only its end was left.
            if (c != '\r') {
                std::ungetc(c, f);
            } else if (const int after = std::getc(f); after != '\n' && after != EOF) {
                std::ungetc(after, f);
            }
            break;
        }
        line.push_back(char(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool print_whole_file(print_viewer viewer, const char* file) {
    return run_print(viewer, print_file_job, file, 0);
}

bool print_screen(print_viewer viewer, const char* file, long position) {
    return run_print(viewer, print_screen_job, file, print_screen_start(position));
}
