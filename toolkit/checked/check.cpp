// The checked call's mark, its reports and the window and list tests.
#include "check.h"

#include <wyn/app.h>
#include <wyn/errfrm.h>
#include <wyn/font.h>
#include <wyn/rect.h>

namespace wyn_checked {

int32_t window_type(WINDOW win) {
    return (win->state & WS_TEXT_EDIT) ? WT_TEXT_EDIT : win->type;
}

namespace {

bool inverted(int16_t low, int16_t high) {
    return low != WYN_COORD_DEFAULT && high != WYN_COORD_DEFAULT && high < low;
}

} // namespace

bool rect_inverted(const RCT& r) {
    return inverted(r.left, r.right) || inverted(r.top, r.bottom);
}

Call::Call(const char* function, const char* unit) : unit_(unit) {
    wynv_errfrm_mark_API(function);
}

Call::~Call() {
    wynv_errfrm_unmark_API();
}

bool Call::fail(WYN_MSG_ID id, Where where) const {
    wynv_errmsg_dispatch(target_, WYN_SEV_ERROR, id, unit_, static_cast<int>(where.line()));
    return false;
}

void Call::warn(WYN_MSG_ID id, Where where) const {
    wynv_errmsg_dispatch(target_, WYN_SEV_WARNING, id, unit_, static_cast<int>(where.line()));
}

bool Call::outside_update(Where where) const {
    return !wynv_app_proc_update() || fail(WYN_MSG_DURING_UPDATE, where);
}

bool Call::window(WINDOW win, TypeSet allowed, Where where) const {
    if (!win) return fail(WYN_MSG_NULL_WINDOW, where);
    // Destroyed objects stay readable with their magic cleared, so a stale handle is caught here.
    if (win->magic != WYN_WIN_MAGIC) return fail(WYN_MSG_INVALID_WINDOW, where);
    // A window destroyed inside a handler keeps its magic until the outermost dispatch ends; only
    // while its own E_DESTROY is delivered may its handle still be used.
    if ((win->state & WS_DESTROYED) && !(win->state & WS_IN_DESTROY))
        return fail(WYN_MSG_INVALID_WINDOW, where);
    return in_set(window_type(win), allowed) || fail(WYN_MSG_INCORRECT_WINDOW_TYPE, where);
}

bool Call::drawable(WINDOW win, Where where) const {
    if (!window(win, kAnyType, where)) return false;
    const bool drawn = (win->kind & WK_DRAWABLE) != 0 && window_type(win) != WT_TEXT_EDIT;
    return drawn || fail(WYN_MSG_INCORRECT_WINDOW_TYPE, where);
}

bool Call::image(IMAGE image, Where where) const {
    constexpr WYN_MSG_ID kNullImage = 0x1210007;
    constexpr WYN_MSG_ID kInvalidImage = 0x1220007;
    if (!image) return fail(kNullImage, where);
    return wynv_image_is_valid(image) || fail(kInvalidImage, where);
}

bool Call::control(WINDOW ctl, TypeSet allowed, Where where) {
    if (!window(ctl, allowed, where)) return false;
    aim_at(ctl);
    return true;
}

bool Call::given(const void* p, WYN_MSG_ID id, Where where) const {
    return p || fail(id, where);
}

bool Call::font(struct wyn_font* font, Where where) const {
    return wynv_font_is_valid(font) || fail(WYN_MSG_INVALID_FONT, where);
}

bool Call::mapped_font(struct wyn_font* font, Where where) const {
    if (!this->font(font, where)) return false;
    return wynv_font_is_mapped(font) || fail(WYN_MSG_WRONG_STATE_CAT, where);
}

bool Call::slist(SLIST list, Where where) const {
    if (!list) return fail(WYN_MSG_NULL_SLIST, where);
    return wynv_slist_is_valid(list) || fail(WYN_MSG_INVALID_SLIST, where);
}

bool Call::at_least(long long value, long long min, Where where) const {
    return value >= min || fail(WYN_MSG_VALUE_TOO_LOW, where);
}

} // namespace wyn_checked
