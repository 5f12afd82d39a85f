// The replaceable application clock.
#include "files/clock.h"

namespace {
app_clock_source g_source = nullptr;
}

time_t app_now() {
    return g_source ? g_source() : time(nullptr);
}

void set_app_clock(app_clock_source source) {
    g_source = source;
}

struct tm app_localtime(time_t t) {
    struct tm out {};
    if (!localtime_r(&t, &out)) {
        time_t zero = 0;
        localtime_r(&zero, &out);
    }
    return out;
}
