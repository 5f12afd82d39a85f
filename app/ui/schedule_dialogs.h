// The self-test and shutdown schedule dialogs.
#pragma once

// Runs the modal self-test schedule dialog (106) on the record in view; false when it could not be
// made.
bool run_selftest_dialog();

// Runs the modal shutdown schedule dialog (127) on the record in view; false when it could not be
// made.
bool run_shutdown_dialog();
