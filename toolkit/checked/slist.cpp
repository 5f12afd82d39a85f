// Checked string-list calls: every function that takes a list refuses a null or foreign one.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
MARKED(kSlist, wyn_slist_create, (), wynv_slist_create, ())
CHECKED(kSlist, wyn_slist_destroy, (SLIST list),
        c.slist(list), void(), wynv_slist_destroy, (list))
CHECKED(kSlist, wyn_slist_count, (SLIST list),
        c.slist(list), -1, wynv_slist_count, (list))
CHECKED(kSlist, wyn_slist_add_at_pos, (SLIST list, int pos, const char* str, long data),
        c.slist(list) && c.given(str), FALSE, wynv_slist_add_at_pos, (list, pos, str, data))
CHECKED(kSlist, wyn_slist_add_at_elt, (SLIST list, SLIST_ELT elt, const char* str, long data),
        c.slist(list) && c.given(str), FALSE, wynv_slist_add_at_elt, (list, elt, str, data))
CHECKED(kSlist, wyn_slist_add_sorted,
        (SLIST list, const char* str, long data, BOOLEAN unique, BOOLEAN case_sensitive),
        c.slist(list) && c.given(str),
        FALSE, wynv_slist_add_sorted, (list, str, data, unique, case_sensitive))
CHECKED(kSlist, wyn_slist_rem, (SLIST list, SLIST_ELT elt),
        c.slist(list) && c.given(elt), FALSE, wynv_slist_rem, (list, elt))
CHECKED(kSlist, wyn_slist_get, (SLIST list, SLIST_ELT elt, long* data),
        c.slist(list), nullptr, wynv_slist_get, (list, elt, data))
CHECKED(kSlist, wyn_slist_get_elt, (SLIST list, int index, long* data),
        c.slist(list) && c.at_least(index, 0), nullptr, wynv_slist_get_elt, (list, index, data))
MARKED(kSlist, wyn_slist_get_data, (SLIST_ELT elt), wynv_slist_get_data, (elt))
CHECKED(kSlist, wyn_slist_get_first, (SLIST list),
        c.slist(list), nullptr, wynv_slist_get_first, (list))
CHECKED(kSlist, wyn_slist_get_next, (SLIST list, SLIST_ELT elt),
        c.slist(list), nullptr, wynv_slist_get_next, (list, elt))
MARKED(kSlist, wyn_slist_is_valid, (SLIST list), wynv_slist_is_valid, (list))
CHECKED(kSlist, wyn_slist_debug, (SLIST list),
        c.slist(list), void(), wynv_slist_debug, (list))
// clang-format on
