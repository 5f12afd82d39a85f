// The alarm thresholds dialog: the five alarm limits of the record in view, saved to the threshold file.
#pragma once

// Runs the modal alarm thresholds dialog (103) on the record in view; false when it could not be made.
bool run_thresholds_dialog();
