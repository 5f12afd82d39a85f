// The application core's per-process state block.
#include "portable/core_state.h"

#include "portable/static_block.h"

CoreState& core() {
    return *static_block<CoreState>();
}

bool core_win_alive(WINDOW win) {
    return win && win->magic == WYN_WIN_MAGIC && !(win->state & WS_DESTROYED);
}
