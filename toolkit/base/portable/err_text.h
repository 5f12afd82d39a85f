// The texts of message ids: cache, message file, built-in catalogue, formatted fallback.
#pragma once

#include <cstddef>
#include <wyn/errmsg.h>

// Copies the text of id into out (size bytes, always terminated): from the cache, then the
// message file, then the catalogue, else "MSG 0x... [CAT m/n NUM k ]".
void err_lookup_text(WYN_MSG_ID id, char* out, size_t size);

// Replaces the message file's name (relative names are read from the start-up directory); the
// cache is emptied. False, and nothing changes, when the name is too long.
bool err_set_codes_file(const char* name);

// Substitutes args for the "%s" conversions of format in order ("%%" gives "%"; any other
// conversion, or a "%s" without an argument, is copied as it stands) into out.
void err_format_strings(const char* format, const char* const* args, int count, char* out,
                        size_t size);
