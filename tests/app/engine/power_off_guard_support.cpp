// Before any test runs: the real power-off is refused, the stand-in command only leaves a mark, and
// the serial layer opens nothing but pseudo-terminals.
#include "engine/os_shutdown.h"
#include "engine/serial_io.h"

#include <cstdlib>

namespace {
const bool guarded = [] {
    forbid_real_power_off();
    forbid_real_serial_ports();
    setenv("VOLTSENTRY_NO_POWEROFF", "1", 1);
    setenv(POWEROFF_VARIABLE, "echo off >> poweroff.mark", 1);
    return true;
}();
} // namespace
