// Feeds the help file reader arbitrary bytes: it must refuse or accept without fault, and a book
// it accepts must write back to the very bytes it came from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "help_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    auto book = wynhelp::help_read(bytes, error);
    if (!book) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    if (!wynhelp::help_find(*book, book->contents)) __builtin_trap();
    if (wynhelp::help_write(*book) != bytes) __builtin_trap();
    return 0;
}
