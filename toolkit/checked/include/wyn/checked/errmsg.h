/* Checked accessors of a reported message, for the application's error handler. */
#pragma once

#include <wyn/errmsg.h>

WYN_BEGIN_C

int16_t wyn_errmsg_get_sev_id(WYN_ERRMSG* msg);
const char* wyn_errmsg_get_sev_text(WYN_ERRMSG* msg);
WYN_MSG_ID wyn_errmsg_get_msg_id(WYN_ERRMSG* msg);
const char* wyn_errmsg_get_msg_text(WYN_ERRMSG* msg);
const char* wyn_errmsg_get_cat_text(WYN_ERRMSG* msg);
const char* wyn_errmsg_get_code_file(WYN_ERRMSG* msg);
uint16_t wyn_errmsg_get_code_line(WYN_ERRMSG* msg);
const char* wyn_errmsg_get_api_name(WYN_ERRMSG* msg);
void* wyn_errmsg_get_tgt_object(WYN_ERRMSG* msg);
char* wyn_errmsg_get_text(WYN_ERRMSG* msg, WYN_MSG_ID msg_id, char* buffer, size_t size);
WYN_MSG_ID wyn_errmsg_get_last_msg(void);

WYN_END_C
