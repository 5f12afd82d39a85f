// The toolkit's start as a program's entry point makes it, for benchmarks that need the toolkit:
// the handshake under the offscreen platform, with the program's task rectangle and names.
#pragma once

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/text.h>

// The program's application configuration.
inline WYN_APP_CONFIG* bench_app_config() {
    static WYN_APP_CONFIG config{0, 0, "norva", "VoltSentry Plus", "Norvane VoltSentry Plus"};
    return &config;
}

// Runs the handshake (begin, init) and sets the task rectangle; false, with state skipped, when
// the toolkit does not start. The caller ends it with wynwi_End.
inline bool bench_begin_toolkit(benchmark::State& state) {
    static const WYN_VERSION version = {4, 50, 0, 4, 50, 0};
    static RCT task_rect = {20, 0, 500, 648};
    static WYN_STARTUP startup{};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    startup = WYN_STARTUP{};
    startup.version = &version;
    startup.cmd_line = "";
    // Window definitions make their text views through the text edit library, as in the program.
    startup.tx_create_def = wynv_tx_create_def;
    startup.tx_get_tx = wynv_tx_get_tx;
    if (!wynwi_Begin(&startup) || !wynwi_Init(&startup)) {
        state.SkipWithError("the toolkit did not start");
        return false;
    }
    wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect));
    return true;
}
