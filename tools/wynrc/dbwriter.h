// Writing the compiled resource database from a script's declarations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model.h"

namespace wynrc {

// The database bytes: header, the records in key order, then the index.
std::vector<uint8_t> build_database(const Script& script);

// A menu or control title in the toolkit's form: "&x" marks become "~x", "&&" becomes "&", "~"
// becomes "~~".
std::string toolkit_title(const std::string& script_title);

// The mnemonic character of a script title (upper case), or 0.
uint16_t mnemonic_of(const std::string& script_title);

} // namespace wynrc
