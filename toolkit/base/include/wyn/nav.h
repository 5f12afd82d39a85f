/* Navigation groups: named sets of windows among which keyboard and mouse focus moves. */
#pragma once

#include <wyn/slist.h>
#include <wyn/win.h>

WYN_BEGIN_C

/* A navigation group. */
typedef struct wyn_nav* NAV;

/* Creates an empty group called name (copied); null when name is null. */
WYN_EXPORT NAV wynv_nav_create(const char* name);

/* Adds win at the end of nav; a window belongs to one group at a time, so it leaves any other.
   FALSE when nav or win is not live. */
WYN_EXPORT BOOLEAN wynv_nav_add_win(NAV nav, WINDOW win);

/* Takes win out of nav; FALSE when it was not a member. */
WYN_EXPORT BOOLEAN wynv_nav_rem_win(NAV nav, WINDOW win);

/* A new list of nav's live members in order: their titles, each with the object as data word;
   free it with wynv_slist_destroy. Null when nav is not a group. */
WYN_EXPORT SLIST wynv_nav_list_wins(NAV nav);

/* Destroys nav; its windows stay. */
WYN_EXPORT void wynv_nav_destroy(NAV nav);

/* The group win belongs to, or null. */
WYN_EXPORT NAV wynv_win_get_nav(WINDOW win);

WYN_END_C
