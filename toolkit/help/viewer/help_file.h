// The compiled help file: its topics in memory, the reader the viewer uses on it and the writer
// the help compiler makes it with. Neither side sees Qt.
//
// The file is text, every length in bytes:
//     WYNHLP 1\r\n
//     title <n>\r\n<n bytes: the help file's title>\r\n
//     contents <topic number>\r\n
//     topics <count>\r\n
//     then for each topic, in ascending order of number:
//     topic <number> <t> <k> <b>\r\n<t bytes: title>\r\n<k bytes: keywords>\r\n<b bytes: body>\r\n
//     end\r\n
// Keywords are joined with ";". The body is the topic's Markdown; a link to another topic is
// written [text](topic:<number>).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wynhelp {

// The limits both the compiler and the reader hold a help file to.
inline constexpr size_t help_file_max = 32u << 20;
inline constexpr size_t help_topics_max = 10000;
inline constexpr size_t help_title_max = 255;
inline constexpr size_t help_keyword_max = 255;
inline constexpr size_t help_keywords_max = 64;  // per topic
inline constexpr size_t help_body_max = 1u << 20;
inline constexpr uint32_t help_topic_max = 0x7fffffff;

struct help_topic {
    uint32_t number = 0;
    std::string title;
    std::vector<std::string> keywords;
    std::string body;
};

struct help_book {
    std::string title;
    uint32_t contents = 0;
    std::vector<help_topic> topics;  // ascending by number, no number twice
};

// Whether a title may be stored: 1 to help_title_max bytes, no control characters.
bool help_title_ok(std::string_view title);
// Whether a keyword may be stored: 1 to help_keyword_max bytes, no ";" and no control characters.
bool help_keyword_ok(std::string_view keyword);

// The file's bytes for book, which must hold to the limits above (the compiler checks them).
std::string help_write(const help_book& book);

// The book read from a file's bytes, or nothing with error set to where and why it is damaged.
// Every length, number, count and order is checked; the contents topic must be among the topics.
std::optional<help_book> help_read(std::string_view bytes, std::string& error);

// The file at path read whole and checked as help_read does; error says why it cannot be read
// ("cannot be read: ...") or where it is damaged ("is damaged: ...").
std::optional<help_book> help_load(const std::string& path, std::string& error);

// The topic of that number, or null.
const help_topic* help_find(const help_book& book, uint32_t number);

}  // namespace wynhelp
