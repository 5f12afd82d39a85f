// The doubly linked list: links in both directions, foreign nodes and deletion while walking.
#include <gtest/gtest.h>

#include <vector>

#include "portable_reports.h"
#include <wyn/dlist.h>

namespace {

std::vector<long> forward(DLIST list) {
    std::vector<long> out;
    for (DLIST_NODE* n = wynv_dlist_find_next(list, nullptr); n; n = wynv_dlist_find_next(list, n))
        out.push_back(reinterpret_cast<long>(n->data));
    return out;
}

std::vector<long> backward(DLIST list) {
    std::vector<long> out;
    for (DLIST_NODE* n = wynv_dlist_find_prev(list, nullptr); n; n = wynv_dlist_find_prev(list, n))
        out.push_back(reinterpret_cast<long>(n->data));
    return out;
}

void* value(long v) {
    return reinterpret_cast<void*>(v);
}

using Values = std::vector<long>;

TEST(Dlist, InsertAndDeleteKeepBothDirectionsConsistent) {
    DLIST list = wynv_dlist_create();
    DLIST_NODE* two = wynv_dlist_insert(list, nullptr, value(2));
    wynv_dlist_insert(list, nullptr, value(1));
    DLIST_NODE* four = wynv_dlist_insert(list, two, value(4));
    wynv_dlist_insert(list, two, value(3));
    EXPECT_EQ(forward(list), (Values{1, 2, 3, 4}));
    EXPECT_EQ(backward(list), (Values{4, 3, 2, 1}));

    EXPECT_TRUE(wynv_dlist_delete(list, four));
    EXPECT_TRUE(wynv_dlist_delete(list, wynv_dlist_find_next(list, nullptr)));
    EXPECT_EQ(forward(list), (Values{2, 3}));
    EXPECT_EQ(backward(list), (Values{3, 2}));
    EXPECT_EQ(wynv_dlist_put_data(two, value(9)), value(2));
    EXPECT_EQ(forward(list), (Values{9, 3}));
    EXPECT_EQ(list->count, 2);
    wynv_dlist_destroy(list);
}

TEST(Dlist, NodesOfAnotherListAreRefused) {
    DLIST list = wynv_dlist_create();
    DLIST other = wynv_dlist_create();
    DLIST_NODE* foreign = wynv_dlist_insert(other, nullptr, value(1));
    ReportCapture capture;
    EXPECT_EQ(wynv_dlist_insert(list, foreign, value(2)), nullptr);
    EXPECT_FALSE(wynv_dlist_delete(list, foreign));
    EXPECT_EQ(ReportCapture::reports().size(), 2u);
    EXPECT_EQ(forward(other), (Values{1}));
    wynv_dlist_destroy(list);
    wynv_dlist_destroy(other);
}

struct Walk {
    DLIST list;
    std::vector<long> seen;
    long stop_at;
};

TEST(Dlist, ApplyMayDeleteTheNodeItIsGivenAndStopsOnFalse) {
    DLIST list = wynv_dlist_create();
    for (long v = 5; v >= 1; --v) wynv_dlist_insert(list, nullptr, value(v));
    Walk walk{list, {}, 0};
    // Deletes every even value from inside the walk.
    auto drop_even = [](void* data, void* context) -> BOOLEAN {
        auto* w = static_cast<Walk*>(context);
        long v = reinterpret_cast<long>(data);
        w->seen.push_back(v);
        if (v % 2 == 0)
            for (DLIST_NODE* n = w->list->first; n; n = n->next)
                if (n->data == data) return wynv_dlist_delete(w->list, n);
        return TRUE;
    };
    EXPECT_TRUE(wynv_dlist_apply(list, drop_even, &walk));
    EXPECT_EQ(walk.seen, (Values{1, 2, 3, 4, 5}));
    EXPECT_EQ(forward(list), (Values{1, 3, 5}));

    walk = Walk{list, {}, 3};
    auto stop = [](void* data, void* context) -> BOOLEAN {
        auto* w = static_cast<Walk*>(context);
        w->seen.push_back(reinterpret_cast<long>(data));
        return reinterpret_cast<long>(data) != w->stop_at;
    };
    EXPECT_FALSE(wynv_dlist_apply(list, stop, &walk));
    EXPECT_EQ(walk.seen, (Values{1, 3}));
    wynv_dlist_destroy(list);
}

} // namespace
