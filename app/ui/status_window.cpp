// The status window's life inside the task window.
#include "ui/status_window.h"

#include "engine/app_state.h"
#include "engine/poll_cycle.h"
#include "engine/report.h"
#include "engine/serial_io.h"
#include "files/config_file.h"
#include "ui/prompts.h"
#include "ui/status_draw.h"
#include "ui/test_seam.h"
#include "ui/ui_host.h"
#include "ui/voltage_check.h"

#include <cstdio>
#include <wyn/checked/app.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/win.h>

namespace {
bool g_polling = false; // a poll can open a dialog whose loop delivers the next timer event

int16_t ask_voltage() {
    return ui_ask("208", "240", VOLTAGE_QUESTION);
}

void check_voltage(WINDOW win) {
    if (!g_app || !check_nominal_voltage(g_app->local, ask_voltage)) return;
    save_configuration(g_app->local, *g_app);
    if (g_app && g_app->status_window == win) wyn_dwin_invalidate_rect(win, nullptr);
}
} // namespace

WINDOW create_status_window(WINDOW task) {
    return wyn_win_create_res(STATUS_WINDOW_ID, task, EM_ALL, status_window_handler, 0);
}

int32_t status_window_handler(WINDOW win, EVENT* ev) {
    switch (ev->type) {
    case E_CREATE:
        if (!g_app) break;
        g_app->status_window = win;
        status_draw_reset();
        install_ui_host();
        // A scripted run is a test: it may only ever reach pseudo-terminals.
        if (test_seam_scripted()) forbid_real_serial_ports();
        if (ups_port_open() != 0) {
            char text[64];
            std::snprintf(text, sizeof text, "Error opening port: %s!", ups_port_in_use());
            post_message(text, MSG_PANEL | MSG_ALARM_LOG);
        }
        if (set_poll_period(1) != 0) wyn_app_destroy();
        break;
    case E_UPDATE:
        status_draw(win, false);
        break;
    case E_TIMER:
        if (g_app && ev->v.timer.id == g_app->poll_timer && !g_polling) {
            g_polling = true;
            poll_tick();
            check_voltage(win);
            g_polling = false;
        }
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
        if (!g_app || g_app->status_window != win) break;
        if (g_app->poll_timer) {
            wyn_timer_destroy(g_app->poll_timer);
            g_app->poll_timer = 0;
        }
        if (g_app->serial_handle >= 0) ups_port_close();
        g_app->status_window = nullptr;
        break;
    default:
        break;
    }
    return 0;
}
