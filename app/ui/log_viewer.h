// The continuous log viewer: the data log's records in a table, printed whole or by screen.
#pragma once

// Opens the continuous log viewer (114); false when it could not be made.
bool open_continuous_log();
