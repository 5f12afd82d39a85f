// Standard dialogs that the test seam answers while a test script runs.
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
    if (test_seam_scripted()) return test_seam_next_answer();
    return wyn_dm_post_ask(first, second, nullptr, "%s", text);
}
