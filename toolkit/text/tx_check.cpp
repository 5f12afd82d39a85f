// The consistency check the tests and the fuzz target run after every step: the stored layout,
// positions, origin and line total against one another and against a fresh layout.
#include "tx_internal.h"

namespace tx {

namespace {

const char* check_pos(const record& r, const pos& p) {
    if (r.npars == 0) return p.par || p.line || p.ch ? "a position in an empty text" : nullptr;
    if (p.par >= r.npars) return "a position past the last paragraph";
    if (p.line >= r.pars[p.par].lines) return "a position past the paragraph's last line";
    if (p.ch > line_chars(r, p.par, p.line)) return "a position past the line's end";
    if (p.x != make_pos(r, p.par, p.line, p.ch).x) return "a position's x is not its character's";
    return nullptr;
}

} // namespace

const char* check_consistency(TX tx) {
    ref r(tx, true);
    if (!r) return "not a text edit";
    if (r->signature != kSignature) return "a damaged record";
    if (r->npars > TX_MAX_PARS) return "too many paragraphs";
    draw_scope scope(*r, false);
    int32_t total = 0;
    for (uint16_t p = 0; p < r->npars; ++p) {
        const par_entry& e = r->pars[p];
        const par_block& b = *e.block;
        if (e.lines == 0 || e.lines > b.line_capacity) return "a paragraph without lines";
        if (b.length + 1 > b.capacity || b.text()[b.length] != '\0') return "a paragraph overrun";
        if (b.lines[0] != 0) return "a first line not at the start";
        for (uint16_t l = 1; l < e.lines; ++l)
            if (b.lines[l] <= b.lines[l - 1] || b.lines[l] >= b.length) return "line starts out of order";
        if (!lines_fresh(*r, p)) return "line breaks differ from a fresh layout";
        total += e.lines;
    }
    if (total != r->total) return "the line total differs from the paragraphs' lines";
    for (const pos* p : {&r->anchor, &r->end, &r->hl_start, &r->hl_end})
        if (const char* fault = check_pos(*r, *p)) return fault;
    if (r->npars == 0) return r->org_par || r->org_line ? "an origin in an empty text" : nullptr;
    if (r->org_par >= r->npars || r->org_line >= r->pars[r->org_par].lines)
        return "an origin outside the text";
    return nullptr;
}

} // namespace tx
