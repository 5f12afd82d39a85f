// The report recorder and the checked layer's test fixtures.
#include "checked_support.h"

#include <wyn/attr.h>
#include <wyn/checked/errmsg.h>
#include <wyn/errfrm.h>

namespace {

int32_t record(WYN_ERRMSG* msg, intptr_t) {
    const char* file = wyn_errmsg_get_code_file(msg);
    ReportRecorder::all().push_back({wyn_errmsg_get_msg_id(msg), wyn_errmsg_get_sev_id(msg),
                                     file ? file : "", wyn_errmsg_get_api_name(msg),
                                     wyn_errmsg_get_tgt_object(msg)});
    return 1;
}

} // namespace

ReportRecorder::ReportRecorder() {
    all().clear();
    wynv_errmsg_push_handler(record, 0);
}

ReportRecorder::~ReportRecorder() {
    wynv_errmsg_pop_handler(record);
}

std::vector<CheckedReport>& ReportRecorder::all() {
    static std::vector<CheckedReport> reports;
    return reports;
}

::testing::AssertionResult one_report(WYN_MSG_ID id, const char* file, int severity) {
    const auto& reports = ReportRecorder::all();
    if (reports.size() != 1)
        return ::testing::AssertionFailure() << reports.size() << " reports, expected one";
    const CheckedReport& r = reports[0];
    if (r.id != id || r.file != file || r.severity != severity)
        return ::testing::AssertionFailure()
               << std::hex << "got 0x" << r.id << " from " << r.file << " severity " << r.severity;
    return ::testing::AssertionSuccess();
}

void expect_one_report_each(const std::vector<std::function<void()>>& calls) {
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        ReportRecorder::all().clear();
        calls[i]();
        EXPECT_EQ(ReportRecorder::all().size(), 1u);
        EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
    }
}

void CheckedPortableTest::SetUp() {
    ErrTest::SetUp();
    recorder_.emplace();
}

void CheckedPortableTest::TearDown() {
    recorder_.reset();
    ErrTest::TearDown();
}

void CheckedWindowTest::SetUp() {
    ToolkitTest::SetUp();
    startApp();
    recorder_.emplace();
}

void CheckedWindowTest::TearDown() {
    recorder_.reset();
    ToolkitTest::TearDown();
}

WINDOW CheckedWindowTest::screen() const {
    return reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_SCREEN_WINDOW));
}

WINDOW CheckedWindowTest::task() const {
    return reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
}
