/* Window and dialog definitions (WIN_DEF) and menu trees (MENU_ITEM), as built in code or read from
 * resources. */
#pragma once

#include "wyn/types.h"

WYN_BEGIN_C

struct wyn_font;

/* Window and control types: the `type` field of a WIN_DEF entry and of a window object. */
enum {
    WT_NONE = 0, /* ends a WIN_DEF array */
    WT_DOC = 1,
    WT_PLAIN = 2,
    WT_DBL = 3,
    WT_PRINT = 4,
    WT_TASK = 5,
    WT_SCREEN = 6,
    WT_NO_BORDER = 7,
    WT_MODAL = 9,
    WT_MODAL_DLG = 10,
    WT_MODELESS_DLG = 11,
    WT_PUSH_BUTTON = 12,
    WT_RADIO_BUTTON = 13,
    WT_CHECK_BOX = 14,
    WT_HSCROLL = 15,
    WT_VSCROLL = 16,
    WT_EDIT = 17,
    WT_TEXT = 18,
    WT_LIST_BOX = 19,
    WT_LIST_BUTTON = 20,
    WT_LIST_EDIT = 21,
    WT_GROUP_BOX = 22,
    WT_TEXT_EDIT = 23,
    WT_ICON = 24
};

/* Coordinate units of a WIN_DEF rectangle. */
enum { WU_PIXELS = 0, WU_CHARS = 1, WU_DLG_UNITS = 2 };

/* Window creation flags (the `flags` field of a window entry). */
#define WSF_HSCROLL 0x0004u
#define WSF_VSCROLL 0x0008u
#define WSF_INVISIBLE 0x0010u
#define WSF_NO_ACTIVATE 0x0020u
#define WSF_MINIMIZED 0x0100u
#define WSF_NO_MENUBAR 0x0800u
#define WSF_MAXIMIZED 0x1000u

/* Control flags (the `menu_tree` word of a control entry). */
#define CTL_FLAG_DEFAULT 0x0001u   /* the dialog's default push button */
#define CTL_FLAG_DISABLED 0x0002u  /* created greyed */
#define CTL_FLAG_CHECKED 0x0004u   /* created checked */
#define CTL_FLAG_MULTI_SEL 0x0008u /* list box with multiple selection */
#define CTL_FLAG_INVISIBLE 0x0010u /* created hidden */
#define CTL_FLAG_READ_ONLY 0x0020u /* edit field that cannot be typed into */
#define CTL_FLAG_PASSWORD 0x0040u  /* edit field that hides its text */
#define CTL_FLAG_SORTED 0x0080u    /* list kept in alphabetical order */

/* Menu item flags by value. */
#define MENU_FLAG_ENABLED 0x0001u
#define MENU_FLAG_CHECKED 0x0002u
#define MENU_FLAG_CHECKABLE 0x0004u
#define MENU_FLAG_SEPARATOR 0x0008u

/* Tags from this value up are the toolkit's standard menu items. */
#define MENU_TAG_STANDARD 32000

/* One menu item; an array of items ends with an item whose tag is 0. */
typedef struct s_menu_item {
    int16_t tag;                 /* command id */
    char* text;                  /* title; "~" marks the mnemonic, "~~" is a literal tilde */
    int16_t mnemonic;            /* mnemonic word as read from resources */
    uint16_t flags;              /* MENU_FLAG_* */
    struct s_menu_item* submenu; /* nested item array, or null */
    intptr_t app_data;           /* the application's word */
} MENU_ITEM;

/* One entry of a window or dialog definition; an array ends with an entry of type WT_NONE. */
typedef struct s_win_def {
    int32_t type;        /* WT_*: window type in entry 0, control type in the others */
    RCT rct;             /* position and size in the parent, in `units` */
    char* text;          /* window title or control label */
    int32_t units;       /* WU_* */
    COLOR* colors;       /* control colour table, or null */
    uint32_t menu_or_id; /* window: menu-bar id; dialog: dialog flags; control: id, icon id above */
    union {
        MENU_ITEM* menu_tree; /* window and dialog entries */
        uint32_t ctl_flags;   /* control entries: CTL_FLAG_* */
    } u;
    uint32_t flags;        /* window: WSF_*; text edit: margin (low half) and limit (high half) */
    struct wyn_font* font; /* font for the controls, or the control's own font */
    uint32_t tx_attrs;     /* text edit: its attributes; 0 for other entries */
} WIN_DEF;

WYN_END_C
