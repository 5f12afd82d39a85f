// Before any tool test runs: the serial layer refuses every device that is not a pseudo-terminal.
#include "engine/serial_io.h"

namespace {
const bool guarded = [] {
    forbid_real_serial_ports();
    return true;
}();
} // namespace
