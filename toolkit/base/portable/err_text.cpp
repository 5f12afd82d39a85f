// The texts of message ids: a most-recently-used cache in front of the message file, the built-in
// catalogue and a formatted fallback.
#include "portable/err_text.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "portable/err_catalogue.h"
#include "portable/err_codes_file.h"
#include "portable/err_state.h"

namespace {

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

void copy_text(const char* text, char* out, size_t size) {
    std::snprintf(out, size, "%s", text);
}

bool cache_find(err_state_block& state, WYN_MSG_ID id, char* out, size_t size) {
    for (int i = 0; i < state.cache_count; ++i) {
        if (state.cache[i].id != id) continue;
        const err_cache_entry hit = state.cache[i];
        std::memmove(&state.cache[1], &state.cache[0], sizeof(err_cache_entry) * i);
        state.cache[0] = hit;
        copy_text(hit.text, out, size);
        return true;
    }
    return false;
}

void cache_insert(err_state_block& state, WYN_MSG_ID id, const char* text) {
    const int kept = state.cache_count < ERR_CACHE_SIZE ? state.cache_count : ERR_CACHE_SIZE - 1;
    std::memmove(&state.cache[1], &state.cache[0], sizeof(err_cache_entry) * kept);
    state.cache[0].id = id;
    copy_text(text, state.cache[0].text, sizeof state.cache[0].text);
    state.cache_count = kept + 1;
}

bool file_find(const err_state_block& state, WYN_MSG_ID id, char* out, size_t size) {
    char path[ERR_FILE_NAME_SIZE * 2];
    if (!err_start_dir_path(state.codes_file, path, sizeof path)) return false;
    // The file is open only for the length of one lookup.
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, "r"));
    return file && errcodes_find(file.get(), id, out, size);
}

} // namespace

void err_lookup_text(WYN_MSG_ID id, char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    err_state_block& state = err_state();
    if (cache_find(state, id, out, size)) return;
    char text[WYN_ERRMSG_TEXT_SIZE];
    if (file_find(state, id, text, sizeof text)) {
        cache_insert(state, id, text);
        copy_text(text, out, size);
        return;
    }
    if (const char* builtin = err_catalogue_text(id)) {
        copy_text(builtin, out, size);
        return;
    }
    std::snprintf(out, size, "MSG 0x%08lx [CAT %u/%u %s %u ]", static_cast<unsigned long>(id),
                  WYN_MSG_MAJOR(id), WYN_MSG_MINOR(id),
                  (id & WYN_MSG_NUMBERED) != 0 ? "NUM" : "STD", WYN_MSG_NUMBER(id));
}

bool err_set_codes_file(const char* name) {
    if (name == nullptr || std::strlen(name) >= ERR_FILE_NAME_SIZE) return false;
    err_state_block& state = err_state();
    copy_text(name, state.codes_file, sizeof state.codes_file);
    state.cache_count = 0;
    return true;
}

void err_format_strings(const char* format, const char* const* args, int count, char* out,
                        size_t size) {
    if (out == nullptr || size == 0) return;
    size_t len = 0;
    auto put = [&](char c) {
        if (len + 1 < size) out[len++] = c;
    };
    int next = 0;
    // Message texts may come from a file: only "%s" is ever substituted, so a stray conversion
    // in a text can never read arguments that are not there.
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            put('%');
            ++p;
        } else if (p[0] == '%' && p[1] == 's' && next < count) {
            for (const char* a = args[next] ? args[next] : ""; *a != '\0'; ++a) put(*a);
            ++next;
            ++p;
        } else {
            put(*p);
        }
    }
    out[len] = '\0';
}
