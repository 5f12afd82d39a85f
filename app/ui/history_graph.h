// The history graph window: a day of line voltage or battery charge from the data log.
#pragma once

#include "ui/history_graph_draw.h"

#include <wyn/events.h>
#include <wyn/types.h>

// Opens the history graph window (108), or brings the open one forward; false when it could not be
// made. "History Graphs" is disabled while the window is open.
bool open_history_graph();

// The open history graph window; null while there is none.
WINDOW history_graph_window();

// What the open window shows (its data, page, graph and day); null while there is none.
const graph_view* history_graph_view();

// The window's event handler (108's controls: 1 close, 2 previous and 3 next page, 4 line voltage
// and 5 battery graph, 6 print, 7 day list).
int32_t history_graph_handler(WINDOW win, EVENT* ev);
