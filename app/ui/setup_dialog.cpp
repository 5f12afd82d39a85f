// The configuration dialog's controls, filled from the record in view and stored back on "OK".
#include "ui/setup_dialog.h"

#include "engine/app_state.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"
#include "files/config_file.h"
#include "ui/fixed_text.h"
#include "ui/prompts.h"
#include "ui/ui_state.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <res/ids.h>
#include <wyn/checked/ctl.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/list.h>
#include <wyn/checked/sbar.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>

namespace {

// String-table ranges of the port and voltage lists.
constexpr int32_t kFirstPort = STR_COM1, kLastPort = STR_COM4;
constexpr int32_t kFirstVoltage = STR_VOLTAGE_DEFAULT, kLastVoltage = STR_VOLTAGE_240;

// A setting edited with a horizontal bar; its value is shown in the control after the bar.
struct value_bar {
    int16_t id;
    int16_t min;
    int16_t max;
    int16_t ups_status::*setting; // null for the poll interval, which keeps no setting
};

constexpr value_bar kBars[] = {
    {ID_DOWN_TIME_BAR, 1, 99, &ups_status::powerfail_time},
    {ID_DISRUPTION_BAR, 10, 60, &ups_status::disruption_time},
    {ID_LOW_BATTERY_BAR, 0, 60, &ups_status::low_battery_time},
    {ID_MESSAGE_INTERVAL_BAR, 10, 300, &ups_status::message_time},
    {ID_GRACE_BAR, 0, 255, &ups_status::grace_time},
    {ID_POLL_BAR, 2, 60, nullptr},
    {ID_LOG_BAR, 1, 60, &ups_status::log_interval},
};

constexpr int16_t kRemoteDisabled[] = {
    ID_VOLTAGE_LABEL, ID_VOLTAGE_LIST, ID_LOGGING,    ID_LOG_BAR, ID_LOG_VALUE,  ID_LOG_UNIT,
    ID_ALERT_LABEL,   ID_ALERT_NAME,   ID_NAME_LABEL, ID_NAME,    ID_PORT_LABEL, ID_PORT_LIST};

ups_status& in_view() {
    return g_app->remote_view ? g_app->remote : g_app->local;
}

const value_bar* bar_of(int16_t id) {
    for (const value_bar& b : kBars)
        if (b.id == id) return &b;
    return nullptr;
}

void show_bar_value(WINDOW dlg, const value_bar& bar, int value) {
    if (value < bar.min) value = bar.min;
    if (value > bar.max) value = bar.max;
    if (WINDOW ctl = wyn_win_get_ctl(dlg, bar.id)) wyn_sbar_set_pos(ctl, SCROLL_CTL, value);
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    if (WINDOW label = wyn_win_get_ctl(dlg, static_cast<int16_t>(bar.id + 1)))
        wyn_vobj_set_title(label, text);
}

int bar_value(WINDOW dlg, const value_bar& bar) {
    WINDOW ctl = wyn_win_get_ctl(dlg, bar.id);
    return ctl ? wyn_sbar_get_pos(ctl, SCROLL_CTL) : bar.min;
}

// Moves a bar by a scroll action; every step of this dialog is 1.
void scroll_bar(WINDOW dlg, const value_bar& bar, int32_t what, int16_t pos) {
    int value = bar_value(dlg, bar);
    switch (what) {
    case SC_LINE_UP:
    case SC_PAGE_UP:
        --value;
        break;
    case SC_LINE_DOWN:
    case SC_PAGE_DOWN:
        ++value;
        break;
    case SC_THUMB:
    case SC_THUMB_DRAG:
        value = pos;
        break;
    default:
        return;
    }
    show_bar_value(dlg, bar, value);
}

bool is_checked(WINDOW dlg, int16_t id) {
    WINDOW ctl = wyn_win_get_ctl(dlg, id);
    return ctl && wyn_ctl_is_checked(ctl);
}

void set_checked(WINDOW dlg, int16_t id, bool checked) {
    if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_ctl_set_checked(ctl, checked ? TRUE : FALSE);
}

void show_log_interval(WINDOW dlg, bool shown) {
    for (int16_t id : {ID_LOG_BAR, ID_LOG_VALUE, ID_LOG_UNIT})
        if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_visible(ctl, shown ? TRUE : FALSE);
}

void check_temperature_unit(WINDOW dlg, int16_t id) {
    WINDOW group[] = {wyn_win_get_ctl(dlg, ID_FAHRENHEIT), wyn_win_get_ctl(dlg, ID_CELSIUS)};
    WINDOW ctl = wyn_win_get_ctl(dlg, id);
    if (group[0] && group[1] && ctl) wyn_ctl_check_radio_button(dlg, ctl, group, 2);
}

// Fills a list from a string-table range and selects the entry equal to current.
void fill_list(WINDOW list, int32_t first, int32_t last, const char* current) {
    for (int32_t id = first; id <= last; ++id) {
        char text[32];
        if (!wyn_res_get_str(id, text, sizeof text)) continue;
        wyn_list_add(list, -1, text);
        if (std::strcmp(text, current) == 0) wyn_list_set_sel(list, id - first, TRUE);
    }
}

void fill_controls(WINDOW dlg) {
    const ups_status& ups = in_view();
    for (const value_bar& bar : kBars) {
        if (WINDOW ctl = wyn_win_get_ctl(dlg, bar.id))
            wyn_sbar_set_range(ctl, SCROLL_CTL, bar.min, bar.max);
        show_bar_value(dlg, bar, bar.setting ? ups.*bar.setting : bar.min);
    }
    set_checked(dlg, ID_LOGGING, ups.logging_enabled != 0);
    show_log_interval(dlg, ups.logging_enabled != 0);
    check_temperature_unit(dlg, ups.temperature_unit == 1 ? ID_FAHRENHEIT : ID_CELSIUS);
    if (WINDOW name = wyn_win_get_ctl(dlg, ID_NAME)) wyn_vobj_set_title(name, ups.ups_id);
    if (WINDOW list = wyn_win_get_ctl(dlg, ID_VOLTAGE_LIST))
        fill_list(list, kFirstVoltage, kLastVoltage, ups.ups_voltage_text);
    if (WINDOW list = wyn_win_get_ctl(dlg, ID_PORT_LIST)) {
        if (ups.port_found) {
            wyn_list_add(list, -1, ups.found_port);
            wyn_list_set_sel(list, 0, TRUE);
            wyn_vobj_set_enabled(list, FALSE);
        } else {
            fill_list(list, kFirstPort, kLastPort, ups.ups_port);
        }
    }
    for (int16_t id : {ID_ALERT_LABEL, ID_ALERT_NAME})
        if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_visible(ctl, FALSE);
    if (g_app->remote_view)
        for (int16_t id : kRemoteDisabled)
            if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_enabled(ctl, FALSE);
}

// Stores the selected port and reopens the UPS port when it changed under a running link.
void store_port(WINDOW dlg, ups_status& ups) {
    if (ups.port_found) return;
    WINDOW list = wyn_win_get_ctl(dlg, ID_PORT_LIST);
    char port[sizeof ups.ups_port] = "";
    if (!list || !wyn_list_get_first_sel(list, port, sizeof port)) return;
    const bool changed = std::strcmp(port, ups.ups_port) != 0;
    copy_text(ups.ups_port, port);
    copy_text(ups.port_in_use, port);
    // Before the status window exists no port is open yet; it opens the stored one itself.
    if (!changed || g_app->remote_view || !g_ui.status_window) return;
    ups_port_close();
    ups.valid = 0;
    if (ups_port_open() != 0) {
        char text[64];
        std::snprintf(text, sizeof text, "Error opening port: %s!", port);
        post_message(text, MSG_PANEL | MSG_ALARM_LOG);
    }
}

void store_voltage(WINDOW dlg, ups_status& ups) {
    WINDOW list = wyn_win_get_ctl(dlg, ID_VOLTAGE_LIST);
    if (!list) return;
    const int32_t index = wyn_list_get_sel_index(list);
    if (index < 0) return;
    char text[sizeof ups.ups_voltage_text] = "";
    if (!wyn_list_get_elt(list, index, text, sizeof text)) return;
    copy_text(ups.ups_voltage_text, text);
    if (!g_app->remote_view) ups.nominal_voltage = index == 1 ? 208 : index == 2 ? 240 : 0;
}

void store_controls(WINDOW dlg) {
    ups_status& ups = in_view();
    ups.logging_enabled = is_checked(dlg, ID_LOGGING) ? 1 : 0;
    if (WINDOW name = wyn_win_get_ctl(dlg, ID_NAME)) {
        char id[sizeof ups.ups_id] = "";
        if (wyn_vobj_get_title(name, id, sizeof id)) copy_text(ups.ups_id, id);
    }
    for (const value_bar& bar : kBars)
        if (bar.setting) ups.*bar.setting = static_cast<int16_t>(bar_value(dlg, bar));
    ups.temperature_unit = is_checked(dlg, ID_FAHRENHEIT) ? 1 : 0;
    store_port(dlg, ups);
    store_voltage(dlg, ups);
    if (save_configuration(g_app->local, *g_app) != 0)
        ui_error(configuration_save_failure(errno).c_str());
}

void close_dialog(WINDOW dlg, uint8_t result) {
    if (auto* saved = reinterpret_cast<uint8_t*>(wyn_vobj_get_data(dlg)))
        if (reinterpret_cast<intptr_t>(saved) != -1) *saved = result;
    wyn_vobj_destroy(dlg);
}

void on_control(WINDOW dlg, const EVENT& ev) {
    const int16_t id = ev.v.ctl.id;
    if (const value_bar* bar = bar_of(id)) {
        scroll_bar(dlg, *bar, ev.v.ctl.ci.v.scroll.what, ev.v.ctl.ci.v.scroll.pos);
        return;
    }
    switch (id) {
    case ID_OK:
        store_controls(dlg);
        close_dialog(dlg, 1);
        break;
    case ID_CANCEL:
        close_dialog(dlg, 0);
        break;
    case ID_LOGGING: {
        const bool logging = !is_checked(dlg, ID_LOGGING);
        set_checked(dlg, ID_LOGGING, logging);
        show_log_interval(dlg, logging);
        break;
    }
    case ID_FAHRENHEIT:
    case ID_CELSIUS:
        check_temperature_unit(dlg, id);
        break;
    default:
        break;
    }
}

int32_t setup_dialog_handler(WINDOW dlg, EVENT* ev) {
    switch (ev->type) {
    case E_CREATE:
        g_app->remote_view_held = 1;
        fill_controls(dlg);
        break;
    case E_DESTROY:
        g_app->remote_view_held = 0;
        break;
    case E_CLOSE:
        close_dialog(dlg, 0);
        break;
    case E_CONTROL:
        on_control(dlg, *ev);
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

bool run_setup_dialog(uint8_t* saved) {
    if (saved) *saved = 0;
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_SETUP, EM_ALL, setup_dialog_handler,
                              reinterpret_cast<intptr_t>(saved)) != nullptr;
}
