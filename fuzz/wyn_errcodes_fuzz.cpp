// Feeds arbitrary message files to the ERRCODES.TXT reader: every id named at the start of one of
// the first lines is looked up in the whole file, and every line is decoded into small buffers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "portable/err_codes_file.h"

namespace {

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

constexpr int kIdsTried = 8;

void check_terminated(const char* out, size_t size) {
    if (std::memchr(out, '\0', size) == nullptr) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text.push_back('\0');
    const char* line = text.c_str();
    for (int i = 0; i < kIdsTried && line != nullptr; ++i) {
        const auto id = static_cast<WYN_MSG_ID>(std::strtoull(line, nullptr, 0));
        char small[1];
        char out[WYN_ERRMSG_TEXT_SIZE];
        if (errcodes_match_line(line, id, small, sizeof small))
            check_terminated(small, sizeof small);
        if (errcodes_match_line(line, id, out, sizeof out)) check_terminated(out, sizeof out);

        std::unique_ptr<std::FILE, file_closer> file(fmemopen(text.data(), size + 1, "r"));
        if (file && errcodes_find(file.get(), id, out, sizeof out))
            check_terminated(out, sizeof out);
        line = std::strchr(line, '\n');
        if (line != nullptr) ++line;
    }
    return 0;
}
