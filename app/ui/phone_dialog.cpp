// The phone option dialog's two choices, handed to the engine for its next quiet poll.
#include "ui/phone_dialog.h"

#include "engine/app_state.h"
#include "files/config_file.h"
#include "ui/help_client.h"
#include "ui/prompts.h"
#include "ui/setup_dialog.h"

#include <cerrno>
#include <res/ids.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/win.h>

namespace {

constexpr int16_t kChoices[] = {IDP_REMOTE_ON, IDP_REBOOT};

ups_status& in_view() {
    return g_app->remote_view ? g_app->remote : g_app->local;
}

void store_choice(WINDOW dlg) {
    ups_status& ups = in_view();
    ups.phone_option_setting = is_checked(dlg, IDP_REBOOT) ? 1 : 0;
    ups.phone_option_pending = 1;
    if (save_configuration(g_app->local, *g_app) != 0)
        ui_error(configuration_save_failure(errno).c_str());
}

void on_control(WINDOW dlg, int16_t id) {
    switch (id) {
    case IDP_REMOTE_ON:
    case IDP_REBOOT:
        check_radio(dlg, id, kChoices, 2);
        break;
    case IDP_OK:
        store_choice(dlg);
        wyn_vobj_destroy(dlg);
        break;
    case IDP_CANCEL:
        wyn_vobj_destroy(dlg);
        break;
    default:
        break;
    }
}

} // namespace

int32_t phone_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, HELP_TOPIC_PHONE_OPTION, DLG_PHONE);
    // The program may end under the open dialog: without an application state it only closes.
    if (!g_app && ev->type != E_CLOSE) return 0;
    switch (ev->type) {
    case E_CREATE:
        check_radio(dlg, in_view().phone_option_value ? IDP_REBOOT : IDP_REMOTE_ON, kChoices, 2);
        break;
    case E_CLOSE:
        wyn_vobj_destroy(dlg);
        break;
    case E_CONTROL:
        on_control(dlg, ev->v.ctl.id);
        break;
    default:
        break;
    }
    return 0;
}

bool run_phone_dialog() {
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_PHONE, EM_ALL, phone_dialog_handler, 0) != nullptr;
}
