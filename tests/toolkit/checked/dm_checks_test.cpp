// The checked standard dialogs: formats and answers pass through, and a question refused during
// E_UPDATE never reads as its default answer.
#include <wyn/checked/dm.h>
#include <wyn/errfrm.h>
#include <wyn_checked.h>

#include "checked_support.h"
#include "kernel/std_dialogs.h"

namespace {

int questions = 0;

int count_question(const dm_request&, char*, size_t) {
    ++questions;
    return 0;
}

int16_t answer_while_painting = -1;

int32_t ask_while_painting(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_UPDATE)
        answer_while_painting = wyn_dm_post_ask("Yes", "No", nullptr, "Shut down now?");
    return 0;
}

} // namespace

using DialogChecks = CheckedPortableTest;

TEST_F(DialogChecks, FormatAndAnswerPassThrough) {
    observed.answer = 1;
    EXPECT_EQ(wyn_dm_post_ask("Yes", "No", nullptr, "Shut down in %d s?", 5), 1);
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_EQ(observed.dialogs[0].text, "Shut down in 5 s?");
    wyn_dm_post_note("%s and %s", "this", "that");
    ASSERT_EQ(observed.dialogs.size(), 2u);
    EXPECT_EQ(observed.dialogs[1].text, "this and that");
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(DialogChecks, MissingArgumentsShowNothing) {
    EXPECT_EQ(wyn_dm_post_string_prompt("Name", nullptr, 10), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tdm"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_dm_post_file_open(nullptr, "Open"), 0);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tdm"));
    EXPECT_TRUE(observed.dialogs.empty());
}

using DialogUpdateRule = CheckedWindowTest;

TEST_F(DialogUpdateRule, QuestionDuringUpdateIsRefusedAsIfClosed) {
    questions = 0;
    dm_responder previous = dm_set_responder(count_question);
    WINDOW painter = makeChild(RCT{0, 0, 40, 40}, ask_while_painting);
    ReportRecorder::all().clear();
    EVENT ev{};
    ev.type = E_UPDATE;
    wynk_win_dispatch_event(painter, &ev);
    dm_set_responder(previous);
    EXPECT_EQ(answer_while_painting, 2);
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(one_report(WYN_MSG_DURING_UPDATE, "tdm"));
}
