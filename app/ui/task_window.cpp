// The task window's events: loading the settings, the set-up loop, the status window, and the end.
#include "ui/task_window.h"

#include "engine/app_state.h"
#include "engine/command_line.h"
#include "engine/os_shutdown.h"
#include "engine/port_discovery.h"
#include "engine/report.h"
#include "files/config_file.h"
#include "ui/fixed_text.h"
#include "ui/help_client.h"
#include "ui/menu_bar.h"
#include "ui/menu_commands.h"
#include "ui/prompts.h"
#include "ui/setup_dialog.h"
#include "ui/status_draw.h"
#include "ui/status_window.h"
#include "ui/test_seam.h"
#include "ui/ui_state.h"

#include <memory>
#include <new>
#include <res/ids.h>
#include <string>
#include <utility>
#include <wyn/checked/app.h>
#include <wyn/checked/win.h>

uint8_t g_pnp_search = 0;

namespace {

constexpr int16_t kRemoteMenuItems[] = {CMD_VIEW_LOCAL_UPS, CMD_VIEW_REMOTE_UPS,
                                        CMD_VIEW_NETWORK_ALERT_LOG};
constexpr char kDefaultHardwareId[] = "QRW0001";

// Owns the application state for the task window's life; g_app points into it.
std::unique_ptr<app_state> g_app_owner;

// Allocates the state record zero-filled and gives it its start-up values; false when it cannot.
bool create_app_state() {
    g_app_owner.reset(new (std::nothrow) app_state{});
    g_app = g_app_owner.get();
    if (!g_app) return false;
    // A test run's clock may run fast; it is the engine's clock from the start.
    g_app->engine.clock = test_seam_clock();
    app_stamp_poll_time(*g_app, app_now());
    ups_status& local = g_app->local;
    if (local.hardware_id[0] == '\0') copy_text(local.hardware_id, kDefaultHardwareId);
    local.found_port[0] = '\0';
    local.port_in_use[0] = '\0';
    local.port_found = 0;
    return true;
}

void apply_command_line(uint8_t& setup_done) {
    command_line_options options{g_app->engine.debug_level, setup_done, g_pnp_search, {}};
    copy_text(options.hardware_id, g_app->local.hardware_id);
    parse_command_line(reinterpret_cast<const char*>(wyn_vobj_get_attr(nullptr, ATTR_CMD_LINE)),
                       options);
    g_app->engine.debug_level = options.debug_level;
    setup_done = options.setup_done;
    g_pnp_search = options.pnp_search;
    copy_text(g_app->local.hardware_id, options.hardware_id);
}

// What went wrong loading the settings, for the message panel once the status window shows it.
settings_problems g_settings_problems;

// Loads thresholds, alarm kinds and the configuration in that order; false when there was no
// configuration file (or none that could be read). What went wrong goes to the event log now
// and to the message panel once there is one (show_settings_problems).
bool load_settings() {
    ups_status& local = g_app->local;
    settings_problems problems;
    load_thresholds(local, &problems);
    load_alarm_kinds(local, &problems);
    const bool configured = load_configuration(local, *g_app, app_now(), &problems) != 2;
    for (const std::string& text : problems) post_message(text.c_str(), MSG_EVENT_LOG);
    g_settings_problems = std::move(problems);
    if (g_pnp_search) {
        // The UPS's own adapter, found by its hardware id, wins over the configured port; when
        // it is not plugged in, the configured port is used.
        local.port_found =
            find_port(local.hardware_id, local.found_port, sizeof local.found_port,
                      &engine_trace())
                ? 1
                : 0;
        if (!local.port_found) local.found_port[0] = '\0';
        g_pnp_search = 0;
    }
    return configured;
}

void show_settings_problems() {
    // The event log has had the whole story; the panel's lines hold 43 characters.
    if (!g_settings_problems.empty()) {
        post_message("Damaged settings: defaults are in use.", MSG_PANEL);
        post_message("The event log norva.log says which.", MSG_PANEL);
    }
    g_settings_problems.clear();
}

// Runs the configuration dialog until the user saves; false when the user chose to exit.
bool run_setup_loop(uint8_t& setup_done) {
    while (!setup_done) {
        if (!run_setup_dialog(&setup_done)) ui_error("Can't open dialog");
        // The session may have ended while the dialog was up, taking the windows and the
        // application state with it: there is no one left to ask.
        if (!g_app) return false;
        if (setup_done) break;
        if (ui_ask("No", "Yes",
                   "No configuration data was saved.  Do you wish to exit VoltSentry+?") == 1)
            return false;
    }
    return true;
}

void on_create(WINDOW task) {
    enable_menu_item(task, MENU_HELP, true);
    // Help opens its file only when first asked; the set-up dialog below may ask already.
    help_install_hook();
    help_add_assoc(task, MENU_HELP, HELP_TOPIC_INDEX, HELP_ASSOC_MENU, MENU_MAIN);
    uint8_t setup_done = 1;
    g_app = nullptr;
    g_pnp_search = 1;
    if (!create_app_state()) {
        terminate_application();
        return;
    }
    if (wyn_vobj_get_attr(nullptr, ATTR_PREV_INSTANCE) != 0) {
        ui_note("VoltSentry Plus is already running!");
        terminate_application();
        return;
    }
    apply_command_line(setup_done);
    app_stamp_poll_time(*g_app, app_now());
    if (!load_settings()) setup_done = 0;
    if (!run_setup_loop(setup_done)) {
        if (g_app) terminate_application();
        return;
    }
    copy_text(g_app->ups_in_view, g_app->local.ups_id);
    g_ui.task_window = wyn_vobj_get_attr(task, ATTR_NATIVE_WINDOW);
    status_scale_init();
    for (int16_t tag : kRemoteMenuItems) enable_menu_item(task, tag, g_app->network_enabled != 0);
    if (!create_status_window(task)) {
        terminate_application();
        return;
    }
    show_settings_problems();
    // Said now, while there is time to act on it, not when the battery is running out.
    warn_if_power_off_refused();
    test_seam_application_ready(task);
}

void on_destroy() {
    help_close();
    g_app = nullptr;
    g_app_owner.reset();
    g_ui = ui_state{};
}

} // namespace

void terminate_application() {
    wyn_app_destroy();
}

int32_t task_window_handler(WINDOW win, EVENT* ev) {
    switch (ev->type) {
    case E_CREATE:
        on_create(win);
        break;
    case E_DESTROY:
        on_destroy();
        break;
    case E_CLOSE:
        terminate_application();
        break;
    case E_COMMAND:
        dispatch_menu_command(win, ev->v.cmd.tag);
        break;
    case E_QUIT:
        if (ev->v.quit.query)
            wyn_app_allow_quit();
        else
            terminate_application();
        break;
    default:
        break;
    }
    return 0;
}
