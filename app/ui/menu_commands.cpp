// Dispatch of the menu bar's commands to the windows, dialogs and notes they open.
#include "ui/menu_commands.h"

#include "engine/app_state.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"
#include "ui/alarm_logging_dialog.h"
#include "ui/alert_viewer.h"
#include "ui/history_graph.h"
#include "ui/log_viewer.h"
#include "ui/phone_dialog.h"
#include "ui/prompts.h"
#include "ui/remote_selector.h"
#include "ui/schedule_dialogs.h"
#include "ui/schedule_notes.h"
#include "ui/setup_dialog.h"
#include "ui/task_window.h"
#include "ui/thresholds_dialog.h"

#include <cstdio>
#include <res/ids.h>

namespace {

void open_dialog(bool opened) {
    if (!opened) ui_error("Can't open dialog");
}

void open_window(bool opened) {
    if (!opened) ui_error("Can't open window");
}

void show_firmware_revision() {
    const ups_status& ups = g_app->remote_view ? g_app->remote : g_app->local;
    char text[40];
    std::snprintf(text, sizeof text, "Firmware Revision: %d", ups.firmware);
    ui_note(text);
}

} // namespace

void dispatch_menu_command(WINDOW, int16_t tag) {
    switch (tag) {
    case CMD_EXIT:
        terminate_application();
        break;
    case CMD_VIEW_REMOTE_UPS:
        open_window(open_remote_selector());
        break;
    case CMD_VIEW_CONTINUOUS_LOG:
        open_window(open_continuous_log());
        break;
    case CMD_FIRMWARE_REVISION:
        show_firmware_revision();
        break;
    case CMD_SET_ALARM_LOGGING:
        open_dialog(run_alarm_logging_dialog());
        break;
    case CMD_ENABLE_PHONE_REMOTE:
        open_dialog(run_phone_dialog());
        break;
    case CMD_SET_UPS_PARAMETERS:
        open_dialog(run_setup_dialog(nullptr));
        break;
    case CMD_SET_ALARM_THRESHOLDS:
        open_dialog(run_thresholds_dialog());
        break;
    case CMD_HISTORY_GRAPHS:
        open_window(open_history_graph());
        break;
    case CMD_CLEAR_MESSAGES:
        post_message("", MSG_PANEL);
        break;
    case CMD_VIEW_LOCAL_UPS:
        leave_remote_view();
        break;
    case CMD_SCHEDULE_SHUTDOWN:
        open_dialog(run_shutdown_dialog());
        break;
    case CMD_VIEW_SHUTDOWN:
        show_shutdown_schedule();
        break;
    case CMD_VIEW_SELF_TEST:
        show_selftest_schedule();
        break;
    case CMD_SCHEDULE_SELF_TEST:
        open_dialog(run_selftest_dialog());
        break;
    case CMD_CANCEL_SELF_TEST:
        cancel_selftest_schedule();
        break;
    case CMD_VIEW_ALERT_LOG:
        open_window(open_alert_log(0));
        break;
    case CMD_VIEW_NETWORK_ALERT_LOG:
        open_window(open_alert_log(1));
        break;
    // The pop-up menus' own ids and the rest of the range do nothing.
    default:
        break;
    }
}
