// The poll period: the timer goes through the host, and a failure to make one is reported once.
#include "engine/monitor_state.h"

#include "engine/app_state.h"
#include "engine/report.h"

#include <cstdio>

int set_poll_period(int seconds) {
    if (!g_app) return 2;
    engine_state& engine = g_app->engine;
    if (seconds == g_app->poll_period && engine.timer_running) return 0;
    // The new timer comes first: when it cannot be made, the old one keeps polling at its period
    // (and the change is tried again at the next request), for an engine without a timer would
    // never see the next power failure.
    if (!engine.host || !engine.host->start_poll_timer(seconds * 1000)) {
        if (!engine.timer_failure_reported) {
            engine.timer_failure_reported = true;
            char text[96];
            snprintf(text, sizeof text, "Cannot set the poll period to %d seconds.", seconds);
            post_message(text, MSG_PANEL | MSG_EVENT_LOG);
        }
        return 2;
    }
    engine.timer_failure_reported = false;
    engine.timer_running = true;
    g_app->poll_period = seconds;
    return 0;
}
