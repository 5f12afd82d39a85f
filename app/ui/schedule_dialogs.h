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

