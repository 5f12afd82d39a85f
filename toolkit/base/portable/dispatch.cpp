// Delivery of one event to a window: the error framework's per-event duties, the help
// redirection, the application's event hook, then the handler chains.
#include <wyn/app.h>

#include "portable/core_state.h"
#include "portable/cxo.h"
#include "portable/err_state.h"

namespace {

// Destroyed window objects kept readable (with magic 0) before their memory is freed.
constexpr size_t kQuarantined = 64;

// Raises the update count for the length of an E_UPDATE dispatch.
class UpdateGuard {
  public:
    explicit UpdateGuard(bool active) : active_(active) {
        if (!active_) return;
        ++core().update_count;
        err_set_update_in_progress(true);
    }
    ~UpdateGuard() {
        if (!active_) return;
        --core().update_count;
        err_set_update_in_progress(false);
    }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

  private:
    bool active_;
};

} // namespace

int32_t wynk_win_dispatch_event(WINDOW win, EVENT* ev) {
    if (!win || !ev || win->magic != WYN_WIN_MAGIC) return -1;
    // A window that has had its E_DESTROY hears nothing more, however the event was sent.
    if ((win->state & WS_DESTROYED) && ev->type != E_DESTROY) return -1;
    if (!err_state().ready) err_set_ready(true);
    if (ev->type == E_CXO) return -1;

    CoreState& state = core();
    if (ev->type != E_UPDATE) err_flush_deferred();
    if (ev->type == E_HELP && ev->v.help.tid == 0 && state.help_topic != 0 && state.task) {
        ev->v.help.obj = nullptr;
        ev->v.help.tag = 0;
        ev->v.help.tid = state.help_topic;
        win = state.task;
    }

    CoreBusyScope busy;
    UpdateGuard update(ev->type == E_UPDATE);
    wyn::ErrFrame frame(win);
    if (auto hook = reinterpret_cast<WYN_EVENT_HOOK>(core_attr(ATTR_EVENT_HOOK))) {
        auto* data = reinterpret_cast<void*>(core_attr(ATTR_EVENT_HOOK_DATA));
        if (!hook(data, win, ev)) return -1;
    }
    return wynv_cxo_call_next(win, nullptr, ev);
}

BOOLEAN wynv_app_is_update_in_progress(void) {
    return core().update_count > 0 ? TRUE : FALSE;
}

BOOLEAN wynv_app_proc_update(void) {
    return core().update_count > 0 && !core_attr(ATTR_UPDATE_CHECK_OFF) ? TRUE : FALSE;
}

void core_reap() {
    CoreState& state = core();
    cxo_reap();
    for (WINDOW win : state.graveyard) {
        win->magic = 0;
        state.quarantine.push_back(win);
    }
    state.graveyard.clear();
    while (state.quarantine.size() > kQuarantined) {
        delete state.quarantine.front();
        state.quarantine.pop_front();
    }
}

void core_free_quarantine() {
    CoreState& state = core();
    for (WINDOW win : state.quarantine) delete win;
    state.quarantine.clear();
}

BOOLEAN wynv_event_is_virtual_key(const EVENT* ev) {
    return ev && ev->type == E_CHAR && ev->v.chr.virtual_key ? TRUE : FALSE;
}

struct wyn_font* wynv_event_get_font(const EVENT* ev) {
    return ev && ev->type == E_FONT ? ev->v.font.font : nullptr;
}

void wynv_event_set_font(EVENT* ev, struct wyn_font* font) {
    if (ev && ev->type == E_FONT) ev->v.font.font = font;
}
