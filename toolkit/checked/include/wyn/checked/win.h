/* Checked calls on window objects: creation, destruction, attributes, the fields the layer reads
   and writes itself, and event dispatch. A null, destroyed or wrongly typed window is reported
   and gives the failure value named below. */
#pragma once

#include <wyn/attr.h>
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

WYN_END_C
