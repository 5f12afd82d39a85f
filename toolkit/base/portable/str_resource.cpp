// String resources with the caller's default for ids the application does not provide.
#include "portable/report_hook.h"
#include "portable/static_block.h"
#include <wyn/str.h>

namespace {

struct Scratch {
    char text[100];
};

} // namespace

char* wynv_str_getstr(int id, char* buf, long size, const char* fallback) {
    if (!buf) {
        auto* scratch = static_block<Scratch>();
        if (!scratch) return nullptr;
        buf = scratch->text;
        size = sizeof scratch->text;
    }
    const char* text = portable_string(id, fallback ? fallback : "");
    return wynv_str_copy_n_size(buf, text, size);
}
