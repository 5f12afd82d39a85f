// The doubly linked list DLIST.
#include "portable/report_hook.h"
#include <wyn/dlist.h>
#include <wyn/mem.h>

namespace {

constexpr char kReportUnit[] = "vdlist";

bool contains(DLIST list, const DLIST_NODE* node) {
    for (DLIST_NODE* n = list->first; n; n = n->next)
        if (n == node) return true;
    return false;
}

} // namespace

DLIST wynv_dlist_create(void) {
    return static_cast<DLIST>(wynv_mem_zalloc(sizeof(s_dlist)));
}

void wynv_dlist_destroy(DLIST list) {
    if (!list) return;
    for (DLIST_NODE* n = list->first; n;) {
        DLIST_NODE* next = n->next;
        wynv_mem_free(n);
        n = next;
    }
    wynv_mem_free(list);
}

DLIST_NODE* wynv_dlist_insert(DLIST list, DLIST_NODE* node, void* data) {
    if (!list) return nullptr;
    if (node && !contains(list, node)) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return nullptr;
    }
    auto* fresh = static_cast<DLIST_NODE*>(wynv_mem_alloc(sizeof(DLIST_NODE)));
    if (!fresh) return nullptr;
    fresh->data = data;
    fresh->prev = node;
    fresh->next = node ? node->next : list->first;
    (fresh->next ? fresh->next->prev : list->last) = fresh;
    (node ? node->next : list->first) = fresh;
    ++list->count;
    return fresh;
}

BOOLEAN wynv_dlist_delete(DLIST list, DLIST_NODE* node) {
    if (!list || !node || !contains(list, node)) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    (node->prev ? node->prev->next : list->first) = node->next;
    (node->next ? node->next->prev : list->last) = node->prev;
    --list->count;
    wynv_mem_free(node);
    return TRUE;
}

DLIST_NODE* wynv_dlist_find_next(DLIST list, DLIST_NODE* node) {
    if (!list) return nullptr;
    return node ? node->next : list->first;
}

DLIST_NODE* wynv_dlist_find_prev(DLIST list, DLIST_NODE* node) {
    if (!list) return nullptr;
    return node ? node->prev : list->last;
}

void* wynv_dlist_put_data(DLIST_NODE* node, void* data) {
    if (!node) return nullptr;
    void* previous = node->data;
    node->data = data;
    return previous;
}

// The next node is taken before the call, so the function may delete the node it is given.
BOOLEAN wynv_dlist_apply(DLIST list, WYN_DLIST_FN fn, void* context) {
    if (!list || !fn) return FALSE;
    for (DLIST_NODE* n = list->first; n;) {
        DLIST_NODE* next = n->next;
        if (!fn(n->data, context)) return FALSE;
        n = next;
    }
    return TRUE;
}
