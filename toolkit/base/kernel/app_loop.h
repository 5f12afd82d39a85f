// Internal entry points of the application: start-up steps, the session's requests to end, and
// the version rule.
#pragma once

#include <wyn/app.h>

// The library's own version record.
const WYN_VERSION& app_library_version();

// The version rule: the newer side's oldest-compatible version must not be newer than the other
// side's version. False when program is null.
bool app_versions_compatible(const WYN_VERSION* program, const WYN_VERSION& library);

// Makes the screen and task windows (the start of wynwi_wyn_system, before the loop runs);
// false when the task window could not be made.
bool app_start(uint32_t flags, EVENT_HANDLER task_handler, WYN_APP_CONFIG* config);

// Asks the task window whether the session may end (E_QUIT query 1); TRUE when it allowed it.
BOOLEAN app_query_end_session();

// The session ends now: E_QUIT query 0 to the task window, then the application is destroyed
// if the handler did not do so itself.
void app_end_session_now();

// Sets the attributes that come from the screen and the style.
void screen_set_initial_attrs();

// Installs and removes the handlers of the session manager and of SIGTERM, SIGINT and SIGHUP.
void session_install();
void session_remove();
