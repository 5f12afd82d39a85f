// A module's per-process state block as a C++ object: built on first use and destroyed with the
// process's other blocks when the toolkit ends, so a toolkit begun again starts from fresh state.
#pragma once

#include <new>
#include <wyn/static.h>

// The calling process's block of type T, constructed by T() on first use; null when it cannot
// be allocated. One block per type: two modules must not share a state type.
template <class T> T* static_block() {
    static constexpr WYN_STATIC_DESC desc = {sizeof(T), nullptr,
                                             [](void* block) { new (block) T(); },
                                             [](void* block) { static_cast<T*>(block)->~T(); }};
    return static_cast<T*>(wynk_static_get_ptr(&desc));
}
