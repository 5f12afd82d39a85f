// Wildcard matching of names ("*", "?", "\" escapes) over whole characters.
#include <string>
#include <vector>

#include "portable/str_case.h"
#include "portable/utf8.h"
#include <wyn/str.h>

namespace {

struct Token {
    enum Kind { literal, any_one, any_run } kind;
    wchar_t ch;
};

wchar_t fold(wchar_t wc, bool case_sensitive) {
    return case_sensitive ? wc : case_lower(wc);
}

std::wstring to_wide(const char* s, bool case_sensitive) {
    std::wstring out;
    while (*s) {
        wchar_t wc;
        s += utf8_decode(s, &wc);
        out.push_back(fold(wc, case_sensitive));
    }
    return out;
}

// A backslash at the very end has nothing to escape and stands for itself.
std::vector<Token> tokenize(const std::wstring& pattern) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < pattern.size(); ++i) {
        wchar_t c = pattern[i];
        if (c == L'\\' && i + 1 < pattern.size())
            tokens.push_back({Token::literal, pattern[++i]});
        else if (c == L'*')
            tokens.push_back({Token::any_run, 0});
        else if (c == L'?')
            tokens.push_back({Token::any_one, 0});
        else
            tokens.push_back({Token::literal, c});
    }
    return tokens;
}

// Greedy scan that returns to the last star on a mismatch: linear in practice, never
// exponential however many stars the pattern holds.
bool match(const std::wstring& text, const std::vector<Token>& tokens) {
    size_t t = 0;
    size_t p = 0;
    size_t star = std::wstring::npos;
    size_t star_text = 0;
    while (t < text.size()) {
        if (p < tokens.size() && tokens[p].kind == Token::any_run) {
            star = p++;
            star_text = t;
        } else if (p < tokens.size() &&
                   (tokens[p].kind == Token::any_one || tokens[p].ch == text[t])) {
            ++p;
            ++t;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            t = ++star_text;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::any_run) ++p;
    return p == tokens.size();
}

} // namespace

BOOLEAN wynv_str_match(const char* s, const char* pattern, BOOLEAN case_sensitive) {
    if (!s || !pattern) return !s && !pattern ? TRUE : FALSE;
    bool exact = case_sensitive != FALSE;
    return match(to_wide(s, exact), tokenize(to_wide(pattern, exact))) ? TRUE : FALSE;
}
