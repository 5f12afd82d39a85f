/* Error frames and API marks: the nesting that scopes error handlers and names the toolkit
   functions being run in error reports. */
#pragma once

#include <wyn/errmsg.h>

WYN_BEGIN_C

#define WYN_ERRFRM_MAX_API 4
#define WYN_ERRFRM_INLINE_HANDLERS 3

/* One entry of a frame's handler stack. */
typedef struct wyn_err_handler_entry {
    WYN_ERR_HANDLER handler;
    intptr_t data;
} WYN_ERR_HANDLER_ENTRY;

/* An error frame, held on the caller's stack; frames form a stack through `prev`. */
typedef struct wyn_errfrm {
    struct wyn_errfrm* prev;
    void* target;
    const char* api[WYN_ERRFRM_MAX_API + 1];
    WYN_ERR_HANDLER_ENTRY* heap_handlers; /* null while the inline room suffices */
    WYN_ERR_HANDLER_ENTRY inline_handlers[WYN_ERRFRM_INLINE_HANDLERS];
    uint16_t handler_count;
    uint16_t api_count;
    uint16_t handlers_allowed;
    uint16_t api_overflow; /* marks refused for lack of room, still to be unmarked */
} WYN_ERRFRM;

/* Opens frame as the current frame; handlers_allowed is 0 for frames opened to call a handler. */
WYN_EXPORT void wynv_errfrm_init(WYN_ERRFRM* frame, void* target, int16_t handlers_allowed);

/* Closes frame, warning about API marks or handlers it still holds. */
WYN_EXPORT void wynv_errfrm_destroy(WYN_ERRFRM* frame);

/* Records a toolkit function being run in the current frame (up to 4; more give a warning). */
WYN_EXPORT void wynv_errfrm_mark_API(const char* function_name);

/* Removes the innermost mark of the current frame. */
WYN_EXPORT void wynv_errfrm_unmark_API(void);

/* Number of API marks held by the current frame. */
WYN_EXPORT uint16_t wynv_errfrm_get_API_count(void);

WYN_END_C

#ifdef __cplusplus
namespace wyn {

// An error frame for the length of a C++ scope.
class ErrFrame {
  public:
    explicit ErrFrame(void* target = nullptr, bool handlers_allowed = true) {
        wynv_errfrm_init(&frame_, target, handlers_allowed ? 1 : 0);
    }
    ~ErrFrame() { wynv_errfrm_destroy(&frame_); }
    ErrFrame(const ErrFrame&) = delete;
    ErrFrame& operator=(const ErrFrame&) = delete;

  private:
    WYN_ERRFRM frame_;
};

// Marks a toolkit function as running for the length of a C++ scope.
class ApiMark {
  public:
    explicit ApiMark(const char* function_name) { wynv_errfrm_mark_API(function_name); }
    ~ApiMark() { wynv_errfrm_unmark_API(); }
    ApiMark(const ApiMark&) = delete;
    ApiMark& operator=(const ApiMark&) = delete;
};

} // namespace wyn
#endif
