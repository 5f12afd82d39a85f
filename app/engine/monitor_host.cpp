// The one host through which the engine reaches the windows.
#include "engine/monitor_host.h"

namespace {
monitor_host* g_host = nullptr;
}

void set_monitor_host(monitor_host* host) {
    g_host = host;
}

monitor_host* current_monitor_host() {
    return g_host;
}
