// The modem parameters dialog: the pager's port, time, number and switch.
#include "ui/modem_dialog.h"

#include "ui/fixed_text.h"
#include "ui/help_client.h"
#include "ui/setup_dialog.h"

#include <cstring>
#include <res/ids.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/list.h>
#include <wyn/checked/win.h>

namespace {

constexpr value_bar kTimeBar{IDM_TIME_BAR, IDM_TIME_VALUE, 1, 99};

// The one modem dialog while it is open; a second "Set Modem Parameters" raises it.
WINDOW g_modem_dialog = nullptr;

modem_settings* values_of(WINDOW dlg) {
    const intptr_t data = wyn_vobj_get_data(dlg);
    return data == 0 || data == -1 ? nullptr : reinterpret_cast<modem_settings*>(data);
}

void fill_controls(WINDOW dlg, const modem_settings& values) {
    if (WINDOW list = wyn_win_get_ctl(dlg, IDM_PORT_LIST))
        fill_string_list(list, STR_COM1, STR_COM4, values.port);
    init_value_bar(dlg, kTimeBar, values.time);
    if (WINDOW number = wyn_win_get_ctl(dlg, IDM_NUMBER))
        wyn_vobj_set_title(number, values.command);
    set_checked(dlg, IDM_PAGE_ON_SHUTDOWN, values.page_on_shutdown != 0);
}

// A port that is none of the list's (a device path kept in the file) stays as it is.
void store_controls(WINDOW dlg, modem_settings& values) {
    if (WINDOW list = wyn_win_get_ctl(dlg, IDM_PORT_LIST)) {
        char port[sizeof values.port] = "";
        if (wyn_list_get_first_sel(list, port, sizeof port)) copy_text(values.port, port);
    }
    values.time = static_cast<int16_t>(bar_value(dlg, kTimeBar));
    if (WINDOW number = wyn_win_get_ctl(dlg, IDM_NUMBER)) {
        char command[sizeof values.command] = "";
        if (wyn_vobj_get_title(number, command, sizeof command)) copy_text(values.command, command);
    }
    values.page_on_shutdown = is_checked(dlg, IDM_PAGE_ON_SHUTDOWN) ? 1 : 0;
}

void on_control(WINDOW dlg, const EVENT& ev) {
    switch (ev.v.ctl.id) {
    case IDM_TIME_BAR:
        scroll_value_bar(dlg, kTimeBar, ev);
        break;
    case IDM_PAGE_ON_SHUTDOWN:
    case IDM_PAGE_ON_POWER_FAIL:
        set_checked(dlg, ev.v.ctl.id, !is_checked(dlg, ev.v.ctl.id));
        break;
    case IDM_OK:
        if (modem_settings* values = values_of(dlg)) store_controls(dlg, *values);
        wyn_vobj_destroy(dlg);
        break;
    case IDM_CANCEL:
        wyn_vobj_destroy(dlg);
        break;
    default:
        break;
    }
}

} // namespace

modem_settings modem_settings_of(const ups_status& ups) {
    modem_settings values{};
    copy_text(values.port, ups.modem_port);
    values.time = ups.modem_time;
    copy_text(values.command, ups.modem_command);
    values.page_on_shutdown = ups.page_on_shutdown;
    return values;
}

void store_modem_settings(ups_status& ups, const modem_settings& values) {
    copy_text(ups.modem_port, values.port);
    ups.modem_time = values.time;
    copy_text(ups.modem_command, values.command);
    ups.page_on_shutdown = values.page_on_shutdown;
}

int32_t modem_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, 0, DLG_MODEM);
    switch (ev->type) {
    case E_CREATE:
        g_modem_dialog = dlg;
        if (const modem_settings* values = values_of(dlg)) fill_controls(dlg, *values);
        break;
    case E_DESTROY:
        if (g_modem_dialog == dlg) g_modem_dialog = nullptr;
        break;
    case E_CLOSE:
        wyn_vobj_destroy(dlg);
        break;
    case E_CONTROL:
        on_control(dlg, *ev);
        break;
    default:
        break;
    }
    return 0;
}

bool open_modem_dialog(modem_settings& values) {
    if (g_modem_dialog) {
        wyn_vobj_raise(g_modem_dialog);
        return true;
    }
    return wyn_dlg_create_res(WT_MODELESS_DLG, DLG_MODEM, EM_ALL, modem_dialog_handler,
                              reinterpret_cast<intptr_t>(&values)) != nullptr;
}

void close_modem_dialog() {
    WINDOW dlg = g_modem_dialog;
    g_modem_dialog = nullptr;
    if (dlg) wyn_vobj_destroy(dlg);
}
