/* The toolkit's standard dialogs: error, warning, note and message boxes, questions, a string
   prompt, file open and save, the about box, and the fatal exit. */
#pragma once

#include <stdarg.h>
#include <wyn/errmsg.h>
#include <wyn/fsys.h>

WYN_BEGIN_C

/* The application's fatal-exit function (attribute 705), called with the text before it is shown.
 */
typedef void (*WYN_FATAL_HOOK)(const char* text);

/* Shows a formatted error in a modal dialog with an "OK" button; returns when it is closed. */
WYN_EXPORT void wynv_dm_post_error(const char* format, ...) WYN_PRINTF(1, 2);
WYN_EXPORT void wynv_dm_post_error_va(const char* format, va_list args) WYN_PRINTF(1, 0);
/* Shows a formatted warning in a modal dialog with an "OK" button. */
WYN_EXPORT void wynv_dm_post_warning(const char* format, ...) WYN_PRINTF(1, 2);
WYN_EXPORT void wynv_dm_post_warning_va(const char* format, va_list args) WYN_PRINTF(1, 0);
/* Shows a formatted note in a modal dialog with an "OK" button. */
WYN_EXPORT void wynv_dm_post_note(const char* format, ...) WYN_PRINTF(1, 2);
WYN_EXPORT void wynv_dm_post_note_va(const char* format, va_list args) WYN_PRINTF(1, 0);
/* Shows a formatted text in a native message box captioned "Alert". */
WYN_EXPORT void wynv_dm_post_message(const char* format, ...) WYN_PRINTF(1, 2);
WYN_EXPORT void wynv_dm_post_message_va(const char* format, va_list args) WYN_PRINTF(1, 0);
/* Shows a fatal error, ends the toolkit and the process; never returns. */
WYN_EXPORT void wynv_dm_post_fatal_exit(const char* format, ...) WYN_PRINTF(1, 2);
WYN_EXPORT void wynv_dm_post_fatal_exit_va(const char* format, va_list args) WYN_PRINTF(1, 0);

/* Asks a question with up to three buttons (a null title hides its button): 0 for the default
   button, 1 for the alternate, 2 for the other button or closing the dialog. */
WYN_EXPORT int16_t wynv_dm_post_ask(const char* default_title, const char* alternate_title,
                                    const char* other_title, const char* format, ...)
    WYN_PRINTF(4, 5);
WYN_EXPORT int16_t wynv_dm_post_ask_va(const char* default_title, const char* alternate_title,
                                       const char* other_title, const char* format, va_list args)
    WYN_PRINTF(4, 0);

/* Prompts for a line of text starting from buffer's contents; on OK copies it into buffer (size
   bytes, terminated) and returns buffer, else null. */
WYN_EXPORT char* wynv_dm_post_string_prompt(const char* prompt, char* buffer, int size);

/* File dialog flags: hide read-only, path must exist (open), and prompt before overwriting (save).
 */
#define WYN_FILE_DLG_OPEN_FLAGS 0x804u
#define WYN_FILE_DLG_SAVE_FLAGS 0x806u
#define WYN_FILE_DLG_OVERWRITE_PROMPT 0x2u

/* The file dialog as it is about to be shown; the application's file-dialog function (attribute
   10020) may change it. */
typedef struct s_wyn_file_dlg {
    BOOLEAN save;
    uint32_t flags;
    char file[WYN_SZ_FNAME + 1];      /* initial file name */
    char directory[WYN_SZ_FNAME + 1]; /* initial directory */
    char title[WYN_SZ_FNAME + 1];     /* window title; empty for the default */
    char filter[512];                 /* "description (patterns)" entries separated by ";;" */
    char default_ext[WYN_SZ_FTYPE + 1];
} WYN_FILE_DLG;

typedef void (*WYN_FILE_DLG_HOOK)(WYN_FILE_DLG* dlg);

/* Lets the user choose an existing file, starting from file_spec; on a choice updates file_spec's
   directory, name and type. 2 when a file was chosen, 1 when cancelled, 0 when the dialog
   failed. */
WYN_EXPORT int16_t wynv_dm_post_file_open(FILE_SPEC* file_spec, const char* prompt);
/* As wynv_dm_post_file_open for a file to save, starting from file_spec's name. */
WYN_EXPORT int16_t wynv_dm_post_file_save(FILE_SPEC* file_spec, const char* prompt);

/* Shows the application's about box (a message when it cannot be shown). */
WYN_EXPORT void wynv_dm_post_about_box(void);

WYN_END_C
