// Checked control calls: each takes the control types it serves.
#include <wyn/checked/ctl.h>
#include <wyn/dlg.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// Text edits are made by the text-edit library, never as plain controls.
constexpr TypeSet kCreatable = kControlTypes & ~type_set({WT_TEXT_EDIT});
constexpr TypeSet kRadio = type_set({WT_RADIO_BUTTON});
// A selection end meaning "to the end of the text".
constexpr int32_t kToEnd = -1;

} // namespace

// clang-format off
CHECKED(kCtl, wyn_ctl_get_id, (WINDOW ctl),
        c.control(ctl, kControlTypes), -1, wynk_ctl_get_id, (ctl))
CHECKED(kCtl, wyn_ctl_is_checked, (WINDOW ctl),
        c.control(ctl, kCheckTypes), FALSE, wynk_ctl_is_checked, (ctl))
CHECKED(kCtl, wyn_ctl_set_checked, (WINDOW ctl, BOOLEAN checked),
        c.outside_update() && c.control(ctl, kCheckTypes),
        void(), wynk_ctl_set_checked, (ctl, checked))
CHECKED(kCtl, wyn_ctl_get_text_sel, (WINDOW ctl, int32_t* first, int32_t* last),
        c.outside_update() && c.control(ctl, kEditTypes) && c.given(first) && c.given(last),
        void(), wynk_ctl_get_text_sel, (ctl, first, last))
CHECKED(kCtl, wyn_ctl_set_colors, (WINDOW ctl, COLOR* colors),
        c.outside_update() && c.control(ctl, kControlTypes),
        void(), wynk_ctl_set_colors, (ctl, colors))
CHECKED(kCtl, wyn_ctl_get_colors, (WINDOW ctl),
        c.control(ctl, kControlTypes), nullptr, wynk_ctl_get_colors, (ctl))
CHECKED(kCtl, wyn_ctl_set_font, (WINDOW ctl, struct wyn_font* font),
        c.outside_update() && c.control(ctl, kControlTypes) && (!font || c.font(font)),
        void(), wynk_ctl_set_font, (ctl, font))
CHECKED(kCtl, wyn_ctl_get_font, (WINDOW ctl),
        c.control(ctl, kControlTypes), nullptr, wynk_ctl_get_font, (ctl))
// clang-format on

WINDOW wyn_ctl_create(int32_t type, const RCT* rct, const char* title, int16_t id, WINDOW parent,
                      uint32_t ctl_flags, intptr_t app_data) {
    Call c(__func__, kCtl);
    if (!c.outside_update() || !c.window(parent, kWindowTypes) || !c.given(rct)) return nullptr;
    if (!in_set(type, kCreatable)) return c.fail_as<WINDOW>(nullptr, WYN_MSG_INCORRECT_WINDOW_TYPE);
    if (!wynv_ctl_check_flags(type, ctl_flags))
        return c.fail_as<WINDOW>(nullptr, WYN_MSG_BAD_VALUE);
    return wynk_ctl_create(type, rct, title, id, parent, ctl_flags, app_data);
}

WINDOW wyn_ctl_create_def(const WIN_DEF* def, WINDOW parent, intptr_t app_data) {
    Call c(__func__, kCtl);
    if (!c.outside_update() || !c.given(def) || !c.window(parent, kWindowTypes)) return nullptr;
    if (!in_set(def->type, kCreatable))
        return c.fail_as<WINDOW>(nullptr, WYN_MSG_INCORRECT_WINDOW_TYPE);
    if (!wynv_ctl_check_flags(def->type, def->u.ctl_flags))
        return c.fail_as<WINDOW>(nullptr, WYN_MSG_BAD_VALUE);
    return wynk_ctl_create_def(def, parent, app_data);
}

void wyn_ctl_check_radio_button(WINDOW win, WINDOW ctl, const WINDOW* group, int32_t count) {
    Call c(__func__, kCtl);
    if (!c.outside_update() || !c.window(win, kWindowTypes) || !c.control(ctl, kRadio)) return;
    if (!c.given(group) || !c.at_least(count, 1)) return;
    for (int32_t i = 0; i < count; ++i)
        if (!c.window(group[i], kRadio)) return;
    wynk_ctl_check_radio_button(win, ctl, group, count);
}

void wyn_ctl_set_text_sel(WINDOW ctl, int32_t first, int32_t last) {
    Call c(__func__, kCtl);
    if (!c.outside_update() || !c.control(ctl, kEditTypes)) return;
    if (last != kToEnd && last < first) {
        c.warn(WYN_MSG_VALUE_TOO_LOW);
        last = first;
    }
    wynk_ctl_set_text_sel(ctl, first, last);
}
