// The base frame's handlers: the application's handler, the standard reporter and the last chance.
#include "portable/err_report.h"

#include <cstdio>

#include "portable/err_message.h"
#include "portable/err_state.h"
#include "portable/err_text.h"
#include <wyn/attr.h>
#include <wyn/dm.h>

namespace {

constexpr size_t kLineSize = 160;

// Ends the application after a fatal report whose dialog came back (a test's exit hook).
void destroy_app() {
    if (const err_host& host = err_get_host(); host.destroy_app) host.destroy_app();
}

// Queues a copy for later; false when the queue or the budget is full.
bool defer(err_state_block& state, WYN_ERRMSG* msg) {
    if (state.deferred_count >= ERR_DEFERRED_MAX || state.budget >= ERR_BUDGET_LIMIT) return false;
    WYN_ERRMSG& slot = state.deferred[state.deferred_count++];
    err_msg_copy(slot, *msg);
    // The reporter's strings may live on a stack that is gone by the time the copy is shown.
    err_msg_freeze(slot);
    state.budget = static_cast<uint16_t>(state.budget + ERR_BUDGET_STEP);
    return true;
}

} // namespace

int32_t err_app_handler(WYN_ERRMSG* msg, intptr_t data) {
    const auto handler = reinterpret_cast<WYN_ERR_HANDLER>(err_attr(ATTR_ERROR_HANDLER));
    return handler ? handler(msg, data) : 0;
}

int32_t err_last_chance_handler(WYN_ERRMSG* msg, intptr_t) {
    if (wynv_errmsg_get_sev_id(msg) == WYN_SEV_FATAL) {
        char text[WYN_ERRMSG_TEXT_SIZE * 2];
        wynv_dm_post_fatal_exit("%s", err_std_string(31404, text, sizeof text));
        destroy_app();
    }
    return 1;
}

int32_t err_standard_reporter(WYN_ERRMSG* msg, intptr_t data) {
    if (!err_msg_valid(msg)) return 0;
    err_state_block& state = err_state();
    // A deferred error was counted when it was first reported.
    if (msg->severity == WYN_SEV_ERROR && msg != state.reoffered) ++state.error_count;
    if (msg->severity != WYN_SEV_FATAL && err_update_in_progress()) {
        if (defer(state, msg)) return 1;
        msg->severity = WYN_SEV_FATAL;
        msg->sev_text[0] = '\0';
    }
    char text[4 * kLineSize];
    err_compose_report(msg, text, sizeof text);
    if (data != 0) wynv_debug_printf("%s\n", text);
    switch (msg->severity) {
    case WYN_SEV_WARNING:
        wynv_dm_post_warning("%s", text);
        break;
    case WYN_SEV_ERROR:
        wynv_dm_post_error("%s", text);
        break;
    default:
        wynv_dm_post_fatal_exit("%s", text);
        destroy_app();
        break;
    }
    return 1;
}

void err_compose_report(WYN_ERRMSG* msg, char* out, size_t size) {
    char label[WYN_ERRMSG_TEXT_SIZE];
    char lines[4][kLineSize];
    std::snprintf(lines[0], kLineSize, "%s%s", wynv_errmsg_get_sev_text(msg),
                  wynv_errmsg_get_msg_text(msg));
    err_lookup_text(WYN_MSG_LABEL_CATEGORY, label, sizeof label);
    std::snprintf(lines[1], kLineSize, "%s%s", label, wynv_errmsg_get_cat_text(msg));

    err_lookup_text(WYN_MSG_LABEL_FUNCTION, label, sizeof label);
    const char* chain = wynv_errmsg_get_api_name(msg);
    char internal[WYN_ERRMSG_TEXT_SIZE];
    if (chain[0] == '\0') {
        err_lookup_text(WYN_MSG_LABEL_INTERNAL, internal, sizeof internal);
        chain = internal;
    }
    std::snprintf(lines[2], kLineSize, "%s%s", label, chain);

    char unknown[WYN_ERRMSG_TEXT_SIZE];
    const char* file = wynv_errmsg_get_code_file(msg);
    if (file == nullptr) file = err_std_string(31406, unknown, sizeof unknown);
    char line_label[WYN_ERRMSG_TEXT_SIZE];
    err_lookup_text(WYN_MSG_LABEL_FILE, label, sizeof label);
    err_lookup_text(WYN_MSG_LABEL_LINE, line_label, sizeof line_label);
    std::snprintf(lines[3], kLineSize, "%s%s %s%u", label, file, line_label,
                  static_cast<unsigned>(wynv_errmsg_get_code_line(msg)));

    char layout[WYN_ERRMSG_TEXT_SIZE];
    err_lookup_text(WYN_MSG_REPORT_LAYOUT, layout, sizeof layout);
    const char* args[4] = {lines[0], lines[1], lines[2], lines[3]};
    err_format_strings(layout, args, 4, out, size);
}
