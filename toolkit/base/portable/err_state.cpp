// The error framework's per-process state block, its set-up, and the services it borrows.
#include "portable/err_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "portable/core_state.h"
#include "portable/err_report.h"
#include "portable/report_hook.h"
#include <wyn/fsys.h>
#include <wyn/mem.h>
#include <wyn/static.h>

namespace {

// Function pointers installed once at start-up; they hold no library data, so they may live
// outside the per-process block (and survive its release in the last steps of a fatal exit).
err_host host_services{};

void construct_state(void* block) {
    auto* state = static_cast<err_state_block*>(block);
    std::strcpy(state->codes_file, "ERRCODES.TXT");
    state->current = nullptr;
    wynv_errfrm_init(&state->base, nullptr, 1);
    state->current = &state->base;
    // Offered in reverse order: the application's handler first, the last-chance handler last.
    wynv_errmsg_push_handler(err_last_chance_handler, 0);
    wynv_errmsg_push_handler(err_standard_reporter, 0);
    wynv_errmsg_push_handler(err_app_handler, 0);
}

void destruct_state(void* block) {
    auto* state = static_cast<err_state_block*>(block);
    wynv_mem_free(state->base.heap_handlers);
    state->base.heap_handlers = nullptr;
}

constexpr WYN_STATIC_DESC state_desc{sizeof(err_state_block), nullptr, construct_state,
                                     destruct_state};

// Used only when the static table cannot be allocated, so that a report can still be shown.
err_state_block emergency_state;
bool emergency_ready = false;

struct std_string_default {
    int id;
    const char* text;
};

constexpr std_string_default std_strings[] = {
    {30001, "OK"},
    {30002, "Cancel"},
    {30003, "Can't show the about box"},
    {30012, "System Error"},
    {30015, "Alert"},
    {30016, "Files (*.%s)|*.%s|"},
    {30017, "All Files (*.*)|*.*|"},
    {31404, "FATAL ERROR within last chance error handler\nexiting application"},
    {31405, "Invalid WYN_ERRMSG object"},
    {31406, "unknown"},
};

} // namespace

err_state_block& err_state() {
    if (void* block = wynk_static_get_ptr(&state_desc))
        return *static_cast<err_state_block*>(block);
    if (!emergency_ready) {
        emergency_ready = true;
        construct_state(&emergency_state);
    }
    return emergency_state;
}

void err_state_reset() {
    err_state_block& state = err_state();
    destruct_state(&state);
    std::memset(static_cast<void*>(&state), 0, sizeof state);
    construct_state(&state);
}

void err_set_host(const err_host& host) {
    host_services = host;
}

const err_host& err_get_host() {
    return host_services;
}

void err_set_ready(bool ready) {
    err_state().ready = ready;
}

void err_set_update_in_progress(bool in_progress) {
    err_state_block& state = err_state();
    if (in_progress)
        ++state.update_depth;
    else if (state.update_depth > 0)
        --state.update_depth;
}

bool err_update_in_progress() {
    return err_state().update_depth > 0;
}

intptr_t err_attr(int32_t id) {
    return core_attr(id);
}

bool err_start_dir_path(const char* name, char* out, size_t size) {
    DIRECTORY startup{};
    const char* dir = host_services.start_dir ? host_services.start_dir() : nullptr;
    if (dir == nullptr && wynk_fsys_save_dir()) {
        if (wynk_fsys_set_dir_startup() && wynk_fsys_get_dir(&startup)) dir = startup.path;
        wynk_fsys_restore_dir();
    }
    int n;
    // The start-up directory stands in for changing the current directory around each access.
    if (dir == nullptr || *dir == '\0' || name[0] == '/')
        n = std::snprintf(out, size, "%s", name);
    else
        n = std::snprintf(out, size, "%s/%s", dir, name);
    return n >= 0 && static_cast<size_t>(n) < size;
}

const char* err_std_string(int id, char* buffer, size_t size) {
    if (buffer == nullptr) {
        buffer = err_state().scratch;
        size = sizeof err_state().scratch;
    }
    const char* fallback = "";
    for (const auto& s : std_strings)
        if (s.id == id) fallback = s.text;
    std::snprintf(buffer, size, "%s", portable_string(id, fallback));
    return buffer;
}

void err_leave_toolkit(int status) {
    // Copied first: ending the toolkit releases the per-process blocks.
    const err_host host = host_services;
    std::fflush(nullptr);
    if (host.end_toolkit) host.end_toolkit();
    std::fflush(nullptr);
    if (host.exit_process) {
        host.exit_process(status);
        return;
    }
    // Static destructors and Qt's own clean-up must not run under the frames still on the stack.
    std::_Exit(status);
}
