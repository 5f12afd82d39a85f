// The text model: movable blocks, font measuring, measuring runs with tabs, breaking paragraphs
// into lines, positions and the paragraph table.
#include <algorithm>
#include <cstring>
#include <string>
#include <wyn/font.h>
#include <wyn/str.h>

#include "tx_internal.h"

namespace tx {

namespace {

constexpr char kUnit[] = "tx_layout";
constexpr uint32_t kSpare = 16;     // spare bytes of a new paragraph block
constexpr uint32_t kGrowSpare = 17; // spare bytes when an insertion grows a block
constexpr uint16_t kNewLines = 4;   // entries of a new line table

size_t block_size(uint32_t capacity) {
    return sizeof(par_block) + capacity;
}

bool is_sep(char c) {
    return c == ' ' || c == '\t';
}

// Makes sure the scratch line table holds n entries.
bool scratch_reserve(uint32_t n) {
    state& s = st();
    if (n <= s.scratch_capacity) return true;
    const uint32_t want = std::max<uint32_t>(n + 64, s.scratch_capacity * 2);
    void* p = s.scratch_handle ? block_resize(s.scratch_handle, want * sizeof(uint16_t))
                               : block_new(s.scratch_handle, want * sizeof(uint16_t));
    if (!p) return false;
    s.scratch = static_cast<uint16_t*>(p);
    s.scratch_capacity = want;
    return true;
}

// measure() of a run, or some width above limit once it is certain to be above: a long word is
// measured by growing prefixes so that a line's breaking costs what fits on it, not the word.
int measure_up_to(const record& r, const char* s, uint32_t n, int x0, int limit) {
    for (uint32_t k = 32; k < n; k *= 4) {
        const uint32_t bytes = chars_bytes(s, n, k);
        if (bytes >= n) break;
        const int w = measure(r, s, bytes, x0);
        if (w > limit) return w;
    }
    return measure(r, s, n, x0);
}

// Where the line starting at c ends when lines are `avail` pixels wide.
uint32_t break_line(const record& r, const char* text, uint32_t len, uint32_t c, int avail) {
    uint32_t at = c;
    int x = 0;
    uint32_t fitted = 0;
    bool any = false;
    for (;;) {
        uint32_t sep = at;
        while (sep < len && !is_sep(text[sep])) ++sep;
        const int w = measure_up_to(r, text + at, sep - at, x, avail);
        if (w > avail) break;
        uint32_t next = sep;
        while (next < len && is_sep(text[next])) ++next;
        x = measure(r, text + sep, next - sep, w);
        at = next;
        fitted = next;
        any = true;
        if (next >= len) break;
    }
    if (any) return fitted;
    // Not even the first word fits: the line takes the characters that fit, at least one.
    uint32_t b = c;
    x = 0;
    while (b < len) {
        const uint32_t n = char_bytes(text + b, len - b);
        const int nx = measure(r, text + b, n, x);
        if (nx > avail && b > c) break;
        x = nx;
        b += n;
        if (nx > avail) break;
    }
    return b;
}

// Breaks the paragraph from line `from` into the scratch table; the number of lines, or 0
// (reported) when the line table would reach its limit. Capped, the last line the table can
// hold takes the rest of the paragraph instead.
uint32_t compute_lines(const record& r, uint16_t par, uint16_t from, bool capped) {
    const par_block& b = block(r, par);
    if (!scratch_reserve(uint32_t(from) + 2)) return 0;
    uint16_t* out = st().scratch;
    std::copy(b.lines, b.lines + from, out);
    uint32_t n = from;
    uint32_t c = from < r.pars[par].lines ? b.lines[from] : 0;
    const bool wrap = r.attr & TX_WRAP;
    const int avail = wrap_width(r);
    for (;;) {
        if (!scratch_reserve(n + 2)) return 0;
        out = st().scratch;
        out[n++] = uint16_t(c);
        if ((n + kNewLines) * sizeof(uint16_t) >= size_t(kBlockLimit)) {
            TX_REPORT(kWarning, TX_ERR_BLOCK);
            return 0;
        }
        if (!wrap || (capped && (n + 1 + kNewLines) * sizeof(uint16_t) >= size_t(kBlockLimit)))
            break;
        const uint32_t e = break_line(r, b.text(), b.length, c, avail);
        if (e >= b.length) break;
        c = e;
    }
    return n;
}

// Moves the lines below a paragraph whose line count changed, and draws its changed lines.
void redraw_after_layout(record& r, uint16_t par, uint16_t first, uint16_t old_n, uint16_t n) {
    if (!can_draw(r)) return;
    const int32_t top_row = line_index(r, par, 0) - origin_index(r);
    const int vis = visible_lines(r);
    if (top_row + int32_t(first) < 0 || top_row + int32_t(first) >= vis) {
        if (top_row + int32_t(std::max(old_n, n)) < 0) return; // above the view, unseen
        if (top_row + int32_t(first) >= vis) return;           // below the view
        draw_rows(r, 0, vis - 1);
        return;
    }
    if (n == old_n) {
        draw_par_lines(r, par, first, uint16_t(n - 1));
        return;
    }
    const int32_t below = top_row + std::min(old_n, n);
    if (below < vis) {
        RCT area = r.view;
        area.top = int16_t(r.view.top + below * r.line_height);
        const int dv = (int(n) - int(old_n)) * r.line_height;
        draw_scope scope(r, true);
        st().scroll_update = true;
        wynk_dwin_scroll_rect(r.win, &area, 0, dv);
        st().scroll_update = false;
        if (dv < 0) draw_rows(r, vis - (int(old_n) - int(n)), vis - 1);
    }
    draw_par_lines(r, par, first, uint16_t(n - 1));
}

} // namespace

void* block_new(GHANDLE& handle, size_t size) {
    handle = wynv_gmem_alloc(size, TRUE);
    void* p = handle ? wynv_gmem_lock(handle) : nullptr;
    if (!p) {
        if (handle) wynv_gmem_free(handle);
        handle = nullptr;
        TX_REPORT(kWarning, TX_ERR_NO_MEMORY);
    }
    return p;
}

void* block_resize(GHANDLE& handle, size_t size) {
    wynv_gmem_unlock(handle);
    GHANDLE moved = wynv_gmem_realloc(handle, size);
    if (moved) handle = moved;
    void* p = wynv_gmem_lock(handle);
    if (!moved) {
        TX_REPORT(kWarning, TX_ERR_NO_MEMORY);
        return nullptr;
    }
    return p;
}

void block_free(GHANDLE& handle) {
    if (!handle) return;
    wynv_gmem_unlock(handle);
    wynv_gmem_free(handle);
    handle = nullptr;
}

void measure_font(record& r, FONT font) {
    FONT copy = wynv_font_copy(nullptr, font, FA_ALL);
    if (!copy) copy = wynv_font_create();
    if (!copy) return;
    if (r.font) wynv_font_destroy(r.font);
    r.font = copy;
    wynv_font_set_win(r.font, r.win);
    wynv_font_map(r.font, r.win);
    int32_t leading = 0, ascent = 0, descent = 0;
    wynk_font_get_metrics(r.font, &leading, &ascent, &descent);
    r.leading = uint16_t(std::clamp(leading, 0, 1000));
    r.ascent = uint16_t(std::clamp(ascent, 0, 1000));
    r.descent = uint16_t(std::clamp(descent, 0, 1000));
    r.line_height = uint16_t(std::max(1, int(r.leading) + r.ascent + r.descent));
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    draw_scope scope(r, false);
    const int w = wynk_dwin_get_text_width(r.win, letters, 52);
    r.avg_width = uint16_t(std::clamp((w + 25) / 52, 1, 1000));
}

int measure(const record& r, const char* s, uint32_t n, int x0) {
    const int tab_width = std::max(1, int(r.tab) * r.avg_width);
    int x = x0;
    uint32_t i = 0;
    while (i < n) {
        if (s[i] == '\t') {
            int k = 0;
            while (i < n && s[i] == '\t') {
                ++k;
                ++i;
            }
            x = x + tab_width * k - (x % tab_width);
        } else {
            uint32_t j = i;
            while (j < n && s[j] != '\t') ++j;
            x += wynk_dwin_get_text_width(r.win, s + i, int(j - i));
            i = j;
        }
    }
    return x;
}

int visible_lines(const record& r) {
    const int h = r.view.bottom - r.view.top;
    return std::max(1, (h + r.line_height - r.ascent - r.descent) / std::max<int>(1, r.line_height));
}

int wrap_width(const record& r) {
    if (r.margin) return r.margin;
    return r.view.right - r.view.left - 2;
}

uint32_t line_start(const record& r, uint16_t par, uint16_t line) {
    return block(r, par).lines[line];
}

uint32_t line_end(const record& r, uint16_t par, uint16_t line) {
    const par_block& b = block(r, par);
    return line + 1 < r.pars[par].lines ? b.lines[line + 1] : b.length;
}

uint32_t char_bytes(const char* s, uint32_t left) {
    const int n = wynk_str_get_char_size(s);
    return uint32_t(std::clamp<int>(n, 1, int(std::min<uint32_t>(left, 4))));
}

uint32_t count_chars(const char* s, uint32_t n) {
    uint32_t chars = 0;
    for (uint32_t i = 0; i < n; ++chars) i += char_bytes(s + i, n - i);
    return chars;
}

uint32_t chars_bytes(const char* s, uint32_t left, uint32_t n) {
    uint32_t i = 0;
    for (uint32_t k = 0; k < n && i < left; ++k) i += char_bytes(s + i, left - i);
    return i;
}

uint16_t line_chars(const record& r, uint16_t par, uint16_t line) {
    const uint32_t a = line_start(r, par, line);
    return uint16_t(count_chars(block(r, par).text() + a, line_end(r, par, line) - a));
}

pos make_pos(const record& r, uint16_t par, uint16_t line, uint16_t ch) {
    if (r.npars == 0) return pos{};
    par = std::min<uint16_t>(par, uint16_t(r.npars - 1));
    line = std::min<uint16_t>(line, uint16_t(r.pars[par].lines - 1));
    const uint32_t a = line_start(r, par, line);
    const uint32_t e = line_end(r, par, line);
    const char* text = block(r, par).text() + a;
    const uint32_t bytes = chars_bytes(text, e - a, ch);
    pos p{par, line, uint16_t(count_chars(text, bytes)), 0};
    p.x = uint16_t(std::clamp(measure(r, text, bytes, 0), 0, 65535));
    return p;
}

place place_of(const record& r, const pos& p) {
    if (r.npars == 0) return place{};
    const uint32_t a = line_start(r, p.par, p.line);
    const uint32_t e = line_end(r, p.par, p.line);
    return place{p.par, a + chars_bytes(block(r, p.par).text() + a, e - a, p.ch)};
}

pos pos_of(const record& r, const place& pl) {
    if (r.npars == 0) return pos{};
    const uint16_t par = std::min<uint16_t>(pl.par, uint16_t(r.npars - 1));
    const par_block& b = block(r, par);
    const uint32_t off = std::min(pl.off, b.length);
    const uint16_t* first = b.lines;
    const uint16_t* end = first + r.pars[par].lines;
    const uint16_t line = uint16_t(std::upper_bound(first + 1, end, off) - first - 1);
    const uint32_t a = b.lines[line];
    return make_pos(r, par, line, uint16_t(count_chars(b.text() + a, off - a)));
}

pos text_end(const record& r) {
    if (r.npars == 0) return pos{};
    const uint16_t par = uint16_t(r.npars - 1);
    const uint16_t line = uint16_t(r.pars[par].lines - 1);
    return make_pos(r, par, line, line_chars(r, par, line));
}

int32_t line_index(const record& r, uint16_t par, uint16_t line) {
    int32_t n = 0;
    for (uint16_t p = 0; p < par && p < r.npars; ++p) n += r.pars[p].lines;
    return n + line;
}

bool line_at(const record& r, int32_t index, uint16_t& par, uint16_t& line) {
    if (index < 0 || r.npars == 0) return false;
    for (uint16_t p = 0; p < r.npars; ++p) {
        if (index < r.pars[p].lines) {
            par = p;
            line = uint16_t(index);
            return true;
        }
        index -= r.pars[p].lines;
    }
    return false;
}

bool par_insert(record& r, uint16_t par, const char* text, uint32_t len) {
    if (r.npars >= TX_MAX_PARS) {
        TX_REPORT(kWarning, TX_ERR_RANGE);
        return false;
    }
    if (len > kMaxParBytes) {
        TX_REPORT(kWarning, TX_ERR_RANGE);
        return false;
    }
    const uint32_t capacity = len + 1 + kSpare;
    if (block_size(capacity) >= size_t(kBlockLimit)) {
        TX_REPORT(kWarning, TX_ERR_BLOCK);
        return false;
    }
    if (uint32_t(r.npars) + 1 > r.par_capacity) {
        uint32_t grow = std::clamp<uint32_t>((uint32_t(r.npars) + 1) / 10, 10, 500);
        void* p = nullptr;
        for (;;) {
            const size_t bytes = (r.par_capacity + grow) * sizeof(par_entry);
            p = r.par_handle ? block_resize(r.par_handle, bytes) : block_new(r.par_handle, bytes);
            if (p || grow == 1) break;
            grow /= 2;
        }
        if (!p) return false;
        r.pars = static_cast<par_entry*>(p);
        r.par_capacity += grow;
    }
    GHANDLE handle = nullptr;
    auto* b = static_cast<par_block*>(block_new(handle, block_size(capacity)));
    if (!b) return false;
    b->capacity = uint16_t(capacity);
    b->length = len;
    std::memcpy(b->text(), text, len);
    b->text()[len] = '\0';
    b->lines = static_cast<uint16_t*>(block_new(b->line_handle, kNewLines * sizeof(uint16_t)));
    if (!b->lines) {
        block_free(handle);
        return false;
    }
    b->line_capacity = kNewLines;
    par = std::min(par, r.npars);
    std::memmove(r.pars + par + 1, r.pars + par, (r.npars - par) * sizeof(par_entry));
    r.pars[par] = par_entry{0, 0, handle, b};
    ++r.npars;
    // Positions at or after the new paragraph move down with their text.
    for (pos* p : {&r.anchor, &r.end, &r.hl_start, &r.hl_end})
        if (r.npars > 1 && p->par >= par) ++p->par;
    if (r.npars > 1 && r.org_par > par) ++r.org_par;
    if (!layout(r, par, 0)) {
        par_remove(r, par);
        return false;
    }
    return true;
}

void par_remove(record& r, uint16_t par) {
    if (par >= r.npars) return;
    par_entry& e = r.pars[par];
    r.total -= e.lines;
    block_free(e.block->line_handle);
    block_free(e.handle);
    std::memmove(r.pars + par, r.pars + par + 1, (r.npars - par - 1) * sizeof(par_entry));
    --r.npars;
    for (pos* p : {&r.anchor, &r.end, &r.hl_start, &r.hl_end}) {
        if (p->par > par) {
            --p->par;
        } else if (p->par == par) {
            *p = pos{par, 0, 0, 0};
            if (par >= r.npars) *p = text_end(r);
        }
    }
    if (r.org_par > par) {
        --r.org_par;
    } else if (r.org_par == par) {
        r.org_line = 0;
        if (par >= r.npars) {
            r.org_par = r.npars ? uint16_t(r.npars - 1) : 0;
            r.org_line = r.npars ? uint16_t(r.pars[r.org_par].lines - 1) : 0;
        }
    }
    clamp_positions(r);
}

bool par_replace(record& r, uint16_t par, uint32_t from, uint32_t to, const char* text,
                 uint32_t len) {
    par_entry& e = r.pars[par];
    par_block* b = e.block;
    const uint32_t new_len = b->length - (to - from) + len;
    if (new_len > kMaxParBytes || block_size(new_len + 1) >= size_t(kBlockLimit)) {
        TX_REPORT(kWarning, TX_ERR_BLOCK);
        return false;
    }
    if (new_len + 1 > b->capacity) {
        const uint32_t capacity =
            std::min<uint32_t>(new_len + 1 + kGrowSpare, uint32_t(kBlockLimit - 1 - sizeof(par_block)));
        const uint16_t* line_table = b->lines;
        auto* moved = static_cast<par_block*>(block_resize(e.handle, block_size(capacity)));
        if (!moved) return false;
        b = e.block = moved;
        b->lines = const_cast<uint16_t*>(line_table);
        b->capacity = uint16_t(capacity);
    }
    const std::string removed(b->text() + from, to - from);
    char* t = b->text();
    std::memmove(t + from + len, t + to, b->length - to + 1);
    std::memcpy(t + from, text, len);
    b->length = new_len;
    // Lines are broken again from the line where the word around the change starts (layout goes
    // one line further back): a longer or shorter word can move up to an earlier line, even when
    // it had been cut into pieces over several lines.
    uint32_t word = from;
    while (word > 0 && !is_sep(t[word - 1])) --word;
    uint16_t line = 0;
    while (line + 1 < e.lines && b->lines[line + 1] <= word) ++line;
    if (!layout(r, par, line)) {
        std::memmove(t + from + removed.size(), t + from + len, b->length - from - len + 1);
        std::memcpy(t + from, removed.data(), removed.size());
        b->length = new_len - len + uint32_t(removed.size());
        layout(r, par, line);
        return false;
    }
    return true;
}

bool layout(record& r, uint16_t par, uint16_t from, bool capped) {
    par_entry& e = r.pars[par];
    par_block& b = *e.block;
    const uint16_t old_n = e.lines;
    if (old_n == 0) from = 0;
    from = std::min<uint16_t>(from, uint16_t(old_n ? old_n - 1 : 0));
    // The line before may take the first word of this one now.
    if (from > 0) --from;
    draw_scope scope(r, false);
    const uint32_t n = compute_lines(r, par, from, capped);
    if (n == 0) return false;
    if (n > b.line_capacity) {
        const uint32_t want = n + kNewLines;
        void* p = block_resize(b.line_handle, want * sizeof(uint16_t));
        if (!p) return false;
        b.lines = static_cast<uint16_t*>(p);
        b.line_capacity = uint16_t(want);
    }
    const uint16_t* fresh = st().scratch;
    uint16_t first = from;
    while (first < n && first < old_n && b.lines[first] == fresh[first]) ++first;
    if (first >= n) first = uint16_t(n - 1);
    std::copy(fresh + from, fresh + n, b.lines + from);
    e.lines = uint16_t(n);
    r.total += int32_t(n) - int32_t(old_n);
    clamp_positions(r);
    redraw_after_layout(r, par, first, old_n, uint16_t(n));
    if (uint16_t(n) != old_n) report_scroll(r, -1, r.total, -1);
    return true;
}

bool lines_fresh(const record& r, uint16_t par) {
    const uint32_t n = compute_lines(r, par, 0, true);
    return n == r.pars[par].lines &&
           std::equal(st().scratch, st().scratch + n, block(r, par).lines);
}

void layout_all(record& r) {
    draw_scope scope(r, false);
    for (uint16_t p = 0; p < r.npars; ++p) {
        r.total -= r.pars[p].lines;
        r.pars[p].lines = 0;
        // A width too narrow for the paragraph's lines leaves the rest of it on its last line
        // rather than refusing a change of the view, the font or the margin.
        if (!layout(r, p, 0, true)) {
            // Out of memory: the paragraph stays one line.
            r.pars[p].lines = 1;
            r.pars[p].block->lines[0] = 0;
            r.total += 1;
        }
    }
}

void pars_free(record& r) {
    for (uint16_t p = 0; p < r.npars; ++p) {
        block_free(r.pars[p].block->line_handle);
        block_free(r.pars[p].handle);
    }
    r.npars = 0;
    r.total = 0;
    clamp_positions(r);
}

void clamp_positions(record& r) {
    for (pos* p : {&r.anchor, &r.end, &r.hl_start, &r.hl_end}) {
        if (r.npars == 0) {
            *p = pos{};
        } else if (p->par >= r.npars) {
            *p = text_end(r);
        } else {
            *p = make_pos(r, p->par, p->line, p->ch);
        }
    }
    if (r.npars == 0) {
        r.org_par = r.org_line = 0;
    } else if (r.org_par >= r.npars) {
        r.org_par = uint16_t(r.npars - 1);
        r.org_line = uint16_t(r.pars[r.org_par].lines - 1);
    } else if (r.org_line >= r.pars[r.org_par].lines) {
        r.org_line = uint16_t(r.pars[r.org_par].lines - 1);
    }
}

} // namespace tx
