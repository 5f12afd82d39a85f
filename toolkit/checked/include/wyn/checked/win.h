/* Checked calls on window objects: creation (also from definitions and resources), destruction,
   attributes, the fields the layer reads and writes itself, event dispatch, and what every
   object shares (title, placement, visibility, focus, caret, cursor). A null, destroyed or
   wrongly typed window is reported and gives the failure value named below; calls that change
   the screen are refused while an E_UPDATE is processed. */
#pragma once

#include <wyn/attr.h>
#include <wyn/ctl.h>
#include <wyn/dlg.h>
#include <wyn/nav.h>
#include <wyn/win.h>

WYN_BEGIN_C

/* Creates a window of type (document, plain, double-bordered, borderless or modal) in pixels
   under parent; only modal windows go under a dialog. An inverted rectangle is warned about and
   used as it is. Null on a fault or refused during E_UPDATE. */
WINDOW wyn_win_create(int32_t type, const RCT* rct, const char* title, int16_t menu_id,
                      WINDOW parent, uint32_t flags, EVENT_MASK mask, EVENT_HANDLER handler,
                      intptr_t app_data);
/* Delivers ev to win; -1 on a fault (the screen window, a window without handler, an event type
   outside E_CREATE to E_USER), else the dispatch result. */
int32_t wyn_win_dispatch_event(WINDOW win, EVENT* ev);
/* Sets win's event handler. */
void wyn_win_set_handler(WINDOW win, EVENT_HANDLER handler);
/* win's event handler; null on a fault. */
EVENT_HANDLER wyn_win_get_handler(WINDOW win);
/* Sets win's event mask. */
void wyn_win_set_event_mask(WINDOW win, EVENT_MASK mask);
/* win's event mask; 0 on a fault. */
EVENT_MASK wyn_win_get_event_mask(WINDOW win);
/* The first CXO of win's chain of class class_name; null on a fault or when there is none. */
CXO wyn_win_get_cxo(WINDOW win, const char* class_name);
/* Stores up to max CXOs of win's chain into out; how many the chain holds, -1 on a fault. */
int32_t wyn_win_list_cxos(WINDOW win, CXO* out, int32_t max);

/* Destroys an object (not the screen window) and everything inside it; refused during
   E_UPDATE. */
void wyn_vobj_destroy(WINDOW win);
/* Reads attribute id (win may be null except for per-window attributes); 0 on a fault. */
ATTR_VALUE wyn_vobj_get_attr(WINDOW win, ATTR_ID id);
/* Writes attribute id; FALSE on a fault. */
BOOLEAN wyn_vobj_set_attr(WINDOW win, ATTR_ID id, ATTR_VALUE value);
/* The application's word of win; -1 on a fault. */
intptr_t wyn_vobj_get_data(WINDOW win);
/* Sets the application's word of win. */
void wyn_vobj_set_data(WINDOW win, intptr_t data);
/* win's type (WT_TEXT_EDIT for a text-edit control); 0 on a fault. */
int32_t wyn_vobj_get_type(WINDOW win);
/* The object win lies in (the screen window for a top-level window); null on a fault. */
WINDOW wyn_vobj_get_parent(WINDOW win);

/* --- every window object --- */
/* Copies win's title into buf (size bytes); null on a fault. */
char* wyn_vobj_get_title(WINDOW win, char* buf, int32_t size);
/* Sets win's title. */
void wyn_vobj_set_title(WINDOW win, const char* title);
/* Shows or hides win. */
void wyn_vobj_set_visible(WINDOW win, BOOLEAN visible);
/* Enables or greys win. */
void wyn_vobj_set_enabled(WINDOW win, BOOLEAN enabled);
/* Moves win so that its client area is rct in pixels. */
void wyn_vobj_move(WINDOW win, const RCT* rct);
/* Brings win to the top of its siblings. */
void wyn_vobj_raise(WINDOW win);
/* The client or outer rectangle into *rct; null on a fault. */
RCT* wyn_vobj_get_client_rect(WINDOW win, RCT* rct);
RCT* wyn_vobj_get_outer_rect(WINDOW win, RCT* rct);
/* Converts count points from the client coordinates of from to those of to (null: the
   screen). */
void wyn_vobj_translate_points(WINDOW from, WINDOW to, PNT* points, int32_t count);
/* Creation flags with VOBJ_FLAG_VISIBLE and VOBJ_FLAG_ENABLED; 0 on a fault. */
uint32_t wyn_vobj_get_flags(WINDOW win);
/* TRUE when win can take the keyboard focus; FALSE on a fault. */
BOOLEAN wyn_vobj_is_focusable(WINDOW win);

/* --- the screen --- */
WINDOW wyn_scr_get_focus_vobj(void);
/* Gives win the keyboard focus. */
void wyn_scr_set_focus_vobj(WINDOW win);
/* The active top-level object, or null. */
WINDOW wyn_scr_get_focus_topwin(void);
/* A new list of the top-level objects. */
SLIST wyn_scr_list_wins(void);
/* Shows the hourglass until the queued events are processed. */
void wyn_scr_set_busy_cursor(void);
/* Hides the pointer until it moves. */
void wyn_scr_hide_cursor(void);
/* Sounds the system's beep. */
void wyn_scr_beep(void);

/* --- windows --- */
/* Creates the window of def and its controls under parent (see wynk_win_create_def): under the
   task or screen window a window needs a menu, WSF_NO_MENUBAR or the modal type; under a dialog
   only a modal window may be made; flags and fonts must be known and live. The rectangles are
   taken in pixels for the call and put back afterwards. Null on a fault. */
WINDOW wyn_win_create_def(WIN_DEF* def, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                          intptr_t app_data);
/* As wyn_win_create_def for window resource id. */
WINDOW wyn_win_create_res(int32_t id, WINDOW parent, EVENT_MASK mask, EVENT_HANDLER handler,
                          intptr_t app_data);
/* The control of win with id; null on a fault or when there is none. */
WINDOW wyn_win_get_ctl(WINDOW win, int16_t id);
/* A new list of win's child objects; null on a fault. */
SLIST wyn_win_list_wins(WINDOW win);
/* The navigation group win belongs to; null on a fault or when there is none. */
NAV wyn_win_get_nav(WINDOW win);
/* Sets the title of document window win (a null title is reported); refused during E_UPDATE. */
void wyn_win_set_doc_title(WINDOW win, const char* title);
/* The text-edit object of win; null on a fault or when win holds none. */
void* wyn_win_get_tx(WINDOW win);
/* Calls fn for every child object of win until it returns FALSE. */
void wyn_win_enum_wins(WINDOW win, WYN_ENUM_FN fn, intptr_t data);
/* Sets the colour table a window gives its controls. */
void wyn_win_set_ctl_colors(WINDOW win, COLOR* colors);
/* The font a window gives its controls (null: the default); an invalid font is reported. */
void wyn_win_set_ctl_font(WINDOW win, struct wyn_font* font);
/* The font a window gives its controls; null on a fault. */
struct wyn_font* wyn_win_get_ctl_font(WINDOW win);
/* The colour table a window gives its controls; null on a fault. */
COLOR* wyn_win_get_ctl_colors(WINDOW win);
/* Moves win's caret. */
void wyn_win_set_caret_pos(WINDOW win, PNT pos);
/* Sizes win's caret (negative sizes are reported). */
void wyn_win_set_caret_size(WINDOW win, int16_t width, int16_t height);
/* Shows or hides win's caret. */
void wyn_win_set_caret_visible(WINDOW win, BOOLEAN visible);
/* Sets win's cursor. */
void wyn_win_set_cursor(WINDOW win, int32_t cursor);
/* The cursor number of win; -1 on a fault. */
int32_t wyn_win_get_cursor(WINDOW win);
/* Sends every mouse event to win until released. */
void wyn_win_trap_pointer(WINDOW win);
/* Ends the pointer trap. */
void wyn_win_release_pointer(void);

WYN_END_C
