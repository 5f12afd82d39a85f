/* Checked calls on handler-chain objects (CXO) and on event records. A CXO that is not live is
   reported as an invalid object. */
#pragma once

#include <wyn/events.h>

WYN_BEGIN_C

/* Creates a CXO in owner's chain (position 0 front, 1 end); null on a fault. */
CXO wyn_cxo_create(WINDOW owner, intptr_t create_data, int16_t position, CXO_HANDLER handler,
                   EVENT_MASK mask, const char* class_name, intptr_t app_data);
/* Takes cxo out of its chain and frees it once no call of it is in progress. */
void wyn_cxo_destroy(CXO cxo);
/* Passes ev on from cxo to the next CXO that takes it, then to the window's handler; -1 on a
   fault. */
int32_t wyn_cxo_call_next(WINDOW win, CXO cxo, EVENT* ev);
/* Sends cxo an E_CXO event with msg and data; -1 on a fault. */
int32_t wyn_cxo_dispatch_msg(CXO cxo, int32_t msg, intptr_t data);
/* TRUE for a live CXO (never reported). */
BOOLEAN wyn_cxo_is_valid(CXO cxo);
/* Copies cxo's class name into buffer (size bytes); FALSE on a fault. */
BOOLEAN wyn_cxo_get_class_name(CXO cxo, char* buffer, size_t size);

/* TRUE when ev is an E_CHAR carrying a key code; FALSE on a null ev. */
BOOLEAN wyn_event_is_virtual_key(const EVENT* ev);
/* The font of an E_FONT event; null on a null ev. */
struct wyn_font* wyn_event_get_font(const EVENT* ev);
/* Sets the font of an E_FONT event. */
void wyn_event_set_font(EVENT* ev, struct wyn_font* font);

WYN_END_C
