// The replaceable memory functions with their heap-backed defaults, and global-memory handles.
#include "portable/mem.h"

#include <cstdlib>
#include <cstring>

#include "portable/report_hook.h"
#include "portable/static_block.h"

namespace {

constexpr char kReportUnit[] = "vmem";

struct MemState {
    bool installed;
    WYN_MEM_FUNCS funcs;
    WYN_LOW_MEMORY_FN low_memory;
};

MemState* state() {
    return static_block<MemState>();
}

// A failed request gets one more try when the application's low-memory function freed some.
bool low_memory_freed(size_t size) {
    MemState* s = state();
    return s && s->low_memory && s->low_memory(size);
}

// The runtime may answer a request for 0 bytes with null; callers expect a distinct block.
void* default_alloc(size_t size) {
    size_t request = size ? size : 1;
    void* ptr = std::malloc(request);
    if (!ptr && low_memory_freed(request)) ptr = std::malloc(request);
    return ptr;
}

void default_free(void* ptr) {
    std::free(ptr);
}

void* default_realloc(void* ptr, size_t size) {
    if (!ptr) return default_alloc(size);
    if (size == 0) {
        std::free(ptr);
        return nullptr;
    }
    // realloc leaves the block untouched when it fails, so the retry resizes the same block.
    for (int attempt = 0;; ++attempt) {
        if (void* resized = std::realloc(ptr, size)) return resized;
        if (attempt > 0 || !low_memory_freed(size)) return nullptr;
    }
}

void* default_zalloc(size_t size) {
    void* ptr = default_alloc(size);
    if (ptr) std::memset(ptr, 0, size);
    return ptr;
}

constexpr WYN_MEM_FUNCS default_funcs = {default_alloc, default_free, default_realloc,
                                         default_zalloc};

const WYN_MEM_FUNCS* functions() {
    MemState* s = state();
    if (!s) return &default_funcs;
    if (!s->installed) {
        s->funcs = default_funcs;
        s->installed = true;
    }
    return &s->funcs;
}

} // namespace

void portable_mem_set_low_memory_fn(WYN_LOW_MEMORY_FN fn) {
    if (MemState* s = state()) s->low_memory = fn;
}

void portable_mem_reset_functions() {
    if (MemState* s = state()) {
        s->installed = false;
        s->funcs = WYN_MEM_FUNCS{};
    }
}

void* wynv_mem_alloc(size_t size) {
    void* ptr = functions()->alloc(size);
    if (!ptr) PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
    return ptr;
}

void* wynv_mem_zalloc(size_t size) {
    void* ptr = functions()->zalloc(size);
    if (!ptr) PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
    return ptr;
}

void* wynv_mem_realloc(void* ptr, size_t size) {
    void* resized = functions()->realloc(ptr, size);
    if (!resized && size != 0) PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
    return resized;
}

void wynv_mem_free(void* ptr) {
    if (ptr) functions()->free(ptr);
}

void* wynv_mem_rep(void* dest, const void* src, size_t size, size_t count) {
    if (!dest || !src) return dest;
    auto* out = static_cast<unsigned char*>(dest);
    for (size_t i = 0; i < count; ++i, out += size) std::memmove(out, src, size);
    return dest;
}

BOOLEAN wynv_mem_set_functions(const WYN_MEM_FUNCS* funcs) {
    MemState* s = state();
    if (!s || s->installed) return FALSE;
    if (funcs && (!funcs->alloc || !funcs->free || !funcs->realloc || !funcs->zalloc)) {
        PORTABLE_REPORT(PORTABLE_NULL_OBJECT, PORTABLE_ERROR);
        return FALSE;
    }
    s->funcs = funcs ? *funcs : default_funcs;
    s->installed = true;
    return TRUE;
}

WYN_MEM_FUNCS* wynv_mem_get_functions(WYN_MEM_FUNCS* copy) {
    MemState* s = state();
    if (!copy || !s || !s->installed) return nullptr;
    *copy = s->funcs;
    return copy;
}

// Global memory: Linux has no movable global heap, so a handle is a small record owning a heap
// block; the lock count makes a locked block's address stable, as the native handles did.
struct wyn_gmem {
    uint32_t magic;
    uint32_t locks;
    size_t size;
    void* data;
};

namespace {

constexpr uint32_t kGmemMagic = 0x474D454D;

bool valid(GHANDLE handle) {
    return handle && handle->magic == kGmemMagic;
}

} // namespace

GHANDLE wynv_gmem_alloc(size_t size, BOOLEAN zero_fill) {
    auto* handle = static_cast<GHANDLE>(std::malloc(sizeof(wyn_gmem)));
    void* data = zero_fill ? std::calloc(1, size ? size : 1) : std::malloc(size ? size : 1);
    if (!handle || !data) {
        std::free(handle);
        std::free(data);
        PORTABLE_REPORT(PORTABLE_NO_GLOBAL, PORTABLE_ERROR);
        return nullptr;
    }
    *handle = wyn_gmem{kGmemMagic, 0, size, data};
    return handle;
}

BOOLEAN wynv_gmem_free(GHANDLE handle) {
    if (!valid(handle)) return FALSE;
    if (handle->locks > 0) {
        PORTABLE_REPORT(PORTABLE_OBJECT_IN_USE, PORTABLE_ERROR);
        return FALSE;
    }
    handle->magic = 0;
    std::free(handle->data);
    std::free(handle);
    return TRUE;
}

void* wynv_gmem_lock(GHANDLE handle) {
    if (!valid(handle)) return nullptr;
    ++handle->locks;
    return handle->data;
}

BOOLEAN wynv_gmem_unlock(GHANDLE handle) {
    if (!valid(handle) || handle->locks == 0) return FALSE;
    return --handle->locks > 0 ? TRUE : FALSE;
}

// Moving a locked block would leave its users with a dangling address, so that is refused.
GHANDLE wynv_gmem_realloc(GHANDLE handle, size_t size) {
    if (!valid(handle)) return nullptr;
    if (handle->locks > 0) {
        PORTABLE_REPORT(PORTABLE_OBJECT_IN_USE, PORTABLE_ERROR);
        return nullptr;
    }
    void* data = std::realloc(handle->data, size ? size : 1);
    if (!data) {
        PORTABLE_REPORT(PORTABLE_NO_GLOBAL, PORTABLE_ERROR);
        return nullptr;
    }
    if (size > handle->size)
        std::memset(static_cast<char*>(data) + handle->size, 0, size - handle->size);
    handle->data = data;
    handle->size = size;
    return handle;
}

size_t wynv_gmem_get_size(GHANDLE handle) {
    return valid(handle) ? handle->size : 0;
}
