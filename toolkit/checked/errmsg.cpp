// Checked accessors of a reported message; the library answers an invalid record itself.
#include <wyn/checked/errmsg.h>

#include "check.h"

using namespace wyn_checked;

int16_t wyn_errmsg_get_sev_id(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_sev_id(msg);
}

const char* wyn_errmsg_get_sev_text(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_sev_text(msg);
}

WYN_MSG_ID wyn_errmsg_get_msg_id(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_msg_id(msg);
}

const char* wyn_errmsg_get_msg_text(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_msg_text(msg);
}

const char* wyn_errmsg_get_cat_text(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_cat_text(msg);
}

const char* wyn_errmsg_get_code_file(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_code_file(msg);
}

uint16_t wyn_errmsg_get_code_line(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_code_line(msg);
}

const char* wyn_errmsg_get_api_name(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_api_name(msg);
}

void* wyn_errmsg_get_tgt_object(WYN_ERRMSG* msg) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_tgt_object(msg);
}

char* wyn_errmsg_get_text(WYN_ERRMSG* msg, WYN_MSG_ID msg_id, char* buffer, size_t size) {
    Call c(__func__, kErrmsg);
    if (!c.given(buffer) || !c.at_least(static_cast<long long>(size), 1)) return nullptr;
    return wynv_errmsg_get_text(msg, msg_id, buffer, size);
}

WYN_MSG_ID wyn_errmsg_get_last_msg(void) {
    Call c(__func__, kErrmsg);
    return wynv_errmsg_get_last_msg();
}
