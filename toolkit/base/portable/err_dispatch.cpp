// Dispatching a message to the handler stacks of the frames, and the deferred-message queue.
#include <cstring>

#include "portable/err_frames.h"
#include "portable/err_message.h"
#include "portable/err_state.h"

namespace {

constexpr char kUnit[] = "verrmsg";

// Category 4/0 ("WYN_ERRNO set") only records the id.
constexpr unsigned kErrnoCategory = 0x40;

// Offers msg to the handlers of each frame from the current one outwards, topmost handler first,
// until one takes it. Each call runs in a frame of its own where no handler may be pushed, and
// the frame's count is lowered meanwhile so a report made by a handler skips it and those above.
int32_t offer(WYN_ERRMSG* msg) {
    for (WYN_ERRFRM* frame = err_state().current; frame != nullptr; frame = frame->prev) {
        const uint16_t saved = frame->handler_count;
        WYN_ERRFRM call_frame;
        wynv_errfrm_init(&call_frame, frame->target, 0);
        int32_t result = 0;
        while (result == 0 && frame->handler_count > 0) {
            const WYN_ERR_HANDLER_ENTRY entry = err_frame_handlers(frame)[--frame->handler_count];
            result = entry.handler(msg, entry.data);
        }
        wynv_errfrm_destroy(&call_frame);
        frame->handler_count = saved;
        if (result != 0) return result;
    }
    return 0;
}

} // namespace

int32_t wynv_errmsg_dispatch(void* target, int16_t severity, WYN_MSG_ID msg_id, const char* file,
                             int line) {
    return wynv_errmsg_dispatch_s(target, severity, msg_id, file, line, 0);
}

int32_t wynv_errmsg_dispatch_s(void* target, int16_t severity, WYN_MSG_ID msg_id, const char* file,
                               int line, intptr_t data) {
    err_state_block& state = err_state();
    state.last_msg = msg_id;
    if (((msg_id >> 16) & 0xFFu) == kErrnoCategory) return 0;
    if (severity <= WYN_SEV_NONE) return 0;

    WYN_ERRMSG msg;
    std::memset(static_cast<void*>(&msg), 0, sizeof msg);
    msg.self = &msg;
    msg.target = target;
    // Before the first event is dispatched the application cannot run on after a fault.
    msg.severity = state.ready ? severity : int16_t{WYN_SEV_FATAL};
    msg.msg_id = msg_id;
    msg.code_file = file;
    msg.code_line = static_cast<uint16_t>(line);
    msg.data = data;
    err_build_api_chain(msg.api_name, sizeof msg.api_name);

    const int32_t result = offer(&msg);
    if (msg.severity == WYN_SEV_ERROR && err_state().error_count >= ERR_TOO_MANY)
        wynv_errmsg_dispatch(nullptr, WYN_SEV_FATAL, WYN_MSG_TOO_MANY_ERRORS, kUnit, __LINE__);
    return result & 0xFFFF;
}

WYN_MSG_ID wynv_errmsg_get_last_msg(void) {
    return err_state().last_msg;
}

void err_flush_deferred() {
    err_state_block& state = err_state();
    if (state.budget > 0) --state.budget;
    // Taken off the queue before it is offered: a dialog's own event loop may flush again.
    while (state.deferred_count > 0) {
        WYN_ERRMSG msg;
        err_msg_copy(msg, state.deferred[0]);
        --state.deferred_count;
        for (int i = 0; i < state.deferred_count; ++i)
            err_msg_copy(state.deferred[i], state.deferred[i + 1]);
        const WYN_ERRMSG* outer = state.reoffered;
        state.reoffered = &msg;
        offer(&msg);
        err_state().reoffered = outer;
    }
}
