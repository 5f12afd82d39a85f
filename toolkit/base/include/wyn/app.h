/* Start-up handshake between the program and the library, and the application: its
   configuration, event loop, quitting and the files named on the command line. */
#pragma once

#include <wyn/events.h>

WYN_BEGIN_C

/* A toolkit version: this version, then the oldest version it is compatible with. */
typedef struct s_wyn_version {
    int16_t major;
    int16_t minor;
    int16_t patch;
    int16_t compat_major;
    int16_t compat_minor;
    int16_t compat_patch;
} WYN_VERSION;

#define WYN_VERSION_MAJOR 4
#define WYN_VERSION_MINOR 50
#define WYN_VERSION_PATCH 0

/* The text-edit library's entries handed to the base library (see wyntext): creating a text
   edit from a definition entry, and finding the text edit of a window by control id (-1: the
   window's first text edit, or the window itself when it is a text edit's own window). */
typedef void* (*WYN_TX_CREATE_DEF)(const void* def, WINDOW win, intptr_t app_data);
typedef void* (*WYN_TX_GET_TX)(WINDOW win, int32_t cid);

/* The start-up record the program's entry point fills and hands to wynwi_Begin and wynwi_Init;
   it stays the program's for the whole run. */
typedef struct s_wyn_startup {
    const WYN_VERSION* version; /* the program's toolkit version */
    void* instance;             /* the program's instance handle */
    void* prev_instance;        /* non-null when another instance of the program runs */
    const char* cmd_line;       /* the arguments after the program name, joined by blanks */
    int32_t show_cmd;           /* initial show state: 2 or 7 minimised, 3 maximised */
    int32_t argc;
    /* Called after a fatal error has ended the toolkit, just before the process leaves; stands
       in for the return to the entry point. May be null. */
    void (*fatal_return)(void);
    WYN_TX_CREATE_DEF tx_create_def;
    WYN_TX_GET_TX tx_get_tx;
} WYN_STARTUP;

/* The application's configuration passed to wyn_app_create. */
typedef struct s_wyn_app_config {
    int16_t menu_bar_id;
    int16_t about_box_id;
    const char* base_name;
    const char* app_name;
    const char* task_title;
} WYN_APP_CONFIG;

/* Creates the per-process state and records the platform and the text-edit entries; FALSE
   stops the program. */
WYN_EXPORT BOOLEAN wynwi_Begin(WYN_STARTUP* startup);

/* Checks versions (showing "Improper version of QORLA.DLL" on mismatch), starts the native
   window system and sets the attributes' initial values; FALSE stops the program. */
WYN_EXPORT BOOLEAN wynwi_Init(WYN_STARTUP* startup);

/* Creates the screen and task windows and runs the event loop until the application quits;
   returns 0. */
WYN_EXPORT int16_t wynwi_wyn_system(uint32_t flags, EVENT_HANDLER task_handler,
                                    WYN_APP_CONFIG* config);

/* Destroys what is left and frees the per-process state; the toolkit may be begun again. */
WYN_EXPORT void wynwi_End(void);

/* The window object held by a native window, or null. */
WYN_EXPORT WINDOW wynwi_hwnd_to_window(void* native);

/* The hidden utility object that receives the session's messages. */
WYN_EXPORT void* wynwi_get_utility_hwnd(void);

/* Runs one pass of the event loop without waiting. */
WYN_EXPORT void wynk_app_process_pending_events(void);

/* Answers the E_QUIT query being delivered with yes. */
WYN_EXPORT void wynk_app_allow_quit(void);

/* Destroys the task window, which ends the application. */
WYN_EXPORT void wynv_app_destroy(void);

/* Escape 4001 destroys the task window without asking; unknown codes give FALSE. */
WYN_EXPORT BOOLEAN wynk_app_escape(int32_t code, ...);

/* TRUE while an E_UPDATE is processed and ATTR_UPDATE_CHECK_OFF is not set. */
WYN_EXPORT BOOLEAN wynv_app_proc_update(void);

/* TRUE while an E_UPDATE is processed. */
WYN_EXPORT BOOLEAN wynv_app_is_update_in_progress(void);

/* Number of file names on the command line. */
WYN_EXPORT int32_t wynk_app_get_files_count(void);

/* The first file name not yet marked processed, or null. */
WYN_EXPORT const char* wynk_app_get_file(void);

/* Marks the file name that wynk_app_get_file returned as processed. */
WYN_EXPORT void wynk_app_set_file_processed(void);

WYN_END_C
