// Reading X pixmap files: the C string literals in order, checked against the header's sizes.
#include "xpm.h"

#include <fstream>
#include <sstream>

namespace wynrc {

bool read_xpm(const std::string& path, std::vector<std::string>& lines, std::string& message) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        message = "cannot open icon file " + path;
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string s = buffer.str();
    auto fail = [&](int line, const std::string& what) {
        message = path + ":" + std::to_string(line) + ": " + what;
        return false;
    };
    if (s.rfind("/* XPM */", 0) != 0)
        return fail(1, "not an X pixmap (it must begin with /* XPM */)");

    // Only the literals inside the array's braces count; comments between them are skipped.
    lines.clear();
    std::vector<int> at_line; // where each string stands, for messages about it
    int line = 1;
    bool inside = false;
    for (size_t i = 9; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\n') {
            ++line;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const size_t end = s.find("*/", i + 2);
            if (end == std::string::npos) return fail(line, "comment is not closed");
            for (size_t j = i; j < end; ++j) line += s[j] == '\n';
            i = end + 1;
        } else if (c == '{') {
            inside = true;
        } else if (c == '}') {
            break;
        } else if (c == '"' && inside) {
            const size_t end = s.find('"', i + 1);
            const size_t newline = s.find('\n', i + 1);
            if (end == std::string::npos || (newline != std::string::npos && newline < end))
                return fail(line, "string is not closed on its line");
            lines.push_back(s.substr(i + 1, end - i - 1));
            at_line.push_back(line);
            i = end;
        }
    }
    if (lines.empty()) return fail(line, "no pixmap strings found");
    int width = 0, height = 0, colors = 0, cpp = 0;
    std::istringstream header(lines[0]);
    if (!(header >> width >> height >> colors >> cpp) || width < 1 || height < 1 || colors < 1 ||
        cpp < 1 || cpp > 10 || width > 1024 || height > 1024)
        return fail(at_line[0], "malformed pixmap header '" + lines[0] + "'");
    if (lines.size() != size_t(1 + colors + height))
        return fail(line, "pixmap has " + std::to_string(lines.size()) +
                              " strings, its header asks for " +
                              std::to_string(1 + colors + height));
    for (int row = 0; row < height; ++row)
        if (lines[size_t(1 + colors + row)].size() != size_t(width * cpp))
            return fail(at_line[size_t(1 + colors + row)], "pixmap row " + std::to_string(row + 1) +
                                                               " is not " + std::to_string(width) +
                                                               " pixels wide");
    return true;
}

} // namespace wynrc
