// The table control's private model and the internal steps its files share.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "table/table.h"

// One line slot of the ring: the line it holds (-1 when empty), its selection state and text.
struct table_slot {
    int32_t line = -1;
    uint8_t state = 0; // bit 0: selected
    bool has_text = false;
    std::string text;
};

struct table_model : custom_model {
    table_properties props;
    int32_t line_count = 0;
    int32_t widths_given = 0;
    int32_t first_visible = 0;
    int32_t page_lines = 1;
    int32_t h_offset = 0;
    int32_t h_max = 0;
    int32_t anchor = -1;
    int32_t sel_end = -1;
    int32_t single_sel = -1;
    int32_t cursor = -1;
    int32_t total_width = 3000;
    uint32_t create_flags = 0;
    int32_t leading = 0, ascent = 0, descent = 0;
    std::vector<table_slot> slots;
    bool suspended = false;
    int32_t next_sel_pos = 0;
    bool built_fonts = false;
    std::vector<FONT> own_fonts; // the built-in font table, made by the control
    int32_t seq = 0;             // the default callback's counter
    std::string out;             // the text handed out last
    bool dragging = false;
    bool destroyed = false;
    std::set<int32_t> marked;  // lines whose selection came from the selection callback
};

inline constexpr COLOR table_black = 0x07000000;
inline constexpr COLOR table_white = 0x0BFFFFFF;

// The model of a table control, or null after showing "<op> called with invalid window.".
table_model* table_model_of(WINDOW ctl, const char* op);

// The first line that can be shown and the highest first visible line.
int32_t table_least_line(const table_model& m);
int32_t table_most_first(const table_model& m);
// The slot holding line's place in the ring; null without a buffer.
table_slot* table_slot_of(table_model& m, int32_t line);
// The text of line (stored in the slot, or fetched through the callback); see the line fetch.
const std::string& table_fetch(WINDOW ctl, table_model& m, int32_t line);
// Stores text as line, growing the buffer when it may; false when the line has no room.
bool table_store(table_model& m, int32_t line, const char* text, bool has_text);
// Resizes the buffer to n slots, keeping the lines that still have a place.
void table_resize_buffer(table_model& m, int32_t n);

// Selection state of line and its change (notify 101 and repaint of the row).
uint8_t table_line_state(WINDOW ctl, table_model& m, int32_t line);
void table_set_line_state(WINDOW ctl, table_model& m, int32_t line, uint8_t state);
void table_deselect_all(WINDOW ctl, table_model& m);
// Sends the parent a notify; shows "WYNCM_notify failed" when it cannot be delivered.
void table_notify(WINDOW ctl, int16_t code, int32_t line, uint8_t state);

// Fonts: the body-font metrics and line height, the heading height, the built-in font table.
void table_measure(WINDOW ctl, table_model& m);
void table_compute_heading(WINDOW ctl, table_model& m);
void table_build_fonts(table_model& m);
void table_free_fonts(table_model& m);
int32_t table_column_width(const table_model& m, int32_t column);
void table_compute_total(table_model& m);

// View: page size, scroll bars, repainting, scrolling and cursor moves.
void table_compute_page(WINDOW ctl, table_model& m);
void table_update_bars(WINDOW ctl, table_model& m);
void table_invalidate(WINDOW ctl, table_model& m);
void table_invalidate_line(WINDOW ctl, table_model& m, int32_t line);
void table_scroll_to(WINDOW ctl, table_model& m, int32_t first);
void table_hscroll_to(WINDOW ctl, table_model& m, int32_t offset, bool unlimited);
void table_move_cursor(WINDOW ctl, table_model& m, int32_t line, bool shift, bool centre);
// The thumb position of the vertical bar and the first line a thumb position shows.
int32_t table_thumb_pos(const table_model& m);
int32_t table_thumb_line(const table_model& m, int32_t pos);

// The control's handler (creation, drawing, input) and preparation step.
int32_t table_handler(WINDOW ctl, EVENT* ev);
void table_prepare(int32_t count, const char* const* props, uint32_t* flags, RCT* rct);
void table_draw(WINDOW ctl, table_model& m);
