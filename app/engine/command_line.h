// The program's command-line options: debug level, forced set-up, port search and hardware id.
#pragma once

#include <cstdint>

// What the command line changes; parse_command_line starts from the values already held here.
struct command_line_options {
    uint16_t debug_level; // the level of the last /DEBUG: token; unchanged without one
    uint8_t setup_done;   // /SETUP clears it so the set-up dialog opens
    uint8_t pnp_search;   // /NOPNP clears it
    char hardware_id[9];  // /PNP:<id> replaces it, cut to 8 characters
};

// Splits text at blanks and applies every token it knows to options; the /DEBUG:, /SETUP and
// /NOPNP tokens are compared ignoring case, the /PNP: prefix exactly. A null text changes nothing.
void parse_command_line(const char* text, command_line_options& options);
