// Internal Unicode case mapping and classification of single characters.
#pragma once

#include <wchar.h>

// Lower-case form of wc by the Unicode tables (wc itself when it has none).
wchar_t case_lower(wchar_t wc);
// Upper-case form of wc by the Unicode tables (wc itself when it has none).
wchar_t case_upper(wchar_t wc);
// Unicode letter, letter-or-digit, lower-case and upper-case tests.
bool case_is_alpha(wchar_t wc);
bool case_is_alnum(wchar_t wc);
bool case_is_lower(wchar_t wc);
bool case_is_upper(wchar_t wc);
