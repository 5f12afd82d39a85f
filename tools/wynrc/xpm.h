// Reading X pixmap files for icons: the string literals of the C array, checked against the pixmap
// header.
#pragma once

#include <string>
#include <vector>

namespace wynrc {

// Reads the pixmap at path into its strings; false with message set (naming the file's line) when
// malformed.
bool read_xpm(const std::string& path, std::vector<std::string>& lines, std::string& message);

} // namespace wynrc
