// Checked dialog creation from definitions and resources.
#include <wyn/checked/dlg.h>

#include "check.h"

using namespace wyn_checked;

namespace {

constexpr WYN_MSG_ID kIncorrectDialogType = 0x1230005;
constexpr TypeSet kDialogs = type_set({WT_MODAL_DLG, WT_MODELESS_DLG});
// Dialog resources are numbered below the toolkit's own.
constexpr int32_t kLastDialogId = 29999;

} // namespace

WINDOW wyn_dlg_create_def(WIN_DEF* def, EVENT_MASK mask, EVENT_HANDLER handler, intptr_t app_data) {
    Call c(__func__, kDlg);
    if (!c.outside_update() || !c.given(def)) return nullptr;
    if (!in_set(def->type, kDialogs)) return c.fail_as<WINDOW>(nullptr, kIncorrectDialogType);
    if (!c.given_fn(handler, WYN_MSG_NULL_POINTER)) return nullptr;
    // A dialog that cannot be built is reported by the library.
    return wynk_dlg_create_def(def, mask, handler, app_data);
}

WINDOW wyn_dlg_create_res(int32_t type, int32_t id, EVENT_MASK mask, EVENT_HANDLER handler,
                          intptr_t app_data) {
    Call c(__func__, kDlg);
    if (!c.outside_update()) return nullptr;
    if (!in_set(type, kDialogs)) return c.fail_as<WINDOW>(nullptr, kIncorrectDialogType);
    if (id < 0 || id > kLastDialogId) return c.fail_as<WINDOW>(nullptr, WYN_MSG_BAD_VALUE);
    if (!c.given_fn(handler, WYN_MSG_NULL_POINTER)) return nullptr;
    return wynk_dlg_create_res(type, id, mask, handler, app_data);
}
