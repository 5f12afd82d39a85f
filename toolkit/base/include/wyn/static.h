/* Per-process static data: every module of the library keeps its state in a block found here. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* A module's static-data descriptor; one per module, itself constant. */
typedef struct s_wyn_static_desc {
    size_t size;                    /* bytes of the block */
    const void* initial;            /* optional: size bytes copied into the new block */
    void (*construct)(void* block); /* optional: called once after the block is filled */
    void (*destruct)(void* block);  /* optional: called when the process's table is freed */
} WYN_STATIC_DESC;

/* Returns the calling process's block for desc, created zero-filled and initialised on first
   use; null when desc is null or the block cannot be allocated. */
WYN_EXPORT void* wynk_static_get_ptr(const WYN_STATIC_DESC* desc);

/* Creates the calling process's table if it does not exist yet; FALSE when out of memory. */
WYN_EXPORT BOOLEAN wynv_static_init(void);

WYN_END_C
