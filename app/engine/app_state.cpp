// The application state pointer, the application's clock and the poll clock.
#include "engine/app_state.h"

#include "files/clock.h"

app_state* g_app = nullptr;

time_t app_now() {
    return g_app && g_app->engine.clock ? g_app->engine.clock() : time(nullptr);
}

void app_stamp_poll_time(app_state& app, time_t now) {
    app.poll_time = now;
    app.poll_clock = clock_from_tm(app_localtime(now));
}
