// Checked string-list calls: every function that takes a list refuses a null or foreign one.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

SLIST wyn_slist_create(void) {
    Call c(__func__, kSlist);
    return wynv_slist_create();
}

void wyn_slist_destroy(SLIST list) {
    Call c(__func__, kSlist);
    if (!c.slist(list)) return;
    wynv_slist_destroy(list);
}

int wyn_slist_count(SLIST list) {
    Call c(__func__, kSlist);
    if (!c.slist(list)) return -1;
    return wynv_slist_count(list);
}

BOOLEAN wyn_slist_add_at_pos(SLIST list, int pos, const char* str, long data) {
    Call c(__func__, kSlist);
    if (!c.slist(list) || !c.given(str)) return FALSE;
    return wynv_slist_add_at_pos(list, pos, str, data);
}

BOOLEAN wyn_slist_add_at_elt(SLIST list, SLIST_ELT elt, const char* str, long data) {
    Call c(__func__, kSlist);
    if (!c.slist(list) || !c.given(str)) return FALSE;
    return wynv_slist_add_at_elt(list, elt, str, data);
}

BOOLEAN wyn_slist_add_sorted(SLIST list, const char* str, long data, BOOLEAN unique,
                             BOOLEAN case_sensitive) {
    Call c(__func__, kSlist);
    if (!c.slist(list) || !c.given(str)) return FALSE;
    return wynv_slist_add_sorted(list, str, data, unique, case_sensitive);
}

BOOLEAN wyn_slist_rem(SLIST list, SLIST_ELT elt) {
    Call c(__func__, kSlist);
    if (!c.slist(list) || !c.given(elt)) return FALSE;
    return wynv_slist_rem(list, elt);
}

const char* wyn_slist_get(SLIST list, SLIST_ELT elt, long* data) {
    Call c(__func__, kSlist);
    if (!c.slist(list)) return nullptr;
    return wynv_slist_get(list, elt, data);
}

const char* wyn_slist_get_elt(SLIST list, int index, long* data) {
    Call c(__func__, kSlist);
    if (!c.slist(list) || !c.at_least(index, 0)) return nullptr;
    return wynv_slist_get_elt(list, index, data);
}

long* wyn_slist_get_data(SLIST_ELT elt) {
    Call c(__func__, kSlist);
    return wynv_slist_get_data(elt);
}

SLIST_ELT wyn_slist_get_first(SLIST list) {
    Call c(__func__, kSlist);
    if (!c.slist(list)) return nullptr;
    return wynv_slist_get_first(list);
}

SLIST_ELT wyn_slist_get_next(SLIST list, SLIST_ELT elt) {
    Call c(__func__, kSlist);
    if (!c.slist(list)) return nullptr;
    return wynv_slist_get_next(list, elt);
}

BOOLEAN wyn_slist_is_valid(SLIST list) {
    Call c(__func__, kSlist);
    return wynv_slist_is_valid(list);
}

void wyn_slist_debug(SLIST list) {
    Call c(__func__, kSlist);
    if (!c.slist(list)) return;
    wynv_slist_debug(list);
}
