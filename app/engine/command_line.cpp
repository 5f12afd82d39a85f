// Parsing of the command-line tokens into the start-up options.
#include "engine/command_line.h"

#include <cstring>
#include <string_view>

namespace {

struct debug_token {
    const char* text;
    uint16_t level;
};

constexpr debug_token debug_tokens[] = {
    {"/DEBUG:ALL", 255}, {"/DEBUG:ERROR", 1},   {"/DEBUG:TRACE", 2},    {"/DEBUG:COMM", 4},
    {"/DEBUG:PIPE", 8},  {"/DEBUG:DRIVER", 16}, {"/DEBUG:SERVICE", 32}, {"/DEBUG:APP", 64},
};

constexpr std::string_view pnp_prefix = "/PNP:";

bool same_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

void apply_token(std::string_view token, command_line_options& options) {
    for (const debug_token& d : debug_tokens)
        if (same_ignoring_case(token, d.text)) {
            options.debug_level = d.level;
            return;
        }
    if (same_ignoring_case(token, "/SETUP")) {
        options.setup_done = 0;
    } else if (same_ignoring_case(token, "/NOPNP")) {
        options.pnp_search = 0;
    } else if (token.starts_with(pnp_prefix) && token.size() > pnp_prefix.size()) {
        // A bare "/PNP:" would leave the search without an id to look for, so it keeps the old one.
        std::string_view id = token.substr(pnp_prefix.size(), sizeof options.hardware_id - 1);
        std::memcpy(options.hardware_id, id.data(), id.size());
        options.hardware_id[id.size()] = '\0';
    }
}

} // namespace

void parse_command_line(const char* text, command_line_options& options) {
    if (!text) return;
    std::string_view rest(text);
    while (!rest.empty()) {
        size_t start = 0;
        while (start < rest.size() && is_blank(rest[start])) ++start;
        size_t end = start;
        while (end < rest.size() && !is_blank(rest[end])) ++end;
        if (end > start) apply_token(rest.substr(start, end - start), options);
        rest.remove_prefix(end);
    }
}
