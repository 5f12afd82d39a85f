// Shutting the operating system down: the user's SHUTDOWN.BAT, then the power-off.
#pragma once

// The user's script, run with /bin/sh from the program's (current) directory before the power-off.
inline constexpr const char* SHUTDOWN_SCRIPT = "SHUTDOWN.BAT";

// Environment variable naming a command run with /bin/sh instead of the real power-off.
inline constexpr const char* POWEROFF_VARIABLE = "VOLTSENTRY_POWEROFF";

// The right to shut down: on switches it on (1 when this process may power the machine off,
// else 0 with a diagnostic line), off gives it back (1).
int privilege_switch(const char* privilege, bool on);

// Runs SHUTDOWN.BAT when it exists (waiting for it), then powers the machine off, or runs the
// VOLTSENTRY_POWEROFF command instead; 0, or 2 when the power-off request failed. Without the
// right to power off nothing is run and the result is 0.
int shutdown_system();

// From now on the real power-off is refused (test programs call this before any test); only the
// VOLTSENTRY_POWEROFF command may then run. The variable VOLTSENTRY_NO_POWEROFF does the same.
void forbid_real_power_off();
