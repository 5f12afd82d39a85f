// Resource lookups: a menu bar and a dialog definition read from a database of a program's size,
// with and without the cache of small resources.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "portable/resdb.h"
#include "portable/resformat.h"
#include "portable/resread.h"

using namespace wyn::res;

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v >> 16);
    put16(b, v & 0xFFFF);
}

// 300 string resources, a 40-item menu bar (id 1000) and a 40-control dialog (id 102), as a program
// might carry.
std::vector<uint8_t> program_database() {
    struct Rec {
        uint16_t type, id;
        std::vector<uint8_t> bytes;
    };
    std::vector<Rec> recs;
    std::vector<uint8_t> menu;
    put16(menu, 40);
    for (uint16_t i = 0; i < 40; ++i) {
        put16(menu, 1001u + i);
        put16(menu, 0);
        put16(menu, 0);
        put16(menu, 12);
        menu.insert(menu.end(), {'M', 'e', 'n', 'u', ' ', 'c', 'o', 'm', 'm', 'a', 'n', 'd'});
        put16(menu, 0);
    }
    recs.push_back({kMenuBar, 1000, menu});
    std::vector<uint8_t> dialog;
    put16(dialog, 41);
    for (uint16_t i = 0; i < 41; ++i) {
        for (uint32_t v : {i == 0 ? 4u : 12u, uint32_t(i), 10u, 10u * i, 60u, 9u, 0u})
            put16(dialog, v);
        put32(dialog, 0x0300);
        put16(dialog, 2);
        put16(dialog, 0);
        put16(dialog, 6);
        dialog.insert(dialog.end(), {'L', 'a', 'b', 'e', 'l', ':'});
        put16(dialog, 0);
    }
    recs.push_back({kDialog, 102, dialog});
    for (uint16_t id = 1; id <= 300; ++id) {
        std::vector<uint8_t> s;
        put16(s, 20);
        s.insert(s.end(), 20, 'x');
        recs.push_back({kString, id, s});
    }
    std::sort(recs.begin(), recs.end(), [](const Rec& a, const Rec& b) {
        return key_of(a.type, a.id) < key_of(b.type, b.id);
    });
    std::vector<uint8_t> db;
    put32(db, kMagic);
    put16(db, kVersion);
    put16(db, uint32_t(recs.size()));
    put32(db, 0);
    std::vector<uint32_t> offsets;
    for (const Rec& r : recs) {
        offsets.push_back(uint32_t(db.size()));
        db.insert(db.end(), r.bytes.begin(), r.bytes.end());
    }
    const uint32_t index = uint32_t(db.size());
    for (size_t i = 0; i < recs.size(); ++i) {
        put16(db, recs[i].id);
        put16(db, recs[i].type);
        put32(db, uint32_t(recs[i].bytes.size()));
        put32(db, offsets[i]);
    }
    for (int i = 0; i < 4; ++i) db[8 + size_t(i)] = uint8_t(index >> (24 - 8 * i));
    return db;
}

void lookup(benchmark::State& state, uint16_t type, uint16_t id, size_t budget, bool parse = true) {
    const auto bytes = program_database();
    Status status = Status::ok;
    auto db = Database::open_bytes(bytes, status);
    db->set_cache_budget(budget);
    std::vector<uint8_t> record;
    for (auto _ : state) {
        db->read(type, id, record);
        if (parse && type == kMenuBar) {
            MENU_ITEM* tree = nullptr;
            parse_menu(record, tree);
            free_menu(tree);
        } else if (parse) {
            WIN_DEF* def = nullptr;
            parse_win_def(record, true, nullptr, nullptr, def);
            free_win_def(def, nullptr);
        }
        benchmark::DoNotOptimize(record.data());
    }
}

void BM_MenuCached(benchmark::State& state) {
    lookup(state, kMenuBar, 1000, Database::kDefaultBudget);
}
void BM_MenuUncached(benchmark::State& state) {
    lookup(state, kMenuBar, 1000, 0);
}
void BM_DialogCached(benchmark::State& state) {
    lookup(state, kDialog, 102, Database::kDefaultBudget);
}
void BM_DialogUncached(benchmark::State& state) {
    lookup(state, kDialog, 102, 0);
}

// The bytes alone: what the cache saves on a lookup.
void BM_BytesCached(benchmark::State& state) {
    lookup(state, kDialog, 102, Database::kDefaultBudget, false);
}
void BM_BytesUncached(benchmark::State& state) {
    lookup(state, kDialog, 102, 0, false);
}

} // namespace

BENCHMARK(BM_MenuCached);
BENCHMARK(BM_MenuUncached);
BENCHMARK(BM_DialogCached);
BENCHMARK(BM_DialogUncached);
BENCHMARK(BM_BytesCached);
BENCHMARK(BM_BytesUncached);
