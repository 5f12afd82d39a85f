// Error frames, their handler stacks and the API marks that name the toolkit functions being run.
#include "portable/err_frames.h"

#include <cstring>

#include "portable/err_state.h"
#include <wyn/mem.h>

namespace {

constexpr char kUnit[] = "verrfrm";

void warn(WYN_MSG_ID id, int line) {
    wynv_errmsg_dispatch(nullptr, WYN_SEV_WARNING, id, kUnit, line);
}

// The chain holds at most this many characters...
constexpr size_t kChainLimit = 63;
// ...and stops taking names once it holds more than this many.
constexpr size_t kChainFrameLimit = 54;

} // namespace

WYN_ERR_HANDLER_ENTRY* err_frame_handlers(WYN_ERRFRM* frame) {
    return frame->heap_handlers ? frame->heap_handlers : frame->inline_handlers;
}

void wynv_errfrm_init(WYN_ERRFRM* frame, void* target, int16_t handlers_allowed) {
    if (frame == nullptr) return;
    err_state_block& state = err_state();
    std::memset(static_cast<void*>(frame), 0, sizeof *frame);
    frame->prev = state.current;
    frame->target = target;
    frame->handlers_allowed = handlers_allowed ? 1 : 0;
    state.current = frame;
}

void wynv_errfrm_destroy(WYN_ERRFRM* frame) {
    err_state_block& state = err_state();
    if (frame == nullptr || frame == &state.base) return;
    // Frames nest strictly; one closed out of turn is still unlinked so no dangling link remains.
    if (state.current == frame) {
        state.current = frame->prev;
    } else {
        for (WYN_ERRFRM* f = state.current; f != nullptr; f = f->prev) {
            if (f->prev == frame) {
                f->prev = frame->prev;
                break;
            }
        }
    }
    wynv_mem_free(frame->heap_handlers);
    frame->heap_handlers = nullptr;
    const bool marks_left = frame->api_count > 0 || frame->api_overflow > 0;
    const bool handlers_left = frame->handler_count > 0;
    frame->handler_count = 0;
    frame->api_count = 0;
    frame->api_overflow = 0;
    if (marks_left) warn(WYN_MSG_FRAME_API_LEFT, __LINE__);
    if (handlers_left) warn(WYN_MSG_FRAME_HANDLERS_LEFT, __LINE__);
}

void wynv_errfrm_mark_API(const char* function_name) {
    WYN_ERRFRM* frame = err_state().current;
    if (frame->api_count < WYN_ERRFRM_MAX_API && frame->api_overflow == 0) {
        frame->api[frame->api_count++] = function_name;
        frame->api[frame->api_count] = nullptr;
        return;
    }
    // The refused mark is still counted, so that its unmark removes nothing that is marked.
    ++frame->api_overflow;
    warn(WYN_MSG_FRAME_NO_ROOM, __LINE__);
}

void wynv_errfrm_unmark_API(void) {
    WYN_ERRFRM* frame = err_state().current;
    if (frame->api_overflow > 0) {
        --frame->api_overflow;
        return;
    }
    if (frame->api_count > 0) --frame->api_count;
    const bool in_sync = frame->api[frame->api_count] != nullptr;
    frame->api[frame->api_count] = nullptr;
    if (!in_sync) warn(WYN_MSG_FRAME_OUT_OF_SYNC, __LINE__);
}

uint16_t wynv_errfrm_get_API_count(void) {
    const WYN_ERRFRM* frame = err_state().current;
    return static_cast<uint16_t>(frame->api_count + frame->api_overflow);
}

void wynv_errmsg_push_handler(WYN_ERR_HANDLER handler, intptr_t data) {
    WYN_ERRFRM* frame = err_state().current;
    if (!frame->handlers_allowed) {
        warn(WYN_MSG_FRAME_PUSH_IN_HANDLER, __LINE__);
        return;
    }
    if (frame->handler_count >= WYN_ERRFRM_INLINE_HANDLERS) {
        const size_t count = frame->handler_count + 1u;
        auto* grown = static_cast<WYN_ERR_HANDLER_ENTRY*>(
            wynv_mem_realloc(frame->heap_handlers, count * sizeof(WYN_ERR_HANDLER_ENTRY)));
        if (grown == nullptr) return;
        if (frame->heap_handlers == nullptr)
            std::memcpy(grown, frame->inline_handlers, sizeof frame->inline_handlers);
        frame->heap_handlers = grown;
    }
    err_frame_handlers(frame)[frame->handler_count++] = WYN_ERR_HANDLER_ENTRY{handler, data};
}

void wynv_errmsg_pop_handler(WYN_ERR_HANDLER handler) {
    WYN_ERRFRM* frame = err_state().current;
    const WYN_ERR_HANDLER_ENTRY* entries = err_frame_handlers(frame);
    for (int i = frame->handler_count - 1; i >= 0; --i) {
        if (entries[i].handler == handler) {
            frame->handler_count = static_cast<uint16_t>(i);
            return;
        }
    }
    warn(WYN_MSG_FRAME_POP_MISSING, __LINE__);
}

void err_build_api_chain(char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    const size_t cap = size - 1 < kChainLimit ? size - 1 : kChainLimit;
    size_t len = 0;
    auto append = [&](const char* text) {
        for (; *text != '\0' && len < cap; ++text) out[len++] = *text;
        out[len] = '\0';
    };
    for (const WYN_ERRFRM* f = err_state().current; f != nullptr; f = f->prev) {
        for (int i = f->api_count - 1; i >= 0; --i) {
            if (len > kChainFrameLimit) break;
            if (f->api[i] == nullptr) continue;
            // Bounded: a long name near the limit is cut instead of running past the record.
            append(f->api[i]);
            append(" ");
        }
    }
}
