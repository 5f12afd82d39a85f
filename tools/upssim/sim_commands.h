// The simulator's line language on standard input, and the value parsers its options share.
#pragma once

#include "sim_model.h"

#include <string>
#include <vector>

// What a line of the language asked for: unplug and replug concern the line, advance the
// simulator's clock, not the model.
enum class line_result { ok, error, quit, unplug, replug, advance };

// What apply_line hands back besides its result.
struct line_reply {
    std::vector<std::string> notes; // state changes, for the transcript
    std::string output;             // text for standard output (the state report)
    std::string error;              // why a line was refused; a refused line changes nothing
    unsigned long advance_seconds = 0; // simulated seconds asked for by line_result::advance
};

// Applies one input line to the model at time now_ms (simulated milliseconds).
line_result apply_line(sim_model& model, const std::string& line, int64_t now_ms,
                       line_reply& reply);

// The language's description for --help.
const char* language_help();

// Parses a whole decimal number within [low, high].
bool parse_number(const std::string& text, unsigned long low, unsigned long high,
                  unsigned long& out);

// Parses a hex byte, with or without "0x".
bool parse_hex_byte(const std::string& text, unsigned& out);

// Parses a value with at most one decimal into tenths within [low, high] tenths.
bool parse_tenths(const std::string& text, unsigned low, unsigned high, unsigned& out);

// Parses a signed whole number within [low, high].
bool parse_signed(const std::string& text, long low, long high, long& out);

// Parses a fault mode name; "slow" takes its byte interval from the model.
bool parse_fault(const std::string& text, fault_mode& out);
