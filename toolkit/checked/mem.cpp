// Checked memory calls: heap blocks through the replaceable functions, and global memory.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

void* wyn_mem_alloc(size_t size) {
    Call c(__func__, kMem);
    return wynv_mem_alloc(size);
}

void* wyn_mem_zalloc(size_t size) {
    Call c(__func__, kMem);
    return wynv_mem_zalloc(size);
}

void* wyn_mem_realloc(void* ptr, size_t size) {
    Call c(__func__, kMem);
    return wynv_mem_realloc(ptr, size);
}

void wyn_mem_free(void* ptr) {
    Call c(__func__, kMem);
    if (!c.given(ptr)) return;
    wynv_mem_free(ptr);
}

void* wyn_mem_rep(void* dest, const void* src, size_t size, size_t count) {
    Call c(__func__, kMem);
    if (!c.given(dest) || !c.given(src) || !c.at_least(static_cast<long long>(size), 1))
        return nullptr;
    return wynv_mem_rep(dest, src, size, count);
}

GHANDLE wyn_gmem_alloc(size_t size, BOOLEAN zero_fill) {
    Call c(__func__, kMem);
    return wynv_gmem_alloc(size, zero_fill);
}

BOOLEAN wyn_gmem_free(GHANDLE handle) {
    Call c(__func__, kMem);
    return wynv_gmem_free(handle);
}

void* wyn_gmem_lock(GHANDLE handle) {
    Call c(__func__, kMem);
    return wynv_gmem_lock(handle);
}

BOOLEAN wyn_gmem_unlock(GHANDLE handle) {
    Call c(__func__, kMem);
    return wynv_gmem_unlock(handle);
}

GHANDLE wyn_gmem_realloc(GHANDLE handle, size_t size) {
    Call c(__func__, kMem);
    return wynv_gmem_realloc(handle, size);
}

size_t wyn_gmem_get_size(GHANDLE handle) {
    Call c(__func__, kMem);
    return wynv_gmem_get_size(handle);
}
