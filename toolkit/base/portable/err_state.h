// The error framework's per-process state, the services it borrows from the rest of the library,
// and the entry points the event loop calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <wyn/errfrm.h>

// Services of the rest of the library that the error framework calls; a null entry means the
// service is not there yet and a built-in fallback is used.
struct err_host {
    void (*end_toolkit)();      // ends the toolkit (wynwi_End)
    void (*destroy_app)();      // destroys the task window, which ends the event loop
    const char* (*start_dir)(); // the start-up directory (default: the one the fsys layer recorded)
    void (*beep)();             // the system beep
    void (*end_pointer_trap)(); // releases a trapped pointer
    void (*exit_process)(int status); // leaves the process (tests catch it)
};

inline constexpr int ERR_DEFERRED_MAX = 3;
inline constexpr int ERR_BUDGET_LIMIT = 300;
inline constexpr int ERR_BUDGET_STEP = 100;
inline constexpr int ERR_TOO_MANY = 10;
inline constexpr int ERR_CACHE_SIZE = 16;
inline constexpr size_t ERR_FILE_NAME_SIZE = 257;
inline constexpr int ERR_EXIT_STATUS = 2;

// One remembered message text.
struct err_cache_entry {
    WYN_MSG_ID id;
    char text[WYN_ERRMSG_TEXT_SIZE];
};

// All of the error framework's state; one per process.
struct err_state_block {
    WYN_ERRFRM* current;
    WYN_ERRFRM base;
    WYN_MSG_ID last_msg;
    uint16_t error_count;
    WYN_ERRMSG deferred[ERR_DEFERRED_MAX];
    uint16_t deferred_count;
    uint16_t budget;
    bool ready;
    const WYN_ERRMSG* reoffered; // the deferred message being offered again
    int update_depth;            // E_UPDATE dispatches in progress
    bool fatal_in_progress;
    char codes_file[ERR_FILE_NAME_SIZE];
    err_cache_entry cache[ERR_CACHE_SIZE];
    int cache_count;
    bool debug_written; // the debug log has been opened once ("w" then "a")
    char scratch[100];  // string resources read without a caller buffer
};

// The process's error state, set up with its base frame and handlers on first use.
err_state_block& err_state();

// Discards all error state and sets it up afresh (the installed host services stay).
void err_state_reset();

// Installs the library services the framework calls.
void err_set_host(const err_host& host);

// The installed library services.
const err_host& err_get_host();

// Turns the ready flag on at the first dispatched event; until then every report is fatal.
void err_set_ready(bool ready);

// Raised for the length of an E_UPDATE dispatch; non-fatal reports are deferred meanwhile.
void err_set_update_in_progress(bool in_progress);

// True while an E_UPDATE dispatch is in progress.
bool err_update_in_progress();

// Called at the dispatch of every event but E_UPDATE: lowers the budget and reports the
// deferred messages.
void err_flush_deferred();

// Reads an attribute (0 when unset or when the attribute store is not set up); never reports.
intptr_t err_attr(int32_t id);

// Joins dir and name into out (name alone when dir is empty or name absolute); false if too long.
bool err_start_dir_path(const char* name, char* out, size_t size);

// Copies string resource id (or its built-in default) into buffer, or the scratch buffer when
// buffer is null; returns the text.
const char* err_std_string(int id, char* buffer, size_t size);

// Ends the toolkit and leaves the process with status, after flushing output.
void err_leave_toolkit(int status);
