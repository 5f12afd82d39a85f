// What the viewer windows share: opening one that may find nothing to show, and the events they
// all treat alike.
#pragma once

#include <wyn/events.h>
#include <wyn/types.h>

// Makes window resource id under the task window with handler and app_data; once it is made,
// when empty(win) says it has nothing to show, shows note and destroys it again. False when it
// could not be made.
bool open_viewer(int32_t id, EVENT_HANDLER handler, bool (*empty)(WINDOW win), const char* note,
                 intptr_t app_data = 0);

// E_UPDATE clears to the window's grey, E_CLOSE destroys the window, and keys go to its control
// that has the focus; true when ev was one of these.
bool viewer_common_event(WINDOW win, EVENT* ev);
