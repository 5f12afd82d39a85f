/* Window objects: every window, dialog, control, task, screen and print window is one, and the
   functions that create, find and destroy them. */
#pragma once

#include <wyn/events.h>
#include <wyn/windef.h>

WYN_BEGIN_C

/* The magic word of a live window object. */
#define WYN_WIN_MAGIC 0x1855Fu

/* Kinds: the native class of an object. */
#define WK_TASK 0x1u
#define WK_DRAW_TASK 0x2u
#define WK_TOP 0x4u
#define WK_TASK_CHILD 0x8u
#define WK_CHILD 0x10u
#define WK_PRINT 0x20u
#define WK_DIALOG 0x40u
#define WK_CONTROL 0x80u
#define WK_SCREEN 0x100u
#define WK_TASK_OBJECT 0x200u /* a task window without a native window */
#define WK_UTILITY 0x800u
#define WK_MODAL 0x1000u
#define WK_MDI_TASK 0x10001u
#define WK_MDI_DOC 0x20008u
#define WK_MDI_FRAME_CHILD 0x80010u

/* Kind masks. */
#define WK_WINDOWS 0x101Fu
#define WK_DRAWABLE 0x143Eu
#define WK_TOP_LEVEL 0x1007u

/* State bits of a window object. */
#define WS_DESTROYED 0x1u  /* E_DESTROY has been sent */
#define WS_TEXT_EDIT 0x2u  /* a text-edit control: its type reads WT_TEXT_EDIT */
#define WS_IN_DESTROY 0x4u /* its E_DESTROY is being delivered: the handle is still usable */

/* A window object. The checked-call layer reads magic, kind, handler, event_mask, app_data,
   type and state directly. */
struct wyn_window {
    uint32_t magic; /* WYN_WIN_MAGIC while alive, 0 after destruction */
    uint32_t kind;
    WINDOW parent;  /* the screen window for top-level windows */
    uint32_t flags; /* creation flags (WSF_*) */
    intptr_t app_data;
    EVENT_HANDLER handler;
    EVENT_MASK event_mask;
    CXO cxo_chain;
    int32_t type;     /* WT_* */
    uint32_t state;   /* WS_* */
    WINDOW top;       /* the enclosing top-level object (itself for a top-level window) */
    void* native;     /* the native widget, or null */
    int32_t creating; /* 1 while the native window is being built */
    int16_t menu_id;  /* menu-bar resource id, 0 for none */
    BOOLEAN sys_keys; /* ATTR_SYS_KEYS */
    RCT client;       /* the client rectangle at the last E_SIZE */
    struct wyn_palette* palette; /* its own palette (wynv_vobj_set_palet), or null */
};

/* Creates a window of type (document, plain, double-bordered, borderless or modal) with client
   rectangle rct in pixels under parent (the screen window for a top-level window); its E_CREATE
   comes first, then the size, focus and update events. A modal window returns when it has been
   destroyed. Null on failure. */
WYN_EXPORT WINDOW wynk_win_create(int32_t type, const RCT* rct, const char* title, int16_t menu_id,
                                  WINDOW parent, uint32_t flags, EVENT_MASK mask,
                                  EVENT_HANDLER handler, intptr_t app_data);

/* Destroys an object and everything inside it; children receive E_DESTROY before their parent.
   Destroying the task window ends the application. */
WYN_EXPORT void wynk_vobj_destroy(WINDOW win);

/* The object win lies in (the screen window for a top-level window); null for the screen window
   or a dead object. */
WYN_EXPORT WINDOW wynk_vobj_get_parent(WINDOW win);

/* Sets the title of a document window; a document of the multiple-document mode shows it on its
   frame inside the task window. */
WYN_EXPORT void wynk_win_set_doc_title(WINDOW win, const char* title);

/* The text-edit object of win through the text-edit library's entry; null without that library
   or when win holds none. */
WYN_EXPORT void* wynv_win_get_tx(WINDOW win);

/* Sounds the system's beep. */
WYN_EXPORT void wynk_scr_beep(void);

/* Creates a timer on win delivering E_TIMER once more than interval_ms have passed since the
   last one; returns its id (2 to 16) or -1 when none is free or the window has no native
   window. */
WYN_EXPORT int32_t wynk_timer_create(WINDOW win, int32_t interval_ms);

/* Stops and frees timer id. */
WYN_EXPORT void wynk_timer_destroy(int32_t id);

WYN_END_C
