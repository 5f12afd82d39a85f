// The per-process table of static-data blocks behind wynk_static_get_ptr.
#include "portable/static_data.h"

#include <cstdlib>
#include <cstring>

#include "portable/report_hook.h"
#include <wyn/static.h>

namespace {

constexpr char kReportUnit[] = "vstatic";

// On a host where one library data segment served several processes the table was keyed by
// process id; a Linux process always has its own copy of the library's data, so the key is 1.
constexpr long kProcessKey = 1;

struct Block {
    const WYN_STATIC_DESC* desc;
    void* data;
};

// Blocks are few (one per module) and looked up often, so a flat array searched linearly suffices.
struct ProcessTable {
    long key;
    Block* blocks;
    size_t count;
    size_t capacity;
};

ProcessTable* process_table = nullptr;

ProcessTable* table_for_process() {
    if (process_table && process_table->key == kProcessKey) return process_table;
    auto* table = static_cast<ProcessTable*>(std::calloc(1, sizeof(ProcessTable)));
    if (!table) return nullptr;
    table->key = kProcessKey;
    process_table = table;
    return table;
}

// The table uses the runtime heap directly: the replaceable memory functions keep their own
// state in a block of this table.
bool grow(ProcessTable& table) {
    size_t capacity = table.capacity ? table.capacity * 2 : 16;
    auto* blocks = static_cast<Block*>(std::realloc(table.blocks, capacity * sizeof(Block)));
    if (!blocks) return false;
    table.blocks = blocks;
    table.capacity = capacity;
    return true;
}

} // namespace

void* wynk_static_get_ptr(const WYN_STATIC_DESC* desc) {
    if (!desc) return nullptr;
    ProcessTable* table = table_for_process();
    if (!table) {
        PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
        return nullptr;
    }
    for (size_t i = 0; i < table->count; ++i)
        if (table->blocks[i].desc == desc) return table->blocks[i].data;
    if (table->count == table->capacity && !grow(*table)) {
        PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
        return nullptr;
    }
    void* data = std::calloc(1, desc->size ? desc->size : 1);
    if (!data) {
        PORTABLE_REPORT(PORTABLE_NO_HEAP, PORTABLE_ERROR);
        return nullptr;
    }
    if (desc->initial) std::memcpy(data, desc->initial, desc->size);
    // Registered before the constructor runs, so a constructor may look up its own block.
    table->blocks[table->count++] = Block{desc, data};
    if (desc->construct) desc->construct(data);
    return data;
}

BOOLEAN wynv_static_init(void) {
    return table_for_process() ? TRUE : FALSE;
}

void portable_static_release() {
    ProcessTable* table = process_table;
    if (!table) return;
    while (table->count > 0) {
        Block block = table->blocks[--table->count];
        if (block.desc->destruct) block.desc->destruct(block.data);
        std::free(block.data);
    }
    std::free(table->blocks);
    std::free(table);
    process_table = nullptr;
}
