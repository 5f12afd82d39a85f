// Checked clipboard calls: the state of the event loop, format names, sizes and pictures are
// checked before the library is asked.
#include <wyn/checked/clipboard.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr char kCb[] = "tcb";

constexpr WYN_MSG_ID kNullPicture = 0x1210005;
constexpr WYN_MSG_ID kInvalidPicture = 0x1220005;

// The name an application format needs; the other formats take none.
bool format_name(const Call& c, int32_t format, const char* name) {
    return format != CB_FORMAT_APP || c.given(name);
}

// What a put needs besides the name: a live picture, or a size that is not negative.
bool put_source(const Call& c, int32_t format, int32_t size, PICTURE picture) {
    if (format != CB_FORMAT_PICT) return c.at_least(size, 0);
    if (!picture) return c.fail(kNullPicture);
    return wynk_pict_is_valid(picture) || c.fail(kInvalidPicture);
}

} // namespace

// clang-format off
CHECKED(kCb, wyn_cb_open, (BOOLEAN for_writing),
        c.outside_update(), FALSE, wynk_cb_open, (for_writing))
CHECKED(kCb, wyn_cb_close, (),
        c.outside_update(), FALSE, wynk_cb_close, ())
CHECKED(kCb, wyn_cb_has_format, (int32_t format, const char* name),
        c.outside_update() && format_name(c, format, name),
        FALSE, wynk_cb_has_format, (format, name))
CHECKED(kCb, wyn_cb_alloc_data, (int32_t size),
        c.outside_update() && c.at_least(size, 0), nullptr, wynk_cb_alloc_data, (size))
CHECKED(kCb, wyn_cb_put_data, (int32_t format, const char* name, int32_t size, PICTURE picture),
        c.outside_update() && format_name(c, format, name) && put_source(c, format, size, picture),
        FALSE, wynk_cb_put_data, (format, name, size, picture))
CHECKED(kCb, wyn_cb_get_data, (int32_t format, const char* name, int32_t* size),
        c.outside_update() && format_name(c, format, name),
        nullptr, wynk_cb_get_data, (format, name, size))
CHECKED(kCb, wyn_cb_free_data, (),
        c.outside_update(), void(), wynk_cb_free_data, ())
// clang-format on
