// Fuzzes the resource database reader: opening, the paged index, block reads and every record
// reader.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "portable/resdb.h"
#include "portable/resformat.h"
#include "portable/resread.h"

using namespace wyn::res;

namespace {

wyn_font* no_font(uint16_t, Status& status) {
    status = Status::not_found;
    return nullptr;
}

// Runs every reader over one record, freeing whatever it builds.
void read_record(std::span<const uint8_t> bytes) {
    for (bool dialog : {false, true}) {
        WIN_DEF* def = nullptr;
        if (parse_win_def(bytes, dialog, no_font, nullptr, def) == Status::ok)
            free_win_def(def, nullptr);
        std::span<const uint8_t> data;
        find_entry_data(bytes, dialog ? 3 : 0, 1, data);
    }
    MENU_ITEM* tree = nullptr;
    if (parse_menu(bytes, tree) == Status::ok) free_menu(tree);
    std::span<const uint8_t> data;
    find_menu_data(bytes, 1008, 1, data);
    std::string text;
    parse_string(bytes, text);
    std::vector<std::string> list;
    parse_string_list(bytes, list);
    std::vector<WYN_RES_ACCEL> keys;
    parse_key_table(bytes, keys);
    WYN_RES_FONT font;
    parse_font(bytes, font);
    uint32_t word = 0;
    bool found = false;
    parse_image(bytes, word, 1, &data, &found);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    read_record(input);

    Status status = Status::ok;
    auto db = Database::open_bytes(input, status);
    if (db == nullptr) return 0;
    db->set_cache_budget(256);
    // Walk the index as stored and read each resource twice, so the cache path runs too.
    uint8_t header[kHeaderSize];
    if (db->read_at(0, header, sizeof header) != Status::ok) return 0;
    const uint32_t index = be32(header + 8);
    for (uint32_t i = 0; i < db->entry_count(); ++i) {
        uint8_t e[kIndexEntrySize];
        if (db->read_at(index + i * uint32_t(kIndexEntrySize), e, sizeof e) != Status::ok) break;
        std::vector<uint8_t> bytes;
        for (int pass = 0; pass < 2; ++pass)
            if (db->read(be16(e + 2), be16(e), bytes) == Status::ok) read_record(bytes);
    }
    return 0;
}
