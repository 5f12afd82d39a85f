// The status window's life inside the task window.
#include "ui/status_window.h"

#include "engine/app_state.h"
#include "engine/monitor_state.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"
#include "engine/serial_io.h"
#include "files/config_file.h"
#include "ui/help_client.h"
#include "ui/poll_errors.h"
#include "ui/prompts.h"
#include "ui/status_draw.h"
#include "ui/test_seam.h"
#include "ui/ui_host.h"
#include "ui/ui_state.h"
#include "ui/voltage_check.h"

#include <cerrno>
#include <cstdio>
#include <res/ids.h>
#include <string>
#include <wyn/checked/app.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/win.h>

namespace {
// A poll can meet a toolkit dialog whose loop delivers the next timer event, and the poll cycle is
// not re-entrant: that tick is skipped.
bool g_polling = false;
// The voltage question is waiting for its answer; the polls its loop delivers must not ask again.
bool g_asking = false;

// Raises a flag for the length of a scope.
class flag_scope {
  public:
    explicit flag_scope(bool& flag) : flag_(flag) { flag_ = true; }
    ~flag_scope() { flag_ = false; }
    flag_scope(const flag_scope&) = delete;
    flag_scope& operator=(const flag_scope&) = delete;

  private:
    bool& flag_;
};

int16_t ask_voltage() {
    if (g_asking) return VOLTAGE_QUESTION_WITHDRAWN;
    int16_t answer;
    {
        flag_scope asking(g_asking);
        answer = ui_ask("208", "240", VOLTAGE_QUESTION);
    }
    // Polling went on while the question waited: the application may have ended (and its state
    // with it), or the UPS may have been replaced or given a voltage meanwhile.
    if (!g_app || !nominal_voltage_wanted(g_app->local)) return VOLTAGE_QUESTION_WITHDRAWN;
    return answer;
}

void check_voltage(WINDOW win) {
    if (!g_app || !check_nominal_voltage(g_app->local, ask_voltage)) return;
    if (save_configuration(g_app->local, *g_app) != 0)
        post_brief_message(CONFIGURATION_SAVE_FAILED, configuration_save_failure(errno).c_str(),
                               MSG_PANEL | MSG_EVENT_LOG);
    if (g_ui.status_window == win) wyn_dwin_invalidate_rect(win, nullptr);
}
} // namespace

WINDOW create_status_window(WINDOW task) {
    return wyn_win_create_res(WIN_STATUS, task, EM_ALL, status_window_handler, 0);
}

int32_t status_window_handler(WINDOW win, EVENT* ev) {
    // The status window's topic and its controls' come from the association file.
    help_follow_window(win, *ev, 0, WIN_STATUS);
    switch (ev->type) {
    case E_CREATE:
        if (!g_app) break;
        g_ui.status_window = win;
        status_draw_reset();
        install_ui_host();
        // A test run, logged or scripted, may only ever reach pseudo-terminals.
        if (test_seam_active()) forbid_real_serial_ports();
        if (ups_port_open() != 0) {
            const std::string text = "Error opening port: " + ups_port_in_use() + "!";
            post_message(text.c_str(), MSG_PANEL | MSG_ALARM_LOG);
        }
        if (set_poll_period(POLL_FAST_SECONDS) != 0) wyn_app_destroy();
        break;
    case E_UPDATE:
        status_draw(win, false);
        break;
    case E_TIMER:
        if (!g_app || ev->v.timer.id != g_ui.poll_timer || g_polling) break;
        {
            flag_scope polling(g_polling);
            poll_error_scope errors;
            poll_tick();
        }
        // Outside the poll's guard: the question's own loop, and those of the error dialogs, must
        // go on polling, so that a power failure is seen and acted on while they wait for the user.
        check_voltage(win);
        show_poll_errors();
        break;
    case E_CLOSE:
        wyn_vobj_destroy(win);
        break;
    case E_QUIT:
        if (ev->v.quit.query)
            wyn_app_allow_quit();
        else
            wyn_app_destroy();
        break;
    case E_DESTROY:
        if (!g_app || g_ui.status_window != win) break;
        the_ui_host().stop_poll_timer();
        g_app->engine.timer_running = false;
        if (g_app->serial_handle >= 0) ups_port_close();
        g_ui.status_window = nullptr;
        break;
    default:
        break;
    }
    return 0;
}
