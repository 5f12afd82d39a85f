// Checked list calls: list boxes, list buttons and list edits.
#include <wyn/checked/list.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// The position that appends.
constexpr int32_t kAtEnd = -1;

} // namespace

// clang-format off
CHECKED(kList, wyn_list_add, (WINDOW ctl, int32_t pos, const char* text),
        c.outside_update() && c.control(ctl, kListTypes) && c.at_least(pos, kAtEnd) &&
        c.given(text), FALSE, wynk_list_add, (ctl, pos, text))
CHECKED(kList, wyn_list_rem, (WINDOW ctl, int32_t index),
        c.outside_update() && c.control(ctl, kListTypes) && c.at_least(index, 0),
        FALSE, wynk_list_rem, (ctl, index))
CHECKED(kList, wyn_list_clear, (WINDOW ctl),
        c.outside_update() && c.control(ctl, kListTypes), void(), wynk_list_clear, (ctl))
CHECKED(kList, wyn_list_count_all, (WINDOW ctl),
        c.control(ctl, kListTypes), -1, wynk_list_count_all, (ctl))
CHECKED(kList, wyn_list_count_sel, (WINDOW ctl),
        c.control(ctl, kListTypes), -1, wynk_list_count_sel, (ctl))
CHECKED(kList, wyn_list_get_all, (WINDOW ctl),
        c.control(ctl, kListTypes), nullptr, wynk_list_get_all, (ctl))
CHECKED(kList, wyn_list_get_sel, (WINDOW ctl),
        c.control(ctl, kListTypes), nullptr, wynk_list_get_sel, (ctl))
CHECKED(kList, wyn_list_get_elt, (WINDOW ctl, int32_t index, char* buf, int32_t size),
        c.control(ctl, kListTypes) && c.at_least(index, 0) && c.given(buf) &&
        c.at_least(size, 1), FALSE, wynk_list_get_elt, (ctl, index, buf, size))
CHECKED(kList, wyn_list_get_first_sel, (WINDOW ctl, char* buf, int32_t size),
        c.control(ctl, kListTypes) && c.given(buf) && c.at_least(size, 1),
        FALSE, wynk_list_get_first_sel, (ctl, buf, size))
CHECKED(kList, wyn_list_get_sel_index, (WINDOW ctl),
        c.control(ctl, kListTypes), -1, wynk_list_get_sel_index, (ctl))
CHECKED(kList, wyn_list_is_sel, (WINDOW ctl, int32_t index),
        c.control(ctl, kListTypes) && c.at_least(index, 0), FALSE, wynk_list_is_sel, (ctl, index))
CHECKED(kList, wyn_list_set_sel, (WINDOW ctl, int32_t index, BOOLEAN select),
        c.outside_update() && c.control(ctl, kListTypes) && c.at_least(index, 0),
        void(), wynk_list_set_sel, (ctl, index, select))
CHECKED(kList, wyn_list_suspend, (WINDOW ctl),
        c.outside_update() && c.control(ctl, kListTypes), void(), wynk_list_suspend, (ctl))
CHECKED(kList, wyn_list_resume, (WINDOW ctl),
        c.outside_update() && c.control(ctl, kListTypes), void(), wynk_list_resume, (ctl))
// clang-format on
