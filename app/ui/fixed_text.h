// Copying into the fixed-size text fields of the application's records.
#pragma once

#include <cstddef>
#include <cstdio>

// Copies from into to, cut to fit and always terminated.
template <size_t N> void copy_text(char (&to)[N], const char* from) {
    std::snprintf(to, N, "%s", from ? from : "");
}
