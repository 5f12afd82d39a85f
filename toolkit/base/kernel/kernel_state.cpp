// The kernel layer's per-process state block.
#include "kernel/kernel_state.h"

#include "portable/static_block.h"

KernelState& kcore() {
    return *static_block<KernelState>();
}
