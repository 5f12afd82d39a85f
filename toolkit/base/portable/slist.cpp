// The SLIST string list: a marked header and a chain of one-block elements.
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_set>

#include "portable/report_hook.h"
#include <wyn/mem.h>
#include <wyn/slist.h>
#include <wyn/static.h>
#include <wyn/str.h>

// Each element is a single block: this record followed by the string and its terminator.
struct wyn_slist_elt {
    wyn_slist_elt* next;
    long data;
};

// The header starts with the word -1, so its first byte is the 0xFF that marks a list.
struct wyn_slist {
    int32_t marker;
    wyn_slist_elt* first;
    wyn_slist_elt* last;
    int count;
};

namespace {

constexpr char kReportUnit[] = "vslist";
constexpr int32_t kListMarker = -1;

// Live handles of this process: a string that merely starts with 0xFF, or a destroyed list,
// must never be taken for a list.
using Registry = std::unordered_set<const void*>;

void make_registry(void* block) {
    *static_cast<Registry**>(block) = new Registry;
}
void drop_registry(void* block) {
    delete *static_cast<Registry**>(block);
}

const WYN_STATIC_DESC registry_desc = {sizeof(Registry*), nullptr, make_registry, drop_registry};

Registry* registry() {
    auto** slot = static_cast<Registry**>(wynk_static_get_ptr(&registry_desc));
    return slot ? *slot : nullptr;
}

char* text_of(wyn_slist_elt* elt) {
    return reinterpret_cast<char*>(elt + 1);
}

bool marked(const void* p) {
    return p && *static_cast<const unsigned char*>(p) == 0xFF;
}

bool usable(SLIST list) {
    return list && list->marker == kListMarker;
}

wyn_slist_elt* new_element(const char* str, long data) {
    size_t size = std::strlen(str) + 1;
    auto* elt = static_cast<wyn_slist_elt*>(wynv_mem_alloc(sizeof(wyn_slist_elt) + size));
    if (!elt) return nullptr;
    elt->next = nullptr;
    elt->data = data;
    std::memcpy(text_of(elt), str, size);
    return elt;
}

// Links the chain first..last (count elements) after prev, or at the front when prev is null.
void link_after(SLIST list, wyn_slist_elt* prev, wyn_slist_elt* first, wyn_slist_elt* last,
                int count) {
    wyn_slist_elt*& slot = prev ? prev->next : list->first;
    last->next = slot;
    slot = first;
    if (list->last == prev) list->last = last;
    list->count += count;
}

// Inserts either a new element for str or, when str is another list, all of that list's
// elements; the other list stays a valid, empty list.
BOOLEAN insert_after(SLIST list, wyn_slist_elt* prev, const char* str, long data) {
    if (marked(str)) {
        auto other = reinterpret_cast<SLIST>(const_cast<char*>(str));
        if (other == list || !wynv_slist_is_valid(other)) {
            PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
            return FALSE;
        }
        if (other->first) link_after(list, prev, other->first, other->last, other->count);
        other->first = other->last = nullptr;
        other->count = 0;
        return TRUE;
    }
    wyn_slist_elt* elt = new_element(str, data);
    if (!elt) return FALSE;
    link_after(list, prev, elt, elt, 1);
    return TRUE;
}

// The element before elt (null when elt is first); found is false when elt is not in the list.
wyn_slist_elt* predecessor(SLIST list, SLIST_ELT elt, bool* found) {
    wyn_slist_elt* prev = nullptr;
    for (wyn_slist_elt* e = list->first; e; prev = e, e = e->next) {
        if (e == elt) {
            *found = true;
            return prev;
        }
    }
    *found = false;
    return nullptr;
}

} // namespace

SLIST wynv_slist_create(void) {
    Registry* live = registry();
    auto list = static_cast<SLIST>(wynv_mem_alloc(sizeof(wyn_slist)));
    if (!list || !live) {
        wynv_mem_free(list);
        return nullptr;
    }
    *list = wyn_slist{kListMarker, nullptr, nullptr, 0};
    live->insert(list);
    return list;
}

void wynv_slist_destroy(SLIST list) {
    if (!usable(list)) return;
    for (wyn_slist_elt* e = list->first; e;) {
        wyn_slist_elt* next = e->next;
        wynv_mem_free(e);
        e = next;
    }
    if (Registry* live = registry()) live->erase(list);
    list->marker = 0;
    wynv_mem_free(list);
}

int wynv_slist_count(SLIST list) {
    return usable(list) ? list->count : 0;
}

BOOLEAN wynv_slist_add_at_pos(SLIST list, int pos, const char* str, long data) {
    if (!usable(list) || !str) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    wyn_slist_elt* prev = nullptr;
    if (pos < 0 || pos >= list->count) {
        prev = list->last;
    } else {
        for (int i = 0; i < pos; ++i) prev = prev ? prev->next : list->first;
    }
    return insert_after(list, prev, str, data);
}

BOOLEAN wynv_slist_add_at_elt(SLIST list, SLIST_ELT elt, const char* str, long data) {
    if (!usable(list) || !str) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    if (elt && elt != list->last) {
        bool found;
        predecessor(list, elt, &found);
        if (found) return insert_after(list, elt, str, data);
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
    }
    return insert_after(list, list->last, str, data);
}

BOOLEAN wynv_slist_add_sorted(SLIST list, const char* str, long data, BOOLEAN unique,
                              BOOLEAN case_sensitive) {
    if (!usable(list) || !str || marked(str)) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    auto compare = case_sensitive ? wynv_str_collate : wynv_str_compare_ignoring_case;
    wyn_slist_elt* prev = nullptr;
    for (wyn_slist_elt* e = list->first; e; prev = e, e = e->next) {
        int order = compare(text_of(e), str);
        if (order == 0 && unique) return TRUE;
        if (order >= 0) break;
    }
    return insert_after(list, prev, str, data);
}

BOOLEAN wynv_slist_rem(SLIST list, SLIST_ELT elt) {
    bool found = false;
    wyn_slist_elt* prev = usable(list) && elt ? predecessor(list, elt, &found) : nullptr;
    if (!found) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    (prev ? prev->next : list->first) = elt->next;
    if (list->last == elt) list->last = prev;
    --list->count;
    wynv_mem_free(elt);
    return TRUE;
}

const char* wynv_slist_get(SLIST list, SLIST_ELT elt, long* data) {
    if (!usable(list) || !elt) return nullptr;
    if (data) *data = elt->data;
    return text_of(elt);
}

const char* wynv_slist_get_elt(SLIST list, int index, long* data) {
    if (!usable(list) || index < 0 || index >= list->count) return nullptr;
    wyn_slist_elt* e = list->first;
    for (int i = 0; i < index; ++i) e = e->next;
    return wynv_slist_get(list, e, data);
}

long* wynv_slist_get_data(SLIST_ELT elt) {
    return elt ? &elt->data : nullptr;
}

SLIST_ELT wynv_slist_get_first(SLIST list) {
    return usable(list) ? list->first : nullptr;
}

SLIST_ELT wynv_slist_get_next(SLIST list, SLIST_ELT elt) {
    return usable(list) && elt ? elt->next : nullptr;
}

BOOLEAN wynv_slist_is_valid(SLIST list) {
    Registry* live = registry();
    return list && live && live->count(list) && marked(list) ? TRUE : FALSE;
}

void wynv_slist_debug(SLIST list) {
    if (!usable(list)) {
        portable_debug_line(portable_string(31400, "NULL argument."));
        return;
    }
    if (!list->first) {
        portable_debug_line(portable_string(31401, "Empty list."));
        return;
    }
    int number = 1;
    for (wyn_slist_elt* e = list->first; e; e = e->next, ++number) {
        const char* text = text_of(e);
        int needed = std::snprintf(nullptr, 0, "%4d: Refcon =%10ld   String = \"%s\"", number,
                                   e->data, text);
        std::string line(static_cast<size_t>(needed), '\0');
        std::snprintf(line.data(), line.size() + 1, "%4d: Refcon =%10ld   String = \"%s\"", number,
                      e->data, text);
        portable_debug_line(line.c_str());
    }
}
