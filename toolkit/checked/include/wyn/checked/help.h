/* Checked help calls. Each forwards to the help library's function of the same stem once its
   arguments have passed: an invalid help handle is reported as 0x1220001, a null window, event,
   FILE_SPEC or topic, and a resource id below 1, as 0x210000, a window that is not a
   live window object as 0x1220002, and a menu tag below 1 as a signed 16-bit number as
   0x1250001. A refused call does nothing and gives 0, FALSE or null. */
#pragma once

#include <wyn/help.h>

WYN_BEGIN_C

/* Opens the help file of file_spec with flags; null when it is not found or on a fault. */
HELP_INFO wyn_help_open_helpfile(const FILE_SPEC* file_spec, uint32_t flags);
/* Closes help; TRUE when something was closed. */
BOOLEAN wyn_help_close_helpfile(HELP_INFO help);
/* Shows topic (not 0). */
void wyn_help_display_topic(HELP_INFO help, int32_t topic);
/* Starts a keyword search; a null keyword opens the viewer's search. */
void wyn_help_search_topic(HELP_INFO help, int32_t topic, const char* keyword);
/* Binds menu item tag of win (null: of every window) to topic, 0 removes it; extra unused. */
void wyn_help_set_menu_assoc(HELP_INFO help, WINDOW win, int32_t tag, int32_t topic,
                             intptr_t extra);
/* The topic of menu item tag of win, or 0. */
int32_t wyn_help_get_menu_assoc(HELP_INFO help, WINDOW win, int32_t tag);
/* Binds win (a window, dialog or control) to topic, 0 removes it; extra unused. */
void wyn_help_set_win_assoc(HELP_INFO help, WINDOW win, int32_t topic, intptr_t extra);
/* The topic of win, or 0. */
int32_t wyn_help_get_win_assoc(HELP_INFO help, WINDOW win);
/* Binds win of resource res_id, its menu items and controls from the association file; def is
   its definition or null. TRUE when associations were made. */
BOOLEAN wyn_help_assoc_all(HELP_INFO help, WINDOW win, int32_t res_id, const WIN_DEF* def);
/* Removes every binding of win, its menu items and its controls. */
void wyn_help_disassoc_all(HELP_INFO help, WINDOW win);
/* Starts object-click mode on win; extra unused. */
void wyn_help_begin_objclick(HELP_INFO help, WINDOW win, intptr_t extra);
/* Ends object-click mode. */
void wyn_help_end_objclick(HELP_INFO help);
/* Offers ev of win to help: TRUE when help handled it, FALSE when it goes on to the window. */
BOOLEAN wyn_help_process_event(HELP_INFO help, WINDOW win, EVENT* ev);
/* The help flavor once a help file has been opened, else 0. */
int32_t wyn_help_get_flavor(void);

WYN_END_C
