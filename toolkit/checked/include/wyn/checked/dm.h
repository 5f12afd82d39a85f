/* Checked standard dialogs. Each is refused while an E_UPDATE is processed, except the fatal
   exit, which always goes ahead; a missing format, prompt buffer or file record is reported. */
#pragma once

#include <wyn/dm.h>

WYN_BEGIN_C

void wyn_dm_post_error(const char* format, ...) WYN_PRINTF(1, 2);
void wyn_dm_post_error_va(const char* format, va_list args) WYN_PRINTF(1, 0);
void wyn_dm_post_warning(const char* format, ...) WYN_PRINTF(1, 2);
void wyn_dm_post_warning_va(const char* format, va_list args) WYN_PRINTF(1, 0);
void wyn_dm_post_note(const char* format, ...) WYN_PRINTF(1, 2);
void wyn_dm_post_note_va(const char* format, va_list args) WYN_PRINTF(1, 0);
void wyn_dm_post_message(const char* format, ...) WYN_PRINTF(1, 2);
void wyn_dm_post_message_va(const char* format, va_list args) WYN_PRINTF(1, 0);
/* Shows the fatal error and ends the program; never returns, even during E_UPDATE. */
void wyn_dm_post_fatal_exit(const char* format, ...) WYN_PRINTF(1, 2);
void wyn_dm_post_fatal_exit_va(const char* format, va_list args) WYN_PRINTF(1, 0);
/* 0 default, 1 alternate, 2 other button or closed; a refused question answers 2, as if the
   dialog had been closed, so that it never reads as the default answer. */
int16_t wyn_dm_post_ask(const char* default_title, const char* alternate_title,
                        const char* other_title, const char* format, ...) WYN_PRINTF(4, 5);
int16_t wyn_dm_post_ask_va(const char* default_title, const char* alternate_title,
                           const char* other_title, const char* format, va_list args)
    WYN_PRINTF(4, 0);
/* The edited text in buffer, or null when cancelled or on a fault. */
char* wyn_dm_post_string_prompt(const char* prompt, char* buffer, int size);
/* 2 chosen, 1 cancelled, 0 failed or on a fault. */
int16_t wyn_dm_post_file_open(FILE_SPEC* file_spec, const char* prompt);
int16_t wyn_dm_post_file_save(FILE_SPEC* file_spec, const char* prompt);
void wyn_dm_post_about_box(void);

WYN_END_C
