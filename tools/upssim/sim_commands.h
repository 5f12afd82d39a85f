// The simulator's line language on standard input, and the value parsers its options share.
#pragma once

#include "sim_model.h"

#include <string>
#include <vector>

// What a line of the language asked for: unplug and replug concern the line, not the model.
enum class line_result { ok, error, quit, unplug, replug };

// Applies one input line to the model at time now_ms. Notes describe state changes for the
// transcript, output receives text for standard output (the state report), error the reason a
// line was refused; a refused line changes nothing.
line_result apply_line(sim_model& model, const std::string& line, int64_t now_ms,
                       std::vector<std::string>& notes, std::string& output, std::string& error);

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
