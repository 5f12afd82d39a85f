/* DLIST: a doubly linked list of caller data pointers. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* One node: the caller's data and the links. */
typedef struct s_dlist_node {
    void* data;
    struct s_dlist_node* next;
    struct s_dlist_node* prev;
} DLIST_NODE;

/* The list header. */
typedef struct s_dlist {
    DLIST_NODE* first;
    DLIST_NODE* last;
    long count;
} * DLIST;

/* Called for each node's data by wynv_dlist_apply; FALSE stops the walk. */
typedef BOOLEAN (*WYN_DLIST_FN)(void* data, void* context);

/* A new empty list; null (reported) when out of memory. */
WYN_EXPORT DLIST wynv_dlist_create(void);
/* Frees the list and its nodes (not the data they point to). */
WYN_EXPORT void wynv_dlist_destroy(DLIST list);
/* Inserts a node for data after node (at the front when node is null); null on failure. */
WYN_EXPORT DLIST_NODE* wynv_dlist_insert(DLIST list, DLIST_NODE* node, void* data);
/* Unlinks and frees node; FALSE when it is not in the list. */
WYN_EXPORT BOOLEAN wynv_dlist_delete(DLIST list, DLIST_NODE* node);
/* The node after node (the first when node is null); null at the end. */
WYN_EXPORT DLIST_NODE* wynv_dlist_find_next(DLIST list, DLIST_NODE* node);
/* The node before node (the last when node is null); null at the front. */
WYN_EXPORT DLIST_NODE* wynv_dlist_find_prev(DLIST list, DLIST_NODE* node);
/* Replaces node's data and returns the previous data. */
WYN_EXPORT void* wynv_dlist_put_data(DLIST_NODE* node, void* data);
/* Calls fn for each node's data from the front until it returns FALSE; TRUE when all were
   visited. fn may delete the node it was given, but no other node. */
WYN_EXPORT BOOLEAN wynv_dlist_apply(DLIST list, WYN_DLIST_FN fn, void* context);

WYN_END_C
