// Standard dialogs that the test seam answers, or holds open, while a test script runs.
#include "ui/prompts.h"

#include "ui/test_seam.h"

#include <wyn/checked/dm.h>

void ui_note(const char* text) {
    test_seam_log("note", text);
    if (!test_seam_scripted()) wyn_dm_post_note("%s", text);
}

void ui_error(const char* text) {
    test_seam_log("error", text);
    if (!test_seam_scripted()) wyn_dm_post_error("%s", text);
}

int16_t ui_ask(const char* first, const char* second, const char* text) {
    test_seam_log("ask", text);
    if (test_seam_scripted() && !test_seam_hold_next_answer()) return test_seam_next_answer();
    const int16_t answer = wyn_dm_post_ask(first, second, nullptr, "%s", text);
    test_seam_question_closed();
    return answer;
}
