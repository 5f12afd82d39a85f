// Reading a 1024 x 768 24-bit Windows bitmap, from memory and from a file, and writing it back.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include <wyn/image.h>

namespace {

struct Source {
    const std::string* bytes;
    size_t pos;
};

long read_source(void* context, void* buf, long size) {
    auto* s = static_cast<Source*>(context);
    const size_t n = std::min(static_cast<size_t>(size), s->bytes->size() - s->pos);
    std::memcpy(buf, s->bytes->data() + s->pos, n);
    s->pos += n;
    return static_cast<long>(n);
}

long append_sink(void* context, const void* buf, long size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(buf), size);
    return size;
}

// A photograph-like gradient, so that no row is like the next.
IMAGE test_picture() {
    IMAGE image = wynv_image_create(WYN_IMAGE_DIRECT, 1024, 768);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            wynv_image_set_pixel(image, x, y,
                                 static_cast<COLOR>((x & 0xFF) << 16 | (y & 0xFF) << 8 | (x ^ y)));
    return image;
}

std::string bitmap_file() {
    IMAGE image = test_picture();
    std::string bytes;
    IOSTR out = wynv_iostr_create_write(append_sink, &bytes);
    wynv_image_write_winbmp(image, out);
    wynv_iostr_destroy(out);
    wynv_image_destroy(image);
    return bytes;
}

void BM_ImageReadBmp24FromMemory(benchmark::State& state) {
    const std::string file = bitmap_file();
    for (auto _ : state) {
        Source source{&file, 0};
        IOSTR in = wynv_iostr_create_read(read_source, &source);
        IMAGE image = wynv_image_read_bmp(in);
        if (!image) state.SkipWithError("the bitmap did not read");
        benchmark::DoNotOptimize(image);
        wynv_image_destroy(image);
        wynv_iostr_destroy(in);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}

void BM_ImageReadBmp24FromFile(benchmark::State& state) {
    const std::string file = bitmap_file();
    const std::string path = "/tmp/wyn_image_bench_" + std::to_string(::getpid()) + ".bmp";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
        state.SkipWithError("no scratch file");
        if (out) std::fclose(out);
        return;
    }
    std::fclose(out);
    for (auto _ : state) {
        IMAGE image = wynv_image_read(path.c_str());
        if (!image) state.SkipWithError("the bitmap did not read");
        benchmark::DoNotOptimize(image);
        wynv_image_destroy(image);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}

void BM_ImageWriteBmp24(benchmark::State& state) {
    IMAGE image = test_picture();
    for (auto _ : state) {
        std::string bytes;
        IOSTR out = wynv_iostr_create_write(append_sink, &bytes);
        wynv_image_write_winbmp(image, out);
        wynv_iostr_destroy(out);
        benchmark::DoNotOptimize(bytes.data());
    }
    wynv_image_destroy(image);
}

BENCHMARK(BM_ImageReadBmp24FromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageReadBmp24FromFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageWriteBmp24)->Unit(benchmark::kMillisecond);

} // namespace
