// The table control: lines of text in columns, fetched through a callback or appended as text,
// scrolled, selected, coloured by escape codes and copied, alone or in a window of its own.
#pragma once

#include <cstdint>
#include <string>
#include <wyn_checked.h>

#include "table/hosting.h"

// The control's class name in the custom-control layer.
inline constexpr const char* table_class_name = "table";

// Flag bits of table_properties::flags.
enum : uint32_t {
    TF_CALLBACK = 0x0001,      // lines missing from the buffer come from the line-text callback
    TF_GROW = 0x0002,          // the buffer grows when a line beyond it is stored
    TF_RING = 0x0004,          // overwritten lines can no longer be scrolled to
    TF_SEPARATORS = 0x0008,    // vertical lines between columns
    TF_VIEWER = 0x0010,        // kept for the application; the control does not read it
    TF_HEADING_RULE = 0x0020,  // a rule under the heading
    TF_SELECT = 0x0040,        // lines can be selected
    TF_MULTI_SELECT = 0x0080,  // with TF_SELECT: multiple selection
    TF_NO_CLIP = 0x0100,       // a column's text may run over the following columns
    TF_APPENDED = 0x0200,      // appended-text mode (table_printf)
    TF_EDGE_LEFT = 0x0400,     // table_resize keeps these edges at their distance from the
    TF_EDGE_TOP = 0x0800,      // parent's client edges
    TF_EDGE_RIGHT = 0x1000,
    TF_EDGE_BOTTOM = 0x2000,
    TF_EDGES = 0x3C00,
    TF_FIXED_HEIGHT = 0x4000,  // the line height is not recomputed from the body font
    TF_NO_ESCAPES = 0x8000,    // escape codes are shown as text
};

// Notify codes the control sends its parent (custom_notify::code, class "table").
enum : int16_t {
    TN_SEL_CHANGED = 101, // line: the line, state: its new state bits
    TN_DESELECT_ALL = 102,
    TN_DOUBLE_CLICK = 103, // also a click while selection is off
    TN_FOCUS_GAINED = 104,
    TN_FOCUS_LOST = 105,
    TN_MOUSE_UP = 106, // line: the line under the pointer
};

inline constexpr int32_t table_max_widths = 31;
inline constexpr int32_t table_grow_step = 500;
inline constexpr int32_t table_max_buffer_lines = 5461;
inline constexpr int32_t table_printf_min_lines = 50;
// The menu item a table window's Copy command carries.
inline constexpr int16_t table_copy_command = 32028;

struct table_model;

// Gives the text of line (valid until the next call) and may set *attribute, whose low two bits
// are stored as the line's state with TF_CALLBACK. Called once with line -1 when the control is
// destroyed, so that the application can release its data (the result is then ignored).
using table_line_fn = const char* (*)(WINDOW ctl, table_model* model, int32_t line,
                                      int16_t* attribute);
// The state bits of a line not in the buffer (multiple selection only).
using table_sel_fn = int16_t (*)(WINDOW ctl, table_model* model, int32_t line);
// Called before a line is drawn; FALSE when it drew the line itself.
using table_draw_fn = BOOLEAN (*)(WINDOW ctl, table_model* model, int32_t line, int32_t x,
                                  int32_t baseline, int32_t line_height, const char* text);

// The public part of the control's model.
struct table_properties {
    uint32_t flags = 0xE8;
    uint32_t reserved = 0;      // stored and returned unchanged
    int32_t buffer_lines = 1;   // line slots
    int32_t line_height = 0;    // pixels; recomputed from the body font unless TF_FIXED_HEIGHT
    int32_t widths[table_max_widths] = {}; // pixels; below 1 counts as 100
    table_line_fn line_text = nullptr;     // null: the default "Line %ld (Seq %d)"
    table_sel_fn line_sel = nullptr;
    table_draw_fn line_draw = nullptr;
    COLOR rule_color = 0x09808080;
    COLOR heading_color = 0x00400040;
    COLOR text_color = 0x000000FF;
    COLOR back_color = 0x00FFFFE8;
    int32_t heading_height = 0; // pixels; 0 without a heading
    int32_t left_margin = 4;
    int32_t column_gap = 20;
    int32_t horz_step = 40;
    std::string heading;        // columns separated by TAB
    int16_t edge_top = 0, edge_left = 0, edge_bottom = 0, edge_right = 0;
    int32_t color_count = 0;       // 0: the built-in 11 colours
    const COLOR* colors = nullptr; // the caller's; must outlive the control's use of it
    int32_t font_count = 0;        // 0: the built-in 12 fonts
    FONT* fonts = nullptr;         // the caller's fonts; they stay the caller's
    FONT heading_font = nullptr;   // table_get_properties: the control's own (do not destroy);
    FONT body_font = nullptr;      // table_set_properties copies them
    uint16_t release = 0;          // must be 0
};

// Registers the "table" class with the custom-control layer (done by table_create too).
void table_register_class();

// Makes a table control (custom_ctl_create with class "table"): its properties list is read for
// NOVERTSCROLL, NOHORZSCROLL, INVISIBLE, SCALED, SIZE, POS and TRANSLATED. Null on failure.
WINDOW table_create(int16_t id, const RCT* rct, int32_t prop_count, const char* const* props,
                    WINDOW parent, intptr_t app_value, uint32_t flags);

// Every operation below takes the control first; given a window that is not a table control it
// shows "<name> called with invalid window." and does nothing (returning false, null or -1).

// Empties the table: no lines, no selection, no heading, view at the top, TF_CALLBACK set and
// TF_SEPARATORS, TF_NO_CLIP, TF_GROW and TF_RING cleared; notifies 102.
void table_clear(WINDOW ctl);
// A virtual table of line_count lines read through line_text (null: the default) and sel.
void table_display(WINDOW ctl, int32_t line_count, table_line_fn line_text, table_sel_fn sel);
// Appends the formatted text as lines, one per line feed and one for the last piece, switching
// the table to appended-text mode, and shows the end.
void table_printf(WINDOW ctl, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Sets the heading (columns separated by TAB; null removes it) and TF_SEPARATORS.
void table_headings(WINDOW ctl, const char* text);
// Sets up to 31 column widths, in pixels or in average characters of the body font.
void table_widths(WINDOW ctl, int32_t count, const int32_t* widths, BOOLEAN in_pixels);
// Copies the properties into *props; false on an invalid window.
bool table_get_properties(WINDOW ctl, table_properties* props);
// Replaces the properties (fonts copied, buffer resized, heading, widths and line height
// recomputed); refused with "table_set_properties called with an R3 properties structure." when
// props->release is not 0. Deselects all first.
bool table_set_properties(WINDOW ctl, const table_properties* props);
// Moves the control so that the edges chosen by TF_EDGE_* keep their distances from the
// parent's client edges.
void table_resize(WINDOW ctl);
// Moves the cursor to line as the cursor keys do and brings it into view, centred on request.
void table_jump(WINDOW ctl, int32_t line, BOOLEAN centre);
// Sets a line's state; a negative line sets state on every line (0: deselects all, notify 102).
void table_set_sel(WINDOW ctl, int32_t line, int16_t state);
// Stops drawing and scroll-bar updates until table_resume, which repaints and processes
// pending events.
void table_suspend(WINDOW ctl);
void table_resume(WINDOW ctl);
// The selected lines in ascending order: the text of the first or next one, its number in
// *line; null when none is left. The text is valid until the next call on the control.
const char* table_first_sel(WINDOW ctl, int32_t* line);
const char* table_next_sel(WINDOW ctl, int32_t* line);
// The text of line (valid until the next call on the control); null outside 0 ... count - 1.
const char* table_get_line(WINDOW ctl, int32_t line);
// The number of lines; -1 on an invalid window.
int32_t table_line_count(WINDOW ctl);
// The first visible line and the cursor line (-1 none); -1 on an invalid window.
int32_t table_first_visible(WINDOW ctl);
int32_t table_cursor(WINDOW ctl);
// Copies the selected lines, each ended by CR LF, to the clipboard; false when it failed (the
// reason shown). Warns when 64 K or more are copied.
bool table_copy(WINDOW ctl);
// A document window under the task window holding one table control that fills it and follows
// its edges, with Copy (menu item 32028) when the window has application data. Returns the
// control; null after "Can't open window" or "Can't access table control.".
WINDOW table_window_create(const RCT* rct, const char* title, int16_t menu_id);
