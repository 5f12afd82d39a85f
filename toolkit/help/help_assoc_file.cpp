// Reading the association file in two passes (count, then parse) and searching its sorted table.
#include "help_assoc_file.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <new>
#include <tuple>

namespace wynhelp {

namespace {

// Lines are read with a buffer of this many bytes, terminator included.
constexpr int kLineBuffer = 100;

bool counts(const char* line) {
    const auto first = static_cast<unsigned char>(line[0]);
    return first != '#' && first != '\'' && !std::isspace(first);
}

int32_t kind_of_letter(char letter) {
    switch (letter) {
    case 'W':
    case 'w':
        return kFileWindow;
    case 'D':
    case 'd':
        return kFileDialog;
    case 'C':
    case 'c':
        return kFileControl;
    case 'M':
    case 'm':
        return kFileMenu;
    default:
        return 0;
    }
}

bool fits_32(long value) {
    return value >= INT32_MIN && value <= INT32_MAX;
}

// Ordered by object id, kind, container id; compared, never subtracted, so that ids far apart
// still sort.
auto sort_key(const FileEntry& e) {
    return std::tie(e.object_id, e.kind, e.container_id);
}

bool entry_less(const FileEntry& a, const FileEntry& b) {
    return sort_key(a) < sort_key(b);
}

} // namespace

WYN_MSG_ID read_assoc_file(std::FILE* f, FileTable& table, int32_t* where) {
    table = FileTable{};
    *where = 0;
    char line[kLineBuffer];
    int32_t expected = 0;
    while (std::fgets(line, sizeof line, f))
        if (counts(line) && expected < INT32_MAX) ++expected;
    if (expected == 0) return 0;

    std::unique_ptr<FileEntry[]> entries(new (std::nothrow) FileEntry[expected]);
    if (!entries) {
        *where = expected;
        return kMsgNoMemory;
    }
    std::rewind(f);
    int32_t parsed = 0;
    int32_t number = 0;
    // A file that grew between the passes keeps the count of the first.
    while (parsed < expected && std::fgets(line, sizeof line, f)) {
        ++number;
        if (!counts(line)) continue;
        char letter = 0;
        long object = 0;
        long container = 0;
        long topic = 0;
        if (std::sscanf(line, "%c %ld %ld %ld", &letter, &object, &container, &topic) != 4 ||
            !fits_32(object) || !fits_32(container) || !fits_32(topic)) {
            *where = number;
            return kMsgShortLine;
        }
        const int32_t kind = kind_of_letter(letter);
        if (kind == 0) {
            *where = number;
            return kMsgUnknownKind;
        }
        entries[parsed++] = FileEntry{kind, static_cast<int32_t>(object),
                                      static_cast<int32_t>(container), static_cast<int32_t>(topic)};
    }
    std::sort(entries.get(), entries.get() + parsed, entry_less);
    table.entries = std::move(entries);
    table.count = parsed;
    return 0;
}

int32_t lookup_file_assoc(const FileTable& table, int32_t kind, int32_t object_id,
                          int32_t container_id) {
    if (!table.entries || table.count <= 0) return 0;
    const FileEntry* first = table.entries.get();
    const FileEntry* last = first + table.count;
    const auto find = [&](int32_t container) -> const FileEntry* {
        const FileEntry key{kind, object_id, container, 0};
        const FileEntry* at = std::lower_bound(first, last, key, entry_less);
        return at != last && !entry_less(key, *at) ? at : nullptr;
    };
    if (const FileEntry* exact = find(container_id)) return exact->topic;
    if (container_id != 0) {
        const FileEntry* any = find(0);
        return any ? any->topic : 0;
    }
    // Container 0 asks for the object in whatever window holds it.
    const auto by_object = [](const FileEntry& e) { return std::tie(e.object_id, e.kind); };
    const FileEntry* at =
        std::lower_bound(first, last, FileEntry{kind, object_id, INT32_MIN, 0}, entry_less);
    return at != last && by_object(*at) == std::tie(object_id, kind) ? at->topic : 0;
}

} // namespace wynhelp
