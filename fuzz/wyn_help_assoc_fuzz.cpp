// Feeds the help library's association-file reader arbitrary files, then checks that the table
// it keeps is sorted and that every entry it holds is found again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "help_assoc_file.h"

using namespace wynhelp;

namespace {

bool same_key(const FileEntry& a, const FileEntry& b) {
    return a.kind == b.kind && a.object_id == b.object_id && a.container_id == b.container_id;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // fmemopen wants a buffer of at least one byte.
    std::vector<char> bytes(data, data + size);
    bytes.push_back('\0');
    std::FILE* f = fmemopen(bytes.data(), size ? size : 1, "r");
    if (!f) return 0;
    FileTable table;
    int32_t where = 0;
    const WYN_MSG_ID fault = read_assoc_file(f, table, &where);
    std::fclose(f);
    if (fault != 0 && table.count != 0) __builtin_trap();
    for (int32_t i = 0; i < table.count; ++i) {
        const FileEntry& e = table.entries[i];
        if (e.kind < kFileWindow || e.kind > kFileMenu) __builtin_trap();
        if (i > 0 && table.entries[i - 1].object_id > e.object_id) __builtin_trap();
        // Of entries with the same key, the search answers with the first in the table.
        int32_t first = i;
        while (first > 0 && same_key(table.entries[first - 1], e)) --first;
        if (lookup_file_assoc(table, e.kind, e.object_id, e.container_id) !=
            table.entries[first].topic)
            __builtin_trap();
        lookup_file_assoc(table, e.kind, e.object_id, 0);
    }
    return 0;
}
