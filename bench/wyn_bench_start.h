// The toolkit's start as a program's entry point makes it, for benchmarks that need a running
// toolkit: the handshake under the offscreen platform, then the screen and task windows.
#pragma once

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <wyn/app.h>
#include <wyn/attr.h>

#include "kernel/app_loop.h"

// Begins the toolkit and makes its task window with task_handler, without running the loop;
// false, with state skipped and the toolkit ended, when it does not start.
inline bool bench_start_toolkit(benchmark::State& state, EVENT_HANDLER task_handler) {
    static const WYN_VERSION version = {4, 50, 0, 4, 50, 0};
    static RCT task_rect = {20, 0, 500, 648};
    static WYN_APP_CONFIG config{0, 0, "norva", "VoltSentry Plus", "Norvane VoltSentry Plus"};
    static WYN_STARTUP startup{};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    startup = WYN_STARTUP{};
    startup.version = &version;
    startup.cmd_line = "";
    if (!wynwi_Begin(&startup) || !wynwi_Init(&startup)) {
        state.SkipWithError("the toolkit did not start");
        return false;
    }
    wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect));
    if (!app_start(0, task_handler, &config)) {
        state.SkipWithError("no task window");
        wynwi_End();
        return false;
    }
    return true;
}
