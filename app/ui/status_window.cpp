// The status window's life inside the task window.
#include "ui/status_window.h"

#include "engine/app_state.h"

#include <wyn/checked/dlg.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/win.h>

WINDOW create_status_window(WINDOW task) {
    return wyn_win_create_res(STATUS_WINDOW_ID, task, EM_ALL, status_window_handler, 0);
}

int32_t status_window_handler(WINDOW win, EVENT* ev) {
    switch (ev->type) {
    case E_CREATE:
        if (g_app) g_app->status_window = win;
        break;
    case E_UPDATE:
        wyn_dwin_clear(win, COLOR_BLUE);
        break;
    case E_DESTROY:
        if (g_app && g_app->status_window == win) g_app->status_window = nullptr;
        break;
    default:
        break;
    }
    return 0;
}
