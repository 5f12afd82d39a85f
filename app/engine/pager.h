// Paging an operator through a modem.
#pragma once

#include "model/ups_status.h"

// Sends the record's modem command (with a carriage return) to its modem port, reopening the
// port first; the result of the write, or 2 when the port could not be opened (that is posted,
// and nothing is written). The port is then kept open by the engine until the next page or the
// engine's end.
int page_operator(const ups_status& ups);
