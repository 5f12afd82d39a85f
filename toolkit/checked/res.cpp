// Checked resource calls: the readers only mark their name; freeing and copying check their
// arguments.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

// clang-format off
MARKED(kRes, wyn_res_get_win_def, (int32_t id), wynv_res_get_win_def, (id))
MARKED(kRes, wyn_res_get_dlg_def, (int32_t id), wynv_res_get_dlg_def, (id))
MARKED(kRes, wyn_res_get_menu, (int32_t id), wynv_res_get_menu, (id))
MARKED(kRes, wyn_res_get_str_list, (int32_t first, int32_t last),
       wynv_res_get_str_list, (first, last))
CHECKED(kRes, wyn_res_free_win_def, (WIN_DEF* def),
        c.given(def), void(), wynv_res_free_win_def, (def))
CHECKED(kRes, wyn_res_free_menu_tree, (MENU_ITEM* tree),
        c.given(tree), void(), wynv_res_free_menu_tree, (tree))
CHECKED(kRes, wyn_res_get_str, (int32_t id, char* buf, int32_t size),
        c.given(buf) && c.at_least(size, 1), nullptr, wynv_res_get_str, (id, buf, size))
CHECKED(kRes, wyn_res_get_db_str, (int32_t id, char* buf, int32_t size),
        c.given(buf) && c.at_least(size, 1), nullptr, wynv_res_get_db_str, (id, buf, size))
CHECKED(kRes, wyn_res_get_font_desc, (int32_t id, WYN_RES_FONT* font),
        c.given(font), FALSE, wynv_res_get_font_desc, (id, font))
MARKED(kRes, wyn_res_get_image, (int32_t id), wynv_res_get_image, (id))
MARKED(kRes, wyn_res_get_image_data, (int32_t id, int32_t ext_tag, void* buf, int32_t size),
       wynv_res_get_image_data, (id, ext_tag, buf, size))
MARKED(kRes, wyn_res_get_win_data,
       (int32_t id, int32_t entry_id, int32_t ext_tag, void* buf, int32_t size),
       wynv_res_get_win_data, (id, entry_id, ext_tag, buf, size))
MARKED(kRes, wyn_res_get_dlg_data,
       (int32_t id, int32_t entry_id, int32_t ext_tag, void* buf, int32_t size),
       wynv_res_get_dlg_data, (id, entry_id, ext_tag, buf, size))
MARKED(kRes, wyn_res_get_menu_data,
       (int32_t id, int32_t tag, int32_t ext_tag, void* buf, int32_t size),
       wynv_res_get_menu_data, (id, tag, ext_tag, buf, size))
// clang-format on

int32_t wyn_res_get_key_table(int32_t id, WYN_RES_ACCEL* keys, int32_t max) {
    Call c(__func__, kRes);
    if (!c.at_least(max, 0) || (max > 0 && !c.given(keys))) return -1;
    return wynv_res_get_key_table(id, keys, max);
}
