// Checked accessors of a reported message; the library answers an invalid record itself.
#include <wyn/checked/errmsg.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
MARKED(kErrmsg, wyn_errmsg_get_sev_id, (WYN_ERRMSG* msg), wynv_errmsg_get_sev_id, (msg))
MARKED(kErrmsg, wyn_errmsg_get_sev_text, (WYN_ERRMSG* msg), wynv_errmsg_get_sev_text, (msg))
MARKED(kErrmsg, wyn_errmsg_get_msg_id, (WYN_ERRMSG* msg), wynv_errmsg_get_msg_id, (msg))
MARKED(kErrmsg, wyn_errmsg_get_msg_text, (WYN_ERRMSG* msg), wynv_errmsg_get_msg_text, (msg))
MARKED(kErrmsg, wyn_errmsg_get_cat_text, (WYN_ERRMSG* msg), wynv_errmsg_get_cat_text, (msg))
MARKED(kErrmsg, wyn_errmsg_get_code_file, (WYN_ERRMSG* msg), wynv_errmsg_get_code_file, (msg))
MARKED(kErrmsg, wyn_errmsg_get_code_line, (WYN_ERRMSG* msg), wynv_errmsg_get_code_line, (msg))
MARKED(kErrmsg, wyn_errmsg_get_api_name, (WYN_ERRMSG* msg), wynv_errmsg_get_api_name, (msg))
MARKED(kErrmsg, wyn_errmsg_get_tgt_object, (WYN_ERRMSG* msg), wynv_errmsg_get_tgt_object, (msg))
CHECKED(kErrmsg, wyn_errmsg_get_text,
        (WYN_ERRMSG* msg, WYN_MSG_ID msg_id, char* buffer, size_t size),
        c.given(buffer) && c.at_least(static_cast<long long>(size), 1),
        nullptr, wynv_errmsg_get_text, (msg, msg_id, buffer, size))
MARKED(kErrmsg, wyn_errmsg_get_last_msg, (), wynv_errmsg_get_last_msg, ())
// clang-format on
