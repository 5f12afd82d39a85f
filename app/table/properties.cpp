// The keyword parser of custom controls' properties lists.
#include "table/properties.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// One decimal integer after optional white space, clamped to 32 bits; advances *p past it.
bool read_int(const char** p, int32_t* out) {
    char* end = nullptr;
    const long long v = std::strtoll(*p, &end, 10);
    if (end == *p) return false;
    *out = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : int32_t(v);
    *p = end;
    return true;
}

} // namespace

std::optional<std::string> props_find(int32_t count, const char* const* props,
                                      const char* keyword) {
    if (!props || !keyword || !*keyword) return std::nullopt;
    const size_t key_len = std::strlen(keyword);
    const int32_t last = count < props_entries_max ? count : props_entries_max;
    for (int32_t i = 1; i < last; ++i) {
        const char* entry = props[i];
        if (!entry || std::strncmp(entry, keyword, key_len) != 0) continue;
        const char* eq = std::strchr(entry + key_len, '=');
        if (!eq) return std::string();
        const char* value = eq + 1;
        size_t len;
        if (*value == '"') {
            ++value;
            const char* close = std::strchr(value, '"');
            len = close ? size_t(close - value) : std::strlen(value);
        } else {
            len = std::strlen(value);
        }
        if (len > props_value_max) len = props_value_max;
        return std::string(value, len);
    }
    return std::nullopt;
}

bool props_flag(int32_t count, const char* const* props, const char* keyword) {
    const std::optional<std::string> value = props_find(count, props, keyword);
    if (!value) return false;
    if (value->empty()) return true;
    const char c = (*value)[0];
    return c == 'T' || c == 't' || c == '1';
}

std::optional<std::pair<int32_t, int32_t>> props_pair(int32_t count, const char* const* props,
                                                      const char* keyword) {
    const std::optional<std::string> value = props_find(count, props, keyword);
    if (!value) return std::nullopt;
    // Read as "%d%*c%d" would, without the undefined result of an out-of-range number.
    const char* p = value->c_str();
    int32_t first = 0, second = 0;
    if (!read_int(&p, &first) || *p == '\0') return std::nullopt;
    ++p;
    if (!read_int(&p, &second)) return std::nullopt;
    return std::pair<int32_t, int32_t>(first, second);
}
