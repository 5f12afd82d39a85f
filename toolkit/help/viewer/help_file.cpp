// Reads and writes the compiled help file, checking every length and number it meets.
#include "help_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

namespace wynhelp {
namespace {

constexpr std::string_view magic = "WYNHLP 1\r\n";
constexpr std::string_view crlf = "\r\n";

bool has_control(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// A cursor over the file's bytes that remembers where the first fault was met.
class reader {
public:
    explicit reader(std::string_view bytes) : bytes_(bytes) {}

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    bool at_end() const { return pos_ == bytes_.size(); }

    bool fail(const std::string& why) {
        if (error_.empty()) error_ = "at byte " + std::to_string(pos_) + ": " + why;
        return false;
    }

    // One header line (without its CRLF), at most 64 bytes long.
    std::optional<std::string_view> line() {
        if (failed()) return std::nullopt;
        std::string_view rest = bytes_.substr(pos_, 66);
        size_t end = rest.find(crlf);
        if (end == std::string_view::npos) {
            fail("a record line is missing or too long");
            return std::nullopt;
        }
        pos_ += end + crlf.size();
        return rest.substr(0, end);
    }

    // n bytes of a field, followed by CRLF.
    std::optional<std::string_view> field(size_t n) {
        if (failed()) return std::nullopt;
        if (n > bytes_.size() - pos_ || bytes_.size() - pos_ - n < crlf.size()) {
            fail("a field runs past the end of the file");
            return std::nullopt;
        }
        std::string_view value = bytes_.substr(pos_, n);
        if (bytes_.substr(pos_ + n, crlf.size()) != crlf) {
            fail("a field does not end where its length says");
            return std::nullopt;
        }
        pos_ += n + crlf.size();
        return value;
    }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
    std::string error_;
};

// The words of a record line after its tag, each a decimal number no greater than max.
std::optional<std::vector<uint64_t>> numbers_after(std::string_view line, std::string_view tag,
                                                   size_t count, uint64_t max) {
    if (line.substr(0, tag.size()) != tag) return std::nullopt;
    line.remove_prefix(tag.size());
    std::vector<uint64_t> values;
    while (values.size() < count) {
        if (line.empty() || line.front() != ' ') return std::nullopt;
        line.remove_prefix(1);
        uint64_t value = 0;
        auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        size_t used = static_cast<size_t>(end - line.data());
        // Canonical decimals only: no sign, no leading zero, at most ten digits.
        if (ec != std::errc() || used == 0 || used > 10 || (used > 1 && line.front() == '0') ||
            value > max)
            return std::nullopt;
        values.push_back(value);
        line.remove_prefix(used);
    }
    if (!line.empty()) return std::nullopt;
    return values;
}

// Every piece between ";"s, empty ones too, so that the caller refuses them.
std::vector<std::string> split_keywords(std::string_view joined) {
    std::vector<std::string> keywords;
    if (joined.empty()) return keywords;
    for (;;) {
        size_t cut = joined.find(';');
        keywords.emplace_back(joined.substr(0, cut));
        if (cut == std::string_view::npos) return keywords;
        joined.remove_prefix(cut + 1);
    }
}

bool read_topic(reader& in, help_topic& topic) {
    std::optional<std::string_view> line = in.line();
    if (!line) return false;
    auto n = numbers_after(*line, "topic", 4, help_file_max);
    if (!n) return in.fail("a topic record is malformed");
    if ((*n)[0] == 0 || (*n)[0] > help_topic_max) return in.fail("a topic number is out of range");
    if ((*n)[1] > help_title_max || (*n)[3] > help_body_max ||
        (*n)[2] > help_keywords_max * (help_keyword_max + 1))
        return in.fail("a topic field is too long");
    topic.number = static_cast<uint32_t>((*n)[0]);
    auto title = in.field((*n)[1]);
    auto keywords = in.field((*n)[2]);
    auto body = in.field((*n)[3]);
    if (!title || !keywords || !body) return false;
    if (!help_title_ok(*title)) return in.fail("a topic title is empty or holds control characters");
    topic.title = *title;
    topic.keywords = split_keywords(*keywords);
    if (topic.keywords.size() > help_keywords_max) return in.fail("a topic has too many keywords");
    for (const std::string& keyword : topic.keywords)
        if (!help_keyword_ok(keyword)) return in.fail("a keyword is empty or malformed");
    topic.body = *body;
    return true;
}

}  // namespace

bool help_title_ok(std::string_view title) {
    return !title.empty() && title.size() <= help_title_max && !has_control(title);
}

bool help_keyword_ok(std::string_view keyword) {
    return !keyword.empty() && keyword.size() <= help_keyword_max &&
           keyword.find(';') == std::string_view::npos && !has_control(keyword);
}

std::string help_write(const help_book& book) {
    std::string out(magic);
    out += "title " + std::to_string(book.title.size()) + "\r\n" + book.title + "\r\n";
    out += "contents " + std::to_string(book.contents) + "\r\n";
    out += "topics " + std::to_string(book.topics.size()) + "\r\n";
    for (const help_topic& topic : book.topics) {
        std::string keywords;
        for (const std::string& keyword : topic.keywords)
            keywords += (keywords.empty() ? "" : ";") + keyword;
        out += "topic " + std::to_string(topic.number) + ' ' + std::to_string(topic.title.size()) +
               ' ' + std::to_string(keywords.size()) + ' ' + std::to_string(topic.body.size()) +
               "\r\n";
        out += topic.title + "\r\n" + keywords + "\r\n" + topic.body + "\r\n";
    }
    out += "end\r\n";
    return out;
}

std::optional<help_book> help_read(std::string_view bytes, std::string& error) {
    error.clear();
    if (bytes.size() > help_file_max) {
        error = "the file is larger than a help file can be";
        return std::nullopt;
    }
    if (bytes.substr(0, magic.size()) != magic) {
        error = "it is not a help file of this version";
        return std::nullopt;
    }
    reader in(bytes.substr(magic.size()));
    help_book book;
    std::optional<std::string_view> line = in.line();
    auto title_size = line ? numbers_after(*line, "title", 1, help_title_max) : std::nullopt;
    if (line && !title_size) in.fail("the title record is malformed");
    if (title_size) {
        auto title = in.field((*title_size)[0]);
        if (title && !help_title_ok(*title)) in.fail("the title is empty or holds control characters");
        if (title) book.title = *title;
    }
    line = in.line();
    auto contents = line ? numbers_after(*line, "contents", 1, help_topic_max) : std::nullopt;
    if (line && !contents) in.fail("the contents record is malformed");
    if (contents) book.contents = static_cast<uint32_t>((*contents)[0]);
    line = in.line();
    auto count = line ? numbers_after(*line, "topics", 1, help_topics_max) : std::nullopt;
    if (line && !count) in.fail("the topic count is malformed or too large");
    if (count) {
        // Grows with the topics actually read, never ahead of them on a count alone.
        for (uint64_t i = 0; i < (*count)[0] && !in.failed(); ++i) {
            help_topic topic;
            if (!read_topic(in, topic)) break;
            if (!book.topics.empty() && topic.number <= book.topics.back().number) {
                in.fail("topic " + std::to_string(topic.number) + " is out of order or twice");
                break;
            }
            book.topics.push_back(std::move(topic));
        }
    }
    line = in.line();
    if (line && *line != "end") in.fail("the end record is missing");
    if (line && !in.failed() && !in.at_end()) in.fail("bytes follow the end record");
    if (!in.failed() && !help_find(book, book.contents))
        in.fail("the contents topic " + std::to_string(book.contents) + " is not in the file");
    if (in.failed()) {
        error = in.error();
        return std::nullopt;
    }
    return book;
}

std::optional<help_book> help_load(const std::string& path, std::string& error) {
    struct closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::string("cannot be read: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::string bytes;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (bytes.size() + got > help_file_max) {
            error = "is damaged: it is larger than a help file can be";
            return std::nullopt;
        }
        bytes.append(chunk, got);
    }
    if (std::ferror(file.get())) {
        error = std::string("cannot be read: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::optional<help_book> book = help_read(bytes, error);
    if (!book) error = "is damaged: " + error;
    return book;
}

const help_topic* help_find(const help_book& book, uint32_t number) {
    auto it = std::lower_bound(book.topics.begin(), book.topics.end(), number,
                               [](const help_topic& t, uint32_t n) { return t.number < n; });
    return it != book.topics.end() && it->number == number ? &*it : nullptr;
}

}  // namespace wynhelp
