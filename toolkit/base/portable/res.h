// The library's side of resources: its per-process state, the font hooks and list reads for other
// modules.
#pragma once

#include <string>
#include <vector>

#include "portable/resdb.h"
#include "wyn/res.h"

namespace wyn::res {

// Turns a font resource into a font object, and releases one; installed by the font module.
using FontMakeFn = struct wyn_font* (*)(const WYN_RES_FONT* font);
using FontFreeFn = void (*)(struct wyn_font* font);
void set_font_hooks(FontMakeFn make, FontFreeFn release);

// The open database (opening it from the installed blocks on first use), or null.
Database* database();

// The string-table entries first..last in order; false (out emptied) when one is missing.
bool string_range(int32_t first, int32_t last, std::vector<std::string>& out);
// The entries of database string list id (type 4); false when there is none.
bool db_string_list(int32_t id, std::vector<std::string>& out);

} // namespace wyn::res
