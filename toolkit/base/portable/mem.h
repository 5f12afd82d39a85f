// Internal connection of the memory functions to the attribute store.
#pragma once

#include <wyn/mem.h>

// Records the low-memory function held in attribute 701 (null: none); the attribute store calls
// it whenever that attribute is written.
void portable_mem_set_low_memory_fn(WYN_LOW_MEMORY_FN fn);
// Uninstalls the memory function table, as at process start; for the start-up glue and tests.
void portable_mem_reset_functions();
