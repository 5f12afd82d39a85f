// The process-wide application state pointer, the debug level and the poll clock.
#include "engine/app_state.h"

#include "files/clock.h"

app_state* g_app = nullptr;
uint16_t g_debug_level = 0;

void clock_from_time(time_t t, ups_clock& out) {
    const struct tm tm = app_localtime(t);
    out = ups_clock{tm.tm_sec,  tm.tm_min,  tm.tm_hour, tm.tm_mday, tm.tm_mon,
                    tm.tm_year, tm.tm_wday, tm.tm_yday, tm.tm_isdst};
}

void app_stamp_poll_time(app_state& app, time_t now) {
    app.poll_time = now;
    clock_from_time(now, app.poll_clock);
}
