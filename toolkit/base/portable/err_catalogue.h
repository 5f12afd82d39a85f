// The built-in catalogue of message texts.
#pragma once

#include <wyn/errmsg.h>

// The built-in text of id, or null when the catalogue has none.
const char* err_catalogue_text(WYN_MSG_ID id);

// Number of entries in the catalogue.
int err_catalogue_size();
