// Reads resource scripts: a language in the manner of the familiar Windows resource scripts.
#pragma once

#include <string>

#include "model.h"

namespace wynrc {

// A fault in a script, with the file and line it was found at.
struct ScriptError {
    std::string file;
    int line = 0;
    std::string message;
    // "file:line: error: message"
    std::string text() const;
};

// Adds the declarations of the script in text (named name, with files resolved against base_dir) to
// script; false with error filled at the first fault.
bool parse_script_text(const std::string& text, const std::string& name,
                       const std::string& base_dir, Script& script, ScriptError& error);
// As parse_script_text for the file at path.
bool parse_script_file(const std::string& path, Script& script, ScriptError& error);
// Checks declarations across scripts (duplicate ids, menus without items, a name given two values);
// false with error filled.
bool check_script(const Script& script, ScriptError& error);

} // namespace wynrc
