// Shutting the operating system down: the user's SHUTDOWN.BAT, then the power-off.
#pragma once

#include <string>

// The user's script, run with /bin/sh from the program's (current) directory before the power-off.
inline constexpr const char* SHUTDOWN_SCRIPT = "SHUTDOWN.BAT";

// Environment variable naming a command run with /bin/sh instead of the real power-off.
inline constexpr const char* POWEROFF_VARIABLE = "VOLTSENTRY_POWEROFF";

// What decides whether the power-off will be allowed, gathered so the decision can be tested.
struct power_off_facts {
    bool stand_in = false;         // VOLTSENTRY_POWEROFF names a command
    bool forbidden = false;        // a test run: the real power-off is refused
    bool root = false;             // the effective user is root
    std::string logind_answer;     // systemd-logind's CanPowerOff answer ("yes", "no", ...), or
                                   // empty when it could not be asked
};

// Why the power-off would be refused with these facts, or empty when it is allowed.
std::string power_off_refusal(const power_off_facts& facts);

// The facts of this process (asks systemd-logind when they are not settled otherwise).
power_off_facts current_power_off_facts();

// At start-up: when the power-off would be refused, says so with the reason and the remedy on the
// message panel, in the event log and on standard error; true when it was refused.
bool warn_if_power_off_refused();

// Seconds SHUTDOWN.BAT may run before it is ended: the grace time less 15 s, at least 30 s, so the
// machine still goes down before the UPS switches off.
int shutdown_script_limit(int grace_time);

// Runs SHUTDOWN.BAT when it exists, whether or not the power-off will be allowed (a script may shut
// down by its own means), for at most script_limit seconds of the application's clock (then it
// and its children are ended); then powers the machine off, or runs the VOLTSENTRY_POWEROFF
// command instead. 0 when the power-off was requested, 2 when it was refused or failed. Every
// failure goes to the message panel, the alarm log, the event log and standard error.
int shutdown_system(int script_limit);

// From now on the real power-off is refused (test programs call this before any test); only the
// VOLTSENTRY_POWEROFF command may then run. The variable VOLTSENTRY_NO_POWEROFF does the same.
void forbid_real_power_off();
