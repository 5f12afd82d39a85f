// The kernel layer's per-process state block.
#include "kernel/kernel_state.h"

#include <new>
#include <wyn/static.h>

namespace {

void construct_state(void* block) {
    new (block) KernelState();
}
void destruct_state(void* block) {
    static_cast<KernelState*>(block)->~KernelState();
}

const WYN_STATIC_DESC kernel_desc = {sizeof(KernelState), nullptr, construct_state, destruct_state};

} // namespace

KernelState& kcore() {
    return *static_cast<KernelState*>(wynk_static_get_ptr(&kernel_desc));
}
