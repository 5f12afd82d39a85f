// The self-test and shutdown schedule dialogs.
#pragma once

#include <cstdint>

// Runs the modal self-test schedule dialog (106) on the record in view; false when it could not be
// made. "OK" stores the schedule in that record, asks the engine to re-arm it and writes the
// configuration.
bool run_selftest_dialog();

// Runs the modal shutdown schedule dialog (127) on the record in view; false when it could not be
// made. "OK" stores the shutdown and restart schedules in that record, asks the engine to reset its
// shutdown warnings and writes the configuration; an immediate shutdown is first confirmed.
bool run_shutdown_dialog();

// An hour or minute bar's value after one scroll action (the toolkit's SC_ codes, pos the thumb's
// position for a thumb move or drag): lines step by 1, pages by page_step, and the result stays
// within min and max. An action the bar does not know only brings value within them.
int scrolled_clock_value(int value, int32_t action, int32_t pos, int min, int max, int page_step);
