// Pictures of the task window for runs without a screen: with WYN_SNAPSHOT naming a PNG file, the
// task window as it looks is saved there about once a second and when the application ends.
#pragma once

// Reads WYN_SNAPSHOT and, when it names a file, starts saving the task window there every second.
void snapshot_start();

// Saves the task window now (a temporary file renamed over the named one); false when no file
// is named, there is no task window, or the file could not be written.
bool snapshot_take();
