// The working copy of the data log, "norvatmp.dat", which the history graph and the continuous
// log viewer read while they are open.
#pragma once

inline constexpr const char* WORKING_COPY_FILE = "norvatmp.dat";

// Takes a fresh copy of the data log for one more window, while the local UPS is in view (the
// remote view has none, and then no file is left in its place).
void working_copy_take();

// The window that took the copy is done with it: the file goes once no window holds it, so that
// one window closing never takes the copy from under another.
void working_copy_release();

// Removes a copy that no window holds any more (one an earlier run left behind), never one in use.
void working_copy_discard_unheld();
