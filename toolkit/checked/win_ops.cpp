// Checked window calls of the controls' side: windows made from definitions and resources, their
// controls, caret, cursor and pointer trap.
#include <wyn/checked/win.h>
#include <wyn/rect.h>
#include <wyn/res.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// What a definition may describe, and what may go under a dialog.
constexpr TypeSet kDefinable = type_set({WT_DOC, WT_PLAIN, WT_DBL, WT_NO_BORDER, WT_MODAL});
constexpr TypeSet kDialogs = type_set({WT_MODAL_DLG, WT_MODELESS_DLG});

// Takes every rectangle of a definition in pixels for its lifetime, then puts the caller's back.
class PixelRects {
  public:
    explicit PixelRects(WIN_DEF* def) : def_(def), saved_(wynv_rect_repair_windef(def)) {}
    ~PixelRects() {
        if (saved_) wynv_rect_restore(def_, saved_);
    }
    PixelRects(const PixelRects&) = delete;
    PixelRects& operator=(const PixelRects&) = delete;
    bool converted() const { return saved_ != nullptr; }

  private:
    WIN_DEF* def_;
    WINDEF_RECTS saved_;
};

bool has_menu(const WIN_DEF& def) {
    return def.menu_or_id != 0 || def.u.menu_tree != nullptr;
}

// A rectangle left to the native defaults is never empty.
bool empty_rect(const RCT& r) {
    const bool defaulted = r.left == WYN_COORD_DEFAULT || r.top == WYN_COORD_DEFAULT ||
                           r.right == WYN_COORD_DEFAULT || r.bottom == WYN_COORD_DEFAULT;
    return !defaulted && wynv_rect_is_empty(&r);
}

// The rules a window definition meets before anything is built from it.
bool definition_fits(const Call& c, const WIN_DEF* def, WINDOW parent) {
    if (in_set(parent->type, kDialogs) && def->type != WT_MODAL)
        return c.fail(WYN_MSG_INCORRECT_WINDOW_TYPE);
    const bool top_level = parent->type == WT_TASK || parent->type == WT_SCREEN;
    if (top_level && !has_menu(*def) && !(def->flags & WSF_NO_MENUBAR) && def->type != WT_MODAL)
        return c.fail(WYN_MSG_INVALID_OBJECT);
    if (!in_set(def->type, kDefinable)) return c.fail(WYN_MSG_INCORRECT_WINDOW_TYPE);
    if (!wynv_win_check_flags(def->flags)) return c.fail(WYN_MSG_BAD_VALUE);
    if (def->font && !c.font(def->font)) return false;
    for (const WIN_DEF* e = def + 1; e->type != WT_NONE; ++e) {
        if (e->type != WT_TEXT_EDIT && !wynv_ctl_check_flags(e->type, e->u.ctl_flags))
            return c.fail(WYN_MSG_BAD_VALUE);
        if (e->font && !c.font(e->font)) return false;
    }
    return true;
}

// The checks of a definition read from resources, including its rectangle in pixels.
bool definition_usable(const Call& c, WIN_DEF* def, WINDOW parent) {
    if (!definition_fits(c, def, parent)) return false;
    PixelRects pixels(def);
    if (!pixels.converted() || empty_rect(def->rct)) return c.fail(WYN_MSG_BAD_RECT_FORMAT);
    return true;
}

} // namespace

// clang-format off
CHECKED(kWin, wyn_win_get_ctl, (WINDOW win, int16_t id),
        c.window(win, kWindowTypes), nullptr, wynk_win_get_ctl, (win, id))
CHECKED(kWin, wyn_win_list_wins, (WINDOW win),
        c.window(win, kParentTypes), nullptr, wynk_win_list_wins, (win))
CHECKED(kWin, wyn_win_get_nav, (WINDOW win),
        c.window(win, kWindowTypes), nullptr, wynv_win_get_nav, (win))
CHECKED(kWin, wyn_win_set_doc_title, (WINDOW win, const char* title),
        c.outside_update() && c.window(win, kWindowTypes) && c.given(title),
        void(), wynk_win_set_doc_title, (win, title))
CHECKED(kWin, wyn_win_get_tx, (WINDOW win),
        c.window(win, kWindowTypes | type_set({WT_TEXT_EDIT})), nullptr, wynv_win_get_tx, (win))
CHECKED(kWin, wyn_win_enum_wins, (WINDOW win, WYN_ENUM_FN fn, intptr_t data),
        c.window(win, kParentTypes) && c.given_fn(fn), void(), wynv_win_enum_wins, (win, fn, data))
CHECKED(kWin, wyn_win_set_ctl_colors, (WINDOW win, COLOR* colors),
        c.window(win, kWindowTypes), void(), wynk_win_set_ctl_colors, (win, colors))
CHECKED(kWin, wyn_win_set_ctl_font, (WINDOW win, struct wyn_font* font),
        c.window(win, kWindowTypes) && (!font || c.font(font)),
        void(), wynk_win_set_ctl_font, (win, font))
CHECKED(kWin, wyn_win_get_ctl_font, (WINDOW win),
        c.window(win, kWindowTypes), nullptr, wynk_win_get_ctl_font, (win))
CHECKED(kWin, wyn_win_get_ctl_colors, (WINDOW win),
        c.window(win, kWindowTypes), nullptr, wynk_win_get_ctl_colors, (win))
CHECKED(kWin, wyn_win_set_caret_pos, (WINDOW win, PNT pos),
        c.outside_update() && c.window(win, kWindowTypes),
        void(), wynk_win_set_caret_pos, (win, pos))
CHECKED(kWin, wyn_win_set_caret_size, (WINDOW win, int16_t width, int16_t height),
        c.outside_update() && c.window(win, kWindowTypes) && c.at_least(width, 0) &&
        c.at_least(height, 0), void(), wynk_win_set_caret_size, (win, width, height))
CHECKED(kWin, wyn_win_set_caret_visible, (WINDOW win, BOOLEAN visible),
        c.outside_update() && c.window(win, kWindowTypes),
        void(), wynk_win_set_caret_visible, (win, visible))
CHECKED(kWin, wyn_win_set_cursor, (WINDOW win, int32_t cursor),
        c.window(win, kWindowTypes), void(), wynk_win_set_cursor, (win, cursor))
CHECKED(kWin, wyn_win_get_cursor, (WINDOW win),
        c.window(win, kWindowTypes), -1, wynk_win_get_cursor, (win))
CHECKED(kWin, wyn_win_trap_pointer, (WINDOW win),
        c.window(win, kWindowTypes), void(), wynk_win_trap_pointer, (win))
MARKED(kWin, wyn_win_release_pointer, (), wynk_win_release_pointer, ())
// clang-format on

WINDOW wyn_win_create_def(WIN_DEF* def, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                          intptr_t app_data) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.given(def) || !c.window(parent, kParentTypes)) return nullptr;
    if (!c.given_fn(handler, WYN_MSG_NULL_EVENT_HANDLER)) return nullptr;
    if (!definition_fits(c, def, parent)) return nullptr;
    PixelRects pixels(def);
    if (!pixels.converted() || empty_rect(def->rct))
        return c.fail_as<WINDOW>(nullptr, WYN_MSG_BAD_RECT_FORMAT);
    return wynk_win_create_def(def, parent, mask, handler, app_data);
}

WINDOW wyn_win_create_res(int32_t id, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                          intptr_t app_data) {
    Call c(__func__, kWin);
    if (!c.outside_update() || !c.window(parent, kParentTypes)) return nullptr;
    if (!c.given_fn(handler, WYN_MSG_NULL_EVENT_HANDLER)) return nullptr;
    // A missing resource is the library's to report.
    if (WIN_DEF* def = wynv_res_get_win_def(id)) {
        const bool usable = definition_usable(c, def, parent);
        wynv_res_free_win_def(def);
        if (!usable) return nullptr;
    }
    return wynk_win_create_res(id, parent, mask, handler, app_data);
}
