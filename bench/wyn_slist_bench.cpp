// Sorted insertion into a string list: 10,000 distinct names, in both comparison modes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <wyn/slist.h>

namespace {

// Names like file listings, shuffled so that each insert walks about half the list.
std::vector<std::string> names(size_t count) {
    std::vector<std::string> out;
    out.reserve(count);
    char buf[32];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(buf, sizeof buf, "Norva%05zu.Log", i * 7919 % 100000);
        out.emplace_back(buf);
    }
    std::shuffle(out.begin(), out.end(), std::mt19937(42));
    return out;
}

void sorted_insert(benchmark::State& state, BOOLEAN case_sensitive) {
    const std::vector<std::string> input = names(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        SLIST list = wynv_slist_create();
        for (const std::string& name : input)
            wynv_slist_add_sorted(list, name.c_str(), 0, TRUE, case_sensitive);
        benchmark::DoNotOptimize(wynv_slist_count(list));
        wynv_slist_destroy(list);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SlistSortedInsertCollated(benchmark::State& state) {
    sorted_insert(state, TRUE);
}
void BM_SlistSortedInsertIgnoringCase(benchmark::State& state) {
    sorted_insert(state, FALSE);
}

BENCHMARK(BM_SlistSortedInsertCollated)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlistSortedInsertIgnoringCase)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
