// A module's per-process state block as a C++ object, built on first use and destroyed with
// the process's other blocks when the toolkit ends.
#pragma once

#include <new>
#include <wyn/static.h>

// The calling process's block of type T, or null when it cannot be allocated.
template <class T> T* static_block() {
    static const WYN_STATIC_DESC desc = {sizeof(T), nullptr, [](void* block) { new (block) T(); },
                                         [](void* block) { static_cast<T*>(block)->~T(); }};
    return static_cast<T*>(wynk_static_get_ptr(&desc));
}
