// The help topics' sources: one Markdown file per topic under a block of "key: value" lines,
// gathered and checked into a help book.
#pragma once

#include "help_file.h"

#include <string>
#include <vector>

namespace wynhc {

// The largest source file read.
inline constexpr size_t source_max = 1u << 20;

// One source file: the name used in messages and its bytes.
struct source_file {
    std::string name;
    std::string text;
};

// The book made of sources, or, when anything is wrong, the messages ("name:line: message"),
// each on its own, in the order of the files. A source holds
//     topic: <number>          required, 1 to 2147483647, no two sources alike
//     title: <text>            required
//     keywords: <a; b; c>      optional
//     contents: yes|no         yes in exactly one source, whose topic is 32006
//     file-title: <text>       the help file's title, in the contents source only and there
//                              required
//     ---
//     <the body: Markdown, with links [text](topic:<number>) to topics that exist>
bool compile_sources(const std::vector<source_file>& sources, wynhelp::help_book& book,
                     std::vector<std::string>& messages);

}  // namespace wynhc
