// The decoded UPS record as "key: value" lines, as the probe prints them and tests compare them.
#pragma once

#include "model/ups_status.h"

#include <string>

// The record's identification and readings, one "key: value" line each, every line ending in '\n'.
std::string status_lines(const ups_status& ups);
