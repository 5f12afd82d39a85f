// Fixtures of the checked layer's tests: a recorder that is offered every report first, over the
// error framework's fixture (portable areas) or a started toolkit (window areas).
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>
#include <wyn/errmsg.h>

#include "toolkit/base/app_support.h"
#include "toolkit/base/err_support.h"

// One report as the application's handler would see it.
struct CheckedReport {
    WYN_MSG_ID id;
    int severity;
    std::string file;
    std::string api;
    void* target;
};

// Takes every report on the current frame (and the frames opened inside it) for its lifetime.
class ReportRecorder {
  public:
    ReportRecorder();
    ~ReportRecorder();
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    static std::vector<CheckedReport>& all();
};

// Succeeds when exactly one report was made since the last clear, with id, file and severity.
::testing::AssertionResult one_report(WYN_MSG_ID id, const char* file, int severity = 2);

// Runs each call (each with one faulty argument) and expects exactly one report from it and the
// API-mark count left at 0.
void expect_one_report_each(const std::vector<std::function<void()>>& calls);

class CheckedPortableTest : public ErrTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::optional<ReportRecorder> recorder_;
};

class CheckedWindowTest : public ToolkitTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The screen and task windows of the started application.
    WINDOW screen() const;
    WINDOW task() const;
    std::optional<ReportRecorder> recorder_;
};
