// Checked calls on handler-chain objects and event records.
#include <wyn/checked/cxo.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr int16_t kChainFront = 0;
constexpr int16_t kChainEnd = 1;

bool live_cxo(const Call& c, CXO cxo) {
    return wynv_cxo_is_valid(cxo) || c.fail(WYN_MSG_INVALID_OBJECT_HANDLE);
}

} // namespace

// clang-format off
MARKED(kCxo, wyn_cxo_is_valid, (CXO cxo), wynv_cxo_is_valid, (cxo))
CHECKED(kCxo, wyn_event_is_virtual_key, (const EVENT* ev),
        c.given(ev), FALSE, wynv_event_is_virtual_key, (ev))
CHECKED(kCxo, wyn_event_get_font, (const EVENT* ev),
        c.given(ev), nullptr, wynv_event_get_font, (ev))
CHECKED(kCxo, wyn_event_set_font, (EVENT* ev, struct wyn_font* font),
        c.given(ev), void(), wynv_event_set_font, (ev, font))
// clang-format on

CXO wyn_cxo_create(WINDOW owner, intptr_t create_data, int16_t position, CXO_HANDLER handler,
                   EVENT_MASK mask, const char* class_name, intptr_t app_data) {
    Call c(__func__, kCxo);
    if (!c.window(owner, kAnyType) || !c.given_fn(handler) || !c.given(class_name)) return nullptr;
    if (position != kChainFront && position != kChainEnd)
        return c.fail_as<CXO>(nullptr, WYN_MSG_BAD_VALUE);
    return wynv_cxo_create(owner, create_data, position, handler, mask, class_name, app_data);
}

void wyn_cxo_destroy(CXO cxo) {
    Call c(__func__, kCxo);
    if (!live_cxo(c, cxo)) return;
    wynv_cxo_destroy(cxo);
}

int32_t wyn_cxo_call_next(WINDOW win, CXO cxo, EVENT* ev) {
    Call c(__func__, kCxo);
    if ((win && !c.window(win, kAnyType)) || (cxo && !live_cxo(c, cxo)) || !c.given(ev)) return -1;
    // Without a CXO the chain is entered at its start, which needs the window.
    if (!win && !cxo) return c.fail_as(-1, WYN_MSG_NULL_WINDOW);
    return wynv_cxo_call_next(win, cxo, ev);
}

int32_t wyn_cxo_dispatch_msg(CXO cxo, int32_t msg, intptr_t data) {
    Call c(__func__, kCxo);
    if (!live_cxo(c, cxo)) return -1;
    return wynv_cxo_dispatch_msg(cxo, msg, data);
}

BOOLEAN wyn_cxo_get_class_name(CXO cxo, char* buffer, size_t size) {
    Call c(__func__, kCxo);
    if (!live_cxo(c, cxo) || !c.given(buffer) || !c.at_least(static_cast<long long>(size), 1))
        return FALSE;
    return wynv_cxo_get_class_name(cxo, buffer, size);
}
