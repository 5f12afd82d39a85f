// Builds resource databases byte by byte for the reader's tests, including deliberately damaged
// ones.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace restest {

// Big-endian byte writer.
struct Bytes {
    std::vector<uint8_t> b;
    Bytes& u16(uint32_t v) {
        b.push_back(uint8_t(v >> 8));
        b.push_back(uint8_t(v));
        return *this;
    }
    Bytes& u32(uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
    Bytes& str(const std::string& s) {
        u16(uint32_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& raw(const std::vector<uint8_t>& more) {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
};

struct Resource {
    uint16_t type;
    uint16_t id;
    std::vector<uint8_t> bytes;
};

// A database with the given resources, indexed in key order after a run of padding bytes.
inline std::vector<uint8_t> build_db(std::vector<Resource> resources, size_t padding = 0) {
    std::sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& c) {
        return (uint32_t(a.type) << 16 | a.id) < (uint32_t(c.type) << 16 | c.id);
    });
    Bytes db;
    db.u32(0xDEADC0DE).u16(4).u16(uint32_t(resources.size())).u32(0);
    db.b.resize(db.b.size() + padding, 0xEE);
    std::vector<uint32_t> offsets;
    for (const Resource& r : resources) {
        offsets.push_back(uint32_t(db.b.size()));
        db.raw(r.bytes);
    }
    const uint32_t index = uint32_t(db.b.size());
    for (size_t i = 0; i < resources.size(); ++i)
        db.u16(resources[i].id)
            .u16(resources[i].type)
            .u32(uint32_t(resources[i].bytes.size()))
            .u32(offsets[i]);
    for (int i = 0; i < 4; ++i) db.b[8 + size_t(i)] = uint8_t(index >> (24 - 8 * i));
    return db.b;
}

// Writes a 32-bit big-endian value into bytes at offset.
inline void poke32(std::vector<uint8_t>& bytes, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[offset + size_t(i)] = uint8_t(v >> (24 - 8 * i));
}

} // namespace restest
