// The history graph window: a day of line voltage or battery charge from the data log.
#pragma once

// Opens the history graph window (108), or brings the open one forward; false when it could not be
// made.
bool open_history_graph();
