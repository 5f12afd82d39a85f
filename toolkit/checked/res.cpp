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

char* wyn_res_get_db_str(int32_t id, char* buf, int32_t size) {
    Call c(__func__, kRes);
    if (!c.given(buf) || !c.at_least(size, 1)) return nullptr;
    return wynv_res_get_db_str(id, buf, size);
}

BOOLEAN wyn_res_get_font_desc(int32_t id, WYN_RES_FONT* font) {
    Call c(__func__, kRes);
    if (!c.given(font)) return FALSE;
    return wynv_res_get_font_desc(id, font);
}

int32_t wyn_res_get_image(int32_t id) {
    Call c(__func__, kRes);
    return wynv_res_get_image(id);
}

int32_t wyn_res_get_image_data(int32_t id, int32_t ext_tag, void* buf, int32_t size) {
    Call c(__func__, kRes);
    return wynv_res_get_image_data(id, ext_tag, buf, size);
}

int32_t wyn_res_get_win_data(int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                             int32_t size) {
    Call c(__func__, kRes);
    return wynv_res_get_win_data(id, entry_id, ext_tag, buf, size);
}

int32_t wyn_res_get_dlg_data(int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                             int32_t size) {
    Call c(__func__, kRes);
    return wynv_res_get_dlg_data(id, entry_id, ext_tag, buf, size);
}

int32_t wyn_res_get_menu_data(int32_t id, int32_t tag, int32_t ext_tag, void* buf, int32_t size) {
    Call c(__func__, kRes);
    return wynv_res_get_menu_data(id, tag, ext_tag, buf, size);
}

int32_t wyn_res_get_key_table(int32_t id, WYN_RES_ACCEL* keys, int32_t max) {
    Call c(__func__, kRes);
    if (!c.at_least(max, 0) || (max > 0 && !c.given(keys))) return -1;
    return wynv_res_get_key_table(id, keys, max);
}
