// String resources with the caller's default for ids the application does not provide.
#include "portable/report_hook.h"
#include <wyn/static.h>
#include <wyn/str.h>

namespace {

struct Scratch {
    char text[100];
};

const WYN_STATIC_DESC scratch_desc = {sizeof(Scratch), nullptr, nullptr, nullptr};

} // namespace

char* wynv_str_getstr(int id, char* buf, long size, const char* fallback) {
    if (!buf) {
        auto* scratch = static_cast<Scratch*>(wynk_static_get_ptr(&scratch_desc));
        if (!scratch) return nullptr;
        buf = scratch->text;
        size = sizeof scratch->text;
    }
    const char* text = portable_string(id, fallback ? fallback : "");
    return wynv_str_copy_n_size(buf, text, size);
}
