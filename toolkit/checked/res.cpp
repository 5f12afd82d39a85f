// Checked resource calls: the readers only mark their name; freeing and copying check their
// arguments.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

WIN_DEF* wyn_res_get_win_def(int32_t id) {
    Call c(__func__, kRes);
    return wynv_res_get_win_def(id);
}

WIN_DEF* wyn_res_get_dlg_def(int32_t id) {
    Call c(__func__, kRes);
    return wynv_res_get_dlg_def(id);
}

MENU_ITEM* wyn_res_get_menu(int32_t id) {
    Call c(__func__, kRes);
    return wynv_res_get_menu(id);
}

SLIST wyn_res_get_str_list(int32_t first, int32_t last) {
    Call c(__func__, kRes);
    return wynv_res_get_str_list(first, last);
}

void wyn_res_free_win_def(WIN_DEF* def) {
    Call c(__func__, kRes);
    if (!c.given(def)) return;
    wynv_res_free_win_def(def);
}

void wyn_res_free_menu_tree(MENU_ITEM* tree) {
    Call c(__func__, kRes);
    if (!c.given(tree)) return;
    wynv_res_free_menu_tree(tree);
}

char* wyn_res_get_str(int32_t id, char* buf, int32_t size) {
    Call c(__func__, kRes);
    if (!c.given(buf) || !c.at_least(size, 1)) return nullptr;
    return wynv_res_get_str(id, buf, size);
}
