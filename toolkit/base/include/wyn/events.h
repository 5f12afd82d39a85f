/* Events delivered to window handlers: event types, the EVENT record, key codes, handlers, event
   masks and the handler-chain objects (CXO) that see events before a window's own handler. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

struct wyn_font;

/* Event types. */
enum {
    E_CREATE = 0,
    E_DESTROY = 1,
    E_FOCUS = 2,
    E_SIZE = 3,
    E_UPDATE = 4,
    E_CLOSE = 5,
    E_MOUSE_DOWN = 6,
    E_MOUSE_UP = 7,
    E_MOUSE_MOVE = 8,
    E_MOUSE_DBL = 9,
    E_CHAR = 10,
    E_VSCROLL = 11,
    E_HSCROLL = 12,
    E_COMMAND = 13,
    E_FONT = 14,
    E_CONTROL = 15,
    E_TIMER = 16,
    E_QUIT = 17,
    E_HELP = 18,
    E_USER = 19,
    E_CXO = 20
};

/* Key codes of E_CHAR events whose virtual_key is 1. */
enum {
    KEY_DEL = 127,
    KEY_UP = 301,
    KEY_DOWN = 302,
    KEY_RIGHT = 303,
    KEY_LEFT = 304,
    KEY_PAGE_UP = 305,
    KEY_PAGE_DOWN = 306,
    KEY_LINE_HOME = 307,
    KEY_LINE_END = 308,
    KEY_HOME = 309,
    KEY_END = 310,
    KEY_INSERT = 312,
    KEY_WORD_LEFT = 313,
    KEY_WORD_RIGHT = 314,
    KEY_BACK_TAB = 315,
    KEY_HELP = 316,
    KEY_CLEAR = 317,
    KEY_F1 = 331,
    KEY_F24 = 354
};

/* Modifier bits of an E_CHAR event. */
#define WYN_MOD_SHIFT 2
#define WYN_MOD_CTRL 4
#define WYN_MOD_ALT 8

/* Scroll actions of E_VSCROLL, E_HSCROLL and scroll-bar E_CONTROL events. */
enum {
    SC_LINE_UP = 1,
    SC_LINE_DOWN = 2,
    SC_PAGE_UP = 3,
    SC_PAGE_DOWN = 4,
    SC_THUMB = 5,
    SC_THUMB_DRAG = 6
};

/* Mouse buttons. */
enum { MB_LEFT = 0, MB_RIGHT = 1, MB_MIDDLE = 2 };

/* Messages of E_CXO events sent when a CXO is created and before it is freed. */
#define CXO_MSG_CREATE (-1)
#define CXO_MSG_DESTROY (-2)

/* A set of event types: bit t stands for type t. */
typedef uint32_t EVENT_MASK;
#define EM_ALL 0xFFFFFFFFu
#define EM_BIT(type) (1u << (type))

/* What an E_CONTROL event says about the control. */
typedef struct s_control_info {
    int32_t type; /* the control's type (12 to 24) */
    WINDOW win;   /* the control object */
    union {
        struct {
            int32_t what; /* SC_* */
            int16_t pos;
        } scroll; /* scroll-bar controls (15, 16) */
        struct {
            int16_t focus_change; /* 0 text changed, 1 focus changed */
            int16_t active;       /* 1 gained, 0 lost */
        } edit;                   /* edit (17) and list edit (21) */
        struct {
            int16_t dbl_click; /* 0 selection changed, 1 double click */
        } lbox;                /* list box (19), list button (20) */
    } v;
} CONTROL_INFO;

/* An event: its type and the part of the union that the type names. */
typedef struct s_event {
    int32_t type;
    union {
        struct {
            BOOLEAN active;
        } focus; /* E_FOCUS */
        struct {
            int16_t height;
            int16_t width;
        } size; /* E_SIZE: the new client size */
        struct {
            RCT rct;
        } update; /* E_UPDATE: the area to repaint, client coordinates */
        struct {
            PNT where;
            BOOLEAN shift;
            BOOLEAN control;
            int16_t button; /* MB_* */
        } mouse;            /* E_MOUSE_DOWN, E_MOUSE_UP, E_MOUSE_MOVE, E_MOUSE_DBL */
        struct {
            uint16_t ch; /* character, or KEY_* when virtual_key */
            BOOLEAN shift;
            BOOLEAN control;
            BOOLEAN virtual_key;
            int32_t modifiers; /* WYN_MOD_* */
        } chr;                 /* E_CHAR */
        struct {
            int32_t what; /* SC_* */
            int16_t pos;
        } scroll; /* E_VSCROLL, E_HSCROLL */
        struct {
            int16_t tag;
            BOOLEAN shift;
            BOOLEAN control;
        } cmd; /* E_COMMAND */
        struct {
            struct wyn_font* font;
        } font; /* E_FONT */
        struct {
            int16_t id;
            CONTROL_INFO ci;
        } ctl; /* E_CONTROL */
        struct {
            int32_t id;
        } timer; /* E_TIMER */
        struct {
            BOOLEAN query; /* 1 the session asks whether it may end, 0 it ends now */
        } quit;            /* E_QUIT */
        struct {
            WINDOW obj;
            int16_t tag;
            int32_t tid;
        } help; /* E_HELP */
        struct {
            int32_t id;
            void* ptr;
        } user; /* E_USER */
        struct {
            int32_t msg;
            intptr_t data;
        } cxo; /* E_CXO */
    } v;
} EVENT;

/* A window's event handler; returns the result of the dispatch, -1 for "not handled". */
typedef int32_t (*EVENT_HANDLER)(WINDOW win, EVENT* ev);

struct s_cxo;
typedef struct s_cxo* CXO;

/* A CXO's handler. */
typedef int32_t (*CXO_HANDLER)(CXO cxo, EVENT* ev);

/* A handler-chain object; valid while `magic` points at the text "CXOMagic#". */
struct s_cxo {
    const char* magic;
    WINDOW owner;     /* during a call of a global CXO: the window the event is for */
    int32_t class_id; /* the registered class name */
    intptr_t app_data;
    CXO_HANDLER handler;
    EVENT_MASK event_mask;
    intptr_t create_data;
    CXO next;
    int32_t valid;  /* 1 while in a chain */
    int16_t global; /* 1 when owned by the screen window: it sees every window's events */
    int32_t busy;   /* calls in progress */
};

/* Creates a CXO in owner's chain (position 0 front, 1 end), sends it E_CXO CXO_MSG_CREATE with
   create_data; null when owner is not a live window or handler is null. */
WYN_EXPORT CXO wynv_cxo_create(WINDOW owner, intptr_t create_data, int16_t position,
                               CXO_HANDLER handler, EVENT_MASK mask, const char* class_name,
                               intptr_t app_data);

/* Takes cxo out of its chain; it receives E_CXO CXO_MSG_DESTROY and is freed once no call of
   it is in progress. */
WYN_EXPORT void wynv_cxo_destroy(CXO cxo);

/* Passes ev on from cxo (null: from the start) to the next CXO that takes its type, then to the
   window's handler; win null means cxo's owner. Returns the handler's result or -1. */
WYN_EXPORT int32_t wynv_cxo_call_next(WINDOW win, CXO cxo, EVENT* ev);

/* Sends cxo's handler an E_CXO event with msg and data; returns its result (-1 if invalid). */
WYN_EXPORT int32_t wynv_cxo_dispatch_msg(CXO cxo, int32_t msg, intptr_t data);

/* TRUE when cxo is a live CXO. */
WYN_EXPORT BOOLEAN wynv_cxo_is_valid(CXO cxo);

/* Copies cxo's class name into buffer (size bytes, terminated); FALSE when cxo is invalid. */
WYN_EXPORT BOOLEAN wynv_cxo_get_class_name(CXO cxo, char* buffer, size_t size);

/* The first CXO of win's chain whose class is class_name, or null. */
WYN_EXPORT CXO wynv_win_get_cxo(WINDOW win, const char* class_name);

/* Stores up to max CXOs of win's chain in order into out; returns how many the chain holds. */
WYN_EXPORT int32_t wynv_win_list_cxos(WINDOW win, CXO* out, int32_t max);

/* Delivers ev to win through the CXO chains and win's handler; -1 when not delivered. */
WYN_EXPORT int32_t wynk_win_dispatch_event(WINDOW win, EVENT* ev);

/* TRUE when ev is an E_CHAR carrying a key code rather than a character. */
WYN_EXPORT BOOLEAN wynv_event_is_virtual_key(const EVENT* ev);

/* The font of an E_FONT event (null for other events). */
WYN_EXPORT struct wyn_font* wynv_event_get_font(const EVENT* ev);

/* Sets the font of an E_FONT event. */
WYN_EXPORT void wynv_event_set_font(EVENT* ev, struct wyn_font* font);

WYN_END_C
