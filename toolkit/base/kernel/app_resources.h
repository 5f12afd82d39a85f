// The program's resources at start-up: a resource library used in place of the program's own,
// and the entries every program must carry.
#pragma once

#include <string>

// Loads the resource library name (a shared object whose wyn_program_resources entry gives a
// compiled resource module) and uses its resources instead of the program's own; false when it
// cannot be loaded, and the program's own stay in use.
bool app_use_resource_library(const char* name);

// Gives the program its own resources back and unloads the resource library, if one is loaded.
void app_release_resource_library();

// Reads the resource name (string 30399, up to 10 characters) into name; false when it is missing.
bool app_read_resource_name(std::string& name);

// True when the program carries accelerator table 9001.
bool app_has_accelerators();

// The string resource whose id attribute id holds (up to 512 bytes) into text; false when the
// attribute is not set or the string is missing.
bool app_string_of_attr(int32_t id, std::string& text);

// Makes the program's icon (icon 9012), when it carries one, every window's icon until a window is
// given its own.
void app_use_program_icon();
