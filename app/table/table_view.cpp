// The table control's view: creation and destruction, the page, scroll bars, scrolling, cursor
// moves, mouse and keys.
#include <algorithm>
#include <vector>

#include "table/properties.h"
#include "table/table_model.h"

namespace {

// Room a window's own scroll bar takes, less the one pixel the bars share with the edge.
constexpr int16_t scroll_bar_room = 16;

bool has_vbar(const table_model& m) {
    return m.create_flags & WSF_VSCROLL;
}
bool has_hbar(const table_model& m) {
    return m.create_flags & WSF_HSCROLL;
}

int32_t text_top(const table_model& m) {
    return m.props.heading_height;
}

void create_model(WINDOW ctl) {
    table_model* m = custom_ctl_model<table_model>(ctl);
    m->create_flags = wyn_vobj_get_flags(ctl);
    const bool colour = wyn_vobj_get_attr(nullptr, ATTR_HAS_COLOR) != 0;
    if (!colour) {
        m->props.rule_color = m->props.heading_color = m->props.text_color = table_black;
        m->props.back_color = table_white;
    }
    m->props.heading_font = wyn_font_create();
    if (m->props.heading_font) {
        wyn_font_set_family(m->props.heading_font, "times");
        wyn_font_set_style(m->props.heading_font, FS_BOLD);
        wyn_font_set_size(m->props.heading_font, 12);
    }
    m->props.body_font = wyn_font_create();
    if (m->props.body_font) {
        wyn_font_set_family(m->props.body_font, "times");
        wyn_font_set_size(m->props.body_font, 12);
    }
    table_build_fonts(*m);
    table_resize_buffer(*m, 1);
    m->total_width = 3000;
    table_measure(ctl, *m);
    table_compute_page(ctl, *m);
    table_clear(ctl);
}

void destroy_model(WINDOW ctl) {
    table_model* m = custom_ctl_existing_model<table_model>(ctl);
    if (!m || m->destroyed) return;
    m->destroyed = true;
    if (wyn_font_is_valid(m->props.heading_font)) wyn_font_destroy(m->props.heading_font);
    if (wyn_font_is_valid(m->props.body_font)) wyn_font_destroy(m->props.body_font);
    table_free_fonts(*m);
    m->slots.clear();
    if (m->props.line_text) {
        int16_t attribute = 0;
        m->props.line_text(ctl, m, -1, &attribute);
    }
    m->props.heading.clear();
}

int32_t line_at(const table_model& m, int16_t y) {
    return m.first_visible + (y - text_top(m)) / std::max(1, m.props.line_height);
}

// Selection by a click or drag on line (multiple: range from the anchor when extending).
void select_range(WINDOW ctl, table_model& m, int32_t line) {
    const int32_t lo = std::min(m.anchor, line), hi = std::max(m.anchor, line);
    // Every selected line outside the new range is deselected, then the range selected; only
    // the slots and the side list can hold selected lines, so a long table costs no more.
    std::vector<int32_t> outside;
    for (const table_slot& s : m.slots)
        if (s.line >= 0 && (s.state & 1) && (s.line < lo || s.line > hi)) outside.push_back(s.line);
    for (int32_t l : m.marked)
        if (l < lo || l > hi) outside.push_back(l);
    if (m.single_sel >= 0 && (m.single_sel < lo || m.single_sel > hi)) outside.push_back(m.single_sel);
    for (int32_t l : outside) table_set_line_state(ctl, m, l, 0);
    for (int32_t l = lo; l <= hi; ++l) table_set_line_state(ctl, m, l, 1);
    m.sel_end = line;
}

void click(WINDOW ctl, table_model& m, const EVENT& ev) {
    const int32_t line = line_at(m, ev.v.mouse.where.v);
    if (ev.v.mouse.where.v < text_top(m) || line < 0 || line >= m.line_count) return;
    m.cursor = line;
    const bool multi = m.props.flags & TF_MULTI_SELECT;
    if (multi && ev.v.mouse.shift && m.anchor >= 0) {
        select_range(ctl, m, line);
    } else if (multi && ev.v.mouse.control) {
        table_set_line_state(ctl, m, line, (table_line_state(ctl, m, line) & 1) ? 0 : 1);
        m.anchor = m.sel_end = line;
    } else {
        if (multi) table_deselect_all(ctl, m);
        table_set_line_state(ctl, m, line, 1);
        m.anchor = m.sel_end = line;
    }
    m.dragging = true;
    wyn_win_trap_pointer(ctl);
}

void drag(WINDOW ctl, table_model& m, const EVENT& ev) {
    if (!m.dragging) return;
    const int16_t y = ev.v.mouse.where.v;
    if (y < text_top(m)) table_scroll_to(ctl, m, m.first_visible - 1);
    else if (y >= text_top(m) + m.page_lines * m.props.line_height)
        table_scroll_to(ctl, m, m.first_visible + 1);
    const int32_t line = std::clamp(line_at(m, std::max<int16_t>(y, int16_t(text_top(m)))),
                                    m.first_visible,
                                    std::min(m.line_count, m.first_visible + m.page_lines) - 1);
    if (line < 0 || line == m.cursor) return;
    m.cursor = line;
    if (m.props.flags & TF_MULTI_SELECT) {
        if (m.anchor < 0) m.anchor = line;
        select_range(ctl, m, line);
    } else {
        table_set_line_state(ctl, m, line, 1);
    }
}

void key(WINDOW ctl, table_model& m, const EVENT& ev) {
    if (!ev.v.chr.virtual_key) return;
    const bool ctrl = ev.v.chr.control, shift = ev.v.chr.shift;
    const bool select = m.props.flags & TF_SELECT;
    const int32_t base = m.cursor >= 0 ? m.cursor : m.first_visible;
    RCT client{};
    wyn_vobj_get_client_rect(ctl, &client);
    const int32_t client_width = client.right - client.left;
    switch (ev.v.chr.ch) {
    case KEY_UP:
    case KEY_DOWN: {
        const int32_t step = ev.v.chr.ch == KEY_UP ? -1 : 1;
        if (select) table_move_cursor(ctl, m, (m.cursor >= 0 ? m.cursor : m.first_visible - (step > 0)) + step, shift, false);
        else table_scroll_to(ctl, m, m.first_visible + step);
        break;
    }
    case KEY_PAGE_UP:
    case KEY_PAGE_DOWN: {
        const int32_t step = ev.v.chr.ch == KEY_PAGE_UP ? -1 : 1;
        if (ctrl) table_hscroll_to(ctl, m, m.h_offset + step * client_width, false);
        else if (select) table_move_cursor(ctl, m, base + step * m.page_lines, shift, false);
        else table_scroll_to(ctl, m, m.first_visible + step * std::max(1, m.page_lines - 1));
        break;
    }
    case KEY_LEFT:
    case KEY_WORD_LEFT:
        table_hscroll_to(ctl, m, m.h_offset - m.props.horz_step, false);
        break;
    case KEY_RIGHT:
    case KEY_WORD_RIGHT:
        table_hscroll_to(ctl, m, m.h_offset + m.props.horz_step, m.props.flags & TF_APPENDED);
        break;
    case KEY_HOME:
    case KEY_LINE_HOME:
    case KEY_END:
    case KEY_LINE_END: {
        const bool end = ev.v.chr.ch == KEY_END || ev.v.chr.ch == KEY_LINE_END;
        if (ctrl) {
            const int32_t line = end ? m.line_count - 1 : table_least_line(m);
            if (select) table_move_cursor(ctl, m, line, shift, false);
            else table_scroll_to(ctl, m, end ? table_most_first(m) : line);
        } else {
            table_hscroll_to(ctl, m, end ? m.h_max : 0, false);
        }
        break;
    }
    default:
        break;
    }
}

void scroll(WINDOW ctl, table_model& m, const EVENT& ev, bool vertical) {
    RCT client{};
    wyn_vobj_get_client_rect(ctl, &client);
    const int32_t width = client.right - client.left;
    const int32_t what = ev.v.scroll.what;
    if (vertical) {
        if (!has_vbar(m)) return;
        const int32_t page = std::max(1, m.page_lines - 1);
        switch (what) {
        case SC_LINE_UP: table_scroll_to(ctl, m, m.first_visible - 1); break;
        case SC_LINE_DOWN: table_scroll_to(ctl, m, m.first_visible + 1); break;
        case SC_PAGE_UP: table_scroll_to(ctl, m, m.first_visible - page); break;
        case SC_PAGE_DOWN: table_scroll_to(ctl, m, m.first_visible + page); break;
        case SC_THUMB:
        case SC_THUMB_DRAG: table_scroll_to(ctl, m, table_thumb_line(m, ev.v.scroll.pos)); break;
        default: break;
        }
        return;
    }
    if (!has_hbar(m)) return;
    const bool appended = m.props.flags & TF_APPENDED;
    switch (what) {
    case SC_LINE_UP: table_hscroll_to(ctl, m, m.h_offset - m.props.horz_step, false); break;
    case SC_LINE_DOWN: table_hscroll_to(ctl, m, m.h_offset + m.props.horz_step, appended); break;
    case SC_PAGE_UP: table_hscroll_to(ctl, m, m.h_offset - width, false); break;
    case SC_PAGE_DOWN: table_hscroll_to(ctl, m, m.h_offset + width, false); break;
    case SC_THUMB:
    case SC_THUMB_DRAG: table_hscroll_to(ctl, m, ev.v.scroll.pos, false); break;
    default: break;
    }
}

} // namespace

int32_t table_thumb_pos(const table_model& m) {
    const int32_t least = table_least_line(m), most = table_most_first(m);
    if (most <= least) return 0;
    return int32_t(int64_t(m.first_visible - least) * 200 / (most - least));
}

int32_t table_thumb_line(const table_model& m, int32_t pos) {
    const int32_t least = table_least_line(m), most = table_most_first(m);
    pos = std::clamp(pos, 0, 200);
    return least + int32_t(int64_t(most - least) * pos / 200);
}

void table_compute_page(WINDOW ctl, table_model& m) {
    RCT client{};
    wyn_vobj_get_client_rect(ctl, &client);
    const int32_t height = client.bottom - client.top - m.props.heading_height;
    m.page_lines = std::max(1, height / std::max(1, m.props.line_height));
    const int32_t width = client.right - client.left;
    m.h_max = std::max(0, m.total_width - width);
    m.h_offset = std::clamp(m.h_offset, 0, std::max(m.h_offset, m.h_max));
}

void table_update_bars(WINDOW ctl, table_model& m) {
    if (m.suspended) return;
    if (has_vbar(m)) {
        wyn_sbar_set_range(ctl, SCROLL_VERT, 0, 200);
        wyn_sbar_set_pos(ctl, SCROLL_VERT, table_thumb_pos(m));
    }
    if (has_hbar(m)) {
        wyn_sbar_set_range(ctl, SCROLL_HORZ, 0, std::max(1, m.h_max));
        wyn_sbar_set_pos(ctl, SCROLL_HORZ, std::min(m.h_offset, std::max(1, m.h_max)));
    }
}

void table_invalidate(WINDOW ctl, table_model& m) {
    if (!m.suspended) wyn_dwin_invalidate_rect(ctl, nullptr);
}

void table_invalidate_line(WINDOW ctl, table_model& m, int32_t line) {
    if (m.suspended || line < m.first_visible || line > m.first_visible + m.page_lines) return;
    const int32_t top = m.props.heading_height + (line - m.first_visible) * m.props.line_height;
    const RCT box{int16_t(std::min(top, 32767)), 0,
                  int16_t(std::min(top + m.props.line_height, 32767)), 10000};
    wyn_dwin_invalidate_rect(ctl, &box);
}

void table_scroll_to(WINDOW ctl, table_model& m, int32_t first) {
    first = std::clamp(first, table_least_line(m), table_most_first(m));
    if (first == m.first_visible) return;
    m.first_visible = first;
    table_invalidate(ctl, m);
    table_update_bars(ctl, m);
}

void table_hscroll_to(WINDOW ctl, table_model& m, int32_t offset, bool unlimited) {
    offset = std::max(0, unlimited ? offset : std::min(offset, std::max(m.h_max, 0)));
    if (offset == m.h_offset) return;
    m.h_offset = offset;
    table_invalidate(ctl, m);
    table_update_bars(ctl, m);
}

void table_move_cursor(WINDOW ctl, table_model& m, int32_t line, bool shift, bool centre) {
    if (m.line_count <= 0) return;
    line = std::clamp(line, table_least_line(m), m.line_count - 1);
    if (line != m.cursor) {
        m.cursor = line;
        if (m.props.flags & TF_SELECT) {
            if (shift && (m.props.flags & TF_MULTI_SELECT) && m.anchor >= 0) {
                select_range(ctl, m, line);
            } else {
                if (m.props.flags & TF_MULTI_SELECT) table_deselect_all(ctl, m);
                table_set_line_state(ctl, m, line, 1);
                m.anchor = m.sel_end = line;
            }
        }
    }
    if (line >= m.first_visible && line < m.first_visible + m.page_lines && !centre) return;
    if (centre) table_scroll_to(ctl, m, line - m.page_lines / 2);
    else if (line < m.first_visible) table_scroll_to(ctl, m, line);
    else table_scroll_to(ctl, m, line - m.page_lines + 1);
}

int32_t table_handler(WINDOW ctl, EVENT* ev) {
    if (ev->type == E_CREATE) {
        create_model(ctl);
        return 0;
    }
    table_model* m = custom_ctl_existing_model<table_model>(ctl);
    if (!m || m->destroyed) return 0;
    switch (ev->type) {
    case E_DESTROY: destroy_model(ctl); break;
    case E_UPDATE:
        if (!m->suspended) table_draw(ctl, *m);
        break;
    case E_SIZE:
        table_compute_page(ctl, *m);
        m->first_visible = std::clamp(m->first_visible, table_least_line(*m), table_most_first(*m));
        table_update_bars(ctl, *m);
        table_invalidate(ctl, *m);
        break;
    case E_FOCUS:
        table_notify(ctl, ev->v.focus.active ? TN_FOCUS_GAINED : TN_FOCUS_LOST, 0, 0);
        break;
    case E_MOUSE_DOWN:
        if (m->props.flags & TF_SELECT) click(ctl, *m, *ev);
        break;
    case E_MOUSE_MOVE: drag(ctl, *m, *ev); break;
    case E_MOUSE_UP: {
        if (!m->dragging) break;
        m->dragging = false;
        wyn_win_release_pointer();
        const int32_t line = line_at(*m, ev->v.mouse.where.v);
        if (line >= 0 && line < m->line_count && ev->v.mouse.where.v >= text_top(*m))
            table_notify(ctl, TN_MOUSE_UP, line, 0);
        break;
    }
    case E_MOUSE_DBL: {
        const int32_t line = line_at(*m, ev->v.mouse.where.v);
        if (line >= 0 && line < m->line_count && ev->v.mouse.where.v >= text_top(*m))
            table_notify(ctl, TN_DOUBLE_CLICK, line, 0);
        break;
    }
    case E_CHAR: {
        // Key repeats that arrive while a key is handled are dropped, not piled up.
        const EVENT_MASK mask = wyn_win_get_event_mask(ctl);
        wyn_win_set_event_mask(ctl, mask & ~EM_BIT(E_CHAR));
        key(ctl, *m, *ev);
        wyn_app_process_pending_events();
        if (custom_ctl_is(ctl, table_class_name)) wyn_win_set_event_mask(ctl, mask);
        break;
    }
    case E_VSCROLL: scroll(ctl, *m, *ev, true); break;
    case E_HSCROLL: scroll(ctl, *m, *ev, false); break;
    default: break;
    }
    return 0;
}

void table_prepare(int32_t count, const char* const* props, uint32_t* flags, RCT* rct) {
    *flags |= WSF_VSCROLL | WSF_HSCROLL;
    if (props_flag(count, props, "NOVERTSCROLL")) *flags &= ~WSF_VSCROLL;
    if (props_flag(count, props, "NOHORZSCROLL")) *flags &= ~WSF_HSCROLL;
    if (props_flag(count, props, "INVISIBLE")) *flags |= WSF_INVISIBLE;
    const auto size = props_pair(count, props, "SIZE");
    const auto pos = props_pair(count, props, "POS");
    RCT px = custom_ctl_to_pixels(*rct);
    if (size) {
        px.right = int16_t(std::clamp(size->first, -32768, 32767));
        px.bottom = int16_t(std::clamp(size->second, -32768, 32767));
    }
    if (pos) {
        px.left = int16_t(std::clamp(pos->first, -32768, 32767));
        px.top = int16_t(std::clamp(pos->second, -32768, 32767));
    }
    if (*flags & WSF_HSCROLL) px.bottom = int16_t(px.bottom - scroll_bar_room);
    if (*flags & WSF_VSCROLL) px.right = int16_t(px.right - scroll_bar_room);
    if (px.right <= px.left) px.right = int16_t(px.left + 1);
    if (px.bottom <= px.top) px.bottom = int16_t(px.top + 1);
    *rct = px;
}

void table_register_class() {
    custom_ctl_register_class(table_class_name, table_handler, table_prepare);
}

WINDOW table_create(int16_t id, const RCT* rct, int32_t prop_count, const char* const* props,
                    WINDOW parent, intptr_t app_value, uint32_t flags) {
    table_register_class();
    return custom_ctl_create(id, rct, prop_count, props, parent, app_value, flags,
                             table_class_name);
}

void table_resize(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_resize");
    if (!m || !(m->props.flags & TF_EDGES)) return;
    WINDOW parent = wyn_vobj_get_parent(ctl);
    RCT pc{}, outer{}, client{};
    if (!parent || !wyn_vobj_get_client_rect(parent, &pc)) return;
    wyn_vobj_get_outer_rect(ctl, &outer);
    wyn_vobj_get_client_rect(ctl, &client);
    // The client rectangle in the parent's coordinates: the outer one less the border.
    PNT corner{0, 0};
    wyn_vobj_translate_points(ctl, parent, &corner, 1);
    const int32_t border_h = (outer.right - outer.left) - (client.right - client.left);
    const int32_t border_v = (outer.bottom - outer.top) - (client.bottom - client.top);
    int32_t left = corner.h, top = corner.v;
    int32_t right = left + client.right - client.left, bottom = top + client.bottom - client.top;
    const table_properties& p = m->props;
    if (p.flags & TF_EDGE_LEFT) left = pc.left + p.edge_left;
    if (p.flags & TF_EDGE_TOP) top = pc.top + p.edge_top;
    // The control's own scroll bars lie outside its client area, so the border is always
    // kept inside the parent; a distance of 0 reaches one pixel further out.
    if (p.flags & TF_EDGE_RIGHT) right = pc.right - p.edge_right - border_h + (p.edge_right ? 0 : 1);
    if (p.flags & TF_EDGE_BOTTOM)
        bottom = pc.bottom - p.edge_bottom - border_v + (p.edge_bottom ? 0 : 1);
    right = std::max(right, left + 1);
    bottom = std::max(bottom, top + 1);
    const RCT place{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
    wyn_vobj_move(ctl, &place);
    table_compute_page(ctl, *m);
    table_update_bars(ctl, *m);
    table_invalidate(ctl, *m);
}
