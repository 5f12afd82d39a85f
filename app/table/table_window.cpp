// Copying a table's selected lines to the clipboard, and the document window that holds one
// table filling it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "table/table_model.h"

bool table_copy(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_copy");
    if (!m) return false;
    if (!wyn_cb_open(TRUE)) {
        wyn_dm_post_error("Error opening clipboard.");
        return false;
    }
    int64_t size = 0;
    std::vector<int32_t> lines;
    for (int32_t l = 0; l < m->line_count; ++l)
        if (table_line_state(ctl, *m, l) & 1) {
            lines.push_back(l);
            size += int64_t(table_fetch(ctl, *m, l).size()) + 2;
        }
    if (size + 1 > INT32_MAX) {
        wyn_dm_post_error("Cannot allocate clipboard memory.");
        wyn_cb_close();
        return false;
    }
    char* block = static_cast<char*>(wyn_cb_alloc_data(int32_t(size)));
    if (!block) {
        wyn_dm_post_error("Cannot allocate clipboard memory.");
        wyn_cb_close();
        return false;
    }
    if (size + 1 >= 65536)
        wyn_dm_post_warning("> 64K copied (%ld bytes); clipboard may contain corrupted text.",
                            long(size + 1));
    // Each line is written within the counted size, so that a line whose text changed since it
    // was counted cannot run past the block.
    int64_t at = 0;
    for (int32_t l : lines) {
        const std::string& text = table_fetch(ctl, *m, l);
        const int64_t n = std::min<int64_t>(int64_t(text.size()), size - at - 2);
        if (n < 0) break;
        std::memcpy(block + at, text.data(), size_t(n));
        at += n;
        block[at++] = '\r';
        block[at++] = '\n';
    }
    block[at] = '\0';
    bool ok = true;
    if (!wyn_cb_put_data(CB_FORMAT_TEXT, nullptr, int32_t(at), nullptr)) {
        wyn_dm_post_error("Error putting text onto clipboard.");
        ok = false;
    }
    if (!wyn_cb_close()) {
        wyn_dm_post_error("Error closing clipboard.");
        ok = false;
    }
    return ok;
}

namespace {

constexpr int16_t table_window_ctl_id = 1;
constexpr COLOR light_cyan = 0x00C0FFFF;

void enable_copy(WINDOW win) {
    wyn_menu_set_item_enabled(win, table_copy_command, wyn_vobj_get_data(win) != 0);
}

int32_t table_window_handler(WINDOW win, EVENT* ev) {
    switch (ev->type) {
    case E_CREATE: {
        RCT client{};
        wyn_vobj_get_client_rect(win, &client);
        const char* props[] = {"Table", "POS=0,0", "SIZE=1,1", "INVISIBLE"};
        WINDOW ctl = table_create(table_window_ctl_id, &client, 4, props, win, 0, 0);
        if (!ctl) return 0;
        table_properties p;
        table_get_properties(ctl, &p);
        p.flags |= TF_EDGES;
        p.edge_top = p.edge_left = p.edge_bottom = p.edge_right = 0;
        p.text_color = table_black;
        p.back_color = wyn_vobj_get_attr(nullptr, ATTR_HAS_COLOR) ? light_cyan : table_white;
        table_set_properties(ctl, &p);
        table_resize(ctl);
        wyn_vobj_set_visible(ctl, TRUE);
        if (wyn_vobj_get_data(win)) enable_copy(win);
        return 0;
    }
    case E_FOCUS:
        if (wyn_vobj_get_data(win)) enable_copy(win);
        return 0;
    case E_SIZE:
        if (WINDOW ctl = custom_ctl_find(win, table_window_ctl_id)) table_resize(ctl);
        return 0;
    case E_CLOSE:
        wyn_vobj_destroy(win);
        return 0;
    case E_COMMAND:
        if (ev->v.cmd.tag == table_copy_command) {
            if (WINDOW ctl = custom_ctl_find(win, table_window_ctl_id)) table_copy(ctl);
            return 0;
        }
        if (WINDOW task = reinterpret_cast<WINDOW>(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW)))
            return wyn_win_dispatch_event(task, ev);
        return 0;
    case E_CHAR:
        return custom_ctl_route_key(win, ev);
    default:
        return 0;
    }
}

} // namespace

WINDOW table_window_create(const RCT* rct, const char* title, int16_t menu_id) {
    WINDOW task = reinterpret_cast<WINDOW>(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    WINDOW win = wyn_win_create(WT_DOC, rct, title ? title : "", menu_id, task,
                                menu_id ? 0u : WSF_NO_MENUBAR, EM_ALL, table_window_handler, 0);
    if (!win) {
        wyn_dm_post_error("Can't open window");
        return nullptr;
    }
    WINDOW ctl = custom_ctl_find(win, table_window_ctl_id);
    if (!ctl) {
        wyn_dm_post_error("Can't access table control.");
        wyn_vobj_destroy(win);
        return nullptr;
    }
    return ctl;
}
