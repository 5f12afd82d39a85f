// Drawing of the status window: the clock, the UPS-in-view and status panels, and the gauges.
#pragma once

#include "model/ups_status.h"

#include <wyn/types.h>

// Chooses the display scale from the dialog font's average character width (1.25 from 9 up).
void status_scale_init(int dialog_base_width);

// Chooses the display scale from the toolkit's dialog font; called once before any window opens.
void status_scale_init();

// The display scale factor, 1.0 or 1.25.
float status_scale();

// value × scale factor, rounded half up.
int status_scaled(int value);

// The task window object; null before the application has made it.
WINDOW task_window_object();

// Maximises the task window when the display is scaled, so that scaled windows fit in it.
void status_maximize_frame();

// Shows icon resource name ("Normal", "Battery1" ... "Battery7", case ignored) as the task
// window's icon, repaints the task window, and returns a minimised one to its unflashed state.
void status_set_icon(const char* name);

// Forgets what was drawn, so that the next draw starts from a zeroed record.
void status_draw_reset();

// Draws the status window: partial false draws labels, frames and values, true only the values.
void status_draw(WINDOW win, bool partial);

// Draws the clock panel from the poll clock; partial false also draws its frame.
void status_draw_clock(WINDOW win, bool partial);

// Sets the window font and the white-on-blue tools every status draw starts from.
void status_set_tools(WINDOW win);

// Draws a filled panel with its inset frame (white right and bottom, grey left and top).
void status_draw_panel(WINDOW win, const RCT& panel, const RCT& frame);

// Top of the line-voltage bar for voltage v of voltage class cls; -1 when no bar is drawn.
int voltage_bar_top(int v, int cls);

// Top of the percent-load bar; -1 when no bar is drawn.
int load_bar_top(int load);

// Top of the battery-charge bar; -1 when no bar is drawn.
int battery_bar_top(int charge);

// Height of the high line-voltage arrow for threshold t; -1 when it is out of the gauge's range.
int high_voltage_arrow_y(int t, int cls);

// Height of the low line-voltage arrow for threshold t; -1 when it is out of the gauge's range.
int low_voltage_arrow_y(int t, int cls);

// Height of the load arrow for threshold t (percent).
int load_arrow_y(int t);

// Height of the battery arrow for threshold t (percent).
int battery_arrow_y(int t);
