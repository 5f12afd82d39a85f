// Message texts, the message file and its cache, dispatch through the handler stacks, the
// standard report, the error budget and the deferral of reports during E_UPDATE.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "err_support.h"
#include "portable/core_state.h"
#include "portable/err_catalogue.h"
#include "portable/err_codes_file.h"
#include "portable/err_report.h"
#include "portable/err_state.h"
#include "portable/err_text.h"
#include "portable/report_hook.h"
#include <wyn/attr.h>
#include <wyn/errfrm.h>

namespace {

std::string text_of(WYN_MSG_ID id) {
    char buffer[WYN_ERRMSG_TEXT_SIZE];
    return wynv_errmsg_get_text(nullptr, id, buffer, sizeof buffer);
}

std::string decode(const char* line, WYN_MSG_ID id) {
    char out[WYN_ERRMSG_TEXT_SIZE] = "untouched";
    return errcodes_match_line(line, id, out, sizeof out) ? out : "<no match>";
}

std::vector<std::string> calls;
int32_t take_a(WYN_ERRMSG*, intptr_t) {
    return calls.push_back("A"), 1;
}
int32_t pass_b(WYN_ERRMSG*, intptr_t) {
    return calls.push_back("B"), 0;
}
int32_t pass_c(WYN_ERRMSG*, intptr_t) {
    return calls.push_back("C"), 0;
}
int32_t wide_result(WYN_ERRMSG*, intptr_t) {
    return 0x12345;
}

// Records the full report of every message it takes.
std::vector<std::string> reports;
int32_t capture_report(WYN_ERRMSG* msg, intptr_t) {
    char text[640];
    err_compose_report(msg, text, sizeof text);
    reports.push_back(text);
    return 1;
}

int32_t push_inside(WYN_ERRMSG*, intptr_t) {
    wynv_errmsg_push_handler(take_a, 0);
    return 1;
}

class ErrMsgTest : public ErrTest {
  protected:
    void SetUp() override {
        ErrTest::SetUp();
        calls.clear();
        reports.clear();
    }
    int dialogs_of(dm_kind kind) const {
        int n = 0;
        for (const auto& d : observed.dialogs) n += d.kind == kind;
        return n;
    }
};

} // namespace

TEST(ErrCatalogue, HoldsEveryTextOfTheToolkit) {
    EXPECT_EQ(err_catalogue_size(), 162);
    EXPECT_STREQ(err_catalogue_text(0x1210002), "NULL Window handle");
    EXPECT_STREQ(err_catalogue_text(0x1530005), "Failed to find font");
    EXPECT_STREQ(err_catalogue_text(0x1820006), "%s\n%s\n%s\n%s\n");
    EXPECT_STREQ(err_catalogue_text(0x340000), "Signaled assert4");
    EXPECT_EQ(err_catalogue_text(0x1220000 + 14), nullptr);
}

// Every id written in the toolkit's sources, the checked layer's included, is read back from
// them: numbered messages and category headings must have their text; the library's internal
// standard codes (bit 24 clear, a number) are left to the message file.
TEST(ErrCatalogue, EveryIdTheToolkitCanReportHasItsText) {
    const std::regex hex(R"(\b0x([0-9A-Fa-f]{6,7})u?\b)");
    int ids = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(VS_TEST_DATA "/../../toolkit")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ostringstream source;
        source << std::ifstream(entry.path()).rdbuf();
        const std::string text = source.str();
        for (std::sregex_iterator m(text.begin(), text.end(), hex), end; m != end; ++m) {
            const auto id = static_cast<WYN_MSG_ID>(std::stoul((*m)[1].str(), nullptr, 16));
            const bool numbered = (id & WYN_MSG_NUMBERED) != 0;
            if (WYN_MSG_MAJOR(id) < 1 || WYN_MSG_MAJOR(id) > 8) continue;
            if (numbered == (WYN_MSG_NUMBER(id) == 0)) continue;
            ++ids;
            EXPECT_NE(err_catalogue_text(id), nullptr)
                << std::hex << "0x" << id << " in " << entry.path().filename();
        }
    }
    EXPECT_GT(ids, 200);
    EXPECT_STREQ(err_catalogue_text(0x1230005), "Incorrect Dialog type");
}

TEST(ErrCodesLine, DecodesEscapesUpToTheClosingQuote) {
    EXPECT_EQ(decode(R"(18939906 junk "Window\"%s\" missing\n" trailing)", 0x1210002),
              "Window\"%s\" missing\n");
    EXPECT_EQ(decode(R"(0x1210002 "a\tb\\c\qd")", 0x1210002), "a\tb\\cqd");
    EXPECT_EQ(decode("0110200002 \"octal\"", 0x1210002), "octal");
    // No closing quote: the text runs to the end of the line; no quote: the rest of the line.
    EXPECT_EQ(decode("0x1210002 \"open ended", 0x1210002), "open ended");
    EXPECT_EQ(decode("0x1210002   bare words\n", 0x1210002), "bare words");
    EXPECT_EQ(decode("0x1210002 \"ends at backslash\\", 0x1210002), "ends at backslash");
}

TEST(ErrCodesLine, MatchesOnlyTheFullId) {
    EXPECT_EQ(decode("0x1210003 \"x\"", 0x1210002), "<no match>");
    EXPECT_EQ(decode("0x101210002 \"beyond 32 bits\"", 0x1210002), "<no match>");
    EXPECT_EQ(decode("-4275757390 \"negative\"", 0x1210002), "<no match>");
    EXPECT_EQ(decode("\"no id\"", 0), "<no match>");
    EXPECT_EQ(decode("", 0), "<no match>");
}

TEST(ErrCodesLine, CutsTextsToTheBuffer) {
    char out[8];
    ASSERT_TRUE(errcodes_match_line("1 \"0123456789\"", 1, out, sizeof out));
    EXPECT_STREQ(out, "0123456");
}

TEST_F(ErrMsgTest, MessageFileTextsComeFirstAndTheirEscapesApply) {
    write_file("ERRCODES.TXT", "# a comment line\r\n"
                               "18939906 NULL_WIN \"Window \\\"%s\\\" missing\\n\"\r\n");
    EXPECT_EQ(text_of(0x1210002), "Window \"%s\" missing\n");
    EXPECT_EQ(text_of(0x1210003), "NULL Font handle");
    // Used as the format of a message carrying a string.
    char name[] = "main";
    static std::string text;
    core_set_attr(ATTR_ERROR_HANDLER, reinterpret_cast<intptr_t>(+[](WYN_ERRMSG* m, intptr_t) {
                      text = wynv_errmsg_get_msg_text(m);
                      return int32_t{1};
                  }));
    wynv_errmsg_dispatch_s(nullptr, WYN_SEV_ERROR, 0x1210002, "t", 1,
                           reinterpret_cast<intptr_t>(name));
    EXPECT_EQ(text, "Window \"main\" missing\n");
}

TEST_F(ErrMsgTest, AnOverlongLineNeverLendsItsTailToTheNextLookup) {
    // The first 255 characters are the line; what follows them looks like a line of its own.
    const std::string line = "7 \"" + std::string(252, 'x') + "0x1210002 \"tail\"\n";
    write_file("ERRCODES.TXT", line + "0x1210003 \"real\"\n");
    EXPECT_EQ(text_of(0x1210002), "NULL Window handle");
    EXPECT_EQ(text_of(0x1210003), "real");
}

TEST_F(ErrMsgTest, MissingOrGarbledMessageFileFallsBackToTheCatalogue) {
    EXPECT_EQ(text_of(0x1520006), "Failed to create dialog");
    write_file("ERRCODES.TXT",
               std::string("\0\xff\x01\"\n\n\\\"0x\n", 12) + std::string(5000, '\xfe'));
    EXPECT_EQ(text_of(0x1520006), "Failed to create dialog");
    EXPECT_EQ(text_of(0), "MSG 0x00000000 [CAT 0/0 STD 0 ]");
}

TEST_F(ErrMsgTest, UnknownIdsPrintInTheFallbackForm) {
    EXPECT_EQ(text_of(0x125ABCD), "MSG 0x0125abcd [CAT 2/5 NUM 43981 ]");
    EXPECT_EQ(text_of(0x72C350), "MSG 0x0072c350 [CAT 7/2 STD 50000 ]");
}

TEST_F(ErrMsgTest, TheSeventeenthFileLookupEvictsTheLeastRecentlyUsed) {
    std::string file;
    for (int i = 1; i <= 17; ++i)
        file += std::to_string(i) + " \"file " + std::to_string(i) + "\"\n";
    write_file("ERRCODES.TXT", file);
    for (int i = 1; i <= 16; ++i) ASSERT_EQ(text_of(i), "file " + std::to_string(i));
    EXPECT_EQ(text_of(1), "file 1"); // 1 is now the most recent; 2 the least
    EXPECT_EQ(text_of(17), "file 17");
    write_file("ERRCODES.TXT", "");
    EXPECT_EQ(text_of(1), "file 1");
    EXPECT_EQ(text_of(3), "file 3");
    EXPECT_EQ(text_of(17), "file 17");
    EXPECT_EQ(text_of(2), "MSG 0x00000002 [CAT 0/0 STD 2 ]");
}

TEST_F(ErrMsgTest, ARenamedMessageFileIsReadAfresh) {
    write_file("ERRCODES.TXT", "5 \"old\"\n");
    write_file("other.txt", "5 \"new\"\n");
    EXPECT_EQ(text_of(5), "old");
    EXPECT_TRUE(err_set_codes_file("other.txt"));
    EXPECT_EQ(text_of(5), "new");
    EXPECT_FALSE(err_set_codes_file(std::string(300, 'n').c_str()));
}

TEST_F(ErrMsgTest, HandlersAreOfferedFromTheTopAndFromInnerFramesOutwards) {
    wynv_errmsg_push_handler(take_a, 0);
    {
        wyn::ErrFrame frame;
        wynv_errmsg_push_handler(pass_b, 0);
        wynv_errmsg_push_handler(pass_c, 0);
        EXPECT_EQ(wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1), 1);
        wynv_errmsg_pop_handler(pass_b);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"C", "B", "A"}));
    wynv_errmsg_pop_handler(take_a);
    EXPECT_TRUE(observed.dialogs.empty());
}

TEST_F(ErrMsgTest, DispatchReturnsTheLow16BitsOfTheTakingHandler) {
    wyn::ErrFrame frame;
    wynv_errmsg_push_handler(wide_result, 0);
    EXPECT_EQ(wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1), 0x2345);
    EXPECT_EQ(wynv_errmsg_dispatch(nullptr, WYN_SEV_NONE, 0x1250002, "t", 1), 0);
    EXPECT_EQ(wynv_errmsg_get_last_msg(), 0x1250002u);
    // Category 4/0 only records the id.
    EXPECT_EQ(wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x400007, "t", 1), 0);
    EXPECT_EQ(wynv_errmsg_get_last_msg(), 0x400007u);
    wynv_errmsg_pop_handler(wide_result);
}

TEST_F(ErrMsgTest, PoppingTheFirstPushedHandlerRemovesAllPushedAfterIt) {
    wyn::ErrFrame frame;
    for (auto h : {take_a, pass_b, pass_c, pass_b, pass_c}) wynv_errmsg_push_handler(h, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"C", "B", "C", "B", "A"}));
    wynv_errmsg_pop_handler(take_a);
    calls.clear();
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(dialogs_of(dm_kind::warning), 1); // the base frame's reporter took it
    wynv_errmsg_pop_handler(take_a);
    EXPECT_NE(observed.dialogs.back().text.find("Attempt to pop non-existent handler"),
              std::string::npos);
}

TEST_F(ErrMsgTest, FrameMisuseIsReportedAsWarnings) {
    wynv_errmsg_push_handler(push_inside, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    wynv_errmsg_pop_handler(push_inside);
    {
        wyn::ErrFrame frame;
        wynv_errmsg_push_handler(pass_b, 0);
        wynv_errfrm_mark_API("wyn_left_marked");
    }
    ASSERT_EQ(observed.dialogs.size(), 3u);
    EXPECT_NE(observed.dialogs[0].text.find("Pushing error handler within handler"),
              std::string::npos);
    EXPECT_NE(observed.dialogs[1].text.find("API function found on frame exit"), std::string::npos);
    EXPECT_NE(observed.dialogs[2].text.find("Pushed err.handlers left on frame exit"),
              std::string::npos);
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(ErrMsgTest, TheApplicationHandlerIsOfferedFirst) {
    static int offered = 0;
    static int32_t result = 1;
    core_set_attr(ATTR_ERROR_HANDLER, reinterpret_cast<intptr_t>(+[](WYN_ERRMSG*, intptr_t) {
                      ++offered;
                      return result;
                  }));
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1);
    EXPECT_TRUE(observed.dialogs.empty());
    result = 0;
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1);
    EXPECT_EQ(offered, 2);
    EXPECT_EQ(dialogs_of(dm_kind::error), 1);
}

TEST_F(ErrMsgTest, TheReportNamesMessageCategoryFunctionsFileAndLine) {
    wynv_errfrm_mark_API("wyn_outer");
    {
        wyn::ErrFrame frame;
        wyn::ApiMark mark("wyn_timer_create");
        wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1220002, "ttimer", 42);
    }
    wynv_errfrm_unmark_API();
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x640000, nullptr, 7);
    ASSERT_EQ(observed.dialogs.size(), 2u);
    EXPECT_EQ(observed.dialogs[0].kind, dm_kind::error);
    EXPECT_EQ(observed.dialogs[0].text, "ERROR: Invalid Window handle\n"
                                        "Category: Invalid argument (Invalid object)\n"
                                        "Function: wyn_timer_create wyn_outer \n"
                                        "File:     ttimer line: 42\n");
    EXPECT_EQ(observed.dialogs[1].kind, dm_kind::warning);
    EXPECT_EQ(observed.dialogs[1].text,
              "WARNING: Operation target is in wrong state\n"
              // the category text is cut to the 63 characters its record holds
              "Category: Invalid request or request context (Operation target is in wron\n"
              "Function: WYN portability toolkit internal call\n"
              "File:     unknown line: 7\n");
}

TEST_F(ErrMsgTest, TheFunctionChainStaysWithinItsRecord) {
    const std::string long_name(40, 'f');
    wyn::ErrFrame outer;
    for (int i = 0; i < 4; ++i) wynv_errfrm_mark_API(long_name.c_str());
    wyn::ErrFrame inner;
    wynv_errfrm_mark_API("wyn_inner");
    wynv_errfrm_mark_API("wyn_inner_most_function_name");
    wyn::ErrFrame top;
    wynv_errmsg_push_handler(capture_report, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    wynv_errmsg_pop_handler(capture_report);
    ASSERT_EQ(reports.size(), 1u);
    const std::string expected_chain =
        ("wyn_inner_most_function_name wyn_inner " + long_name).substr(0, 63);
    EXPECT_NE(reports[0].find("Function: " + expected_chain + "\n"), std::string::npos)
        << reports[0];
    wynv_errfrm_unmark_API();
    wynv_errfrm_unmark_API();
}

TEST_F(ErrMsgTest, MarksBeyondTheFourthKeepMarkAndUnmarkInPairs) {
    const char* names[] = {"a", "b", "c", "d", "e"};
    for (const char* n : names) wynv_errfrm_mark_API(n);
    EXPECT_EQ(wynv_errfrm_get_API_count(), 5);
    wynv_errfrm_unmark_API();
    wynv_errmsg_push_handler(capture_report, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    wynv_errmsg_pop_handler(capture_report);
    for (int i = 0; i < 4; ++i) wynv_errfrm_unmark_API();
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_NE(observed.dialogs[0].text.find("No room for recusive API mark"), std::string::npos);
    EXPECT_NE(reports[0].find("Function: d c b a \n"), std::string::npos);
    wynv_errfrm_unmark_API();
    ASSERT_EQ(observed.dialogs.size(), 2u);
    EXPECT_NE(observed.dialogs[1].text.find("API marks out of sync"), std::string::npos);
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(ErrMsgTest, MessageTextsTakeTheDataString) {
    char name[] = "COM2";
    std::string long_data(70, 'x');
    write_file("ERRCODES.TXT", "0x1250002 \"%d%n%s%s %x\"\n");
    core_set_attr(ATTR_ERROR_HANDLER, reinterpret_cast<intptr_t>(capture_report));
    wynv_errmsg_dispatch_s(nullptr, WYN_SEV_ERROR, 0x1250002, "t", 1,
                           reinterpret_cast<intptr_t>(name));
    wynv_errmsg_dispatch_s(nullptr, WYN_SEV_ERROR, 0x320000, "t", 1,
                           reinterpret_cast<intptr_t>(name));
    wynv_errmsg_dispatch_s(nullptr, WYN_SEV_ERROR, 0x1250002, "t", 1,
                           reinterpret_cast<intptr_t>(long_data.c_str()));
    wynv_errmsg_dispatch_s(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1, 200);
    ASSERT_EQ(reports.size(), 4u);
    // Only "%s" takes the string; other conversions of a file's text stay as they are.
    EXPECT_EQ(reports[0].substr(0, reports[0].find('\n')), "ERROR: %d%nCOM2%s %x");
    EXPECT_EQ(reports[1].substr(0, reports[1].find('\n')), "ERROR: COM2");
    EXPECT_EQ(reports[2].substr(0, reports[2].find('\n')), "ERROR: %d%n%s %x");
    EXPECT_EQ(reports[3].substr(0, reports[3].find('\n')), "ERROR: Bad value");
}

TEST_F(ErrMsgTest, AnInvalidRecordAnswersSafely) {
    WYN_ERRMSG record{};
    EXPECT_EQ(wynv_errmsg_get_sev_id(&record), WYN_SEV_FATAL);
    EXPECT_EQ(wynv_errmsg_get_msg_id(&record), 0u);
    EXPECT_STREQ(wynv_errmsg_get_msg_text(&record), "Invalid WYN_ERRMSG object");
    EXPECT_STREQ(wynv_errmsg_get_cat_text(nullptr), "Invalid WYN_ERRMSG object");
    EXPECT_EQ(wynv_errmsg_get_tgt_object(nullptr), nullptr);
    EXPECT_EQ(err_standard_reporter(&record, 0), 0);
}

TEST_F(ErrMsgTest, AReportBeforeTheFirstEventEndsTheApplication) {
    err_set_ready(false);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    ASSERT_EQ(dialogs_of(dm_kind::fatal), 1);
    EXPECT_EQ(observed.dialogs[0].text.substr(0, 23), "FATAL ERROR: Bad value\n");
    EXPECT_EQ(observed.exits, 1);
    EXPECT_NE(observed.exit_status, 0);
    EXPECT_EQ(observed.toolkit_ends, 1);
}

TEST_F(ErrMsgTest, TheTenthErrorIsFollowedByTooManyErrors) {
    for (int i = 0; i < 9; ++i) wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1);
    for (int i = 0; i < 5; ++i) wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    EXPECT_EQ(observed.exits, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1);
    EXPECT_EQ(dialogs_of(dm_kind::error), 10);
    ASSERT_EQ(dialogs_of(dm_kind::fatal), 1);
    EXPECT_EQ(observed.dialogs.back().text.substr(0, 40),
              "FATAL ERROR: Too many errors encountered");
    EXPECT_EQ(observed.exits, 1);
}

TEST_F(ErrMsgTest, ReportsDuringUpdateWaitForTheNextEvent) {
    char data[16] = "first";
    err_set_update_in_progress(true);
    wynv_errmsg_dispatch_s(nullptr, WYN_SEV_ERROR, 0x1250002, "t", 1,
                           reinterpret_cast<intptr_t>(data));
    std::strcpy(data, "overwritten");
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250003, "t", 2);
    err_set_update_in_progress(false);
    EXPECT_TRUE(observed.dialogs.empty());
    err_flush_deferred();
    ASSERT_EQ(observed.dialogs.size(), 2u);
    EXPECT_EQ(observed.dialogs[0].kind, dm_kind::error);
    EXPECT_EQ(observed.dialogs[0].text.substr(0, 20), "ERROR: Unknown value");
    EXPECT_EQ(observed.dialogs[1].kind, dm_kind::warning);
    err_flush_deferred();
    EXPECT_EQ(observed.dialogs.size(), 2u);
}

TEST_F(ErrMsgTest, AFourthReportDuringOneUpdateIsFatal) {
    err_set_update_in_progress(true);
    for (int i = 0; i < 3; ++i) wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    EXPECT_EQ(observed.exits, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250004, "t", 1);
    err_set_update_in_progress(false);
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_EQ(observed.dialogs[0].kind, dm_kind::fatal);
    EXPECT_EQ(observed.dialogs[0].text.substr(0, 27), "FATAL ERROR: Value too low\n");
    EXPECT_EQ(observed.exits, 1);
}

TEST_F(ErrMsgTest, TheBudgetDrainsByOnePerEvent) {
    err_set_update_in_progress(true);
    for (int i = 0; i < 3; ++i) wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    err_set_update_in_progress(false);
    err_flush_deferred(); // budget 299
    err_set_update_in_progress(true);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1); // 399
    EXPECT_EQ(observed.exits, 0);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "t", 1);
    EXPECT_EQ(observed.exits, 1);
    err_set_update_in_progress(false);
}

TEST_F(ErrMsgTest, ADeferredErrorCountsOnceTowardsTheLimit) {
    for (int i = 0; i < 8; ++i) wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1);
    err_set_update_in_progress(true);
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, 0x1250001, "t", 1);
    err_set_update_in_progress(false);
    err_flush_deferred();
    EXPECT_EQ(observed.exits, 0);
    EXPECT_EQ(dialogs_of(dm_kind::error), 9);
}

TEST_F(ErrMsgTest, TheReporterWritesTheDebugLogWhenAskedTo) {
    write_file("debug", "old contents\n");
    {
        wyn::ErrFrame frame;
        wynv_errmsg_push_handler(err_standard_reporter, 1);
        wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, 0x1250001, "vstr", 3);
        wynv_errmsg_pop_handler(err_standard_reporter);
    }
    EXPECT_EQ(read_file("debug"), "WARNING: Bad value\nCategory: Invalid argument (Bad value)\n"
                                  "Function: WYN portability toolkit internal call\n"
                                  "File:     vstr line: 3\n\n\n");
}

TEST_F(ErrMsgTest, ThePortableServicesReportThroughTheFramework) {
    write_file("debug", "");
    portable_report(PORTABLE_BAD_VALUE, PORTABLE_WARNING, "vstr", 9);
    portable_debug_line("slist: 3 entries");
    ASSERT_EQ(dialogs_of(dm_kind::warning), 1);
    EXPECT_NE(observed.dialogs[0].text.find("File:     vstr line: 9"), std::string::npos);
    EXPECT_EQ(read_file("debug"), "slist: 3 entries\n");
}
