// The table control's line fetch, fonts and drawing: heading, rule, separators, columns with
// their escape codes, and the selection highlight.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "table/table_model.h"

namespace {

const std::string inaccessible = "<Inaccessible line.>";
const std::string other_line = "---";
const std::string no_text = "<No text.>";

const COLOR builtin_colors[] = {0x01FF0000, 0x0200FF00, 0x030000FF, 0x0400FFFF,
                                0x05FF00FF, 0x06FFFF00, 0x07000000, 0x08404040,
                                0x09808080, 0x0AC0C0C0, 0x0BFFFFFF};

struct font_choice {
    const char* family;
    uint32_t style;
    int32_t size;
};
const font_choice builtin_fonts[] = {
    {"fixed", FS_NORMAL, 8},    {"fixed", FS_NORMAL, 10},    {"times", FS_NORMAL, 8},
    {"times", FS_NORMAL, 10},   {"times", 1, 8},             {"times", 1, 10},
    {"times", 2, 8},            {"times", 2, 10},            {"helvetica", FS_NORMAL, 8},
    {"helvetica", FS_NORMAL, 10}, {"helvetica", 1, 8},       {"helvetica", 1, 10}};

const char* default_line(WINDOW, table_model* m, int32_t line, int16_t*) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Line %ld (Seq %d)", long(line), m->seq++);
    m->out = buf;
    return m->out.c_str();
}

void font_metrics(WINDOW ctl, FONT font, int32_t* leading, int32_t* ascent, int32_t* descent) {
    *leading = *ascent = *descent = 0;
    if (!wyn_font_is_valid(font)) return;
    if (!wyn_font_is_mapped(font) && !wyn_font_map(font, ctl)) return;
    wyn_font_get_metrics(font, leading, ascent, descent);
    wyn_dwin_set_font(ctl, font);
}

} // namespace

const std::string& table_fetch(WINDOW ctl, table_model& m, int32_t line) {
    table_slot* s = table_slot_of(m, line);
    if (!s) return inaccessible;
    if (s->line == line) return s->has_text ? s->text : no_text;
    const bool by_callback = m.props.flags & TF_CALLBACK;
    if (!by_callback && !((m.props.flags & TF_GROW) && s->line < 0)) return other_line;
    table_line_fn fn = m.props.line_text ? m.props.line_text : default_line;
    int16_t attribute = 0;
    const char* text = fn(ctl, &m, line, &attribute);
    const std::string copy = text ? text : "";
    if (!table_store(m, line, copy.c_str(), text != nullptr)) {
        m.out = text ? copy : no_text;
        return m.out;
    }
    s = table_slot_of(m, line);
    // The attribute may mark the line; it never drops a selection the line already has, which
    // reading the line again would otherwise lose.
    if (by_callback) s->state = uint8_t(s->state | (attribute & 3));
    return s->has_text ? s->text : no_text;
}

int32_t table_column_width(const table_model& m, int32_t column) {
    if (column >= table_max_widths || column < 0) return 100;
    const int32_t w = m.props.widths[column];
    return w < 1 ? 100 : w;
}

void table_compute_total(table_model& m) {
    const int32_t count = m.widths_given;
    int32_t total = m.props.left_margin;
    for (int32_t i = 0; i < count; ++i) total += table_column_width(m, i);
    if (count > 0) total += (count - 1) * m.props.column_gap;
    m.total_width = count > 0 ? total : 3000;
}

void table_measure(WINDOW ctl, table_model& m) {
    font_metrics(ctl, m.props.body_font, &m.leading, &m.ascent, &m.descent);
    if (!(m.props.flags & TF_FIXED_HEIGHT) || m.props.line_height < 1)
        m.props.line_height = std::max(1, m.leading + m.ascent + m.descent);
}

void table_compute_heading(WINDOW ctl, table_model& m) {
    if (m.props.heading.empty()) {
        m.props.heading_height = 0;
        return;
    }
    int32_t leading, ascent, descent;
    font_metrics(ctl, m.props.heading_font, &leading, &ascent, &descent);
    const int32_t lead = std::max(leading, 2);
    m.props.heading_height = 2 * lead + ascent + descent;
    if (m.props.flags & TF_HEADING_RULE) m.props.heading_height += lead;
}

void table_build_fonts(table_model& m) {
    if (m.built_fonts) {
        m.props.font_count = int32_t(m.own_fonts.size());
        m.props.fonts = m.own_fonts.data();
        return;
    }
    for (const font_choice& choice : builtin_fonts) {
        FONT f = wyn_font_create();
        if (!f) continue;
        wyn_font_set_family(f, choice.family);
        wyn_font_set_style(f, choice.style);
        wyn_font_set_size(f, choice.size);
        m.own_fonts.push_back(f);
    }
    m.built_fonts = true;
    m.props.font_count = int32_t(m.own_fonts.size());
    m.props.fonts = m.own_fonts.data();
}

void table_free_fonts(table_model& m) {
    for (FONT f : m.own_fonts)
        if (wyn_font_is_valid(f)) wyn_font_destroy(f);
    m.own_fonts.clear();
    m.built_fonts = false;
}

namespace {

struct line_painter {
    WINDOW ctl;
    table_model& m;
    int32_t baseline;
    int32_t current_leading;
    int32_t current_ascent;

    // Reads escape codes at the start of a part; returns where its text begins.
    const char* escapes(const char* p, const char* end, std::string& literal) {
        while (p + 1 < end && *p == '\\') {
            const char kind = p[1];
            if (kind == '\\') {
                literal = "\\";
                return p + 2;
            }
            if (kind != 'C' && kind != 'c' && kind != 'F' && kind != 'f') break;
            const char* q = p + 2;
            int32_t index = 0, digits = 0;
            while (q < end && digits < 2 && *q >= '0' && *q <= '9') index = index * 10 + (*q++ - '0'), ++digits;
            if (kind == 'C' || kind == 'c') {
                const COLOR* table = m.props.color_count > 0 && m.props.colors ? m.props.colors
                                                                                : builtin_colors;
                const int32_t count = m.props.color_count > 0 && m.props.colors
                                          ? m.props.color_count
                                          : int32_t(std::size(builtin_colors));
                if (index < count) wyn_dwin_set_fore_color(ctl, table[index]);
            } else if (index < m.props.font_count && m.props.fonts &&
                       wyn_font_is_valid(m.props.fonts[index])) {
                int32_t l1, a1, d1;
                font_metrics(ctl, m.props.fonts[index], &l1, &a1, &d1);
                baseline += (l1 + a1) - (current_leading + current_ascent);
                current_leading = l1;
                current_ascent = a1;
            }
            p = q;
        }
        return p;
    }

    void draw(const std::string& text, int32_t top) {
        const bool codes = !(m.props.flags & TF_NO_ESCAPES);
        const bool clip = !(m.props.flags & TF_NO_CLIP);
        int32_t x = m.props.left_margin - m.h_offset;
        int32_t column = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t tab = text.find('\t', start);
            if (tab == std::string::npos) tab = text.size();
            const char* p = text.data() + start;
            const char* end = text.data() + tab;
            std::string literal;
            if (codes) p = escapes(p, end, literal);
            const int32_t width = table_column_width(m, column);
            std::string part = literal + std::string(p, size_t(end - p));
            if (clip) {
                const RCT box{int16_t(std::clamp(top, -32768, 32767)),
                              int16_t(std::clamp(x, -32768, 32767)),
                              int16_t(std::clamp(top + m.props.line_height, -32768, 32767)),
                              int16_t(std::clamp(x + width, -32768, 32767))};
                wyn_dwin_set_clip(ctl, &box);
            }
            if (!part.empty()) wyn_dwin_draw_text(ctl, x, baseline, part.c_str(), int(part.size()));
            int32_t next_x = x + width + m.props.column_gap;
            ++column;
            if (!clip && !part.empty()) {
                // The part may cover the following columns: the next part starts after them.
                const int32_t right = x + wyn_dwin_get_text_width(ctl, part.c_str(), int(part.size()));
                for (int skipped = 0; skipped < 100 && next_x < right; ++skipped) {
                    next_x += table_column_width(m, column) + m.props.column_gap;
                    ++column;
                }
            }
            x = next_x;
            start = tab + 1;
        }
        if (clip) wyn_dwin_set_clip(ctl, nullptr);
    }
};

void set_pen(WINDOW ctl, COLOR color) {
    DRAW_CPEN pen{};
    pen.width = 0;
    pen.pat = PAT_SOLID;
    pen.style = PS_SOLID_LINE;
    pen.color = color;
    wyn_dwin_set_cpen(ctl, &pen);
}

void draw_heading(WINDOW ctl, table_model& m, int32_t right) {
    int32_t leading, ascent, descent;
    font_metrics(ctl, m.props.heading_font, &leading, &ascent, &descent);
    wyn_dwin_set_fore_color(ctl, m.props.heading_color);
    const int32_t baseline = std::max(leading, 2) + ascent;
    int32_t x = m.props.left_margin - m.h_offset;
    size_t start = 0;
    for (int32_t column = 0; start <= m.props.heading.size(); ++column) {
        size_t tab = m.props.heading.find('\t', start);
        if (tab == std::string::npos) tab = m.props.heading.size();
        const std::string part = m.props.heading.substr(start, tab - start);
        const int32_t width = table_column_width(m, column);
        const int32_t text_width = wyn_dwin_get_text_width(ctl, part.c_str(), int(part.size()));
        wyn_dwin_draw_text(ctl, x + (width - text_width) / 2, baseline, part.c_str(),
                           int(part.size()));
        x += width + m.props.column_gap;
        start = tab + 1;
    }
    if (m.props.flags & TF_HEADING_RULE) {
        set_pen(ctl, m.props.rule_color);
        const int16_t y = int16_t(m.props.heading_height - 1);
        const PNT from{y, 0}, to{y, int16_t(std::min(right, 32767))};
        wyn_dwin_draw_set_pos(ctl, &from);
        wyn_dwin_draw_line(ctl, &to);
    }
}

void draw_separators(WINDOW ctl, table_model& m, int32_t bottom) {
    set_pen(ctl, m.props.rule_color);
    int32_t x = m.props.left_margin - m.h_offset;
    const int32_t columns = std::max<int32_t>(1, m.widths_given);
    for (int32_t column = 0; column + 1 < columns; ++column) {
        x += table_column_width(m, column) + m.props.column_gap;
        const int32_t at = x - m.props.column_gap / 2;
        if (at < -32768 || at > 32767) continue;
        const PNT from{0, int16_t(at)}, to{int16_t(std::min(bottom, 32767)), int16_t(at)};
        wyn_dwin_draw_set_pos(ctl, &from);
        wyn_dwin_draw_line(ctl, &to);
    }
}

void draw_highlight(WINDOW ctl, const table_model& m, int32_t top) {
    DRAW_CTOOLS saved{};
    wyn_dwin_get_draw_ctools(ctl, &saved);
    DRAW_CPEN pen{};
    pen.pat = PAT_HOLLOW;
    wyn_dwin_set_cpen(ctl, &pen);
    const DRAW_CBRUSH brush{PAT_SOLID, table_black};
    wyn_dwin_set_cbrush(ctl, &brush);
    wyn_dwin_set_draw_mode(ctl, M_NOT_XOR);
    const RCT box{int16_t(std::clamp(top, -32768, 32767)), 0,
                  int16_t(std::clamp(top + m.props.line_height, -32768, 32767)), 10000};
    wyn_dwin_draw_rect(ctl, &box);
    wyn_dwin_set_draw_ctools(ctl, &saved);
}

} // namespace

void table_draw(WINDOW ctl, table_model& m) {
    RCT client{};
    wyn_vobj_get_client_rect(ctl, &client);
    wyn_dwin_clear(ctl, m.props.back_color);
    if (m.props.heading_height > 0) draw_heading(ctl, m, client.right);
    const int32_t visible_end = std::min(m.line_count, m.first_visible + m.page_lines + 1);
    const int32_t bottom = m.props.heading_height +
                           (visible_end - m.first_visible) * m.props.line_height;
    if (m.props.flags & TF_SEPARATORS) draw_separators(ctl, m, std::max<int32_t>(bottom, client.bottom));
    for (int32_t line = m.first_visible; line < visible_end; ++line) {
        const int32_t top = m.props.heading_height + (line - m.first_visible) * m.props.line_height;
        if (top >= client.bottom) break;
        const std::string text = table_fetch(ctl, m, line);
        wyn_dwin_set_font(ctl, m.props.body_font);
        wyn_dwin_set_fore_color(ctl, m.props.text_color);
        const int32_t baseline = top + m.leading + m.ascent;
        bool draw = true;
        if (m.props.line_draw)
            draw = m.props.line_draw(ctl, &m, line, m.props.left_margin - m.h_offset, baseline,
                                     m.props.line_height, text.c_str());
        if (draw) {
            line_painter painter{ctl, m, baseline, m.leading, m.ascent};
            painter.draw(text, top);
            wyn_dwin_set_font(ctl, m.props.body_font);
            wyn_dwin_set_fore_color(ctl, m.props.text_color);
        }
        if (table_line_state(ctl, m, line) & 1) draw_highlight(ctl, m, top);
    }
}
