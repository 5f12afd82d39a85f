// The message record: validity, copies, and its texts composed on demand.
#include "portable/err_message.h"

#include <cstdio>
#include <cstring>

#include "portable/err_state.h"
#include "portable/err_text.h"

namespace {

// Data words up to this value are plain values; above it they are string pointers.
constexpr intptr_t kLastPlainData = 255;

// Category 3/2 messages carry their whole text as the data string.
bool is_assert2(WYN_MSG_ID id) {
    return WYN_MSG_MAJOR(id) == 3 && WYN_MSG_MINOR(id) == 2;
}

const char* invalid_text() {
    return err_std_string(31405, nullptr, 0);
}

const char* data_string(const WYN_ERRMSG& msg) {
    return msg.data > kLastPlainData ? reinterpret_cast<const char*>(msg.data) : nullptr;
}

} // namespace

bool err_msg_valid(const WYN_ERRMSG* msg) {
    return msg != nullptr && msg->self == msg;
}

void err_msg_copy(WYN_ERRMSG& dst, const WYN_ERRMSG& src) {
    std::memcpy(static_cast<void*>(&dst), &src, sizeof dst);
    dst.self = &dst;
    if (src.data == reinterpret_cast<intptr_t>(src.spare))
        dst.data = reinterpret_cast<intptr_t>(dst.spare);
}

void err_msg_freeze(WYN_ERRMSG& msg) {
    wynv_errmsg_get_sev_text(&msg);
    wynv_errmsg_get_msg_text(&msg);
    wynv_errmsg_get_cat_text(&msg);
    if (const char* s = data_string(msg); s != nullptr && s != msg.spare) {
        std::snprintf(msg.spare, sizeof msg.spare, "%s", s);
        msg.data = reinterpret_cast<intptr_t>(msg.spare);
    }
}

int16_t wynv_errmsg_get_sev_id(WYN_ERRMSG* msg) {
    return err_msg_valid(msg) ? msg->severity : int16_t{WYN_SEV_FATAL};
}

const char* wynv_errmsg_get_sev_text(WYN_ERRMSG* msg) {
    if (!err_msg_valid(msg)) return invalid_text();
    if (msg->sev_text[0] == '\0') {
        const WYN_MSG_ID id = msg->severity == WYN_SEV_WARNING ? WYN_MSG_SEV_WARNING
                              : msg->severity == WYN_SEV_ERROR ? WYN_MSG_SEV_ERROR
                                                               : WYN_MSG_SEV_FATAL;
        err_lookup_text(id, msg->sev_text, sizeof msg->sev_text);
    }
    return msg->sev_text;
}

WYN_MSG_ID wynv_errmsg_get_msg_id(WYN_ERRMSG* msg) {
    return err_msg_valid(msg) ? msg->msg_id : 0;
}

const char* wynv_errmsg_get_msg_text(WYN_ERRMSG* msg) {
    if (!err_msg_valid(msg)) return invalid_text();
    if (msg->msg_text[0] != '\0') return msg->msg_text;
    char text[WYN_ERRMSG_TEXT_SIZE];
    err_lookup_text(msg->msg_id, text, sizeof text);
    const char* arg = data_string(*msg);
    if (arg == nullptr) {
        std::snprintf(msg->msg_text, sizeof msg->msg_text, "%s", text);
    } else if (is_assert2(msg->msg_id)) {
        std::snprintf(msg->msg_text, sizeof msg->msg_text, "%s", arg);
    } else {
        if (std::strlen(text) + std::strlen(arg) > WYN_ERRMSG_TEXT_SIZE) arg = "";
        err_format_strings(text, &arg, 1, msg->msg_text, sizeof msg->msg_text);
    }
    return msg->msg_text;
}

const char* wynv_errmsg_get_cat_text(WYN_ERRMSG* msg) {
    if (!err_msg_valid(msg)) return invalid_text();
    if (msg->cat_text[0] == '\0') {
        const WYN_MSG_ID major = WYN_MSG_MAJOR(msg->msg_id) << 20;
        const WYN_MSG_ID minor = major | (WYN_MSG_MINOR(msg->msg_id) << 16);
        char major_text[WYN_ERRMSG_TEXT_SIZE];
        char minor_text[WYN_ERRMSG_TEXT_SIZE];
        err_lookup_text(major, major_text, sizeof major_text);
        err_lookup_text(minor, minor_text, sizeof minor_text);
        const char* parts[2] = {major_text, minor_text};
        err_format_strings("%s (%s)", parts, 2, msg->cat_text, sizeof msg->cat_text);
    }
    return msg->cat_text;
}

const char* wynv_errmsg_get_code_file(WYN_ERRMSG* msg) {
    return err_msg_valid(msg) ? msg->code_file : nullptr;
}

uint16_t wynv_errmsg_get_code_line(WYN_ERRMSG* msg) {
    return err_msg_valid(msg) ? msg->code_line : uint16_t{0};
}

const char* wynv_errmsg_get_api_name(WYN_ERRMSG* msg) {
    return err_msg_valid(msg) ? msg->api_name : invalid_text();
}

void* wynv_errmsg_get_tgt_object(WYN_ERRMSG* msg) {
    return err_msg_valid(msg) ? msg->target : nullptr;
}

char* wynv_errmsg_get_text(WYN_ERRMSG*, WYN_MSG_ID msg_id, char* buffer, size_t size) {
    err_lookup_text(msg_id, buffer, size);
    return buffer;
}
