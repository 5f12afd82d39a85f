// Before any test runs: the real power-off is refused and the stand-in command only leaves a mark.
#include "engine/os_shutdown.h"

#include <cstdlib>

namespace {
const bool guarded = [] {
    forbid_real_power_off();
    setenv("VOLTSENTRY_NO_POWEROFF", "1", 1);
    setenv(POWEROFF_VARIABLE, "echo off >> poweroff.mark", 1);
    return true;
}();
} // namespace
