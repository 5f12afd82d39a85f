// Generating the C++ source that carries a program's resources (the database blocks and the native
// tables), and the header of the names the scripts give their ids.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model.h"

namespace wynrc {

struct CodegenOptions {
    std::string symbol = "wyn_program_resources"; // name of the accessor function
    bool install = true; // register the tables with the toolkit before main
    std::string origin;  // the scripts, named in the opening comment
};

// The source text: raw-data blocks 10000 and up holding db, strings, accelerators, icons, menus.
std::string generate_source(const Script& script, const std::vector<uint8_t>& db,
                            const CodegenOptions& options);

// The header text: each name the scripts #define, once, as a macro of its value, under the name of
// the script that first gives it; origin names the scripts in the opening comment.
std::string generate_ids(const Script& script, const std::string& origin);

// A C++ string literal of text (octal escapes for anything but plain printable characters).
std::string c_literal(const std::string& text);

} // namespace wynrc
