// The checked printing calls: null, foreign and destroyed print records and a missing job
// function, each reported once under the printing source name with the failure value.
#include <wyn/checked/print.h>
#include <wyn/errfrm.h>

#include "checked_support.h"

using PrintChecks = CheckedWindowTest;

TEST_F(PrintChecks, RecordsTheLibraryDidNotMakeOrHasFreedAreRefused) {
    PRINT_RECORD* dead = wyn_print_create(nullptr);
    ASSERT_NE(dead, nullptr);
    wyn_print_destroy(dead);
    alignas(8) char foreign_bytes[WYN_PRINT_RECORD_SIZE] = {};
    auto* foreign = reinterpret_cast<PRINT_RECORD*>(foreign_bytes);
    for (PRINT_RECORD* rec : {static_cast<PRINT_RECORD*>(nullptr), foreign, dead}) {
        const WYN_MSG_ID id = rec ? 0x122000C : 0x1210001;
        ReportRecorder::all().clear();
        EXPECT_FALSE(wyn_print_is_valid(rec));
        EXPECT_TRUE(one_report(id, "tprint"));
        expect_one_report_each({
            [&] { wyn_print_destroy(rec); },
            [&] { EXPECT_EQ(wyn_print_create_win(rec, "t"), nullptr); },
            [&] { EXPECT_FALSE(wyn_print_open_page(rec)); },
            [&] { EXPECT_FALSE(wyn_print_close_page(rec)); },
            [&] { EXPECT_FALSE(wyn_dm_post_page_setup(rec)); },
        });
    }
    ReportRecorder::all().clear();
    EXPECT_FALSE(wyn_dm_post_page_setup(nullptr));
    EXPECT_TRUE(one_report(0x1210001, "tdm")) << "the page set-up is one of the dialogs";
}

TEST_F(PrintChecks, AJobNeedsItsFunctionAndAGoodOneRuns) {
    EXPECT_FALSE(wyn_print_start_thread(nullptr, 0));
    EXPECT_TRUE(one_report(0x121000E, "tprint"));
    ReportRecorder::all().clear();
    static intptr_t seen;
    EXPECT_TRUE(wyn_print_start_thread(
        [](intptr_t data) -> BOOLEAN {
            seen = data;
            return TRUE;
        },
        42));
    EXPECT_EQ(seen, 42);
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}
