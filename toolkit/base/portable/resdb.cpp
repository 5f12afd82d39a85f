// The compiled resource database: its blocks, header, paged index and the byte-budget cache.
#include "portable/resdb.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "portable/resformat.h"

namespace wyn::res {
namespace {

class RawBlocks final : public BlockSource {
  public:
    RawBlocks(const WYN_RES_RAW* raw, size_t count, uint16_t first)
        : raw_(raw), count_(count), first_(first) {}
    bool load(uint32_t n, std::vector<uint8_t>& out) override {
        if (uint32_t(first_) + n > UINT16_MAX) return false;
        const uint16_t id = uint16_t(first_ + n);
        for (size_t i = 0; i < count_; ++i) {
            if (raw_[i].id == id && (raw_[i].data != nullptr || raw_[i].size == 0)) {
                out.assign(raw_[i].data, raw_[i].data + raw_[i].size);
                return true;
            }
        }
        return false;
    }

  private:
    const WYN_RES_RAW* raw_;
    size_t count_;
    uint16_t first_;
};

class MemoryBlocks final : public BlockSource {
  public:
    MemoryBlocks(std::span<const uint8_t> bytes, uint16_t size)
        : bytes_(bytes.begin(), bytes.end()), size_(size) {}
    bool load(uint32_t n, std::vector<uint8_t>& out) override {
        const size_t start = size_t(n) * size_;
        if (start >= bytes_.size()) return false;
        const size_t end = std::min(bytes_.size(), start + size_);
        out.assign(bytes_.begin() + ptrdiff_t(start), bytes_.begin() + ptrdiff_t(end));
        return true;
    }

  private:
    std::vector<uint8_t> bytes_;
    uint16_t size_;
};

class FileBlocks final : public BlockSource {
  public:
    FileBlocks(int fd, uint16_t size) : fd_(fd), size_(size) {}
    ~FileBlocks() override { ::close(fd_); }
    FileBlocks(const FileBlocks&) = delete;
    FileBlocks& operator=(const FileBlocks&) = delete;
    bool load(uint32_t n, std::vector<uint8_t>& out) override {
        out.resize(size_);
        size_t got = 0;
        while (got < size_) {
            const ssize_t r =
                ::pread(fd_, out.data() + got, size_ - got, off_t(n) * size_ + off_t(got));
            if (r < 0) return false;
            if (r == 0) break;
            got += size_t(r);
        }
        out.resize(got);
        return got > 0;
    }

  private:
    int fd_;
    uint16_t size_;
};

} // namespace

std::unique_ptr<BlockSource> raw_block_source(const WYN_RES_RAW* raw, size_t count,
                                              uint16_t first_id) {
    return std::make_unique<RawBlocks>(raw, count, first_id);
}

std::unique_ptr<BlockSource> memory_block_source(std::span<const uint8_t> bytes,
                                                 uint16_t block_size) {
    return std::make_unique<MemoryBlocks>(bytes, block_size);
}

std::unique_ptr<BlockSource> file_block_source(const std::string& path, uint16_t block_size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<FileBlocks>(fd, block_size);
}

bool parse_descriptor(std::span<const uint8_t> text, uint32_t& length, uint16_t& first,
                      uint16_t& block_size) {
    // Three decimal numbers separated by blanks; the block id and size are signed 16-bit in the
    // original format.
    uint64_t values[3] = {};
    size_t pos = 0;
    for (uint64_t& value : values) {
        while (pos < text.size() &&
               (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\n'))
            ++pos;
        const size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && value <= UINT32_MAX)
            value = value * 10 + (text[pos++] - '0');
        if (pos == start || value > UINT32_MAX) return false;
    }
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\r' || text[pos] == '\n' || text[pos] == 0))
        ++pos;
    if (pos != text.size() || values[0] > INT32_MAX || values[1] == 0 || values[1] > INT16_MAX ||
        values[2] == 0 || values[2] > INT16_MAX)
        return false;
    length = uint32_t(values[0]);
    first = uint16_t(values[1]);
    block_size = uint16_t(values[2]);
    return true;
}

Database::Database(std::unique_ptr<BlockSource> source, uint32_t length, uint16_t block_size)
    : source_(std::move(source)), length_(length), block_size_(block_size) {}

std::unique_ptr<Database> Database::open(std::unique_ptr<BlockSource> source, uint32_t length,
                                         uint16_t block_size, Status& status) {
    status = Status::no_access;
    if (source == nullptr) return nullptr;
    status = Status::corrupt;
    if (length < kHeaderSize || block_size < 16) return nullptr;
    std::unique_ptr<Database> db(new (std::nothrow)
                                     Database(std::move(source), length, block_size));
    if (db == nullptr) {
        status = Status::no_memory;
        return nullptr;
    }
    status = db->load_header();
    if (status != Status::ok) return nullptr;
    return db;
}

std::unique_ptr<Database> Database::open_raw(const WYN_RES_RAW* raw, size_t count, Status& status) {
    status = Status::no_access;
    for (size_t i = 0; raw != nullptr && i < count; ++i) {
        if (raw[i].id != kDescriptorBlock || raw[i].data == nullptr) continue;
        uint32_t length = 0;
        uint16_t first = 0;
        uint16_t size = 0;
        if (!parse_descriptor({raw[i].data, raw[i].size}, length, first, size)) {
            status = Status::corrupt;
            return nullptr;
        }
        return open(raw_block_source(raw, count, first), length, size, status);
    }
    return nullptr;
}

std::unique_ptr<Database> Database::open_file(const std::string& path, Status& status) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > INT32_MAX) {
        status = Status::no_access;
        return nullptr;
    }
    return open(file_block_source(path, kBlockSize), uint32_t(st.st_size), kBlockSize, status);
}

std::unique_ptr<Database> Database::open_bytes(std::span<const uint8_t> bytes, Status& status) {
    if (bytes.size() > INT32_MAX) {
        status = Status::corrupt;
        return nullptr;
    }
    return open(memory_block_source(bytes, kBlockSize), uint32_t(bytes.size()), kBlockSize, status);
}

Status Database::load_block(uint32_t n) {
    if (n == block_no_) return Status::ok;
    block_no_ = UINT32_MAX;
    if (!source_->load(n, block_)) return Status::corrupt;
    ++block_loads_;
    // Every block is full except the last, which holds the remainder; anything else means a damaged
    // chain.
    const uint64_t start = uint64_t(n) * block_size_;
    if (start >= length_) return Status::corrupt;
    const uint64_t want = std::min<uint64_t>(block_size_, length_ - start);
    if (block_.size() < want) return Status::corrupt;
    block_no_ = n;
    return Status::ok;
}

Status Database::read_at(uint32_t offset, uint8_t* dst, size_t n) {
    if (uint64_t(offset) + n > length_) return Status::corrupt;
    while (n > 0) {
        const uint32_t block = offset / block_size_;
        const uint32_t within = offset % block_size_;
        if (Status s = load_block(block); s != Status::ok) return s;
        const size_t take = std::min<size_t>(n, block_size_ - within);
        std::memcpy(dst, block_.data() + within, take);
        dst += take;
        offset += uint32_t(take);
        n -= take;
    }
    return Status::ok;
}

Status Database::load_page(size_t page) {
    if (page == page_no_) return Status::ok;
    page_no_ = SIZE_MAX;
    const size_t entries = std::min(kPageEntries, size_t(entry_count_) - page * kPageEntries);
    page_bytes_.resize(entries * kIndexEntrySize);
    const uint32_t at = index_offset_ + uint32_t(page * kPageEntries * kIndexEntrySize);
    if (Status s = read_at(at, page_bytes_.data(), page_bytes_.size()); s != Status::ok) return s;
    page_no_ = page;
    return Status::ok;
}

Status Database::load_header() {
    uint8_t header[kHeaderSize];
    if (Status s = read_at(0, header, sizeof header); s != Status::ok) return s;
    if (be32(header) != kMagic || be16(header + 4) != kVersion) return Status::corrupt;
    entry_count_ = be16(header + 6);
    index_offset_ = be32(header + 8);
    if (index_offset_ < kHeaderSize ||
        uint64_t(index_offset_) + uint64_t(entry_count_) * kIndexEntrySize > length_)
        return Status::corrupt;

    // Walk the whole index once: keys must rise strictly and every resource must lie inside the
    // database, so that lookups later can trust the page ranges and never read past the end.
    const size_t page_count = (size_t(entry_count_) + kPageEntries - 1) / kPageEntries;
    pages_.reserve(page_count);
    uint32_t previous = 0;
    for (size_t page = 0; page < page_count; ++page) {
        if (Status s = load_page(page); s != Status::ok) return s;
        Page range{};
        for (size_t at = 0; at < page_bytes_.size(); at += kIndexEntrySize) {
            const uint8_t* e = page_bytes_.data() + at;
            const uint32_t key = key_of(be16(e + 2), be16(e));
            const uint32_t size = be32(e + 4);
            const uint32_t offset = be32(e + 8);
            if ((page > 0 || at > 0) && key <= previous) return Status::corrupt;
            if (offset < kHeaderSize || uint64_t(offset) + size > length_) return Status::corrupt;
            if (at == 0) range.first_key = key;
            range.last_key = key;
            previous = key;
        }
        pages_.push_back(range);
    }
    return Status::ok;
}

Status Database::find(uint16_t type, uint16_t id, Entry& out) {
    const uint32_t key = key_of(type, id);
    for (size_t page = 0; page < pages_.size(); ++page) {
        if (key < pages_[page].first_key || key > pages_[page].last_key) continue;
        if (Status s = load_page(page); s != Status::ok) return s;
        for (size_t at = 0; at < page_bytes_.size(); at += kIndexEntrySize) {
            const uint8_t* e = page_bytes_.data() + at;
            if (key_of(be16(e + 2), be16(e)) == key) {
                out = Entry{be16(e), be16(e + 2), be32(e + 4), be32(e + 8)};
                return Status::ok;
            }
        }
        break;
    }
    return Status::not_found;
}

Status Database::read(uint16_t type, uint16_t id, std::vector<uint8_t>& out) {
    const uint32_t key = key_of(type, id);
    for (const Piece& piece : cache_) {
        if (piece.key == key) {
            out = piece.bytes;
            return Status::ok;
        }
    }
    Entry entry;
    if (Status s = find(type, id, entry); s != Status::ok) return s;
    try {
        out.resize(entry.size);
    } catch (const std::bad_alloc&) {
        return Status::no_memory;
    }
    if (Status s = read_at(entry.offset, out.data(), out.size()); s != Status::ok) return s;
    remember(key, out);
    return Status::ok;
}

void Database::remember(uint32_t key, const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kCacheMin || bytes.size() > kCacheMax || bytes.size() > cache_budget_)
        return;
    while (!cache_.empty() && cache_bytes_ + bytes.size() > cache_budget_) {
        cache_bytes_ -= cache_.front().bytes.size();
        cache_.pop_front();
    }
    cache_.push_back(Piece{key, bytes});
    cache_bytes_ += bytes.size();
}

void Database::set_cache_budget(size_t bytes) {
    cache_budget_ = bytes;
    while (!cache_.empty() && cache_bytes_ > cache_budget_) {
        cache_bytes_ -= cache_.front().bytes.size();
        cache_.pop_front();
    }
}

} // namespace wyn::res
