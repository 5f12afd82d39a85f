// Memory streams and an image holder for the image readers and writer, shared by the tests, fuzz
// targets and benchmarks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <wyn/image.h>

// Destroys the image it holds when it goes.
struct ImageGuard {
    explicit ImageGuard(IMAGE i) : image(i) {}
    ~ImageGuard() { wynv_image_destroy(image); }
    ImageGuard(const ImageGuard&) = delete;
    ImageGuard& operator=(const ImageGuard&) = delete;
    IMAGE image;
};

// A read stream over bytes that stay owned by the caller.
class MemoryReader {
  public:
    MemoryReader(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(size),
          stream_(wynv_iostr_create_read(read, this)) {}
    explicit MemoryReader(const std::string& bytes) : MemoryReader(bytes.data(), bytes.size()) {}
    ~MemoryReader() { wynv_iostr_destroy(stream_); }
    MemoryReader(const MemoryReader&) = delete;
    MemoryReader& operator=(const MemoryReader&) = delete;

    IOSTR stream() const { return stream_; }

  private:
    static long read(void* context, void* buf, long size) {
        auto* self = static_cast<MemoryReader*>(context);
        const size_t n = std::min(static_cast<size_t>(size), self->size_ - self->pos_);
        if (n) std::memcpy(buf, self->data_ + self->pos_, n);
        self->pos_ += n;
        return static_cast<long>(n);
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    IOSTR stream_;
};

// A write stream appending to a string.
class MemoryWriter {
  public:
    MemoryWriter() : stream_(wynv_iostr_create_write(write, &bytes_)) {}
    ~MemoryWriter() { wynv_iostr_destroy(stream_); }
    MemoryWriter(const MemoryWriter&) = delete;
    MemoryWriter& operator=(const MemoryWriter&) = delete;

    IOSTR stream() const { return stream_; }
    const std::string& bytes() const { return bytes_; }

  private:
    static long write(void* context, const void* buf, long size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(buf), size);
        return size;
    }
    std::string bytes_;
    IOSTR stream_;
};

// The Windows bitmap file of image, as the writer makes it.
inline std::string bmp_bytes(IMAGE image) {
    MemoryWriter out;
    wynv_image_write_winbmp(image, out.stream());
    return out.bytes();
}

// When WYN_IMAGE_SEED_DIR is set, keeps bytes as the file name under its folder for reader (bmp,
// xbm or xpm): the valid files the tests make become the seeds of that reader's fuzz target.
inline void keep_seed(const char* reader, const char* name, const std::string& bytes) {
    const char* dir = std::getenv("WYN_IMAGE_SEED_DIR");
    if (!dir) return;
    const std::filesystem::path folder =
        std::filesystem::path(dir) / (std::string("wyn_image_") + reader);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}
