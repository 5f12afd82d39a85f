// The checked general services: string-list handles, required pointers and sizes, the file
// attributes of missing files, and the API marks every path leaves behind.
#include <cstring>
#include <functional>
#include <wyn/errfrm.h>
#include <wyn_checked.h>

#include "checked_support.h"

namespace {

// One call with a faulty argument and the report it must make.
struct Fault {
    const char* function;
    WYN_MSG_ID id;
    const char* file;
    std::function<void()> call;
};

} // namespace

using SlistChecks = CheckedPortableTest;

TEST_F(SlistChecks, NullListIsReportedAndGivesTheFailureValue) {
    EXPECT_EQ(wyn_slist_count(nullptr), -1);
    ASSERT_TRUE(one_report(WYN_MSG_NULL_SLIST, "tslist"));
    EXPECT_EQ(ReportRecorder::all()[0].api.rfind("wyn_slist_count", 0), 0u);
}

TEST_F(SlistChecks, ForeignAndDestroyedHandlesAreInvalid) {
    char lookalike[8] = {'\xFF', 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(wyn_slist_add_at_pos(reinterpret_cast<SLIST>(lookalike), 0, "x", 0));
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_SLIST, "tslist"));

    SLIST list = wyn_slist_create();
    ASSERT_NE(list, nullptr);
    wyn_slist_destroy(list);
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_slist_get_first(list), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_SLIST, "tslist"));
}

TEST_F(SlistChecks, LiveListIsForwardedWithoutReports) {
    SLIST list = wyn_slist_create();
    ASSERT_TRUE(wyn_slist_add_sorted(list, "beta", 2, TRUE, FALSE));
    ASSERT_TRUE(wyn_slist_add_sorted(list, "alpha", 1, TRUE, FALSE));
    long data = 0;
    EXPECT_STREQ(wyn_slist_get_elt(list, 0, &data), "alpha");
    EXPECT_EQ(data, 1);
    EXPECT_EQ(wyn_slist_count(list), 2);
    EXPECT_TRUE(wyn_slist_rem(list, wyn_slist_get_first(list)));
    EXPECT_EQ(wyn_slist_count(list), 1);
    wyn_slist_destroy(list);
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

using ArgumentChecks = CheckedPortableTest;

// Every fault is reported once, under the area's source name and the function's own name, and
// leaves the API-mark count as it found it.
TEST_F(ArgumentChecks, EveryFaultPathReportsOnceAndUnmarks) {
    char buf[16] = "";
    RCT r{0, 0, 10, 10};
    PNT p{1, 1};
    wchar_t wide[4];
    FILE_SPEC missing{};
    std::strcpy(missing.name, "no-such-file");
    char list_like[4] = {'\xFF', 0, 0, 0};
    const SLIST foreign = reinterpret_cast<SLIST>(list_like);
    const std::vector<Fault> faults = {
        {"wyn_mem_free", WYN_MSG_NULL_HANDLE, "tmem", [] { wyn_mem_free(nullptr); }},
        {"wyn_mem_rep", WYN_MSG_NULL_HANDLE, "tmem",
         [&] { EXPECT_EQ(wyn_mem_rep(nullptr, buf, 1, 1), nullptr); }},
        {"wyn_mem_rep", WYN_MSG_VALUE_TOO_LOW, "tmem",
         [&] { EXPECT_EQ(wyn_mem_rep(buf, "a", 0, 3), nullptr); }},
        {"wyn_slist_destroy", WYN_MSG_NULL_SLIST, "tslist", [] { wyn_slist_destroy(nullptr); }},
        {"wyn_slist_debug", WYN_MSG_INVALID_SLIST, "tslist", [&] { wyn_slist_debug(foreign); }},
        {"wyn_slist_add_sorted", WYN_MSG_NULL_SLIST, "tslist",
         [] { EXPECT_FALSE(wyn_slist_add_sorted(nullptr, "a", 0, FALSE, FALSE)); }},
        {"wyn_slist_get", WYN_MSG_INVALID_SLIST, "tslist",
         [&] { EXPECT_EQ(wyn_slist_get(foreign, nullptr, nullptr), nullptr); }},
        {"wyn_slist_get_next", WYN_MSG_NULL_SLIST, "tslist",
         [] { EXPECT_EQ(wyn_slist_get_next(nullptr, nullptr), nullptr); }},
        {"wyn_str_copy", WYN_MSG_NULL_HANDLE, "tstr",
         [] { EXPECT_EQ(wyn_str_copy(nullptr, "x"), nullptr); }},
        {"wyn_str_copy_n_size", WYN_MSG_VALUE_TOO_LOW, "tstr",
         [&] { EXPECT_EQ(wyn_str_copy_n_size(buf, "x", 0), nullptr); }},
        {"wyn_str_concat", WYN_MSG_NULL_HANDLE, "tstr",
         [&] { EXPECT_EQ(wyn_str_concat(buf, nullptr), nullptr); }},
        {"wyn_str_duplicate", WYN_MSG_NULL_HANDLE, "tstr",
         [] { EXPECT_EQ(wyn_str_duplicate(nullptr), nullptr); }},
        {"wyn_str_convert_to_upper", WYN_MSG_NULL_HANDLE, "tstr",
         [] { EXPECT_EQ(wyn_str_convert_to_upper(nullptr), nullptr); }},
        {"wyn_str_convert_mbs_to_wcs", WYN_MSG_VALUE_TOO_LOW, "tstr",
         [&] { EXPECT_EQ(wyn_str_convert_mbs_to_wcs(wide, "x", 0), -1); }},
        {"wyn_str_sprintf", WYN_MSG_NULL_HANDLE, "tstr",
         [] { EXPECT_EQ(wyn_str_sprintf(nullptr, 4, "%d", 1), -1); }},
        {"wyn_str_sprintf", WYN_MSG_VALUE_TOO_LOW, "tstr",
         [&] { EXPECT_EQ(wyn_str_sprintf(buf, 0, "%d", 1), -1); }},
        {"wyn_str_get_mnemonic", WYN_MSG_NULL_HANDLE, "tstr",
         [&] { EXPECT_EQ(wyn_str_get_mnemonic("~Open", nullptr, buf, 16), nullptr); }},
        {"wyn_str_set_mnemonic", WYN_MSG_VALUE_TOO_LOW, "tstr",
         [&] { EXPECT_EQ(wyn_str_set_mnemonic("Open", 0, buf, -1), nullptr); }},
        {"wyn_str_find_eol", WYN_MSG_NULL_HANDLE, "tstr",
         [] { EXPECT_EQ(wyn_str_find_eol("a\n", 2, nullptr), nullptr); }},
        {"wyn_str_parse_long", WYN_MSG_NULL_HANDLE, "tstr",
         [] { EXPECT_EQ(wyn_str_parse_long(nullptr, 10, nullptr), 0); }},
        {"wyn_str_getstr", WYN_MSG_VALUE_TOO_LOW, "tstr",
         [&] { EXPECT_EQ(wyn_str_getstr(30001, buf, 0, "OK"), nullptr); }},
        {"wyn_fsys_get_dir", WYN_MSG_NULL_HANDLE, "tfsys",
         [] { EXPECT_FALSE(wyn_fsys_get_dir(nullptr)); }},
        {"wyn_fsys_convert_dir_to_str", WYN_MSG_VALUE_TOO_LOW, "tfsys",
         [&] { EXPECT_FALSE(wyn_fsys_convert_dir_to_str(&missing.dir, buf, 0)); }},
        {"wyn_fsys_file_makepath", WYN_MSG_NULL_HANDLE, "tfsys",
         [&] { EXPECT_FALSE(wyn_fsys_file_makepath(&missing, nullptr, 16)); }},
        {"wyn_fsys_get_file_attr", WYN_MSG_FIND_FILE, "tfsys",
         [&] { EXPECT_EQ(wyn_fsys_get_file_attr(&missing, WYN_FATTR_READABLE), -1); }},
        {"wyn_fsys_set_file_attr", WYN_MSG_FIND_FILE, "tfsys",
         [&] { EXPECT_FALSE(wyn_fsys_set_file_attr(&missing, WYN_FATTR_WRITABLE, 1)); }},
        {"wyn_fsys_rem_file", WYN_MSG_NULL_HANDLE, "tfsys",
         [] { EXPECT_FALSE(wyn_fsys_rem_file(nullptr)); }},
        {"wyn_rect_set", WYN_MSG_NULL_HANDLE, "trect",
         [] { EXPECT_EQ(wyn_rect_set(nullptr, 0, 0, 1, 1), nullptr); }},
        {"wyn_rect_get_width", WYN_MSG_NULL_HANDLE, "trect",
         [] { EXPECT_EQ(wyn_rect_get_width(nullptr), 0); }},
        {"wyn_rect_set_pos", WYN_MSG_NULL_HANDLE, "trect",
         [&] { EXPECT_EQ(wyn_rect_set_pos(&r, nullptr), nullptr); }},
        {"wyn_rect_intersect", WYN_MSG_NULL_HANDLE, "trect",
         [&] { EXPECT_FALSE(wyn_rect_intersect(&r, &r, nullptr)); }},
        {"wyn_rect_has_point", WYN_MSG_NULL_HANDLE, "trect",
         [&] { EXPECT_FALSE(wyn_rect_has_point(nullptr, &p)); }},
        {"wyn_res_free_win_def", WYN_MSG_NULL_HANDLE, "tres",
         [] { wyn_res_free_win_def(nullptr); }},
        {"wyn_res_free_menu_tree", WYN_MSG_NULL_HANDLE, "tres",
         [] { wyn_res_free_menu_tree(nullptr); }},
        {"wyn_res_get_db_str", WYN_MSG_NULL_HANDLE, "tres",
         [] { EXPECT_EQ(wyn_res_get_db_str(1, nullptr, 5), nullptr); }},
        {"wyn_res_get_key_table", WYN_MSG_NULL_HANDLE, "tres",
         [] { EXPECT_EQ(wyn_res_get_key_table(9001, nullptr, 3), -1); }},
        {"wyn_res_get_str", WYN_MSG_VALUE_TOO_LOW, "tres",
         [&] { EXPECT_EQ(wyn_res_get_str(30001, buf, 0), nullptr); }},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.function);
        ReportRecorder::all().clear();
        f.call();
        ASSERT_TRUE(one_report(f.id, f.file));
        EXPECT_EQ(ReportRecorder::all()[0].api, std::string(f.function) + " ");
        EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
    }
}

TEST_F(ArgumentChecks, ReportNamesTheCheckedFunctionBeforeTheOneAlreadyMarked) {
    wynv_errfrm_mark_API("wyn_help_open_helpfile");
    EXPECT_EQ(wyn_str_copy(nullptr, "x"), nullptr);
    wynv_errfrm_unmark_API();
    ASSERT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tstr"));
    EXPECT_EQ(ReportRecorder::all()[0].api, "wyn_str_copy wyn_help_open_helpfile ");
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(ArgumentChecks, SoundArgumentsAreForwarded) {
    char buf[16];
    EXPECT_EQ(wyn_str_sprintf(buf, sizeof buf, "%d-%s", 5, "x"), 3);
    EXPECT_STREQ(buf, "5-x");
    int index = -1;
    EXPECT_STREQ(wyn_str_get_mnemonic("Sa~ve", &index, buf, sizeof buf), "Save");
    EXPECT_EQ(index, 2);
    char cells[6] = "";
    EXPECT_EQ(wyn_mem_rep(cells, "ab", 2, 2), cells);
    EXPECT_EQ(std::string(cells, 4), "abab");
    RCT r{};
    wyn_rect_set(&r, 10, 20, 40, 60);
    EXPECT_EQ(wyn_rect_get_width(&r), 30);
    EXPECT_EQ(wyn_rect_get_height(&r), 40);
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

// Asking whether a file exists, or reading the record's own fields, needs no file.
TEST_F(ArgumentChecks, MissingFileAnswersExistenceWithoutAReport) {
    FILE_SPEC file_spec{};
    std::strcpy(file_spec.name, "absent.cfg");
    EXPECT_EQ(wyn_fsys_get_file_attr(&file_spec, WYN_FATTR_EXISTS), FALSE);
    EXPECT_STREQ(reinterpret_cast<const char*>(wyn_fsys_get_file_attr(&file_spec, WYN_FATTR_NAME)),
                 "absent.cfg");
    EXPECT_TRUE(ReportRecorder::all().empty());

    write_file("present.cfg", "x");
    std::strcpy(file_spec.name, "present.cfg");
    std::strcpy(file_spec.dir.path, dir_.c_str());
    EXPECT_EQ(wyn_fsys_get_file_attr(&file_spec, WYN_FATTR_READABLE), TRUE);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

using ReportText = ErrTest;

// What the user reads: the standard error dialog names the checked function after the one already
// running, and the layer's source name.
TEST_F(ReportText, ErrorDialogNamesTheFunctionChainAndTheLayersSource) {
    wynv_errfrm_mark_API("wyn_help_open_helpfile");
    EXPECT_EQ(wyn_slist_count(nullptr), -1);
    wynv_errfrm_unmark_API();
    ASSERT_EQ(observed.dialogs.size(), 1u);
    const std::string& text = observed.dialogs[0].text;
    EXPECT_NE(text.find("NULL SLIST pointer"), std::string::npos) << text;
    EXPECT_NE(text.find("Function: wyn_slist_count wyn_help_open_helpfile"), std::string::npos)
        << text;
    EXPECT_NE(text.find("File:     tslist line: "), std::string::npos) << text;
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}
