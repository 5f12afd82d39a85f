// Handler-chain objects (CXO): creation, destruction, and the walk of an event down the global
// chain of the screen window, then the window's own chain, then the window's handler.
#include "portable/cxo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "portable/core_state.h"

namespace {

const char cxo_magic[] = "CXOMagic#";

bool is_live(CXO cxo) {
    return cxo && cxo->magic == cxo_magic;
}

int32_t register_class(const char* name) {
    auto& classes = core().cxo_classes;
    std::string key = name ? name : "";
    auto it = std::find(classes.begin(), classes.end(), key);
    if (it != classes.end()) return static_cast<int32_t>(it - classes.begin());
    classes.push_back(key);
    return static_cast<int32_t>(classes.size() - 1);
}

int32_t send_cxo_msg(CXO cxo, int32_t msg, intptr_t data) {
    EVENT ev{};
    ev.type = E_CXO;
    ev.v.cxo.msg = msg;
    ev.v.cxo.data = data;
    ++cxo->busy;
    int32_t result = cxo->handler(cxo, &ev);
    --cxo->busy;
    return result;
}

// The destroy message goes out before the memory is released, so the handler can free its data.
void free_cxo(CXO cxo) {
    send_cxo_msg(cxo, CXO_MSG_DESTROY, 0);
    cxo->magic = nullptr;
    std::free(cxo);
}

void unlink(CXO cxo) {
    WINDOW owner = cxo->global ? core().screen : cxo->owner;
    if (!owner) return;
    for (CXO* link = &owner->cxo_chain; *link; link = &(*link)->next) {
        if (*link == cxo) {
            // cxo->next stays, so a handler that destroyed itself can still pass the event on.
            *link = cxo->next;
            return;
        }
    }
}

// Finds the first CXO from `from` on (through the global chain into win's own) taking type.
CXO find_taker(WINDOW win, CXO from, bool in_global, int32_t type) {
    for (CXO c = from;; c = c->next) {
        if (!c) {
            if (!in_global || !win || win == core().screen) return nullptr;
            in_global = false;
            c = win->cxo_chain;
            if (!c) return nullptr;
        }
        if (c->valid && (c->event_mask & EM_BIT(type))) return c;
    }
}

int32_t call_window_handler(WINDOW win, EVENT* ev) {
    if (!win || !win->handler) return -1;
    bool wanted = ev->type < 32 && (win->event_mask & EM_BIT(ev->type));
    // Cleared before the call: after E_DESTROY nothing more may reach the handler.
    if (ev->type == E_DESTROY) win->event_mask = 0;
    return wanted ? win->handler(win, ev) : -1;
}

} // namespace

CXO wynv_cxo_create(WINDOW owner, intptr_t create_data, int16_t position, CXO_HANDLER handler,
                    EVENT_MASK mask, const char* class_name, intptr_t app_data) {
    if (!core_win_alive(owner) || !handler) return nullptr;
    auto* cxo = static_cast<CXO>(std::calloc(1, sizeof(struct s_cxo)));
    if (!cxo) return nullptr;
    cxo->magic = cxo_magic;
    cxo->owner = owner;
    cxo->class_id = register_class(class_name);
    cxo->app_data = app_data;
    cxo->handler = handler;
    cxo->event_mask = mask;
    cxo->create_data = create_data;
    cxo->valid = 1;
    cxo->global = owner == core().screen ? 1 : 0;
    CXO* link = &owner->cxo_chain;
    if (position != 0)
        while (*link) link = &(*link)->next;
    cxo->next = *link;
    *link = cxo;
    send_cxo_msg(cxo, CXO_MSG_CREATE, create_data);
    return cxo;
}

void wynv_cxo_destroy(CXO cxo) {
    if (!is_live(cxo) || !cxo->valid) return;
    unlink(cxo);
    cxo->valid = 0;
    core().cxo_free.push_back(cxo);
    if (cxo->busy < 1 && core().dispatch_depth == 0) cxo_reap();
}

void cxo_reap() {
    auto& pending = core().cxo_free;
    // Freeing calls handlers, which may destroy further CXOs: take one at a time.
    for (size_t i = 0; i < pending.size();) {
        CXO cxo = pending[i];
        if (cxo->busy >= 1) {
            ++i;
            continue;
        }
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
        free_cxo(cxo);
    }
}

void cxo_destroy_chain(WINDOW win) {
    while (CXO cxo = win->cxo_chain) wynv_cxo_destroy(cxo);
}

int32_t wynv_cxo_call_next(WINDOW win, CXO cxo, EVENT* ev) {
    if (!ev) return -1;
    if (cxo && !is_live(cxo)) return -1;
    if (!win) win = cxo ? cxo->owner : nullptr;
    if (!win) return -1;
    CoreState& state = core();
    CXO start;
    bool in_global;
    if (!cxo) {
        in_global = state.screen != nullptr && win != state.screen;
        start = in_global ? state.screen->cxo_chain : win->cxo_chain;
    } else {
        in_global = cxo->global != 0;
        start = cxo->next;
    }
    CXO taker =
        (ev->type >= 0 && ev->type < 32) ? find_taker(win, start, in_global, ev->type) : nullptr;
    if (!taker) return call_window_handler(win, ev);

    ++taker->busy;
    WINDOW saved_owner = taker->owner;
    if (taker->global) taker->owner = win;
    int32_t result = taker->handler(taker, ev);
    if (taker->global) taker->owner = saved_owner;
    --taker->busy;
    if (!taker->valid && taker->busy < 1) {
        auto& pending = state.cxo_free;
        auto it = std::find(pending.begin(), pending.end(), taker);
        if (it != pending.end()) pending.erase(it);
        free_cxo(taker);
    }
    return result;
}

int32_t wynv_cxo_dispatch_msg(CXO cxo, int32_t msg, intptr_t data) {
    if (!is_live(cxo) || !cxo->valid) return -1;
    return send_cxo_msg(cxo, msg, data);
}

BOOLEAN wynv_cxo_is_valid(CXO cxo) {
    return is_live(cxo) && cxo->valid ? TRUE : FALSE;
}

BOOLEAN wynv_cxo_get_class_name(CXO cxo, char* buffer, size_t size) {
    if (!is_live(cxo) || !buffer || size == 0) return FALSE;
    const auto& classes = core().cxo_classes;
    const std::string& name = classes.at(static_cast<size_t>(cxo->class_id));
    size_t n = std::min(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return TRUE;
}

CXO wynv_win_get_cxo(WINDOW win, const char* class_name) {
    if (!core_win_alive(win) || !class_name) return nullptr;
    const auto& classes = core().cxo_classes;
    for (CXO c = win->cxo_chain; c; c = c->next)
        if (classes[static_cast<size_t>(c->class_id)] == class_name) return c;
    return nullptr;
}

int32_t wynv_win_list_cxos(WINDOW win, CXO* out, int32_t max) {
    if (!core_win_alive(win)) return 0;
    int32_t count = 0;
    for (CXO c = win->cxo_chain; c; c = c->next, ++count)
        if (out && count < max) out[count] = c;
    return count;
}
