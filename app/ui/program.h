// The program's main routine, the directory its files live in and its start-up options.
#pragma once

#include <string>

// The directory holding the program: that of argv0 when it names a path, else that of the running
// executable; "." when neither is known.
std::string program_directory(const char* argv0);

// What the command line asks of the start.
struct start_plan {
    // The program directory: where the configuration, the logs, SHUTDOWN.BAT and the "COMn" links
    // are read and written.
    std::string directory;
    // -1: go on and run the program. 0 or above: the start is over and the process ends with it
    // (an option was carried out, or failed and said why on standard error).
    int exit_status = -1;
};

// Takes the start-up options out of argv (argc shrinks to match), so the toolkit sees only the
// application's own tokens, and carries them out:
//   --data-dir DIR (or --data-dir=DIR): the program directory is DIR, made when missing.
//   --autostart on|off: writes or removes the entry that starts the program with the desktop
//     session ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart), then the start is over.
// Without --data-dir an installed program (one with ../share/voltsentry beside its directory)
// keeps its files in $XDG_DATA_HOME/voltsentry (by default ~/.local/share/voltsentry), made on
// its first start, and the share directory is added to HELP so the help file is found; any other
// program keeps them in its own directory, as a run from the build tree always did.
// Exit statuses: 0 done, 1 a directory or the entry could not be written, 2 a malformed option.
start_plan plan_start(int& argc, char** argv);

// Makes the program directory current, sets the toolkit attributes and runs the application
// until it quits; returns 0.
int voltsentry_main(int argc, char** argv, const std::string& directory);
