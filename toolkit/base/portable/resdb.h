// The compiled resource database: block access, the paged index and the cache of small resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "wyn/res.h"

namespace wyn::res {

// Outcomes of database operations; the failures carry the toolkit message id they are reported
// with.
enum class Status : uint32_t {
    ok = 0,
    not_found = 0x1530003, // "Failed to find resource"
    corrupt = 0x1570001,   // "Internal data corrupted"
    no_memory = 0x1510001, // "Failed to allocate heap memory"
    no_access = 0x1540001, // "Failed to access file"
};

// Supplies the database's blocks: block n holds the bytes from n * block size on.
class BlockSource {
  public:
    virtual ~BlockSource() = default;
    // Loads block n into out (replacing its contents); false when the block cannot be had.
    virtual bool load(uint32_t n, std::vector<uint8_t>& out) = 0;
};

// The raw-data blocks of a program, found by id.
std::unique_ptr<BlockSource> raw_block_source(const WYN_RES_RAW* raw, size_t count,
                                              uint16_t first_id);
// The bytes of a file, read block by block as they are needed.
std::unique_ptr<BlockSource> file_block_source(const std::string& path, uint16_t block_size);
// A copy of bytes in memory, cut into blocks of block_size.
std::unique_ptr<BlockSource> memory_block_source(std::span<const uint8_t> bytes,
                                                 uint16_t block_size);

// Parses the descriptor text of block 10000 ("length first size"); false when it is malformed.
bool parse_descriptor(std::span<const uint8_t> text, uint32_t& length, uint16_t& first,
                      uint16_t& block_size);

// One index entry.
struct Entry {
    uint16_t id = 0;
    uint16_t type = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
};

class Database {
  public:
    // Opens a database of length bytes held in blocks of block_size; null with status set when it
    // is unusable.
    static std::unique_ptr<Database> open(std::unique_ptr<BlockSource> source, uint32_t length,
                                          uint16_t block_size, Status& status);
    // Opens the database described by raw-data block 10000 of a program.
    static std::unique_ptr<Database> open_raw(const WYN_RES_RAW* raw, size_t count, Status& status);
    // Opens a database file (its bytes as they are, in blocks of 512).
    static std::unique_ptr<Database> open_file(const std::string& path, Status& status);
    // Opens a database from bytes in memory (copied).
    static std::unique_ptr<Database> open_bytes(std::span<const uint8_t> bytes, Status& status);

    // Finds the index entry of (type, id).
    Status find(uint16_t type, uint16_t id, Entry& out);
    // Reads the whole resource (type, id) into out, through the cache.
    Status read(uint16_t type, uint16_t id, std::vector<uint8_t>& out);
    // Copies n bytes from offset into dst, crossing block boundaries as needed.
    Status read_at(uint32_t offset, uint8_t* dst, size_t n);

    // Sets the cache's byte budget, dropping the oldest pieces over it.
    void set_cache_budget(size_t bytes);
    size_t cache_bytes() const { return cache_bytes_; }
    size_t cache_pieces() const { return cache_.size(); }
    // Number of block loads so far (one block is held at a time).
    size_t block_loads() const { return block_loads_; }
    uint32_t length() const { return length_; }
    uint16_t entry_count() const { return entry_count_; }

    // Resources of these sizes are cached; the default budget holds a few dozen small ones.
    static constexpr size_t kCacheMin = 16;
    static constexpr size_t kCacheMax = 2000;
    static constexpr size_t kDefaultBudget = 8192;

  private:
    struct Page {
        uint32_t first_key;
        uint32_t last_key;
    };
    struct Piece {
        uint32_t key;
        std::vector<uint8_t> bytes;
    };

    Database(std::unique_ptr<BlockSource> source, uint32_t length, uint16_t block_size);
    Status load_header();
    Status load_block(uint32_t n);
    Status load_page(size_t page);
    void remember(uint32_t key, const std::vector<uint8_t>& bytes);

    std::unique_ptr<BlockSource> source_;
    uint32_t length_;
    uint16_t block_size_;
    uint16_t entry_count_ = 0;
    uint32_t index_offset_ = 0;
    std::vector<Page> pages_;

    std::vector<uint8_t> block_; // the one block in memory
    uint32_t block_no_ = UINT32_MAX;
    size_t block_loads_ = 0;

    std::vector<uint8_t> page_bytes_; // the one index page in memory
    size_t page_no_ = SIZE_MAX;

    std::list<Piece> cache_; // oldest first
    size_t cache_bytes_ = 0;
    size_t cache_budget_ = kDefaultBudget;
};

// Big-endian reads from a byte span.
inline uint16_t be16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}
inline uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace wyn::res
