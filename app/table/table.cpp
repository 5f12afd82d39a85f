// The table control's model: its line slots, selection and the operations the application calls.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "table/table_model.h"

table_model* table_model_of(WINDOW ctl, const char* op) {
    if (custom_ctl_is(ctl, table_class_name)) {
        table_model* m = custom_ctl_model<table_model>(ctl);
        if (m && !m->destroyed) return m;
    }
    wyn_dm_post_error("%s called with invalid window.", op);
    return nullptr;
}

int32_t table_least_line(const table_model& m) {
    if (!(m.props.flags & TF_RING)) return 0;
    return std::max<int32_t>(0, m.line_count - int32_t(m.slots.size()));
}

int32_t table_most_first(const table_model& m) {
    return std::max(table_least_line(m), m.line_count - m.page_lines);
}

table_slot* table_slot_of(table_model& m, int32_t line) {
    if (m.slots.empty() || line < 0) return nullptr;
    return &m.slots[size_t(line) % m.slots.size()];
}

void table_resize_buffer(table_model& m, int32_t n) {
    n = std::clamp(n, 1, table_max_buffer_lines);
    std::vector<table_slot> next(static_cast<size_t>(n));
    for (table_slot& s : m.slots)
        if (s.line >= 0) {
            table_slot& to = next[size_t(s.line) % next.size()];
            if (to.line < s.line) to = std::move(s);
        }
    m.slots = std::move(next);
    m.props.buffer_lines = n;
}

bool table_store(table_model& m, int32_t line, const char* text, bool has_text) {
    if (m.slots.empty() || line < 0) return false;
    if ((m.props.flags & TF_GROW) && line >= int32_t(m.slots.size())) {
        static bool told = false;
        const int32_t want =
            std::min(int32_t(m.slots.size()) + table_grow_step, table_max_buffer_lines);
        if (line >= want) {
            if (!told) {
                told = true;
                wyn_dm_post_error("Can't expand table buffer.");
            }
            return false;
        }
        table_resize_buffer(m, want);
    }
    table_slot* s = table_slot_of(m, line);
    if (s->line != line) {
        // The selection moves between slot and side list with the line, so that a line
        // pushed out of the ring keeps its state.
        if (s->line >= 0 && (s->state & 1)) m.marked.insert(s->line);
        s->state = m.marked.erase(line) ? 1 : 0;
    }
    s->line = line;
    s->has_text = has_text;
    s->text = has_text ? text : "";
    return true;
}

void table_notify(WINDOW ctl, int16_t code, int32_t line, uint8_t state) {
    if (!custom_ctl_notify(ctl, code, line, state)) wyn_dm_post_error("WYNCM_notify failed");
}

uint8_t table_line_state(WINDOW ctl, table_model& m, int32_t line) {
    if (!(m.props.flags & TF_SELECT)) return 0;
    if (!(m.props.flags & TF_MULTI_SELECT)) return line == m.single_sel ? 1 : 0;
    table_slot* s = table_slot_of(m, line);
    if (s && s->line == line) return s->state & 3;
    if (m.props.line_sel) return uint8_t(m.props.line_sel(ctl, &m, line) & 3);
    return m.marked.count(line) ? 1 : 0;
}

void table_set_line_state(WINDOW ctl, table_model& m, int32_t line, uint8_t state) {
    if (line < 0 || line >= m.line_count) return;
    state &= 3;
    if (table_line_state(ctl, m, line) == state) return;
    if (!(m.props.flags & TF_MULTI_SELECT)) {
        if (state & 1) {
            if (m.single_sel >= 0 && m.single_sel != line) {
                const int32_t old = m.single_sel;
                m.single_sel = -1;
                table_notify(ctl, TN_SEL_CHANGED, old, 0);
                table_invalidate_line(ctl, m, old);
            }
            m.single_sel = line;
        } else if (m.single_sel == line) {
            m.single_sel = -1;
        }
    } else {
        table_slot* s = table_slot_of(m, line);
        if (s && s->line == line) {
            s->state = uint8_t((s->state & ~3) | state);
        } else {
            // A line without its slot keeps its state in a side list, so that selecting
            // more lines than the buffer holds loses none of them.
            if (state & 1)
                m.marked.insert(line);
            else
                m.marked.erase(line);
        }
    }
    table_notify(ctl, TN_SEL_CHANGED, line, state);
    table_invalidate_line(ctl, m, line);
}

void table_deselect_all(WINDOW ctl, table_model& m) {
    m.single_sel = -1;
    for (table_slot& s : m.slots) s.state &= uint8_t(~3);
    m.marked.clear();
    m.next_sel_pos = 0;
    table_invalidate(ctl, m);
    table_notify(ctl, TN_DESELECT_ALL, 0, 0);
}

void table_clear(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_clear");
    if (!m) return;
    m->line_count = 0;
    for (table_slot& s : m->slots) s = table_slot{};
    m->anchor = m->sel_end = m->single_sel = -1;
    m->cursor = -1;
    m->first_visible = 0;
    m->h_offset = 0;
    m->props.heading.clear();
    m->props.heading_height = 0;
    m->props.flags &= ~uint32_t(TF_SEPARATORS | TF_NO_CLIP | TF_GROW | TF_RING);
    m->props.flags |= TF_CALLBACK;
    if (!m->suspended) {
        table_compute_page(ctl, *m);
        table_invalidate(ctl, *m);
        table_update_bars(ctl, *m);
    }
    table_deselect_all(ctl, *m);
}

void table_display(WINDOW ctl, int32_t line_count, table_line_fn line_text, table_sel_fn sel) {
    table_model* m = table_model_of(ctl, "table_display");
    if (!m) return;
    m->line_count = std::max<int32_t>(0, line_count);
    m->props.line_text = line_text;
    m->props.line_sel = sel;
    if ((m->props.flags & TF_GROW) && int32_t(m->slots.size()) < m->line_count)
        table_resize_buffer(*m, m->line_count);
    else
        for (table_slot& s : m->slots) s = table_slot{};
    m->marked.clear();
    m->first_visible = std::clamp(m->first_visible, table_least_line(*m), table_most_first(*m));
    if (!m->suspended) {
        table_invalidate(ctl, *m);
        table_update_bars(ctl, *m);
    }
}

void table_printf(WINDOW ctl, const char* format, ...) {
    table_model* m = table_model_of(ctl, "table_printf");
    if (!m || !format) return;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int len = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(size_t(std::max(len, 0)), '\0');
    if (len > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);

    m->props.heading.clear();
    m->props.heading_height = 0;
    if (m->props.flags & TF_CALLBACK) m->props.flags = (m->props.flags & ~uint32_t(TF_CALLBACK)) | TF_RING;
    m->props.flags = (m->props.flags | TF_NO_CLIP | TF_APPENDED) & ~uint32_t(TF_SEPARATORS);
    m->props.line_text = nullptr;
    // Widths of 4 characters each, as table_widths would convert them.
    int32_t chars[table_max_widths];
    std::fill(std::begin(chars), std::end(chars), 4);
    m->widths_given = 0;
    const bool was_suspended = m->suspended;
    m->suspended = true;
    table_widths(ctl, table_max_widths, chars, FALSE);
    m->suspended = was_suspended;
    if (int32_t(m->slots.size()) < table_printf_min_lines)
        table_resize_buffer(*m, table_printf_min_lines);

    const int32_t first_new = m->line_count;
    size_t start = 0;
    for (;;) {
        const size_t nl = text.find('\n', start);
        const std::string piece = text.substr(start, nl == std::string::npos ? nl : nl - start);
        table_store(*m, m->line_count, piece.c_str(), true);
        ++m->line_count;
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    const int32_t target = std::max(m->line_count - m->page_lines, table_least_line(*m));
    if (m->suspended) {
        m->first_visible = target;
        return;
    }
    table_compute_page(ctl, *m);
    if (target == m->first_visible) {
        for (int32_t line = first_new; line < m->line_count; ++line)
            table_invalidate_line(ctl, *m, line);
    } else {
        m->first_visible = target;
        table_invalidate(ctl, *m);
    }
    table_update_bars(ctl, *m);
    wyn_dwin_update(ctl);
}

void table_headings(WINDOW ctl, const char* text) {
    table_model* m = table_model_of(ctl, "table_headings");
    if (!m) return;
    const std::string next = text ? text : "";
    if (next == m->props.heading && (text != nullptr) == (m->props.heading_height > 0)) return;
    m->props.heading = next;
    if (text) m->props.flags |= TF_SEPARATORS;
    table_compute_heading(ctl, *m);
    table_compute_page(ctl, *m);
    if (!m->suspended) table_invalidate(ctl, *m);
}

void table_widths(WINDOW ctl, int32_t count, const int32_t* widths, BOOLEAN in_pixels) {
    table_model* m = table_model_of(ctl, "table_widths");
    if (!m) return;
    count = std::clamp(count, 0, table_max_widths);
    if (widths && count > 0) {
        int32_t px[table_max_widths] = {};
        int32_t avg = 1;
        if (!in_pixels) {
            static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
            wyn_dwin_set_font(ctl, m->props.body_font);
            avg = std::max(1, wyn_dwin_get_text_width(ctl, alphabet, 52) / 52);
        }
        for (int32_t i = 0; i < count; ++i) px[i] = in_pixels ? widths[i] : widths[i] * avg;
        if (count == m->widths_given && std::equal(px, px + count, m->props.widths)) return;
        std::copy(px, px + count, m->props.widths);
        m->widths_given = count;
    }
    table_compute_total(*m);
    if (!m->suspended) {
        table_update_bars(ctl, *m);
        table_invalidate(ctl, *m);
    }
}

bool table_get_properties(WINDOW ctl, table_properties* props) {
    table_model* m = table_model_of(ctl, "table_get_properties");
    if (!m || !props) return false;
    *props = m->props;
    return true;
}

bool table_set_properties(WINDOW ctl, const table_properties* props) {
    table_model* m = nullptr;
    if (custom_ctl_is(ctl, table_class_name)) m = custom_ctl_model<table_model>(ctl);
    if (!m || m->destroyed || !props) {
        wyn_dm_post_error("table_set_properties called with invalid window/props.");
        return false;
    }
    if (props->release != 0) {
        wyn_dm_post_error("table_set_properties called with an R3 properties structure.");
        return false;
    }
    table_deselect_all(ctl, *m);
    FONT heading = m->props.heading_font, body = m->props.body_font;
    const int32_t old_lines = int32_t(m->slots.size());
    const bool font_table_given = props->font_count > 0;
    if (font_table_given) table_free_fonts(*m);
    m->props = *props;
    // The control keeps fonts of its own; the caller's stay the caller's.
    m->props.heading_font = wyn_font_is_valid(props->heading_font)
                                ? wyn_font_copy(heading, props->heading_font, FA_ALL & ~FA_WIN)
                                : heading;
    m->props.body_font = wyn_font_is_valid(props->body_font)
                             ? wyn_font_copy(body, props->body_font, FA_ALL & ~FA_WIN)
                             : body;
    if (!font_table_given && m->built_fonts) {
        m->props.font_count = int32_t(m->own_fonts.size());
        m->props.fonts = m->own_fonts.data();
    }
    m->props.buffer_lines = std::clamp(m->props.buffer_lines, 1, table_max_buffer_lines);
    if (m->props.buffer_lines != old_lines) table_resize_buffer(*m, m->props.buffer_lines);
    table_compute_total(*m);
    table_measure(ctl, *m);
    const std::string heading_text = m->props.heading;
    m->props.heading_height = 0;
    if (!heading_text.empty()) table_compute_heading(ctl, *m);
    if (m->props.font_count <= 0) table_build_fonts(*m);
    table_compute_page(ctl, *m);
    m->first_visible = std::clamp(m->first_visible, table_least_line(*m), table_most_first(*m));
    if (!m->suspended) {
        table_invalidate(ctl, *m);
        table_update_bars(ctl, *m);
    }
    return true;
}

void table_set_sel(WINDOW ctl, int32_t line, int16_t state) {
    table_model* m = table_model_of(ctl, "table_set_sel");
    if (!m) return;
    if (line >= 0) {
        if (line < m->line_count) table_set_line_state(ctl, *m, line, uint8_t(state));
        return;
    }
    if (state == 0) {
        table_deselect_all(ctl, *m);
        return;
    }
    for (int32_t l = 0; l < m->line_count; ++l) table_set_line_state(ctl, *m, l, uint8_t(state));
}

void table_suspend(WINDOW ctl) {
    if (table_model* m = table_model_of(ctl, "table_suspend")) m->suspended = true;
}

void table_resume(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_resume");
    if (!m) return;
    m->suspended = false;
    table_compute_page(ctl, *m);
    table_invalidate(ctl, *m);
    table_update_bars(ctl, *m);
    wyn_app_process_pending_events();
}

namespace {

const char* selected_from(WINDOW ctl, table_model& m, int32_t from, int32_t* line) {
    for (int32_t l = std::max(0, from); l < m.line_count; ++l)
        if (table_line_state(ctl, m, l) & 1) {
            m.next_sel_pos = l + 1;
            if (line) *line = l;
            m.out = table_fetch(ctl, m, l);
            return m.out.c_str();
        }
    m.next_sel_pos = m.line_count;
    return nullptr;
}

} // namespace

const char* table_first_sel(WINDOW ctl, int32_t* line) {
    table_model* m = table_model_of(ctl, "table_first_sel");
    return m ? selected_from(ctl, *m, 0, line) : nullptr;
}

const char* table_next_sel(WINDOW ctl, int32_t* line) {
    table_model* m = table_model_of(ctl, "table_next_sel");
    return m ? selected_from(ctl, *m, m->next_sel_pos, line) : nullptr;
}

const char* table_get_line(WINDOW ctl, int32_t line) {
    table_model* m = table_model_of(ctl, "table_get_line");
    if (!m || line < 0 || line >= m->line_count) return nullptr;
    m->out = table_fetch(ctl, *m, line);
    return m->out.c_str();
}

int32_t table_line_count(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_line_count");
    return m ? m->line_count : -1;
}

int32_t table_first_visible(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_first_visible");
    return m ? m->first_visible : -1;
}

int32_t table_cursor(WINDOW ctl) {
    table_model* m = table_model_of(ctl, "table_cursor");
    return m ? m->cursor : -1;
}

void table_jump(WINDOW ctl, int32_t line, BOOLEAN centre) {
    table_model* m = table_model_of(ctl, "table_jump");
    if (!m) return;
    m->cursor = -1;
    table_move_cursor(ctl, *m, line, false, centre);
}
