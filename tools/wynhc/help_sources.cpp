// Gathers the topics' sources into a help book, reporting every fault with its file and line.
#include "help_sources.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>

namespace wynhc {
namespace {

constexpr uint32_t contents_topic = 32006;

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool valid_utf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xe ? 2 : (c >> 3) == 0x1e ? 3 : 4;
        if (extra == 4 || (extra == 1 && c < 0xc2) || extra >= text.size() - i) return false;
        uint32_t code = extra == 0 ? c : c & (0x3f >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        // Overlong forms, surrogates and values past Unicode's end.
        if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10ffff)) ||
            (code >= 0xd800 && code <= 0xdfff))
            return false;
        i += extra + 1;
    }
    return true;
}

std::optional<uint32_t> topic_number(std::string_view text) {
    uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value == 0 ||
        value > wynhelp::help_topic_max)
        return std::nullopt;
    return value;
}

// A source's topic as read, with the lines that later checks point at.
struct parsed_topic {
    wynhelp::help_topic topic;
    const source_file* source = nullptr;
    int topic_line = 0;
    bool contents = false;
    int contents_line = 0;
    std::optional<std::string> file_title;
    int file_title_line = 0;
    int body_line = 0;
};

class compiler {
public:
    explicit compiler(std::vector<std::string>& messages) : messages_(messages) {}

    void report(const source_file& source, int line, const std::string& message) {
        messages_.push_back(source.name + ":" + std::to_string(line) + ": " + message);
    }

    // The header block and body of one source; false when the source cannot be used.
    bool parse(const source_file& source, parsed_topic& out) {
        out.source = &source;
        std::string_view text = source.text;
        if (text.size() > source_max) {
            report(source, 1, "the source is larger than " + std::to_string(source_max) + " bytes");
            return false;
        }
        if (!valid_utf8(text)) {
            report(source, 1, "the source is not UTF-8 text");
            return false;
        }
        if (text.substr(0, 3) == "\xef\xbb\xbf") text.remove_prefix(3);
        bool ok = true;
        bool closed = false;
        std::map<std::string, int, std::less<>> seen;
        int line_no = 0;
        while (!text.empty()) {
            size_t cut = text.find('\n');
            std::string_view line = text.substr(0, cut);
            text.remove_prefix(cut == std::string_view::npos ? text.size() : cut + 1);
            ++line_no;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line == "---") {
                closed = true;
                break;
            }
            if (trim(line).empty()) continue;
            size_t colon = line.find(':');
            if (colon == std::string_view::npos) {
                report(source, line_no, "a header line is not \"key: value\"");
                ok = false;
                continue;
            }
            std::string_view key = trim(line.substr(0, colon));
            std::string_view value = trim(line.substr(colon + 1));
            if (!seen.emplace(std::string(key), line_no).second) {
                report(source, line_no, "\"" + std::string(key) + "\" is given twice");
                ok = false;
                continue;
            }
            ok = header(source, line_no, key, value, out) && ok;
        }
        if (!closed) {
            report(source, line_no, "the header block does not end with a line \"---\"");
            return false;
        }
        if (!seen.count("topic")) {
            report(source, 1, "the header gives no topic number");
            ok = false;
        }
        if (!seen.count("title")) {
            report(source, 1, "the header gives no title");
            ok = false;
        }
        out.body_line = line_no + 1;
        out.topic.body = std::string(text);
        if (out.topic.body.size() > wynhelp::help_body_max) {
            report(source, out.body_line, "the body is longer than " +
                                              std::to_string(wynhelp::help_body_max) + " bytes");
            ok = false;
        }
        return ok;
    }

    // Checks the links of every body and the whole book's rules; fills book.
    bool assemble(std::vector<parsed_topic>& parsed, wynhelp::help_book& book) {
        bool ok = true;
        std::map<uint32_t, const parsed_topic*> by_number;
        for (const parsed_topic& p : parsed) {
            auto [it, fresh] = by_number.emplace(p.topic.number, &p);
            if (!fresh) {
                report(*p.source, p.topic_line,
                       "topic " + std::to_string(p.topic.number) + " is already given by " +
                           it->second->source->name);
                ok = false;
            }
        }
        const parsed_topic* contents = nullptr;
        for (const parsed_topic& p : parsed) {
            if (p.contents) {
                if (contents) {
                    report(*p.source, p.contents_line,
                           "a second contents topic; the first is in " + contents->source->name);
                    ok = false;
                } else {
                    contents = &p;
                }
                if (p.topic.number != contents_topic) {
                    report(*p.source, p.contents_line,
                           "the contents topic must be topic " + std::to_string(contents_topic));
                    ok = false;
                }
                if (!p.file_title) {
                    report(*p.source, p.contents_line, "the contents topic gives no file-title");
                    ok = false;
                }
            } else if (p.file_title) {
                report(*p.source, p.file_title_line, "file-title belongs in the contents topic only");
                ok = false;
            }
            ok = check_links(p, by_number) && ok;
        }
        if (!contents) {
            messages_.push_back("wynhc: no source is the contents topic (\"contents: yes\")");
            ok = false;
        }
        if (parsed.size() > wynhelp::help_topics_max) {
            messages_.push_back("wynhc: more than " + std::to_string(wynhelp::help_topics_max) +
                                " topics");
            ok = false;
        }
        if (!ok) return false;
        book.title = *contents->file_title;
        book.contents = contents_topic;
        book.topics.clear();
        for (const auto& [number, p] : by_number) book.topics.push_back(p->topic);
        return true;
    }

private:
    bool header(const source_file& source, int line_no, std::string_view key, std::string_view value,
                parsed_topic& out) {
        if (key == "topic") {
            std::optional<uint32_t> number = topic_number(value);
            if (!number) {
                report(source, line_no, "the topic is not a number from 1 to 2147483647");
                return false;
            }
            out.topic.number = *number;
            out.topic_line = line_no;
        } else if (key == "title" || key == "file-title") {
            if (!wynhelp::help_title_ok(value)) {
                report(source, line_no, "the " + std::string(key) + " is empty or longer than " +
                                            std::to_string(wynhelp::help_title_max) + " bytes");
                return false;
            }
            if (key == "title") {
                out.topic.title = value;
            } else {
                out.file_title = std::string(value);
                out.file_title_line = line_no;
            }
        } else if (key == "keywords") {
            return keywords(source, line_no, value, out.topic.keywords);
        } else if (key == "contents") {
            if (value != "yes" && value != "no") {
                report(source, line_no, "contents is \"yes\" or \"no\"");
                return false;
            }
            out.contents = value == "yes";
            out.contents_line = line_no;
        } else {
            report(source, line_no, "unknown header key \"" + std::string(key) + "\"");
            return false;
        }
        return true;
    }

    bool keywords(const source_file& source, int line_no, std::string_view value,
                  std::vector<std::string>& out) {
        while (!value.empty()) {
            size_t cut = value.find(';');
            std::string_view keyword = trim(value.substr(0, cut));
            value.remove_prefix(cut == std::string_view::npos ? value.size() : cut + 1);
            if (keyword.empty()) continue;
            if (!wynhelp::help_keyword_ok(keyword)) {
                report(source, line_no, "a keyword is longer than " +
                                            std::to_string(wynhelp::help_keyword_max) + " bytes");
                return false;
            }
            if (std::find(out.begin(), out.end(), keyword) == out.end()) out.emplace_back(keyword);
        }
        if (out.size() > wynhelp::help_keywords_max) {
            report(source, line_no, "more than " + std::to_string(wynhelp::help_keywords_max) +
                                        " keywords");
            return false;
        }
        return true;
    }

    // Every "](topic:" in the body must name a topic of the book.
    bool check_links(const parsed_topic& p, const std::map<uint32_t, const parsed_topic*>& topics) {
        constexpr std::string_view opener = "](topic:";
        bool ok = true;
        std::string_view body = p.topic.body;
        for (size_t at = body.find(opener); at != std::string_view::npos;
             at = body.find(opener, at + opener.size())) {
            int line_no = p.body_line + static_cast<int>(std::count(body.begin(), body.begin() + at, '\n'));
            size_t start = at + opener.size();
            size_t close = body.find(')', start);
            std::string_view target =
                close == std::string_view::npos ? body.substr(start) : body.substr(start, close - start);
            std::optional<uint32_t> number = topic_number(trim(target));
            if (close == std::string_view::npos || !number) {
                report(*p.source, line_no, "a topic link does not end in a topic number and \")\"");
                ok = false;
            } else if (!topics.count(*number)) {
                report(*p.source, line_no, "a link to topic " + std::to_string(*number) +
                                               ", which no source gives");
                ok = false;
            }
        }
        return ok;
    }

    std::vector<std::string>& messages_;
};

}  // namespace

bool compile_sources(const std::vector<source_file>& sources, wynhelp::help_book& book,
                     std::vector<std::string>& messages) {
    compiler c(messages);
    std::vector<parsed_topic> parsed(sources.size());
    bool ok = true;
    for (size_t i = 0; i < sources.size(); ++i) ok = c.parse(sources[i], parsed[i]) && ok;
    if (!ok) return false;
    return c.assemble(parsed, book);
}

}  // namespace wynhc
