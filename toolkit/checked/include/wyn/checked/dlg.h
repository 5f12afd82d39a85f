/* Checked dialog creation, refused while an E_UPDATE is processed. */
#pragma once

#include <wyn/dlg.h>

WYN_BEGIN_C

/* Creates the dialog of def (entry 0 of type 10 or 11); null on a fault. A modal dialog returns
   its object, no longer valid, once it has been closed. */
WINDOW wyn_dlg_create_def(WIN_DEF* def, EVENT_MASK mask, EVENT_HANDLER handler, intptr_t app_data);
/* As wyn_dlg_create_def for dialog resource id (0 to 29999) of type 10 or 11. */
WINDOW wyn_dlg_create_res(int32_t type, int32_t id, EVENT_MASK mask, EVENT_HANDLER handler,
                          intptr_t app_data);

WYN_END_C
