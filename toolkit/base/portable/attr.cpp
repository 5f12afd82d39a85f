// The attribute store: a fixed table of 95 ids, each with an optional reader, an optional writer
// or a read-only mark, and one value cell.
#include "portable/attr.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "portable/core_state.h"
#include "portable/mem.h"
#include <wyn/errmsg.h>

namespace {

constexpr char kReportUnit[] = "vattr";

// Reports from the store name the library's internal standard codes.
constexpr WYN_MSG_ID msg_tx_native = 0x73C378;
constexpr WYN_MSG_ID msg_read_only = 0x73C37E;
constexpr WYN_MSG_ID msg_unknown = 0x73C382;

using Reader = ATTR_VALUE (*)(WINDOW win);
using Writer = void (*)(WINDOW win, ATTR_VALUE value, ATTR_VALUE& cell);

struct Entry {
    ATTR_ID id;
    Reader read = nullptr;
    Writer write = nullptr;
    bool read_only = false;
};

ATTR_VALUE read_back_color(WINDOW) {
    return native_back_color();
}
ATTR_VALUE read_screen_height(WINDOW) {
    return native_screen_height();
}
ATTR_VALUE read_screen_width(WINDOW) {
    return native_screen_width();
}

ATTR_VALUE read_native_window(WINDOW win) {
    if (!core_win_alive(win)) return 0;
    if (win->state & WS_TEXT_EDIT) {
        wynv_errmsg_dispatch(win, WYN_SEV_ERROR, msg_tx_native, kReportUnit, __LINE__);
        return 0;
    }
    if (win->native) return reinterpret_cast<ATTR_VALUE>(win->native);
    WINDOW task = core().task;
    if (win->type == WT_DOC && task && task->native)
        return reinterpret_cast<ATTR_VALUE>(task->native);
    return 0;
}

ATTR_VALUE read_sys_keys(WINDOW win) {
    return core_win_alive(win) ? win->sys_keys : 0;
}

void write_sys_keys(WINDOW win, ATTR_VALUE value, ATTR_VALUE&) {
    if (core_win_alive(win)) win->sys_keys = value ? TRUE : FALSE;
}

void write_low_memory(WINDOW, ATTR_VALUE value, ATTR_VALUE& cell) {
    cell = value;
    portable_mem_set_low_memory_fn(reinterpret_cast<WYN_LOW_MEMORY_FN>(value));
}

// Ids come in blocks; the ones not named anywhere are kept and returned without effect.
constexpr std::array<std::pair<ATTR_ID, ATTR_ID>, 8> id_blocks{{{100, 107},
                                                                {200, 207},
                                                                {300, 303},
                                                                {400, 409},
                                                                {600, 607},
                                                                {700, 719},
                                                                {800, 804},
                                                                {10000, 10031}}};

std::array<Entry, WYN_ATTR_COUNT> build_table() {
    std::array<Entry, WYN_ATTR_COUNT> table{};
    size_t n = 0;
    for (auto [first, last] : id_blocks)
        for (ATTR_ID id = first; id <= last; ++id) table[n++].id = id;
    auto set = [&](ATTR_ID id, Reader read, Writer write, bool read_only) {
        for (auto& e : table)
            if (e.id == id) e = Entry{id, read, write, read_only};
    };
    set(ATTR_BACK_COLOR, read_back_color, nullptr, true);
    set(ATTR_SCREEN_HEIGHT, read_screen_height, nullptr, true);
    set(ATTR_SCREEN_WIDTH, read_screen_width, nullptr, true);
    set(ATTR_NATIVE_WINDOW, read_native_window, nullptr, true);
    set(ATTR_SYS_KEYS, read_sys_keys, write_sys_keys, false);
    set(ATTR_LOW_MEMORY_HOOK, nullptr, write_low_memory, false);
    return table;
}

const std::array<Entry, WYN_ATTR_COUNT> table = build_table();

int index_of(ATTR_ID id) {
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const Entry& e, ATTR_ID key) { return e.id < key; });
    return it != table.end() && it->id == id ? static_cast<int>(it - table.begin()) : -1;
}

} // namespace

bool core_attr_init() {
    CoreState& state = core();
    if (!state.attr_cells)
        state.attr_cells =
            static_cast<ATTR_VALUE*>(std::calloc(WYN_ATTR_COUNT, sizeof(ATTR_VALUE)));
    if (!state.attr_cells) return false;
    std::fill_n(state.attr_cells, WYN_ATTR_COUNT, 0);
    core_set_attr(103, 1);
    core_set_attr(708, 1);
    core_set_attr(10022, 1);
    core_set_attr(ATTR_TASK_FLAGS, 131);
    core_set_attr(ATTR_TIMER_RESOLUTION, 1000);
    return true;
}

void core_attr_free() {
    CoreState& state = core();
    std::free(state.attr_cells);
    state.attr_cells = nullptr;
}

ATTR_VALUE core_attr(ATTR_ID id) {
    int i = index_of(id);
    ATTR_VALUE* cells = core().attr_cells;
    return i >= 0 && cells ? cells[i] : 0;
}

void core_set_attr(ATTR_ID id, ATTR_VALUE value) {
    int i = index_of(id);
    ATTR_VALUE* cells = core().attr_cells;
    if (i >= 0 && cells) cells[i] = value;
}

ATTR_VALUE wynk_vobj_get_attr(WINDOW win, ATTR_ID id) {
    int i = index_of(id);
    if (i < 0) {
        wynv_errmsg_dispatch(win, WYN_SEV_ERROR, msg_unknown, kReportUnit, __LINE__);
        return 0;
    }
    if (table[i].read) return table[i].read(win);
    ATTR_VALUE* cells = core().attr_cells;
    return cells ? cells[i] : 0;
}

BOOLEAN wynv_vobj_set_attr(WINDOW win, ATTR_ID id, ATTR_VALUE value) {
    int i = index_of(id);
    if (i < 0 || table[i].read_only) {
        wynv_errmsg_dispatch(win, WYN_SEV_ERROR, i < 0 ? msg_unknown : msg_read_only, kReportUnit,
                             __LINE__);
        return FALSE;
    }
    ATTR_VALUE* cells = core().attr_cells;
    if (!cells) return FALSE;
    if (table[i].write)
        table[i].write(win, value, cells[i]);
    else
        cells[i] = value;
    return TRUE;
}
