// Checked picture and pixmap calls: every picture, pixmap and image argument is tested by its
// own family's validity function before the library sees it.
#include <wyn/checked/pict.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr char kPict[] = "tpict";
constexpr char kPmap[] = "tpmap";

constexpr WYN_MSG_ID kNullPicture = 0x1210005;
constexpr WYN_MSG_ID kInvalidPicture = 0x1220005;
constexpr WYN_MSG_ID kNullPixmap = 0x1210006;
constexpr WYN_MSG_ID kInvalidPixmap = 0x1220006;
constexpr WYN_MSG_ID kIncorrectPixmapType = 0x1230002;

bool picture(const Call& c, PICTURE p, Where where = Where::current()) {
    if (!p) return c.fail(kNullPicture, where);
    return wynk_pict_is_valid(p) || c.fail(kInvalidPicture, where);
}

bool pixmap(const Call& c, WINDOW p, Where where = Where::current()) {
    if (!p) return c.fail(kNullPixmap, where);
    return wynk_pmap_is_valid(p) || c.fail(kInvalidPixmap, where);
}

bool pixmap_type(const Call& c, int32_t type, Where where = Where::current()) {
    return type == PMAP_DISPLAY || type == PMAP_MONO || c.fail(kIncorrectPixmapType, where);
}

} // namespace

// clang-format off
CHECKED(kPict, wyn_pict_create, (const void* data, uint32_t size),
        c.given(data) && c.at_least(size, 1), nullptr, wynk_pict_create, (data, size))
CHECKED(kPict, wyn_pict_destroy, (PICTURE pict),
        picture(c, pict), void(), wynk_pict_destroy, (pict))
MARKED(kPict, wyn_pict_is_valid, (PICTURE pict), wynk_pict_is_valid, (pict))
CHECKED(kPict, wyn_pict_lock, (PICTURE pict, uint32_t* size),
        picture(c, pict), nullptr, wynk_pict_lock, (pict, size))
CHECKED(kPict, wyn_pict_unlock, (PICTURE pict),
        picture(c, pict), FALSE, wynk_pict_unlock, (pict))
CHECKED(kPict, wyn_pict_get_size, (PICTURE pict, int16_t* width, int16_t* height),
        picture(c, pict), FALSE, wynk_pict_get_size, (pict, width, height))
CHECKED(kDwin, wyn_dwin_close_pict, (WINDOW win),
        c.drawable(win), nullptr, wynk_dwin_close_pict, (win))
CHECKED(kDwin, wyn_dwin_draw_pict, (WINDOW win, PICTURE pict, const RCT* dst),
        c.drawable(win) && picture(c, pict), FALSE, wynk_dwin_draw_pict, (win, pict, dst))
CHECKED(kDwin, wyn_dwin_draw_image, (WINDOW win, IMAGE img, const RCT* dst, const RCT* src),
        c.drawable(win) && c.image(img), FALSE, wynk_dwin_draw_image, (win, img, dst, src))
CHECKED(kDwin, wyn_dwin_draw_pmap, (WINDOW win, WINDOW pmap, const RCT* dst, const RCT* src),
        c.drawable(win) && pixmap(c, pmap), FALSE, wynk_dwin_draw_pmap, (win, pmap, dst, src))
CHECKED(kPmap, wyn_pmap_create, (WINDOW win, int32_t type, int width, int height),
        c.drawable(win) && pixmap_type(c, type) && c.at_least(width, 1) && c.at_least(height, 1),
        nullptr, wynk_pmap_create, (win, type, width, height))
MARKED(kPmap, wyn_pmap_is_valid, (WINDOW pmap), wynk_pmap_is_valid, (pmap))
CHECKED(kPmap, wyn_image_get_from_pmap, (WINDOW pmap),
        pixmap(c, pmap), nullptr, wynk_image_get_from_pmap, (pmap))
// clang-format on

BOOLEAN wyn_dwin_open_pict(WINDOW win, const RCT* rct) {
    Call c(__func__, kDwin);
    if (!c.drawable(win) || !c.given(rct)) return FALSE;
    if (rect_inverted(*rct)) c.warn(WYN_MSG_BAD_RECT_FORMAT);
    return wynk_dwin_open_pict(win, rct);
}
