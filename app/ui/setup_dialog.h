// The configuration dialog: the UPS settings of the record in view, saved to the configuration;
// and the controls it shares with the modem and phone option dialogs.
#pragma once

#include <cstdint>
#include <wyn/events.h>

// Runs the modal configuration dialog on the record in view; *saved (when given) becomes 1 when
// the user saves with "OK" and 0 when the user cancels. False when the dialog could not be made.
bool run_setup_dialog(uint8_t* saved);

// The configuration dialog's event handler; its application data is the result flag (a uint8_t*,
// or 0 for none). The dialog edits the record in view when it is created and stores into that
// record, whatever the view shows by the time "OK" comes.
int32_t setup_dialog_handler(WINDOW dlg, EVENT* ev);

// A numeric setting edited with a horizontal bar, its value written as "%d" into a text control.
struct value_bar {
    int16_t bar;
    int16_t value;
    int16_t min;
    int16_t max;
};

// Sets the bar's range and shows value, clamped to it.
void init_value_bar(WINDOW dlg, const value_bar& bar, int value);

// Moves the bar to value clamped to its range and rewrites its text.
void show_bar_value(WINDOW dlg, const value_bar& bar, int value);

// The bar's position (its minimum when the control is missing).
int bar_value(WINDOW dlg, const value_bar& bar);

// A bar's value after one scroll action (the toolkit's SC_ codes, pos the thumb's position for a
// thumb move or drag): lines step by 1, pages by page_step, and the result stays within min and
// max. An action the bar does not know only brings value within them.
int scrolled_value(int value, int32_t action, int32_t pos, int min, int max, int page_step);

// Applies a scroll action of the bar's E_CONTROL as scrolled_value does and shows the result.
void scroll_value_bar(WINDOW dlg, const value_bar& bar, const EVENT& ev, int page_step = 1);

// Fills a list with the string-table entries first to last and selects the one equal to current.
void fill_string_list(WINDOW list, int32_t first, int32_t last, const char* current);

// Check state of control id (false when the control is missing); setting it on a missing control
// does nothing.
bool is_checked(WINDOW dlg, int16_t id);
void set_checked(WINDOW dlg, int16_t id, bool checked);

// Checks radio button id of the group of count ids and clears the others.
void check_radio(WINDOW dlg, int16_t id, const int16_t* group, int32_t count);
