// Toolkit errors met inside a poll, kept back from the screen until the poll is over.
#include "ui/poll_errors.h"

#include "engine/report.h"
#include "ui/prompts.h"

#include <cstdio>
#include <deque>
#include <string>
#include <wyn/checked/errmsg.h>
#include <wyn/checked/win.h>

namespace {

// A toolkit that keeps failing must not pile up dialogs: the log keeps every report.
constexpr size_t MAX_KEPT = 5;

int g_poll_depth = 0;
std::deque<std::string> g_kept;

int32_t keep_poll_error(WYN_ERRMSG* msg, intptr_t) {
    // A fatal error ends the program through the toolkit's own report, poll or no poll.
    if (g_poll_depth == 0 || wyn_errmsg_get_sev_id(msg) == WYN_SEV_FATAL) return 0;
    const char* api = wyn_errmsg_get_api_name(msg);
    char text[400];
    std::snprintf(text, sizeof text, "%s%s (%s)", wyn_errmsg_get_sev_text(msg),
                  wyn_errmsg_get_msg_text(msg), api && *api ? api : "toolkit");
    post_message(text, MSG_EVENT_LOG);
    std::fprintf(stderr, "voltsentry: %s\n", text);
    if (g_kept.size() < MAX_KEPT) g_kept.emplace_back(text);
    return 1;
}

} // namespace

void install_poll_error_handler() {
    wyn_vobj_set_attr(nullptr, ATTR_ERROR_HANDLER, reinterpret_cast<ATTR_VALUE>(keep_poll_error));
}

poll_error_scope::poll_error_scope() {
    ++g_poll_depth;
}

poll_error_scope::~poll_error_scope() {
    --g_poll_depth;
}

void show_poll_errors() {
    while (!g_kept.empty() && g_poll_depth == 0) {
        const std::string text = std::move(g_kept.front());
        g_kept.pop_front();
        ui_error(text.c_str());
    }
}
