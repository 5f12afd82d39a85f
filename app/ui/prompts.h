// The standard dialogs as the application's windows use them: notes, errors and questions.
#pragma once

#include <cstdint>

// Shows text in a note with an "OK" button and returns once it is closed.
void ui_note(const char* text);

// Shows text in an error dialog with an "OK" button and returns once it is closed.
void ui_error(const char* text);

// Asks text with the buttons first and second; 0 for first, 1 for second, 2 when closed. While it
// waits, its event loop delivers every other event, the poll timer's included.
int16_t ui_ask(const char* first, const char* second, const char* text);
