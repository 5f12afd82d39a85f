// The frame of the modal dialogs that edit the record in view: they hold the view while open.
#pragma once

#include "engine/app_state.h"

#include <cstdint>
#include <wyn/checked/win.h>
#include <wyn/events.h>

// The record the dialogs edit: the remote UPS's while it is in view, else the local one. Needs an
// application state.
inline ups_status& record_in_view() {
    return g_app->remote_view ? g_app->remote : g_app->local;
}

// The event handler of a dialog on the record in view: the remote view held flag is 1 from its
// E_CREATE to its E_DESTROY, fill fills the controls on E_CREATE, on_control takes each E_CONTROL,
// and closing the window destroys the dialog. Once the application state is gone (the program
// ending under an open dialog) only a close is honoured.
template <void (*fill)(WINDOW), void (*on_control)(WINDOW, const EVENT&)>
int32_t view_dialog_handler(WINDOW dlg, EVENT* ev) {
    if (ev->type == E_CLOSE) {
        wyn_vobj_destroy(dlg);
        return 0;
    }
    if (!g_app) return 0;
    switch (ev->type) {
    case E_CREATE:
        g_app->remote_view_held = 1;
        fill(dlg);
        break;
    case E_DESTROY:
        g_app->remote_view_held = 0;
        break;
    case E_CONTROL:
        on_control(dlg, *ev);
        break;
    default:
        break;
    }
    return 0;
}
