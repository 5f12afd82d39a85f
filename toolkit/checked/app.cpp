// Checked application and timer calls.
#include <cstdarg>
#include <wyn/checked/app.h>
#include <wyn/mem.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// The escape that hands back the page metrics of a print record.
constexpr int32_t kEscapePageMetrics = 4000;

} // namespace

// clang-format off
CHECKED(kApp, wyn_app_process_pending_events, (),
        c.outside_update(), void(), wynk_app_process_pending_events, ())
MARKED(kApp, wyn_app_allow_quit, (), wynk_app_allow_quit, ())
MARKED(kApp, wyn_app_destroy, (), wynv_app_destroy, ())
MARKED(kApp, wyn_app_get_files_count, (), wynk_app_get_files_count, ())
MARKED(kApp, wyn_app_get_file, (), wynk_app_get_file, ())
MARKED(kApp, wyn_app_set_file_processed, (), wynk_app_set_file_processed, ())
MARKED(kTimer, wyn_timer_destroy, (int32_t id), wynk_timer_destroy, (id))
// clang-format on

void wyn_app_create(int argc, char** argv, uint32_t flags, EVENT_HANDLER task_handler,
                    WYN_APP_CONFIG* config) {
    // The memory functions go in before anything else: the checks below may already allocate.
    WYN_MEM_FUNCS installed;
    if (!wynv_mem_get_functions(&installed)) wynv_mem_set_functions(nullptr);
    Call c(__func__, kApp);
    if (!c.given(argv) || !c.given(config)) return;
    (void)argc;
    wynwi_wyn_system(flags, task_handler, config);
}

BOOLEAN wyn_app_escape(int32_t code, ...) {
    Call c(__func__, kApp);
    if (code != kEscapePageMetrics) return wynk_app_escape(code);
    va_list args;
    va_start(args, code);
    void* record = va_arg(args, void*);
    void* out[4];
    for (void*& p : out) p = va_arg(args, void*);
    va_end(args);
    return wynk_app_escape(code, record, out[0], out[1], out[2], out[3]);
}

int32_t wyn_timer_create(WINDOW win, int32_t interval_ms) {
    Call c(__func__, kTimer);
    if (!c.window(win, kWindowTypes)) return -1;
    if (interval_ms < 0) return c.fail_as(-1, WYN_MSG_BAD_VALUE);
    return wynk_timer_create(win, interval_ms);
}
