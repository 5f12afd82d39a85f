/* The attribute store: numbered settings of the application and of single windows, set by the
   program before the application starts and read by the library. */
#pragma once

#include <wyn/events.h>

WYN_BEGIN_C

/* An attribute id. */
typedef int32_t ATTR_ID;
/* An attribute value: a number, a pointer or a function, as the attribute says. */
typedef intptr_t ATTR_VALUE;

enum {
    ATTR_BACK_COLOR = 100,    /* read only: the system's window colour (COLOR) */
    ATTR_HAS_COLOR = 101,     /* the display has at least 3 colour planes */
    ATTR_APP_CONFIG = 104,    /* WYN_APP_CONFIG* */
    ATTR_SCREEN_WINDOW = 300, /* the screen window object */
    ATTR_TASK_WINDOW = 301,   /* the task window object */
    ATTR_SCREEN_HEIGHT = 400, /* read only: pixels */
    ATTR_SCREEN_WIDTH = 401,  /* read only: pixels */
    ATTR_SCREEN_RES_H = 402,  /* horizontal resolution, dots per inch */
    ATTR_SCREEN_RES_V = 403,  /* vertical resolution, dots per inch */
    ATTR_ICON_WIDTH = 408,    /* an icon plus its frame */
    ATTR_ICON_HEIGHT = 409,
    ATTR_NATIVE_WINDOW = 602,      /* read only, per window: the native window handle */
    ATTR_SYS_KEYS = 603,           /* per window: system keys also give E_CHAR */
    ATTR_DEBUG_FILE = 700,         /* name of the debug log */
    ATTR_LOW_MEMORY_HOOK = 701,    /* called when an allocation fails */
    ATTR_KEY_HOOK = 702,           /* WYN_KEY_HOOK: offered every key before translation */
    ATTR_NATIVE_HOOK = 703,        /* WYN_NATIVE_HOOK: offered every native event first */
    ATTR_UPDATE_CHECK_OFF = 704,   /* requests during E_UPDATE are not refused */
    ATTR_FATAL_HOOK = 705,         /* called on a fatal exit */
    ATTR_ERROR_HANDLER = 706,      /* the application's error handler */
    ATTR_EVENT_HOOK = 710,         /* WYN_EVENT_HOOK: called before every dispatched event */
    ATTR_EVENT_HOOK_DATA = 711,    /* first argument of the event hook */
    ATTR_KEY_HOOK_EVENT = 713,     /* the key hook receives a prepared E_CHAR record */
    ATTR_RESOURCE_FILE = 714,      /* resource file used instead of the program's own */
    ATTR_APP_NAME_ID = 716,        /* string resource replacing the application name */
    ATTR_TASK_TITLE_ID = 717,      /* string resource replacing the task window title */
    ATTR_TX_RAW = 718,             /* text edits draw in the application's window */
    ATTR_FONT_CACHE_SIZE = 802,    /* native fonts kept in the font cache */
    ATTR_CMD_LINE = 10000,         /* const char*: the command line */
    ATTR_INSTANCE = 10001,         /* the program's instance handle */
    ATTR_PREV_INSTANCE = 10002,    /* non-zero when another instance runs */
    ATTR_MDI = 10003,              /* multiple-document interface mode */
    ATTR_PRINT_HOOK = 10004,       /* called with the printer context of a new print job */
    ATTR_DRAW_TASK = 10006,        /* the task window is a drawing window (kind 2) */
    ATTR_FILL_TASK = 10007,        /* the first child of the task window fills it */
    ATTR_NO_TASK_WINDOW = 10008,   /* no native task window is made */
    ATTR_TASK_APP_DATA = 10009,    /* app data of the task window */
    ATTR_TASK_EVENT_MASK = 10010,  /* event mask of the task window (all when 0) */
    ATTR_TASK_RECT = 10011,        /* RCT*: the task window's client rectangle */
    ATTR_TASK_FLAGS = 10012,       /* creation flags of the task window */
    ATTR_TIMER_RESOLUTION = 10015, /* native period of long timers, ms */
    ATTR_CLASS_HOOK = 10016,       /* may change a native window class before registration */
    ATTR_MSG_HOOK = 10017,         /* WYN_NATIVE_HOOK: offered every event taken from the queue */
    ATTR_FILE_DLG_HOOK = 10020,    /* called with the file dialog record before it is shown */
    ATTR_DLG_TEMPLATE = 10026,     /* dialog templates are loaded explicitly */
    ATTR_DEFER_FOCUS = 10027,      /* focus events are always posted and delivered later */
    ATTR_PRINT_BANDS = 10028,      /* printing asks banding devices for their bands */
    ATTR_CTL3D = 10029             /* three-dimensional control look */
};

/* The number of ids in the store. */
#define WYN_ATTR_COUNT 95

/* What the native and message hooks are offered: the window (null when none), the native event
   type and the native event itself (opaque to the portable layers). */
typedef struct s_wyn_native_msg {
    WINDOW win;
    int32_t type;
    void* native;
} WYN_NATIVE_MSG;

/* ATTR_NATIVE_HOOK returns 0 to consume the event; ATTR_MSG_HOOK returns FALSE to drop it. */
typedef int32_t (*WYN_NATIVE_HOOK)(WYN_NATIVE_MSG* msg);
/* ATTR_KEY_HOOK: with ATTR_KEY_HOOK_EVENT set, key is the prepared E_CHAR (an EVENT*), else the
   WYN_NATIVE_MSG*; TRUE consumes the key. */
typedef BOOLEAN (*WYN_KEY_HOOK)(WINDOW win, void* key);
/* ATTR_EVENT_HOOK: called with ATTR_EVENT_HOOK_DATA; FALSE swallows the event. */
typedef BOOLEAN (*WYN_EVENT_HOOK)(void* data, WINDOW win, EVENT* ev);

/* Reads attribute id (of win for per-window attributes, else win may be null); unknown ids are
   reported and read 0. */
WYN_EXPORT ATTR_VALUE wynk_vobj_get_attr(WINDOW win, ATTR_ID id);

/* Writes attribute id; an unknown id or a read-only attribute is reported, changes nothing and
   gives FALSE. */
WYN_EXPORT BOOLEAN wynv_vobj_set_attr(WINDOW win, ATTR_ID id, ATTR_VALUE value);

WYN_END_C
