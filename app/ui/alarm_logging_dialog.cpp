// The alarm logging dialog's grid of check boxes over the alarms' message kinds.
#include "ui/alarm_logging_dialog.h"

#include "engine/app_state.h"
#include "engine/report.h"
#include "files/config_file.h"
#include "ui/help_client.h"
#include "ui/prompts.h"
#include "ui/setup_dialog.h"
#include "ui/view_dialog.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <res/ids.h>
#include <string>
#include <wyn/checked/dlg.h>
#include <wyn/checked/win.h>

namespace {

// Every kind the dialog stores carries the flag of value 16, which no destination reads.
constexpr int16_t kStoredFlag = 16;

// A column of the grid: the destination's bit of the message kind and its boxes in alarm order.
struct destination {
    int16_t bit;
    int16_t header;
    int16_t boxes[ALARM_COUNT];
};

constexpr destination kLocalLog{
    MSG_ALARM_LOG,
    IDL_LOG_HEADER,
    {IDL_LOW_LOG, IDL_HIGH_LOG, IDL_LOAD_LOG, IDL_BATTERY_LOG, IDL_TEMPERATURE_LOG}};
constexpr destination kLocalBroadcast{MSG_PANEL,
                                      IDL_BROADCAST_HEADER,
                                      {IDL_LOW_BROADCAST, IDL_HIGH_BROADCAST, IDL_LOAD_BROADCAST,
                                       IDL_BATTERY_BROADCAST, IDL_TEMPERATURE_BROADCAST}};
constexpr destination kMasterAlertLog{
    MSG_FORWARD,
    IDL_ALERT_HEADER,
    {IDL_LOW_ALERT, IDL_HIGH_ALERT, IDL_LOAD_ALERT, IDL_BATTERY_ALERT, IDL_TEMPERATURE_ALERT}};
constexpr const destination* kColumns[] = {&kLocalLog, &kLocalBroadcast, &kMasterAlertLog};

constexpr int16_t kBroadcastRadios[] = {IDL_NO_BROADCAST, IDL_LOCAL_DOMAIN, IDL_ALL_USERS,
                                        IDL_USE_DOMAIN_LIST};

bool is_box(int16_t id) {
    for (const destination* column : kColumns)
        for (int16_t box : column->boxes)
            if (box == id) return true;
    return false;
}

void fill_controls(WINDOW dlg) {
    const ups_status& ups = record_in_view();
    for (const destination* column : kColumns)
        for (int alarm = 0; alarm < ALARM_COUNT; ++alarm)
            set_checked(dlg, column->boxes[alarm], (ups.thresholds[alarm].kind & column->bit) != 0);
    // Without networking there is no alert server to forward to.
    if (!g_app->network_enabled) {
        if (WINDOW header = wyn_win_get_ctl(dlg, kMasterAlertLog.header))
            wyn_vobj_set_visible(header, FALSE);
        for (int16_t box : kMasterAlertLog.boxes)
            if (WINDOW ctl = wyn_win_get_ctl(dlg, box)) wyn_vobj_set_visible(ctl, FALSE);
    }
}

void store_kinds(WINDOW dlg) {
    ups_status& ups = record_in_view();
    for (int alarm = 0; alarm < ALARM_COUNT; ++alarm) {
        int16_t kind = kStoredFlag;
        for (const destination* column : kColumns)
            if (is_checked(dlg, column->boxes[alarm])) kind |= column->bit;
        ups.thresholds[alarm].kind = kind;
    }
    // The alarm-kind file holds the local UPS's settings, as the configuration file does.
    if (save_alarm_kinds(g_app->local) != 0) {
        const std::string text = std::string("Cannot save the alarm logging settings to ") +
                                 ALARM_KIND_FILE + ": " + std::strerror(errno) + ".";
        ui_error(text.c_str());
    }
}

void on_control(WINDOW dlg, const EVENT& ev) {
    const int16_t id = ev.v.ctl.id;
    if (is_box(id)) {
        set_checked(dlg, id, !is_checked(dlg, id));
        return;
    }
    switch (id) {
    case IDL_OK:
        store_kinds(dlg);
        wyn_vobj_destroy(dlg);
        break;
    case IDL_CANCEL:
        wyn_vobj_destroy(dlg);
        break;
    case IDL_NO_BROADCAST:
    case IDL_LOCAL_DOMAIN:
    case IDL_ALL_USERS:
    case IDL_USE_DOMAIN_LIST:
        check_radio(dlg, id, kBroadcastRadios, static_cast<int32_t>(std::size(kBroadcastRadios)));
        break;
    default:
        break;
    }
}

int32_t alarm_logging_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, HELP_TOPIC_ALARM_LOGGING, DLG_ALARM_LOGGING);
    return view_dialog_handler<fill_controls, on_control>(dlg, ev);
}

} // namespace

bool run_alarm_logging_dialog() {
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_ALARM_LOGGING, EM_ALL,
                              alarm_logging_dialog_handler, 0) != nullptr;
}
