// Local time for the files layer: a broken-down time that never fails.
#pragma once

#include <ctime>

// A source of the current calendar time (the application's clock; tests make it run fixed or fast).
using app_clock_source = time_t (*)();

// Local broken-down time of t; never fails (a time the C library cannot convert gives the epoch).
struct tm app_localtime(time_t t);
