/* Heap memory through replaceable functions, and movable global-memory handles. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* The four replaceable memory functions. */
typedef struct s_wyn_mem_funcs {
    void* (*alloc)(size_t size);
    void (*free)(void* ptr);
    void* (*realloc)(void* ptr, size_t size);
    void* (*zalloc)(size_t size);
} WYN_MEM_FUNCS;

/* The application's low-memory function (attribute 701): TRUE when it freed memory for size. */
typedef BOOLEAN (*WYN_LOW_MEMORY_FN)(size_t size);

/* Allocates size bytes; null (reported) when the heap is exhausted. */
WYN_EXPORT void* wynv_mem_alloc(size_t size);
/* Allocates size zero-filled bytes; null (reported) when the heap is exhausted. */
WYN_EXPORT void* wynv_mem_zalloc(size_t size);
/* Resizes ptr (null allocates, size 0 frees and returns null); on failure null and ptr is kept. */
WYN_EXPORT void* wynv_mem_realloc(void* ptr, size_t size);
/* Frees a block of the memory functions; null is ignored. */
WYN_EXPORT void wynv_mem_free(void* ptr);
/* Copies the size-byte block src count times one after another into dest; returns dest. */
WYN_EXPORT void* wynv_mem_rep(void* dest, const void* src, size_t size, size_t count);
/* Installs funcs (null: the defaults) while none are installed; FALSE when refused. */
WYN_EXPORT BOOLEAN wynv_mem_set_functions(const WYN_MEM_FUNCS* funcs);
/* Copies the installed table into copy and returns copy; null when none is installed. */
WYN_EXPORT WYN_MEM_FUNCS* wynv_mem_get_functions(WYN_MEM_FUNCS* copy);

/* A movable global-memory block. */
typedef struct wyn_gmem* GHANDLE;

/* Allocates a movable block of size bytes (zero-filled when zero_fill); null on failure. */
WYN_EXPORT GHANDLE wynv_gmem_alloc(size_t size, BOOLEAN zero_fill);
/* Frees the block; FALSE when it is still locked or invalid. */
WYN_EXPORT BOOLEAN wynv_gmem_free(GHANDLE handle);
/* Locks the block and returns its address, stable until the matching unlock. */
WYN_EXPORT void* wynv_gmem_lock(GHANDLE handle);
/* Undoes one lock; TRUE while the block stays locked. */
WYN_EXPORT BOOLEAN wynv_gmem_unlock(GHANDLE handle);
/* Resizes an unlocked block, keeping its contents; returns handle, or null (block unchanged). */
WYN_EXPORT GHANDLE wynv_gmem_realloc(GHANDLE handle, size_t size);
/* The block's size in bytes; 0 for an invalid handle. */
WYN_EXPORT size_t wynv_gmem_get_size(GHANDLE handle);

WYN_END_C
