/* Error messages of the toolkit: message ids, severities, the message record, reporting, handlers
   and the debug log. */
#pragma once

#include <wyn/types.h>

#if defined(__GNUC__)
#define WYN_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define WYN_PRINTF(fmt, args)
#endif

WYN_BEGIN_C

/* A message id: bits 0-15 number, 16-19 minor category, 20-23 major category, bit 24 set for
   numbered toolkit messages. */
typedef uint32_t WYN_MSG_ID;

#define WYN_MSG_NUMBERED 0x1000000u
#define WYN_MSG_NUMBER(id) ((unsigned)((id)&0xFFFFu))
#define WYN_MSG_MINOR(id) ((unsigned)(((id) >> 16) & 0xFu))
#define WYN_MSG_MAJOR(id) ((unsigned)(((id) >> 20) & 0xFu))

/* Severities. */
#define WYN_SEV_NONE 0
#define WYN_SEV_WARNING 1
#define WYN_SEV_ERROR 2
#define WYN_SEV_FATAL 3

/* Category headings used on their own as message ids. */
#define WYN_MSG_NULL_HANDLE 0x210000u
#define WYN_MSG_INVALID_OBJECT 0x220000u
#define WYN_MSG_BAD_VALUE_CAT 0x250000u
#define WYN_MSG_WRONG_STATE_CAT 0x640000u

/* Numbered messages that the toolkit itself reports. */
#define WYN_MSG_NULL_OBJECT 0x1210001u
#define WYN_MSG_NULL_WINDOW 0x1210002u
#define WYN_MSG_NULL_SLIST 0x121000Au
#define WYN_MSG_NULL_POINTER 0x121000Cu
#define WYN_MSG_NULL_EVENT_HANDLER 0x121000Eu
#define WYN_MSG_INVALID_OBJECT_HANDLE 0x1220001u
#define WYN_MSG_INVALID_WINDOW 0x1220002u
#define WYN_MSG_INVALID_FONT 0x1220003u
#define WYN_MSG_INVALID_SLIST 0x1220008u
#define WYN_MSG_INVALID_TX 0x1220009u
#define WYN_MSG_INCORRECT_WINDOW_TYPE 0x1230001u
#define WYN_MSG_INCORRECT_SCROLL_TYPE 0x1230004u
#define WYN_MSG_BAD_RECT_FORMAT 0x1240003u
#define WYN_MSG_BAD_VALUE 0x1250001u
#define WYN_MSG_VALUE_TOO_LOW 0x1250004u
#define WYN_MSG_SIZE_TOO_SMALL 0x1260003u
#define WYN_MSG_ALLOC_HEAP 0x1510001u
#define WYN_MSG_CREATE_DIALOG 0x1520006u
#define WYN_MSG_FIND_FILE 0x1530001u
#define WYN_MSG_FIND_RESOURCE 0x1530003u
#define WYN_MSG_ACCESS_FILE 0x1540001u
#define WYN_MSG_ACCESS_DIRECTORY 0x1540002u
#define WYN_MSG_ACCESS_MENU 0x1540004u
#define WYN_MSG_PARSE_OVERFLOW 0x1590008u
#define WYN_MSG_DURING_UPDATE 0x1610001u
#define WYN_MSG_WRONG_STATE 0x1640001u
#define WYN_MSG_SEV_WARNING 0x1810001u
#define WYN_MSG_SEV_ERROR 0x1810002u
#define WYN_MSG_SEV_FATAL 0x1810003u
#define WYN_MSG_LABEL_CATEGORY 0x1820001u
#define WYN_MSG_LABEL_FUNCTION 0x1820002u
#define WYN_MSG_LABEL_FILE 0x1820003u
#define WYN_MSG_LABEL_LINE 0x1820004u
#define WYN_MSG_LABEL_INTERNAL 0x1820005u
#define WYN_MSG_REPORT_LAYOUT 0x1820006u
#define WYN_MSG_FRAME_HANDLERS_LEFT 0x1830001u
#define WYN_MSG_FRAME_API_LEFT 0x1830002u
#define WYN_MSG_FRAME_API_MARKED 0x1830003u
#define WYN_MSG_FRAME_POP_MISSING 0x1830004u
#define WYN_MSG_FRAME_PUSH_IN_HANDLER 0x1830005u
#define WYN_MSG_TOO_MANY_ERRORS 0x1830006u
#define WYN_MSG_FRAME_NO_ROOM 0x1830007u
#define WYN_MSG_FRAME_OUT_OF_SYNC 0x1830008u

/* Internal standard codes (bit 24 clear): their texts come only from ERRCODES.TXT. */
#define WYN_MSG_DIALOG_FAILED 0x3484D0u
#define WYN_MSG_PROMPT_FAILED 0x3484D6u

#define WYN_ERRMSG_TEXT_SIZE 64

/* A reported message; valid while `self` holds its own address. Text buffers fill on demand. */
typedef struct wyn_errmsg {
    struct wyn_errmsg* self;
    void* target;
    int16_t severity;
    WYN_MSG_ID msg_id;
    const char* code_file;
    intptr_t data; /* an application or toolkit value; a string pointer when above 255 */
    uint16_t code_line;
    char api_name[WYN_ERRMSG_TEXT_SIZE];
    char sev_text[WYN_ERRMSG_TEXT_SIZE];
    char msg_text[WYN_ERRMSG_TEXT_SIZE];
    char cat_text[WYN_ERRMSG_TEXT_SIZE];
    char spare[WYN_ERRMSG_TEXT_SIZE];
} WYN_ERRMSG;

/* An error handler: returns non-zero when it has dealt with the message. */
typedef int32_t (*WYN_ERR_HANDLER)(WYN_ERRMSG* msg, intptr_t data);

/* Reports a message with data 0; returns the low 16 bits of the result of the handler that took
   it (0 when none did or severity is 0). */
WYN_EXPORT int32_t wynv_errmsg_dispatch(void* target, int16_t severity, WYN_MSG_ID msg_id,
                                        const char* file, int line);

/* Reports a message carrying a data word (a string pointer when above 255). */
WYN_EXPORT int32_t wynv_errmsg_dispatch_s(void* target, int16_t severity, WYN_MSG_ID msg_id,
                                          const char* file, int line, intptr_t data);

/* Pushes a handler on the current frame (refused, with a warning, inside a handler call). */
WYN_EXPORT void wynv_errmsg_push_handler(WYN_ERR_HANDLER handler, intptr_t data);

/* Removes the topmost push of handler and everything pushed after it from the current frame. */
WYN_EXPORT void wynv_errmsg_pop_handler(WYN_ERR_HANDLER handler);

/* Severity of the record; 3 for an invalid record. */
WYN_EXPORT int16_t wynv_errmsg_get_sev_id(WYN_ERRMSG* msg);
/* Severity label ("ERROR: " ...), held in the record. */
WYN_EXPORT const char* wynv_errmsg_get_sev_text(WYN_ERRMSG* msg);
/* Message id; 0 for an invalid record. */
WYN_EXPORT WYN_MSG_ID wynv_errmsg_get_msg_id(WYN_ERRMSG* msg);
/* Message text (with the data string applied), held in the record. */
WYN_EXPORT const char* wynv_errmsg_get_msg_text(WYN_ERRMSG* msg);
/* Category text "major (minor)", held in the record. */
WYN_EXPORT const char* wynv_errmsg_get_cat_text(WYN_ERRMSG* msg);
/* Source unit that reported the message, or null. */
WYN_EXPORT const char* wynv_errmsg_get_code_file(WYN_ERRMSG* msg);
/* Source line that reported the message. */
WYN_EXPORT uint16_t wynv_errmsg_get_code_line(WYN_ERRMSG* msg);
/* Chain of toolkit functions being run when the message was reported, innermost first. */
WYN_EXPORT const char* wynv_errmsg_get_api_name(WYN_ERRMSG* msg);
/* Target object of the message. */
WYN_EXPORT void* wynv_errmsg_get_tgt_object(WYN_ERRMSG* msg);
/* Copies the text of any id into buffer (size bytes, always terminated); returns buffer. */
WYN_EXPORT char* wynv_errmsg_get_text(WYN_ERRMSG* msg, WYN_MSG_ID msg_id, char* buffer,
                                      size_t size);
/* The id of the last message dispatched. */
WYN_EXPORT WYN_MSG_ID wynv_errmsg_get_last_msg(void);

/* Writes a formatted line to the debug log when a writable file of the log's name exists. */
WYN_EXPORT void wynv_debug_printf(const char* format, ...) WYN_PRINTF(1, 2);

WYN_END_C
