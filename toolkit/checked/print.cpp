// Checked printing calls: a print record must be one the library made and still holds, a job
// needs its function, and nothing that prints may run while a window is being updated.
#include <wyn/checked/print.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr char kPrint[] = "tprint";

constexpr WYN_MSG_ID kNullRecord = WYN_MSG_NULL_OBJECT;
constexpr WYN_MSG_ID kInvalidRecord = 0x122000C;

// A live print record, or the report of a null or foreign one.
bool record(const Call& c, const PRINT_RECORD* rec, Where where = Where::current()) {
    if (!rec) return c.fail(kNullRecord, where);
    return wynv_print_is_record(rec) || c.fail(kInvalidRecord, where);
}

} // namespace

// clang-format off
CHECKED(kPrint, wyn_print_create, (int32_t* size),
        c.outside_update(), nullptr, wynk_print_create, (size))
CHECKED(kPrint, wyn_print_destroy, (PRINT_RECORD* rec),
        c.outside_update() && record(c, rec), void(), wynk_print_destroy, (rec))
CHECKED(kPrint, wyn_print_is_valid, (PRINT_RECORD* rec),
        c.outside_update() && record(c, rec), FALSE, wynk_print_is_valid, (rec))
CHECKED(kPrint, wyn_print_start_thread, (WYN_PRINT_FN fn, intptr_t data),
        c.outside_update() && c.given_fn(fn, WYN_MSG_NULL_EVENT_HANDLER),
        FALSE, wynk_print_start_thread, (fn, data))
CHECKED(kPrint, wyn_print_create_win, (PRINT_RECORD* rec, const char* title),
        c.outside_update() && record(c, rec), nullptr, wynk_print_create_win, (rec, title))
CHECKED(kPrint, wyn_print_open_page, (PRINT_RECORD* rec),
        c.outside_update() && record(c, rec), FALSE, wynk_print_open_page, (rec))
CHECKED(kPrint, wyn_print_get_next_band, (),
        c.outside_update(), nullptr, wynk_print_get_next_band, ())
CHECKED(kPrint, wyn_print_close_page, (PRINT_RECORD* rec),
        c.outside_update() && record(c, rec), FALSE, wynk_print_close_page, (rec))
CHECKED(kPrint, wyn_print_open, (),
        c.outside_update(), FALSE, wynk_print_open, ())
CHECKED(kPrint, wyn_print_close, (),
        c.outside_update(), void(), wynk_print_close, ())
CHECKED(kDm, wyn_dm_post_page_setup, (PRINT_RECORD* rec),
        c.outside_update() && record(c, rec), FALSE, wynv_dm_post_page_setup, (rec))
// clang-format on
