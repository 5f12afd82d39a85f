// The keyword parser of custom controls' properties lists: entry 0 is the control's name, every
// further entry a keyword alone or a keyword, "=" and a value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The longest value kept and the number of entries searched.
inline constexpr size_t props_value_max = 256;
inline constexpr int32_t props_entries_max = 1000;

// The first entry after entry 0 (among the first props_entries_max) that begins with keyword;
// its value (empty when the entry has none), unquoted up to the closing quote and cut to
// props_value_max characters. Nothing when no entry matches or the list or keyword is null.
std::optional<std::string> props_find(int32_t count, const char* const* props,
                                      const char* keyword);

// True when keyword's entry exists with no value or a value beginning with "T", "t" or "1".
bool props_flag(int32_t count, const char* const* props, const char* keyword);

// The two integers of keyword's value read as "%d%*c%d"; nothing when the entry is missing or
// its value does not parse (such as "AUTO").
std::optional<std::pair<int32_t, int32_t>> props_pair(int32_t count, const char* const* props,
                                                      const char* keyword);
