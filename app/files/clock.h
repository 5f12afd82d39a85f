// The application's clock: the one source of "now", replaceable so tests can run on a fixed time.
#pragma once

#include <ctime>

using app_clock_source = time_t (*)();

// Returns the current calendar time from the installed source (the system clock by default).
time_t app_now();

// Installs a clock source; null restores the system clock.
void set_app_clock(app_clock_source source);

// Local broken-down time of t; never fails (a time the C library cannot convert gives the epoch).
struct tm app_localtime(time_t t);
