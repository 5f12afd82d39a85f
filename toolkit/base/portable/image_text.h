// A cursor over the text of an X bitmap or X pixmap file: white space, C comments, words,
// numbers and string literals, never reading past the end.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

class ImageText {
  public:
    explicit ImageText(std::span<const uint8_t> data)
        : text_(reinterpret_cast<const char*>(data.data()), data.size()) {}

    bool at_end() const { return pos_ >= text_.size(); }
    size_t pos() const { return pos_; }
    size_t left() const { return text_.size() - pos_; }
    char peek() const { return at_end() ? '\0' : text_[pos_]; }
    void advance() { ++pos_; }
    std::string_view rest() const { return text_.substr(pos_); }

    // Skips white space and /* */ comments; false for a comment that never ends.
    bool skip_blanks() {
        while (!at_end()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (text_.compare(pos_, 2, "/*") == 0) {
                const size_t end = text_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) {
                    pos_ = text_.size();
                    return false;
                }
                pos_ = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    // Consumes word when the text goes on with it.
    bool take(std::string_view word) {
        if (text_.compare(pos_, word.size(), word) != 0) return false;
        pos_ += word.size();
        return true;
    }

    // A run of letters, digits, '_' and '#'.
    std::string_view word() {
        const size_t start = pos_;
        while (!at_end()) {
            const char c = text_[pos_];
            const bool part = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                              (c >= '0' && c <= '9') || c == '_' || c == '#';
            if (!part) break;
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    // A decimal number up to limit; nothing when there is none or it exceeds limit.
    std::optional<long> number(long limit) {
        if (at_end() || text_[pos_] < '0' || text_[pos_] > '9') return std::nullopt;
        long value = 0;
        while (!at_end() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            value = value * 10 + (text_[pos_++] - '0');
            if (value > limit) return std::nullopt;
        }
        return value;
    }

    // The first position of c at or after the cursor, or npos.
    size_t find(char c) const { return text_.find(c, pos_); }
    void seek(size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }

    // A double-quoted string literal after blanks and commas, without escapes (pixmap rows hold
    // none); nothing when the next item is not one or it never closes.
    std::optional<std::string_view> string() {
        while (skip_blanks() && peek() == ',') advance();
        if (peek() != '"') return std::nullopt;
        const size_t start = pos_ + 1;
        const size_t end = text_.find('"', start);
        if (end == std::string_view::npos) return std::nullopt;
        pos_ = end + 1;
        return text_.substr(start, end - start);
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};
