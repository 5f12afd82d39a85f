// Checked list calls: list boxes, list buttons and list edits.
#include <wyn/checked/list.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// The position that appends.
constexpr int32_t kAtEnd = -1;

} // namespace

BOOLEAN wyn_list_add(WINDOW ctl, int32_t pos, const char* text) {
    Call c(__func__, kList);
    if (!c.outside_update() || !c.control(ctl, kListTypes)) return FALSE;
    if (!c.at_least(pos, kAtEnd) || !c.given(text)) return FALSE;
    return wynk_list_add(ctl, pos, text);
}

BOOLEAN wyn_list_rem(WINDOW ctl, int32_t index) {
    Call c(__func__, kList);
    if (!c.outside_update() || !c.control(ctl, kListTypes) || !c.at_least(index, 0)) return FALSE;
    return wynk_list_rem(ctl, index);
}

void wyn_list_clear(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.outside_update() || !c.control(ctl, kListTypes)) return;
    wynk_list_clear(ctl);
}

int32_t wyn_list_count_all(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes)) return -1;
    return wynk_list_count_all(ctl);
}

int32_t wyn_list_count_sel(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes)) return -1;
    return wynk_list_count_sel(ctl);
}

SLIST wyn_list_get_all(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes)) return nullptr;
    return wynk_list_get_all(ctl);
}

SLIST wyn_list_get_sel(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes)) return nullptr;
    return wynk_list_get_sel(ctl);
}

BOOLEAN wyn_list_get_elt(WINDOW ctl, int32_t index, char* buf, int32_t size) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes) || !c.at_least(index, 0)) return FALSE;
    if (!c.given(buf) || !c.at_least(size, 1)) return FALSE;
    return wynk_list_get_elt(ctl, index, buf, size);
}

BOOLEAN wyn_list_get_first_sel(WINDOW ctl, char* buf, int32_t size) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes) || !c.given(buf) || !c.at_least(size, 1)) return FALSE;
    return wynk_list_get_first_sel(ctl, buf, size);
}

int32_t wyn_list_get_sel_index(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes)) return -1;
    return wynk_list_get_sel_index(ctl);
}

BOOLEAN wyn_list_is_sel(WINDOW ctl, int32_t index) {
    Call c(__func__, kList);
    if (!c.control(ctl, kListTypes) || !c.at_least(index, 0)) return FALSE;
    return wynk_list_is_sel(ctl, index);
}

void wyn_list_set_sel(WINDOW ctl, int32_t index, BOOLEAN select) {
    Call c(__func__, kList);
    if (!c.outside_update() || !c.control(ctl, kListTypes) || !c.at_least(index, 0)) return;
    wynk_list_set_sel(ctl, index, select);
}

void wyn_list_suspend(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.outside_update() || !c.control(ctl, kListTypes)) return;
    wynk_list_suspend(ctl);
}

void wyn_list_resume(WINDOW ctl) {
    Call c(__func__, kList);
    if (!c.outside_update() || !c.control(ctl, kListTypes)) return;
    wynk_list_resume(ctl);
}
