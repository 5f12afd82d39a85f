// The alarm logging and broadcasting dialog: where each alarm's message goes.
#pragma once

// Runs the modal alarm logging dialog (111) on the record in view; false when it could not be made.
bool run_alarm_logging_dialog();
