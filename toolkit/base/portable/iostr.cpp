// Byte streams over open files or caller functions.
#include <wyn/iostr.h>
#include <wyn/mem.h>

struct wyn_iostr {
    bool writing;
    FILE* file;
    WYN_IOSTR_READ_FN read_fn;
    WYN_IOSTR_WRITE_FN write_fn;
    void* context;
};

namespace {

IOSTR make(const wyn_iostr& init) {
    auto stream = static_cast<IOSTR>(wynv_mem_alloc(sizeof(wyn_iostr)));
    if (stream) *stream = init;
    return stream;
}

} // namespace

IOSTR wynv_iostr_create_fread(FILE* file) {
    return file ? make({false, file, nullptr, nullptr, nullptr}) : nullptr;
}

IOSTR wynv_iostr_create_fwrite(FILE* file) {
    return file ? make({true, file, nullptr, nullptr, nullptr}) : nullptr;
}

IOSTR wynv_iostr_create_read(WYN_IOSTR_READ_FN fn, void* context) {
    return fn ? make({false, nullptr, fn, nullptr, context}) : nullptr;
}

IOSTR wynv_iostr_create_write(WYN_IOSTR_WRITE_FN fn, void* context) {
    return fn ? make({true, nullptr, nullptr, fn, context}) : nullptr;
}

void* wynv_iostr_get_context(IOSTR stream) {
    if (!stream) return nullptr;
    return stream->file ? static_cast<void*>(stream->file) : stream->context;
}

void wynv_iostr_destroy(IOSTR stream) {
    wynv_mem_free(stream);
}

long wynv_iostr_read(IOSTR stream, void* buf, long size) {
    if (!stream || stream->writing || !buf || size < 0) return -1;
    if (stream->file) {
        size_t got = fread(buf, 1, static_cast<size_t>(size), stream->file);
        return got == 0 && ferror(stream->file) ? -1 : static_cast<long>(got);
    }
    long got = stream->read_fn(stream->context, buf, size);
    // A caller function claiming more than was asked for is treated as failing.
    return got > size ? -1 : got;
}

int wynv_iostr_getc(IOSTR stream) {
    unsigned char byte;
    return wynv_iostr_read(stream, &byte, 1) == 1 ? byte : -1;
}

BOOLEAN wynv_iostr_write(IOSTR stream, const void* buf, long size) {
    if (!stream || !stream->writing || !buf || size < 0) return FALSE;
    if (stream->file)
        return fwrite(buf, 1, static_cast<size_t>(size), stream->file) == static_cast<size_t>(size)
                   ? TRUE
                   : FALSE;
    return stream->write_fn(stream->context, buf, size) == size ? TRUE : FALSE;
}

BOOLEAN wynv_iostr_rewind(IOSTR stream) {
    if (!stream || !stream->file) return FALSE;
    return fseek(stream->file, 0, SEEK_SET) == 0 ? TRUE : FALSE;
}
