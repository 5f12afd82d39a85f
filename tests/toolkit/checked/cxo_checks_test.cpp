// The checked handler-chain calls: stale objects, positions outside the chain, and the calls
// that pass through.
#include <cstring>
#include <wyn_checked.h>

#include "checked_support.h"

namespace {

int32_t answer_five(CXO, EVENT* ev) {
    return ev->type == E_CXO && ev->v.cxo.msg == 42 ? 5 : -1;
}

} // namespace

using CxoChecks = CheckedWindowTest;

TEST_F(CxoChecks, StaleObjectIsInvalid) {
    s_cxo stale{};
    EXPECT_EQ(wyn_cxo_dispatch_msg(&stale, 42, 0), -1);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_OBJECT_HANDLE, "tcxo"));
    ReportRecorder::all().clear();
    char name[16];
    EXPECT_FALSE(wyn_cxo_get_class_name(&stale, name, sizeof name));
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_OBJECT_HANDLE, "tcxo"));
}

TEST_F(CxoChecks, CreationArgumentsAreChecked) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40});
    EXPECT_EQ(wyn_cxo_create(win, 0, 2, answer_five, EM_ALL, "table", 0), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "tcxo"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_cxo_create(win, 0, 0, nullptr, EM_ALL, "table", 0), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tcxo"));
    ReportRecorder::all().clear();

    CXO cxo = wyn_cxo_create(win, 0, 1, answer_five, EM_ALL, "table", 0);
    ASSERT_NE(cxo, nullptr);
    EXPECT_EQ(wyn_cxo_dispatch_msg(cxo, 42, 0), 5);
    char name[16];
    EXPECT_TRUE(wyn_cxo_get_class_name(cxo, name, sizeof name));
    EXPECT_STREQ(name, "table");
    EXPECT_EQ(wyn_win_get_cxo(win, "table"), cxo);
    wyn_cxo_destroy(cxo);
    EXPECT_TRUE(ReportRecorder::all().empty());
}
