// Printing to a PDF file: pages and bands, the Cancel button during a page, jobs inside jobs, a
// print window left open, the records and the page metrics.
#include <QAbstractButton>
#include <QPrinterInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

#include "kernel/print_job.h"
#include "toolkit/base/controls_support.h"
#include <wyn/dwin.h>
#include <wyn/print.h>
#include <wyn/res.h>

namespace fs = std::filesystem;

namespace {

constexpr WYN_MSG_ID kRecursive = 0x1620001;
constexpr WYN_MSG_ID kWrongState = 0x1640001;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Pages of a PDF the library wrote: its page objects, counted in the uncompressed dictionaries.
int pdf_pages(const fs::path& path) {
    const std::string pdf = read_file(path);
    const std::regex page("/Type\\s*/Page[^s]");
    return int(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page),
                             std::sregex_iterator()));
}

// The text of a PDF as pdftotext reads it; empty when the tool is missing.
std::string pdf_text(const fs::path& path) {
    const fs::path out = path.string() + ".txt";
    const std::string command = "pdftotext -layout '" + path.string() + "' '" + out.string() +
                                "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    std::string text = read_file(out);
    fs::remove(out);
    return text;
}

bool has_pdftotext() {
    return std::system("command -v pdftotext >/dev/null 2>&1") == 0;
}

// What a job function sees and leaves behind.
struct Job {
    PRINT_RECORD* rec = nullptr;
    int pages = 3;
    int cancel_on_page = 0; // presses Cancel while this page is open
    bool destroy = true;
    std::vector<int> bands_per_page;
    std::vector<bool> closed;
    bool reopened_after_cancel = true;
    int32_t page_count = 0;
    RCT band{};
};

BOOLEAN print_pages(intptr_t data) {
    Job& job = *reinterpret_cast<Job*>(data);
    WINDOW win = wynk_print_create_win(job.rec, "Test listing");
    if (!win) return FALSE;
    for (int page = 1; page <= job.pages; ++page) {
        if (!wynk_print_open_page(job.rec)) break;
        int bands = 0;
        while (RCT* band = wynk_print_get_next_band()) {
            job.band = *band;
            ++bands;
            const std::string line = "Printed page " + std::to_string(page);
            wynk_dwin_draw_text(win, 100, 200, line.c_str(), -1);
        }
        job.bands_per_page.push_back(bands);
        if (page == job.cancel_on_page)
            static_cast<QAbstractButton*>(native(wynk_win_get_ctl(print_status_dialog(), 2)))
                ->click();
        job.closed.push_back(wynk_print_close_page(job.rec) == TRUE);
        if (page == job.cancel_on_page) {
            job.reopened_after_cancel = wynk_print_open_page(job.rec) == TRUE;
            break;
        }
    }
    job.page_count = wynk_print_get_page_count();
    if (job.destroy) wynk_vobj_destroy(win);
    return TRUE;
}

class PrintTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        ASSERT_FALSE(program_resources().empty());
        ASSERT_TRUE(wynv_res_open_file(program_resources().c_str()));
        dir_ = fs::temp_directory_path() / ("wyn_print_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        pdf_ = dir_ / "job.pdf";
        setenv("WYN_PRINT_FILE", pdf_.c_str(), 1);
        job_.rec = wynk_print_create(nullptr);
    }
    void TearDown() override {
        wynk_print_destroy(job_.rec);
        unsetenv("WYN_PRINT_FILE");
        fs::remove_all(dir_);
        ToolkitTest::TearDown();
    }

    fs::path dir_, pdf_;
    Job job_;
};

} // namespace

TEST_F(PrintTest, EveryPageIsOneBandOfThePrintablePageAndReachesTheFile) {
    ASSERT_TRUE(wynk_print_start_thread(print_pages, reinterpret_cast<intptr_t>(&job_)));
    EXPECT_EQ(job_.page_count, 3);
    EXPECT_EQ(job_.bands_per_page, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(job_.closed, (std::vector<bool>{true, true, true}));
    int32_t width = 0, height = 0, hres = 0, vres = 0;
    ASSERT_TRUE(wynk_app_escape(WYN_ESCAPE_PAGE_METRICS, job_.rec, &width, &height, &hres, &vres));
    EXPECT_EQ(hres, 300);
    EXPECT_EQ(vres, 300);
    EXPECT_EQ(job_.band.top, 0);
    EXPECT_EQ(job_.band.left, 0);
    EXPECT_EQ(job_.band.bottom, height) << "the band is the page the metrics announce";
    EXPECT_EQ(job_.band.right, width);
    EXPECT_GT(height, 2000) << "a page of paper at 300 dpi";

    EXPECT_EQ(pdf_pages(pdf_), 3);
    EXPECT_FALSE(fs::exists(pdf_.string() + ".partial"));
    EXPECT_EQ(print_status_dialog(), nullptr) << "the status dialog goes with the window";
    if (!has_pdftotext()) GTEST_SKIP() << "pdftotext is not installed";
    const std::string text = pdf_text(pdf_);
    EXPECT_NE(text.find("Printed page 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Printed page 3"), std::string::npos) << text;
}

TEST_F(PrintTest, CancelDuringPageTwoFailsThePageAndAbortsTheDocument) {
    {
        std::ofstream(pdf_) << "the previous job's file";
    }
    job_.cancel_on_page = 2;
    EXPECT_TRUE(wynk_print_start_thread(print_pages, reinterpret_cast<intptr_t>(&job_)));
    EXPECT_EQ(job_.closed, (std::vector<bool>{true, false}));
    EXPECT_FALSE(job_.reopened_after_cancel) << "every page operation fails once cancelled";
    EXPECT_EQ(job_.page_count, 2);
    EXPECT_EQ(read_file(pdf_), "the previous job's file") << "an aborted document writes nothing";
    EXPECT_FALSE(fs::exists(pdf_.string() + ".partial"));
}

TEST_F(PrintTest, PrintingOutsideAJobOrInsideAnotherIsRefused) {
    EXPECT_EQ(wynk_print_create_win(job_.rec, "outside"), nullptr);
    EXPECT_FALSE(wynk_print_open_page(job_.rec));
    EXPECT_FALSE(wynk_print_close_page(job_.rec));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{kWrongState, kWrongState, kWrongState}));
    reported_ids().clear();

    static bool inner_ran;
    static BOOLEAN inner_result;
    inner_ran = false;
    auto outer = [](intptr_t) -> BOOLEAN {
        EXPECT_TRUE(wynk_print_is_running());
        inner_result = wynk_print_start_thread(
            [](intptr_t) -> BOOLEAN {
                inner_ran = true;
                return TRUE;
            },
            0);
        return TRUE;
    };
    EXPECT_TRUE(wynk_print_start_thread(outer, 0));
    EXPECT_FALSE(inner_result);
    EXPECT_FALSE(inner_ran);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{kRecursive}));
    EXPECT_FALSE(wynk_print_is_running());
}

TEST_F(PrintTest, AWindowLeftOpenFailsTheJobAndFreesThePrinterForTheNext) {
    job_.destroy = false;
    EXPECT_FALSE(wynk_print_start_thread(print_pages, reinterpret_cast<intptr_t>(&job_)));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{kWrongState}));
    EXPECT_EQ(print_status_dialog(), nullptr);
    EXPECT_FALSE(fs::exists(pdf_)) << "the unfinished document is given up";

    PRINT_RECORD* rec = job_.rec;
    job_ = Job{};
    job_.rec = rec;
    EXPECT_TRUE(wynk_print_start_thread(print_pages, reinterpret_cast<intptr_t>(&job_)));
    EXPECT_EQ(pdf_pages(pdf_), 3);
}

TEST_F(PrintTest, RecordsAndThePageSetUpWithAForcedFile) {
    int32_t size = 0;
    PRINT_RECORD* rec = wynk_print_create(&size);
    EXPECT_EQ(size, 1112);
    EXPECT_TRUE(wynv_print_is_record(rec));
    EXPECT_TRUE(wynk_print_is_valid(rec)) << "WYN_PRINT_FILE makes every record printable";
    EXPECT_TRUE(wynv_dm_post_page_setup(rec)) << "accepted without being shown";
    int32_t height = 0;
    EXPECT_TRUE(wynk_print_get_page_metrics(rec, nullptr, &height, nullptr, nullptr));
    EXPECT_GT(height, 0);
    wynk_print_destroy(rec);
    EXPECT_FALSE(wynv_print_is_record(rec));
    EXPECT_FALSE(wynk_print_is_valid(rec));

    unsetenv("WYN_PRINT_FILE");
    rec = wynk_print_create(nullptr);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_FALSE(wynk_print_is_valid(rec)) << "no printer and no file";
        EXPECT_FALSE(wynk_app_escape(WYN_ESCAPE_PAGE_METRICS, rec, &height, &height, &height,
                                     &height));
    }
    wynk_print_destroy(rec);
}
