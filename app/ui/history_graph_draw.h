// Drawing of the history graph, on screen (scaled with the display) and on paper (five times).
#pragma once

#include "ui/history_graph_data.h"

#include <string>
#include <wyn/types.h>

// What a draw shows: the loaded data, the page, the graph chosen and what the headings name.
struct graph_view {
    const graph_data* data = nullptr;
    int page = 0;
    bool battery = false;    // the battery graph, else line voltage
    int voltage_class = 0;   // 0 the 120 V family, any other the 230 V family
    std::string day;         // "mm/dd/yy", or "Select All"
    std::string workstation; // the UPS in view, named on paper
};

// The coordinate c of the graph's layout on screen (scaled with the display) or on paper (c × 5).
int graph_coord(int c, bool on_screen);

// Draws the axes, labels and headings, and the page's points of the chosen graph when data is
// present and the page's first record exists. Text is drawn without background fill; the caller
// sets the font (on screen it has cleared the window to blue).
void graph_draw(WINDOW win, bool on_screen, const graph_view& view);
