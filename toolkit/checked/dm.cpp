// Checked standard dialogs.
#include <wyn/checked/dm.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// What a question answers when it was never asked: the dialog's "closed" answer.
constexpr int16_t kNotAnswered = 2;

using PostFn = void (*)(const char* format, va_list args);

// Shows one of the message dialogs under the name of the checked function that asked for it.
void post(const char* function, PostFn show, const char* format, va_list args) {
    Call c(function, kDm);
    if (!c.outside_update() || !c.given(format)) return;
    show(format, args);
}

} // namespace

// clang-format off
CHECKED(kDm, wyn_dm_post_string_prompt, (const char* prompt, char* buffer, int size),
        c.outside_update() && c.given(buffer) && c.at_least(size, 1),
        nullptr, wynv_dm_post_string_prompt, (prompt, buffer, size))
CHECKED(kDm, wyn_dm_post_file_open, (FILE_SPEC* file_spec, const char* prompt),
        c.outside_update() && c.given(file_spec), 0, wynv_dm_post_file_open, (file_spec, prompt))
CHECKED(kDm, wyn_dm_post_file_save, (FILE_SPEC* file_spec, const char* prompt),
        c.outside_update() && c.given(file_spec), 0, wynv_dm_post_file_save, (file_spec, prompt))
CHECKED(kDm, wyn_dm_post_about_box, (),
        c.outside_update(), void(), wynv_dm_post_about_box, ())
// clang-format on

void wyn_dm_post_error_va(const char* format, va_list args) {
    post(__func__, wynv_dm_post_error_va, format, args);
}

void wyn_dm_post_error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    post(__func__, wynv_dm_post_error_va, format, args);
    va_end(args);
}

void wyn_dm_post_warning_va(const char* format, va_list args) {
    post(__func__, wynv_dm_post_warning_va, format, args);
}

void wyn_dm_post_warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    post(__func__, wynv_dm_post_warning_va, format, args);
    va_end(args);
}

void wyn_dm_post_note_va(const char* format, va_list args) {
    post(__func__, wynv_dm_post_note_va, format, args);
}

void wyn_dm_post_note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    post(__func__, wynv_dm_post_note_va, format, args);
    va_end(args);
}

void wyn_dm_post_message_va(const char* format, va_list args) {
    post(__func__, wynv_dm_post_message_va, format, args);
}

void wyn_dm_post_message(const char* format, ...) {
    va_list args;
    va_start(args, format);
    post(__func__, wynv_dm_post_message_va, format, args);
    va_end(args);
}

// The program counts on a fatal exit never returning, so neither an E_UPDATE nor a missing
// format holds it back.
void wyn_dm_post_fatal_exit_va(const char* format, va_list args) {
    Call c(__func__, kDm);
    c.given(format);
    wynv_dm_post_fatal_exit_va(format ? format : "", args);
}

void wyn_dm_post_fatal_exit(const char* format, ...) {
    Call c(__func__, kDm);
    c.given(format);
    va_list args;
    va_start(args, format);
    wynv_dm_post_fatal_exit_va(format ? format : "", args);
    va_end(args);
}

int16_t wyn_dm_post_ask_va(const char* default_title, const char* alternate_title,
                           const char* other_title, const char* format, va_list args) {
    Call c(__func__, kDm);
    if (!c.outside_update() || !c.given(format)) return kNotAnswered;
    return wynv_dm_post_ask_va(default_title, alternate_title, other_title, format, args);
}

int16_t wyn_dm_post_ask(const char* default_title, const char* alternate_title,
                        const char* other_title, const char* format, ...) {
    Call c(__func__, kDm);
    if (!c.outside_update() || !c.given(format)) return kNotAnswered;
    va_list args;
    va_start(args, format);
    int16_t answer = wynv_dm_post_ask_va(default_title, alternate_title, other_title, format, args);
    va_end(args);
    return answer;
}
