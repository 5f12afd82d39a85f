// The three handlers of the base frame and the standard four-line report.
#pragma once

#include <cstddef>
#include <wyn/errmsg.h>

// Offered last: for a fatal message shows the last-chance fatal exit; always takes the message.
int32_t err_last_chance_handler(WYN_ERRMSG* msg, intptr_t data);

// Counts errors, defers non-fatal reports during E_UPDATE, and shows the four-line report in a
// warning, error or fatal-exit dialog (also written to the debug log when data is non-zero).
int32_t err_standard_reporter(WYN_ERRMSG* msg, intptr_t data);

// Offered first: passes the message to the application's error handler attribute, if any.
int32_t err_app_handler(WYN_ERRMSG* msg, intptr_t data);

// Composes the report: severity and message, category, function chain, file and line.
void err_compose_report(WYN_ERRMSG* msg, char* out, size_t size);
