// The application core's per-process state block.
#include "portable/core_state.h"

#include <new>
#include <wyn/static.h>

namespace {

void construct_state(void* block) {
    new (block) CoreState();
}
void destruct_state(void* block) {
    static_cast<CoreState*>(block)->~CoreState();
}

const WYN_STATIC_DESC core_desc = {sizeof(CoreState), nullptr, construct_state, destruct_state};

} // namespace

CoreState& core() {
    return *static_cast<CoreState*>(wynk_static_get_ptr(&core_desc));
}

bool core_win_alive(WINDOW win) {
    return win && win->magic == WYN_WIN_MAGIC && !(win->state & WS_DESTROYED);
}
