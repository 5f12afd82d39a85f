// Checked scroll-bar calls: a window's own bars, or a scroll-bar control.
#include <wyn/checked/sbar.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// The object holds the bar named by which: a window for its own bars, a scroll-bar control for
// SCROLL_CTL.
bool bar(Call& c, WINDOW win, SCROLL_TYPE which) {
    if (!c.window(win, kAnyType)) return false;
    const int kind = which;
    if (kind < SCROLL_HORZ || kind > SCROLL_CTL) return c.fail(WYN_MSG_INCORRECT_SCROLL_TYPE);
    return kind == SCROLL_CTL ? c.control(win, kScrollTypes) : c.window(win, kWindowTypes);
}

} // namespace

void wyn_sbar_set_range(WINDOW win, SCROLL_TYPE which, int32_t min, int32_t max) {
    Call c(__func__, kSbar);
    if (!bar(c, win, which) || !c.at_least(max, min)) return;
    wynk_sbar_set_range(win, which, min, max);
}

void wyn_sbar_get_range(WINDOW win, SCROLL_TYPE which, int32_t* min, int32_t* max) {
    Call c(__func__, kSbar);
    if (!bar(c, win, which) || !c.given(min) || !c.given(max)) return;
    wynk_sbar_get_range(win, which, min, max);
}

void wyn_sbar_set_pos(WINDOW win, SCROLL_TYPE which, int32_t pos) {
    Call c(__func__, kSbar);
    if (!bar(c, win, which)) return;
    wynk_sbar_set_pos(win, which, pos);
}

int32_t wyn_sbar_get_pos(WINDOW win, SCROLL_TYPE which) {
    Call c(__func__, kSbar);
    if (!bar(c, win, which)) return 0;
    return wynk_sbar_get_pos(win, which);
}

void wyn_sbar_set_proportion(WINDOW win, SCROLL_TYPE which, int32_t proportion) {
    Call c(__func__, kSbar);
    if (!bar(c, win, which) || !c.at_least(proportion, 0)) return;
    wynk_sbar_set_proportion(win, which, proportion);
}

int32_t wyn_sbar_get_proportion(WINDOW win, SCROLL_TYPE which) {
    Call c(__func__, kSbar);
    if (!bar(c, win, which)) return 0;
    return wynk_sbar_get_proportion(win, which);
}
