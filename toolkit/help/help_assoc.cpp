// Associations of a help file: objects and menu items bound to topics in 513 hashed chains and
// one list in order of making; binding a whole window from the association file; dropping a
// window's bindings.
#include <new>
#include <wyn/ctl.h>
#include <wyn/res.h>

#include "help_info.h"

namespace wynhelp {

namespace {

constexpr uint32_t kObjectKinds = HELP_KIND_WINDOW | HELP_KIND_DIALOG | HELP_KIND_CONTROL;

// Menu trees from resources nest a few levels; a deeper one is not walked further.
constexpr int kMenuDepth = 16;

size_t object_bucket(WINDOW object) {
    return reinterpret_cast<uintptr_t>(object) % kBucketCount;
}

size_t menu_bucket(int32_t tag) {
    return static_cast<size_t>(static_cast<int16_t>(tag)) % kBucketCount;
}

bool same_tag(int32_t a, int32_t b) {
    return static_cast<int16_t>(a) == static_cast<int16_t>(b);
}

bool menu_tag_ok(int32_t tag) {
    return static_cast<int16_t>(tag) > 0;
}

Assoc** bucket_of(HELP_INFO help, size_t index) {
    return help->buckets ? &help->buckets[index] : nullptr;
}

Assoc* find_object(HELP_INFO help, WINDOW object) {
    Assoc** head = bucket_of(help, object_bucket(object));
    for (Assoc* a = head ? *head : nullptr; a; a = a->chain)
        if ((a->kind & kObjectKinds) && a->object == object) return a;
    return nullptr;
}

Assoc* find_menu(HELP_INFO help, WINDOW win, int32_t tag) {
    Assoc** head = bucket_of(help, menu_bucket(tag));
    for (Assoc* a = head ? *head : nullptr; a; a = a->chain)
        if (a->kind == HELP_KIND_MENU && same_tag(a->tag, tag) && a->window == win) return a;
    return nullptr;
}

bool make_buckets(HELP_INFO help) {
    if (help->buckets) return true;
    help->buckets.reset(new (std::nothrow) Assoc*[kBucketCount]());
    if (help->buckets) return true;
    report(kMsgNoMemory, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
    out_of_memory(sizeof(Assoc*) * kBucketCount, kUnitAssoc, __LINE__);
    return false;
}

// A new association at the head of bucket index, appended to the list; null when out of memory.
Assoc* add(HELP_INFO help, size_t index, WYN_MSG_ID failure) {
    Assoc* a = make_buckets(help) ? new (std::nothrow) Assoc() : nullptr;
    if (!a) {
        report(failure, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
        if (help->buckets) out_of_memory(sizeof(Assoc), kUnitAssoc, __LINE__);
        return nullptr;
    }
    a->chain = help->buckets[index];
    help->buckets[index] = a;
    help->list.append(a);
    return a;
}

void remove(HELP_INFO help, Assoc* a, size_t index) {
    for (Assoc** link = &help->buckets[index]; *link; link = &(*link)->chain) {
        if (*link != a) continue;
        *link = a->chain;
        break;
    }
    help->list.unlink(a);
    delete a;
}

bool valid_for_assoc(HELP_INFO help, int line) {
    if (wynv_help_is_valid_info(help)) return true;
    report(kMsgInvalidInfo, WYN_SEV_WARNING, kUnitAssoc, line);
    return false;
}

// Binds every item of tree with an entry in the file to its topic, submenus after their item.
void walk_menu(HELP_INFO help, WINDOW win, int32_t res_id, const MENU_ITEM* tree, int depth) {
    if (depth > kMenuDepth) return;
    for (const MENU_ITEM* item = tree; item && item->tag != 0; ++item) {
        const int32_t topic = lookup_file_assoc(help->file_table, kFileMenu, item->tag, res_id);
        if (topic != 0) wynv_help_set_menu_assoc(help, win, item->tag, topic, 0);
        walk_menu(help, win, res_id, item->submenu, depth + 1);
    }
}

void assoc_menus(HELP_INFO help, WINDOW win, int32_t res_id, const WIN_DEF& def) {
    if (def.u.menu_tree) {
        walk_menu(help, win, res_id, def.u.menu_tree, 0);
        return;
    }
    if (def.menu_or_id == 0) return;
    MENU_ITEM* tree = wynv_res_get_menu(static_cast<int32_t>(def.menu_or_id));
    walk_menu(help, win, res_id, tree, 0);
    wynv_res_free_menu_tree(tree);
}

void assoc_controls(HELP_INFO help, WINDOW win, int32_t res_id, const WIN_DEF* def) {
    for (const WIN_DEF* entry = def + 1; entry->type != WT_NONE; ++entry) {
        if (object_class_of_type(entry->type) != kFileControl) continue;
        // A control entry's word holds its id in the low half (an icon's resource above it).
        const auto id = static_cast<int16_t>(entry->menu_or_id & 0xFFFFu);
        const int32_t topic = lookup_file_assoc(help->file_table, kFileControl, id, res_id);
        if (topic == 0) continue;
        if (WINDOW ctl = wynk_win_get_ctl(win, id)) wynv_help_set_win_assoc(help, ctl, topic);
    }
}

} // namespace

int32_t object_class_of_type(int32_t type) {
    switch (type) {
    case WT_DOC:
    case WT_PLAIN:
    case WT_DBL:
    case WT_TASK:
    case WT_SCREEN:
    case WT_NO_BORDER:
        return kFileWindow;
    case WT_MODAL_DLG:
    case WT_MODELESS_DLG:
        return kFileDialog;
    case WT_TEXT_EDIT:
        return 0;
    default:
        return type >= WT_PUSH_BUTTON && type <= WT_ICON ? kFileControl : 0;
    }
}

int32_t object_class(WINDOW win) {
    if (!win) return 0;
    // A text edit hosted in a control reads as its own type, which has no class.
    return object_class_of_type((win->state & WS_TEXT_EDIT) ? WT_TEXT_EDIT : win->type);
}

AssocList::~AssocList() {
    while (head_) {
        Assoc* next = head_->next;
        delete head_;
        head_ = next;
    }
}

void AssocList::append(Assoc* a) {
    a->prev = tail_;
    a->next = nullptr;
    (tail_ ? tail_->next : head_) = a;
    tail_ = a;
}

void AssocList::unlink(Assoc* a) {
    (a->prev ? a->prev->next : head_) = a->next;
    (a->next ? a->next->prev : tail_) = a->prev;
    a->prev = a->next = nullptr;
}

void clear_assocs(HELP_INFO help) {
    while (Assoc* a = help->list.first()) {
        help->list.unlink(a);
        delete a;
    }
    help->buckets.reset();
}

int32_t ancestor_assoc(HELP_INFO help, WINDOW win) {
    for (; win; win = wynk_vobj_get_parent(win))
        if (int32_t topic = wynv_help_get_win_assoc(help, win)) return topic;
    return 0;
}

} // namespace wynhelp

using namespace wynhelp;

void wynv_help_set_win_assoc(HELP_INFO help, WINDOW object, int32_t topic) {
    if (!valid_for_assoc(help, __LINE__)) return;
    if (!object) {
        report(kMsgNull, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
        return;
    }
    Assoc* a = find_object(help, object);
    if (topic == 0) {
        if (a) remove(help, a, object_bucket(object));
        return;
    }
    const int32_t cls = object_class(object);
    // An object of no class could never be found again.
    if (cls == 0) return;
    if (!a && !(a = add(help, object_bucket(object), kMsgWinAssoc))) return;
    a->kind = cls == kFileWindow   ? HELP_KIND_WINDOW
              : cls == kFileDialog ? HELP_KIND_DIALOG
                                   : HELP_KIND_CONTROL;
    a->window = cls == kFileControl ? wynk_vobj_get_parent(object) : nullptr;
    a->object = object;
    a->topic = topic;
}

int32_t wynv_help_get_win_assoc(HELP_INFO help, WINDOW object) {
    if (!valid_for_assoc(help, __LINE__)) return 0;
    if (!object) {
        report(kMsgNull, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
        return 0;
    }
    const Assoc* a = find_object(help, object);
    return a ? a->topic : 0;
}

void wynv_help_set_menu_assoc(HELP_INFO help, WINDOW win, int32_t tag, int32_t topic, intptr_t) {
    if (!valid_for_assoc(help, __LINE__)) return;
    if (!menu_tag_ok(tag)) {
        report(kMsgNull, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
        return;
    }
    Assoc* a = find_menu(help, win, tag);
    if (topic == 0) {
        if (a) remove(help, a, menu_bucket(tag));
        return;
    }
    if (!a && !(a = add(help, menu_bucket(tag), kMsgMenuAssoc))) return;
    a->kind = HELP_KIND_MENU;
    a->window = win;
    a->tag = tag;
    a->topic = topic;
}

int32_t wynv_help_get_menu_assoc(HELP_INFO help, WINDOW win, int32_t tag) {
    if (!valid_for_assoc(help, __LINE__)) return 0;
    if (!menu_tag_ok(tag)) {
        report(kMsgNull, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
        return 0;
    }
    const Assoc* a = find_menu(help, win, tag);
    return a ? a->topic : 0;
}

BOOLEAN wynv_help_assoc_all(HELP_INFO help, WINDOW win, int32_t res_id, const WIN_DEF* def) {
    if (!wynv_help_is_valid_info(help) || help->file_table.count == 0) return FALSE;
    const int32_t cls = object_class(win);
    if (cls == 0) return FALSE;
    WIN_DEF* read = nullptr;
    if (!def) {
        if (cls == kFileControl) {
            report(kMsgNoClass, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
            return FALSE;
        }
        read = cls == kFileWindow ? wynv_res_get_win_def(res_id) : wynv_res_get_dlg_def(res_id);
        if (!read) return FALSE;
        def = read;
    }
    const int32_t own = lookup_file_assoc(help->file_table, cls, res_id, 0);
    if (cls == kFileWindow) assoc_menus(help, win, res_id, def[0]);
    if (own != 0 && cls != kFileControl) wynv_help_set_win_assoc(help, win, own);
    assoc_controls(help, win, res_id, def);
    wynv_res_free_win_def(read);
    return TRUE;
}

void wynv_help_disassoc_all(HELP_INFO help, WINDOW win) {
    if (!valid_for_assoc(help, __LINE__)) return;
    if (!win) {
        report(kMsgNull, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help);
        return;
    }
    for (Assoc* a = help->list.first(); a;) {
        Assoc* next = a->next;
        if (a->window == win)
            remove(help, a,
                   a->kind == HELP_KIND_MENU ? menu_bucket(a->tag) : object_bucket(a->object));
        a = next;
    }
    wynv_help_set_win_assoc(help, win, 0);
}
