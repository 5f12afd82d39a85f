/* Checked calls of the application and its timers. */
#pragma once

#include <wyn/app.h>

WYN_BEGIN_C

/* Installs the default memory functions when none are set, then creates the screen and task
   windows and runs the event loop until the application quits; argv and config are required. */
void wyn_app_create(int argc, char** argv, uint32_t flags, EVENT_HANDLER task_handler,
                    WYN_APP_CONFIG* config);
/* Runs one pass of the event loop; refused while an E_UPDATE is processed. */
void wyn_app_process_pending_events(void);
/* Answers the E_QUIT query being delivered with yes. */
void wyn_app_allow_quit(void);
/* Destroys the task window, which ends the application. */
void wyn_app_destroy(void);
/* Escape 4001 destroys the task window without asking; 4000 takes a print record and four
   out-pointers for the page metrics; other codes give FALSE. */
BOOLEAN wyn_app_escape(int32_t code, ...);
/* Number of file names on the command line. */
int32_t wyn_app_get_files_count(void);
/* The first file name not yet marked processed, or null. */
const char* wyn_app_get_file(void);
/* Marks the file name that wyn_app_get_file returned as processed. */
void wyn_app_set_file_processed(void);

/* Creates a timer on a live window delivering E_TIMER after more than interval_ms; its id, or -1
   on a fault (nothing else changes) or when none is free. */
int32_t wyn_timer_create(WINDOW win, int32_t interval_ms);
/* Stops and frees timer id. */
void wyn_timer_destroy(int32_t id);

WYN_END_C
