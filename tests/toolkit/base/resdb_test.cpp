// The resource database: block chains, the paged index, the byte-budget cache, and damaged
// databases.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "portable/resdb.h"
#include "res_builder.h"

using namespace wyn::res;
using restest::build_db;
using restest::Bytes;
using restest::Resource;

namespace {

std::vector<uint8_t> pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = uint8_t(seed + i * 7);
    return out;
}

// The database cut into raw-data blocks 10001 and up, described by block 10000, as a program
// carries it.
struct RawChain {
    explicit RawChain(const std::vector<uint8_t>& db, uint16_t size = 512) {
        descriptor = std::to_string(db.size()) + " 10001 " + std::to_string(size);
        for (size_t at = 0; at < db.size(); at += size)
            blocks.emplace_back(db.begin() + long(at),
                                db.begin() + long(std::min(db.size(), at + size)));
        raw.push_back({10000, uint32_t(descriptor.size()),
                       reinterpret_cast<const unsigned char*>(descriptor.data())});
        for (size_t i = 0; i < blocks.size(); ++i)
            raw.push_back({uint16_t(10001 + i), uint32_t(blocks[i].size()), blocks[i].data()});
    }
    std::string descriptor;
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<WYN_RES_RAW> raw;
};

std::unique_ptr<Database> open_ok(const std::vector<uint8_t>& bytes) {
    Status status = Status::ok;
    auto db = Database::open_bytes(bytes, status);
    EXPECT_EQ(status, Status::ok);
    return db;
}

Status open_status(const std::vector<uint8_t>& bytes) {
    Status status = Status::ok;
    auto db = Database::open_bytes(bytes, status);
    EXPECT_EQ(db == nullptr, status != Status::ok);
    return status;
}

} // namespace

TEST(ResDatabase, ReadsThatStraddleBlocksReturnContiguousBytes) {
    // Padding puts the resource's first byte 4 bytes before the first boundary; it then spans three
    // blocks.
    const auto data = pattern(1100, 3);
    const auto bytes = build_db({{3, 7, data}}, 496);
    auto db = open_ok(bytes);
    ASSERT_NE(db, nullptr);
    std::vector<uint8_t> got;
    ASSERT_EQ(db->read(3, 7, got), Status::ok);
    EXPECT_EQ(got, data);

    uint8_t edge[4];
    ASSERT_EQ(db->read_at(510, edge, 4), Status::ok);
    EXPECT_EQ(std::vector<uint8_t>(edge, edge + 4),
              std::vector<uint8_t>(bytes.begin() + 510, bytes.begin() + 514));
    EXPECT_EQ(db->read_at(uint32_t(bytes.size()) - 2, edge, 4), Status::corrupt);
}

TEST(ResDatabase, OpensFromTheProgramsRawBlockChain) {
    const auto data = pattern(700, 9);
    RawChain chain(build_db({{4, 2, data}, {3, 1, pattern(20, 1)}}, 100));
    Status status = Status::ok;
    auto db = Database::open_raw(chain.raw.data(), chain.raw.size(), status);
    ASSERT_NE(db, nullptr);
    std::vector<uint8_t> got;
    ASSERT_EQ(db->read(4, 2, got), Status::ok);
    EXPECT_EQ(got, data);
    EXPECT_EQ(db->read(4, 3, got), Status::not_found);
}

TEST(ResDatabase, BrokenBlockChainsAreRefused) {
    const auto bytes = build_db({{4, 2, pattern(1500, 9)}});
    {
        RawChain chain(bytes);
        chain.raw.erase(chain.raw.begin() + 2); // block 10002 is missing
        Status status = Status::ok;
        auto db = Database::open_raw(chain.raw.data(), chain.raw.size(), status);
        ASSERT_NE(db, nullptr); // header and index live in the first and last blocks
        std::vector<uint8_t> got;
        EXPECT_EQ(db->read(4, 2, got), Status::corrupt);
    }
    {
        RawChain chain(bytes);
        chain.raw[2].size = 100; // a short block inside the chain
        Status status = Status::ok;
        auto db = Database::open_raw(chain.raw.data(), chain.raw.size(), status);
        ASSERT_NE(db, nullptr);
        std::vector<uint8_t> got;
        EXPECT_EQ(db->read(4, 2, got), Status::corrupt);
    }
    {
        RawChain chain(bytes);
        chain.raw.erase(chain.raw.begin()); // no descriptor: there is no database at all
        Status status = Status::ok;
        EXPECT_EQ(Database::open_raw(chain.raw.data(), chain.raw.size(), status), nullptr);
        EXPECT_EQ(status, Status::no_access);
    }
}

TEST(ResDatabase, DescriptorTextIsParsedStrictly) {
    auto parse = [](const std::string& text) {
        uint32_t length = 0;
        uint16_t first = 0, size = 0;
        const bool ok = parse_descriptor(
            {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, length, first, size);
        return ok ? std::to_string(length) + "/" + std::to_string(first) + "/" +
                        std::to_string(size)
                  : "refused";
    };
    EXPECT_EQ(parse("14565 10001 512"), "14565/10001/512");
    EXPECT_EQ(parse("14565 10001 512\r\n"), "14565/10001/512");
    EXPECT_EQ(parse("14565 10001"), "refused");
    EXPECT_EQ(parse("14565 10001 0"), "refused");
    EXPECT_EQ(parse("14565 40000 512"), "refused"); // the block id is a signed 16-bit number
    EXPECT_EQ(parse("-1 10001 512"), "refused");
    EXPECT_EQ(parse("99999999999 10001 512"), "refused");
    EXPECT_EQ(parse("1 2 3 4"), "refused");
}

TEST(ResDatabase, DamagedHeadersAndIndexesAreRefused) {
    const auto good = build_db({{3, 1, pattern(40, 1)}, {3, 2, pattern(40, 2)}});
    EXPECT_EQ(open_status(good), Status::ok);

    auto bad_magic = good;
    bad_magic[0] = 0;
    EXPECT_EQ(open_status(bad_magic), Status::corrupt);

    auto bad_version = good;
    bad_version[5] = 3;
    EXPECT_EQ(open_status(bad_version), Status::corrupt);

    EXPECT_EQ(open_status(std::vector<uint8_t>(good.begin(), good.begin() + 8)), Status::corrupt);
    // Truncated inside the index.
    EXPECT_EQ(open_status(std::vector<uint8_t>(good.begin(), good.end() - 5)), Status::corrupt);

    auto index_past_end = good;
    restest::poke32(index_past_end, 8, uint32_t(good.size()) - 12);
    EXPECT_EQ(open_status(index_past_end), Status::corrupt);

    // The first index entry's offset points past the end, then its size reaches past it.
    const size_t index = good.size() - 24;
    auto offset_past_end = good;
    restest::poke32(offset_past_end, index + 8, 0xFFFFFFF0u);
    EXPECT_EQ(open_status(offset_past_end), Status::corrupt);
    auto size_past_end = good;
    restest::poke32(size_past_end, index + 4, 0x7FFFFFFFu);
    EXPECT_EQ(open_status(size_past_end), Status::corrupt);

    // Entries out of order or repeated would make page ranges lie; both are refused.
    auto repeated = good;
    repeated[index + 12 + 1] = 1; // second entry's id becomes 1, the same key as the first
    EXPECT_EQ(open_status(repeated), Status::corrupt);
}

TEST(ResDatabase, FindsEntriesOnEveryPageOfALargeIndex) {
    std::vector<Resource> resources;
    for (uint16_t id = 1; id <= 700; ++id)
        resources.push_back({3, uint16_t(id * 2), Bytes().str("s" + std::to_string(id)).b});
    auto db = open_ok(build_db(resources));
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->entry_count(), 700);
    for (uint16_t id : {1, 256, 257, 512, 513, 700}) {
        Entry e;
        ASSERT_EQ(db->find(3, uint16_t(id * 2), e), Status::ok) << id;
        EXPECT_EQ(e.id, id * 2);
        EXPECT_EQ(db->find(3, uint16_t(id * 2 + 1), e), Status::not_found) << id;
    }
    Entry e;
    EXPECT_EQ(db->find(4, 2, e), Status::not_found);
}

TEST(ResDatabase, CacheKeepsSmallResourcesWithinItsBudget) {
    auto db = open_ok(build_db({{3, 1, pattern(40, 1)},
                                {3, 2, pattern(40, 2)},
                                {3, 3, pattern(40, 3)},
                                {3, 4, pattern(8, 4)},
                                {3, 5, pattern(2500, 5)}}));
    ASSERT_NE(db, nullptr);
    db->set_cache_budget(100);
    std::vector<uint8_t> got;
    ASSERT_EQ(db->read(3, 1, got), Status::ok);
    ASSERT_EQ(db->read(3, 2, got), Status::ok);
    EXPECT_EQ(db->cache_bytes(), 80u);
    ASSERT_EQ(db->read(3, 3, got), Status::ok); // the oldest piece makes room
    EXPECT_EQ(db->cache_bytes(), 80u);
    EXPECT_EQ(db->cache_pieces(), 2u);

    // Too small and too large resources are not cached.
    ASSERT_EQ(db->read(3, 4, got), Status::ok);
    ASSERT_EQ(db->read(3, 5, got), Status::ok);
    EXPECT_EQ(db->cache_pieces(), 2u);

    // A cached resource comes back without touching a block; an evicted one needs the blocks again.
    const size_t loads = db->block_loads();
    ASSERT_EQ(db->read(3, 3, got), Status::ok);
    EXPECT_EQ(got, pattern(40, 3));
    EXPECT_EQ(db->block_loads(), loads);
    ASSERT_EQ(db->read(3, 1, got), Status::ok);
    EXPECT_EQ(got, pattern(40, 1));
    EXPECT_GT(db->block_loads(), loads);

    db->set_cache_budget(50);
    EXPECT_LE(db->cache_bytes(), 50u);
}

TEST(ResDatabase, OpensADatabaseFile) {
    char path[] = "/tmp/resdb_testXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const auto data = pattern(900, 5);
    const auto bytes = build_db({{7, 3, data}}, 300);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    close(fd);
    Status status = Status::ok;
    auto db = Database::open_file(path, status);
    ASSERT_NE(db, nullptr);
    std::vector<uint8_t> got;
    EXPECT_EQ(db->read(7, 3, got), Status::ok);
    EXPECT_EQ(got, data);
    std::remove(path);
    EXPECT_EQ(Database::open_file(path, status), nullptr);
    EXPECT_EQ(status, Status::no_access);
}
