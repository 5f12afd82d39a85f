// Internal side of the current-directory helpers: recording the start-up directory.
#pragma once

// Records the current directory as the one the application started in (by then the program has
// made its own directory current); false when it cannot be read.
bool portable_fsys_record_startup_dir();
