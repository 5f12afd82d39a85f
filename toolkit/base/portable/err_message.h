// Internal helpers on message records.
#pragma once

#include <wyn/errmsg.h>

// True when msg is a live record (its first word holds its own address).
bool err_msg_valid(const WYN_ERRMSG* msg);

// Copies src into dst, keeping dst valid and its data string (when held in spare) its own.
void err_msg_copy(WYN_ERRMSG& dst, const WYN_ERRMSG& src);

// Fills every text of msg and moves its data string into the record, so that the record no
// longer refers to the reporter's memory and can be kept for later.
void err_msg_freeze(WYN_ERRMSG& msg);
