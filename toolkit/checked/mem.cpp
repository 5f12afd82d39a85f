// Checked memory calls: heap blocks through the replaceable functions, and global memory.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
MARKED(kMem, wyn_mem_alloc, (size_t size), wynv_mem_alloc, (size))
MARKED(kMem, wyn_mem_zalloc, (size_t size), wynv_mem_zalloc, (size))
MARKED(kMem, wyn_mem_realloc, (void* ptr, size_t size), wynv_mem_realloc, (ptr, size))
CHECKED(kMem, wyn_mem_free, (void* ptr),
        c.given(ptr), void(), wynv_mem_free, (ptr))
CHECKED(kMem, wyn_mem_rep, (void* dest, const void* src, size_t size, size_t count),
        c.given(dest) && c.given(src) && c.at_least(static_cast<long long>(size), 1),
        nullptr, wynv_mem_rep, (dest, src, size, count))
MARKED(kMem, wyn_gmem_alloc, (size_t size, BOOLEAN zero_fill), wynv_gmem_alloc, (size, zero_fill))
MARKED(kMem, wyn_gmem_free, (GHANDLE handle), wynv_gmem_free, (handle))
MARKED(kMem, wyn_gmem_lock, (GHANDLE handle), wynv_gmem_lock, (handle))
MARKED(kMem, wyn_gmem_unlock, (GHANDLE handle), wynv_gmem_unlock, (handle))
MARKED(kMem, wyn_gmem_realloc, (GHANDLE handle, size_t size), wynv_gmem_realloc, (handle, size))
MARKED(kMem, wyn_gmem_get_size, (GHANDLE handle), wynv_gmem_get_size, (handle))
// clang-format on
