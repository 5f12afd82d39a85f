// Colour names of X pixmap files: the standard X11 names and the numbered grey levels.
#pragma once

#include <optional>
#include <string_view>

#include <wyn/types.h>

// The number of names in the table.
int image_color_name_count();

// The colour 0xRRGGBB of a name: case and white space are ignored; "gray" or "grey" followed by
// 0 to 100 gives that percentage of full level in each component; other names are looked up in
// the sorted table. Nothing for an unknown name.
std::optional<COLOR> image_color_by_name(std::string_view name);
