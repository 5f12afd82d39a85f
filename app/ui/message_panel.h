// The status window's three-line message panel and the alarm pop-up shown while minimised.
#pragma once

#include <cstdint>
#include <wyn/events.h>

// Width of a panel line in characters.
inline constexpr int MESSAGE_LINE_WIDTH = 43;

// Shows text as the next panel line (scrolling from the fourth on), or clears the panel when it
// is empty; while the task window is minimised the text also goes, time-stamped, to the pop-up.
void message_panel_add(const char* text);

// Draws the panel on the status window: partial false also draws its frame and title.
void message_panel_draw(WINDOW win, bool partial);

// Panel line index (0 to 2): always 43 characters, or empty before anything was shown.
const char* message_panel_line(int index);

// Empties the panel and restarts filling at the first line.
void message_panel_reset();

// Installs the question "is the task window minimised?" (null: the toolkit is asked).
void set_task_minimised_query(bool (*query)());

// The alarm pop-up's event handler; returns 0.
int32_t alarm_popup_handler(WINDOW win, EVENT* ev);
