// The configuration dialog's controls, filled from the record in view and stored back on "OK".
#include "ui/setup_dialog.h"

#include "engine/app_state.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"
#include "files/config_file.h"
#include "ui/fixed_text.h"
#include "ui/help_client.h"
#include "ui/modem_dialog.h"
#include "ui/prompts.h"
#include "ui/ui_state.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <res/ids.h>
#include <string>
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

// A bar of this dialog and the setting behind it; the value text is the control after the bar.
struct setting_bar {
    value_bar bar;
    int16_t ups_status::*setting; // null for the poll interval, which keeps no setting
};

constexpr setting_bar bar_for(int16_t id, int16_t min, int16_t max, int16_t ups_status::*setting) {
    return {{id, static_cast<int16_t>(id + 1), min, max}, setting};
}

constexpr setting_bar kBars[] = {
    bar_for(ID_DOWN_TIME_BAR, 1, 99, &ups_status::powerfail_time),
    bar_for(ID_DISRUPTION_BAR, 10, 60, &ups_status::disruption_time),
    bar_for(ID_LOW_BATTERY_BAR, 0, 60, &ups_status::low_battery_time),
    bar_for(ID_MESSAGE_INTERVAL_BAR, 10, 300, &ups_status::message_time),
    bar_for(ID_GRACE_BAR, 0, 255, &ups_status::grace_time),
    bar_for(ID_POLL_BAR, 2, 60, nullptr),
    bar_for(ID_LOG_BAR, 1, 60, &ups_status::log_interval),
};

constexpr int16_t kRemoteDisabled[] = {
    ID_VOLTAGE_LABEL, ID_VOLTAGE_LIST, ID_LOGGING,    ID_LOG_BAR, ID_LOG_VALUE,  ID_LOG_UNIT,
    ID_ALERT_LABEL,   ID_ALERT_NAME,   ID_NAME_LABEL, ID_NAME,    ID_PORT_LABEL, ID_PORT_LIST};

constexpr int16_t kTemperatureUnits[] = {ID_FAHRENHEIT, ID_CELSIUS};

// What the open dialog edits. It is modal, so there is one at a time. The view may change while
// it is open (a shutdown shows the local UPS), so the record and the view it was filled from are
// remembered rather than looked up again on "OK".
struct setup_session {
    ups_status* ups = nullptr;
    bool remote = false;
    // The modem dialog's values: they reach the record with "OK" and are dropped on "Cancel".
    modem_settings modem{};
};
setup_session g_session;

const setting_bar* bar_of(int16_t id) {
    for (const setting_bar& b : kBars)
        if (b.bar.bar == id) return &b;
    return nullptr;
}

void show_log_interval(WINDOW dlg, bool shown) {
    for (int16_t id : {ID_LOG_BAR, ID_LOG_VALUE, ID_LOG_UNIT})
        if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_visible(ctl, shown ? TRUE : FALSE);
}

void fill_controls(WINDOW dlg, const ups_status& ups) {
    for (const setting_bar& b : kBars)
        init_value_bar(dlg, b.bar, b.setting ? ups.*b.setting : b.bar.min);
    set_checked(dlg, ID_LOGGING, ups.logging_enabled != 0);
    show_log_interval(dlg, ups.logging_enabled != 0);
    check_radio(dlg, ups.temperature_unit == 1 ? ID_FAHRENHEIT : ID_CELSIUS, kTemperatureUnits, 2);
    if (WINDOW name = wyn_win_get_ctl(dlg, ID_NAME)) wyn_vobj_set_title(name, ups.ups_id);
    if (WINDOW list = wyn_win_get_ctl(dlg, ID_VOLTAGE_LIST))
        fill_string_list(list, kFirstVoltage, kLastVoltage, ups.ups_voltage_text);
    if (WINDOW list = wyn_win_get_ctl(dlg, ID_PORT_LIST)) {
        if (ups.port_found) {
            wyn_list_add(list, -1, ups.found_port);
            wyn_list_set_sel(list, 0, TRUE);
            wyn_vobj_set_enabled(list, FALSE);
        } else {
            fill_string_list(list, kFirstPort, kLastPort, ups.ups_port);
        }
    }
    for (int16_t id : {ID_ALERT_LABEL, ID_ALERT_NAME})
        if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_visible(ctl, FALSE);
    if (g_session.remote)
        for (int16_t id : kRemoteDisabled)
            if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_enabled(ctl, FALSE);
}

// Stores the selected port unless the port was found by its hardware id; true when it changed.
bool store_port(WINDOW dlg, ups_status& ups) {
    if (ups.port_found) return false;
    WINDOW list = wyn_win_get_ctl(dlg, ID_PORT_LIST);
    char port[sizeof ups.ups_port] = "";
    if (!list || !wyn_list_get_first_sel(list, port, sizeof port)) return false;
    const bool changed = std::strncmp(port, ups.ups_port, sizeof ups.ups_port) != 0;
    copy_text(ups.ups_port, port);
    copy_text(ups.port_in_use, port);
    return changed;
}

void store_voltage(WINDOW dlg, ups_status& ups) {
    WINDOW list = wyn_win_get_ctl(dlg, ID_VOLTAGE_LIST);
    if (!list) return;
    const int32_t index = wyn_list_get_sel_index(list);
    if (index < 0) return;
    char text[sizeof ups.ups_voltage_text] = "";
    if (!wyn_list_get_elt(list, index, text, sizeof text)) return;
    copy_text(ups.ups_voltage_text, text);
    if (!g_session.remote) ups.nominal_voltage = index == 1 ? 208 : index == 2 ? 240 : 0;
}

// The new port is opened under a running link; before the status window exists no port is open,
// and the status window opens the stored one itself.
void reopen_port(ups_status& ups) {
    if (!g_ui.status_window) return;
    ups_port_close();
    ups.valid = 0;
    if (ups_port_open() == 0) return;
    const std::string text = "Error opening port: " + ups_port_in_use() + "!";
    post_message(text.c_str(), MSG_PANEL | MSG_ALARM_LOG);
}

void store_controls(WINDOW dlg) {
    ups_status& ups = *g_session.ups;
    ups.logging_enabled = is_checked(dlg, ID_LOGGING) ? 1 : 0;
    for (const setting_bar& b : kBars)
        if (b.setting) ups.*b.setting = static_cast<int16_t>(bar_value(dlg, b.bar));
    if (WINDOW name = wyn_win_get_ctl(dlg, ID_NAME)) {
        char id[sizeof ups.ups_id] = "";
        if (wyn_vobj_get_title(name, id, sizeof id)) copy_text(ups.ups_id, id);
    }
    ups.temperature_unit = is_checked(dlg, ID_FAHRENHEIT) ? 1 : 0;
    store_modem_settings(ups, g_session.modem);
    const bool port_changed = store_port(dlg, ups);
    store_voltage(dlg, ups);
    if (save_configuration(g_app->local, *g_app) != 0)
        ui_error(configuration_save_failure(errno).c_str());
    if (port_changed && !g_session.remote) reopen_port(ups);
}

void close_dialog(WINDOW dlg, uint8_t result) {
    // The modem dialog edits this dialog's values; it goes with it.
    close_modem_dialog();
    const intptr_t data = wyn_vobj_get_data(dlg);
    if (data != 0 && data != -1) *reinterpret_cast<uint8_t*>(data) = result;
    wyn_vobj_destroy(dlg);
}

// The check box is a button: the click that checks it (check boxes never change themselves here)
// leaves it unchecked and opens the modem dialog.
void open_modem_parameters(WINDOW dlg) {
    set_checked(dlg, ID_MODEM, false);
    if (!open_modem_dialog(g_session.modem)) ui_error("Can't open dialog");
}

void on_control(WINDOW dlg, const EVENT& ev) {
    const int16_t id = ev.v.ctl.id;
    if (const setting_bar* b = bar_of(id)) {
        scroll_value_bar(dlg, b->bar, ev);
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
    case ID_MODEM:
        open_modem_parameters(dlg);
        break;
    case ID_FAHRENHEIT:
    case ID_CELSIUS:
        check_radio(dlg, id, kTemperatureUnits, 2);
        break;
    default:
        break;
    }
}

} // namespace

void init_value_bar(WINDOW dlg, const value_bar& bar, int value) {
    if (WINDOW ctl = wyn_win_get_ctl(dlg, bar.bar))
        wyn_sbar_set_range(ctl, SCROLL_CTL, bar.min, bar.max);
    show_bar_value(dlg, bar, value);
}

void show_bar_value(WINDOW dlg, const value_bar& bar, int value) {
    value = std::clamp(value, static_cast<int>(bar.min), static_cast<int>(bar.max));
    if (WINDOW ctl = wyn_win_get_ctl(dlg, bar.bar)) wyn_sbar_set_pos(ctl, SCROLL_CTL, value);
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    if (WINDOW label = wyn_win_get_ctl(dlg, bar.value)) wyn_vobj_set_title(label, text);
}

int bar_value(WINDOW dlg, const value_bar& bar) {
    WINDOW ctl = wyn_win_get_ctl(dlg, bar.bar);
    return ctl ? std::clamp(static_cast<int>(wyn_sbar_get_pos(ctl, SCROLL_CTL)),
                            static_cast<int>(bar.min), static_cast<int>(bar.max))
               : bar.min;
}

int scrolled_value(int value, int32_t action, int32_t pos, int min, int max, int page_step) {
    switch (action) {
    case SC_LINE_UP:
        value -= 1;
        break;
    case SC_LINE_DOWN:
        value += 1;
        break;
    case SC_PAGE_UP:
        value -= page_step;
        break;
    case SC_PAGE_DOWN:
        value += page_step;
        break;
    case SC_THUMB:
    case SC_THUMB_DRAG:
        value = pos;
        break;
    default:
        break;
    }
    return std::clamp(value, min, max);
}

void scroll_value_bar(WINDOW dlg, const value_bar& bar, const EVENT& ev, int page_step) {
    const auto& scroll = ev.v.ctl.ci.v.scroll;
    show_bar_value(dlg, bar,
                   scrolled_value(bar_value(dlg, bar), scroll.what, scroll.pos, bar.min, bar.max,
                                  page_step));
}

void fill_string_list(WINDOW list, int32_t first, int32_t last, const char* current) {
    for (int32_t id = first; id <= last; ++id) {
        char text[64];
        if (!wyn_res_get_str(id, text, sizeof text)) continue;
        wyn_list_add(list, -1, text);
        if (std::strcmp(text, current) == 0) wyn_list_set_sel(list, id - first, TRUE);
    }
}

bool is_checked(WINDOW dlg, int16_t id) {
    WINDOW ctl = wyn_win_get_ctl(dlg, id);
    return ctl && wyn_ctl_is_checked(ctl);
}

void set_checked(WINDOW dlg, int16_t id, bool checked) {
    if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_ctl_set_checked(ctl, checked ? TRUE : FALSE);
}

void check_radio(WINDOW dlg, int16_t id, const int16_t* group, int32_t count) {
    WINDOW ctls[8] = {};
    if (count < 1 || count > 8) return;
    for (int32_t i = 0; i < count; ++i)
        if (!(ctls[i] = wyn_win_get_ctl(dlg, group[i]))) return;
    if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_ctl_check_radio_button(dlg, ctl, ctls, count);
}

int32_t setup_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, HELP_TOPIC_CONFIGURATION, DLG_SETUP);
    // The program may end under the open dialog: without an application state only closing and
    // destruction are honoured.
    if (!g_app && ev->type != E_CLOSE && ev->type != E_DESTROY) return 0;
    switch (ev->type) {
    case E_CREATE:
        g_app->remote_view_held = 1;
        g_session = setup_session{};
        g_session.remote = g_app->remote_view != 0;
        g_session.ups = g_session.remote ? &g_app->remote : &g_app->local;
        g_session.modem = modem_settings_of(*g_session.ups);
        fill_controls(dlg, *g_session.ups);
        break;
    case E_DESTROY:
        close_modem_dialog();
        if (g_app) g_app->remote_view_held = 0;
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

bool run_setup_dialog(uint8_t* saved) {
    if (saved) *saved = 0;
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_SETUP, EM_ALL, setup_dialog_handler,
                              reinterpret_cast<intptr_t>(saved)) != nullptr;
}
