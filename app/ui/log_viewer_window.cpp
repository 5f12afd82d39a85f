// What the viewer windows share: their opening and their common events.
#include "ui/log_viewer_window.h"

#include "table/hosting.h"
#include "ui/prompts.h"
#include "ui/status_draw.h"

#include <wyn/checked/dwin.h>
#include <wyn/checked/win.h>

bool open_viewer(int32_t id, EVENT_HANDLER handler, bool (*empty)(WINDOW win), const char* note,
                 intptr_t app_data) {
    WINDOW task = task_window_object();
    if (!task) return false;
    WINDOW win = wyn_win_create_res(id, task, EM_ALL, handler, app_data);
    if (!win) return false;
    // Told after the window is made, not in its E_CREATE, where destroying it would read as a
    // window that could not be opened.
    if (empty(win)) {
        ui_note(note);
        // The note's own loop may have let the window go already.
        if (empty(win)) wyn_vobj_destroy(win);
    }
    return true;
}

bool viewer_common_event(WINDOW win, EVENT* ev) {
    switch (ev->type) {
    case E_UPDATE:
        wyn_dwin_clear(win, COLOR_LTGRAY);
        return true;
    case E_CLOSE:
        wyn_vobj_destroy(win);
        return true;
    case E_CHAR:
        custom_ctl_route_key(win, ev);
        return true;
    default:
        return false;
    }
}
