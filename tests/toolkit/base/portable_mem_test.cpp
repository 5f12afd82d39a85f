// Replaceable memory functions, the low-memory retry, global-memory handles and the
// per-process static data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

#include "portable/mem.h"
#include "portable/static_data.h"
#include "portable_reports.h"
#include <wyn/static.h>

namespace {

int counted_allocs = 0;

void* counting_alloc(size_t size) {
    ++counted_allocs;
    return std::malloc(size);
}
void* counting_zalloc(size_t size) {
    ++counted_allocs;
    return std::calloc(1, size);
}

// Puts the default functions back whatever a test installed.
struct DefaultFunctionsAfterwards {
    ~DefaultFunctionsAfterwards() {
        portable_mem_reset_functions();
        wynv_mem_set_functions(nullptr);
    }
};

TEST(MemFunctions, ATableIsTakenOnlyWhileNoneIsInstalledAndOnlyWhenComplete) {
    DefaultFunctionsAfterwards restore;
    portable_mem_reset_functions();
    WYN_MEM_FUNCS copy;
    EXPECT_EQ(wynv_mem_get_functions(&copy), nullptr);

    ReportCapture capture;
    WYN_MEM_FUNCS partial = {counting_alloc, std::free, nullptr, counting_zalloc};
    EXPECT_FALSE(wynv_mem_set_functions(&partial));
    EXPECT_TRUE(ReportCapture::only(0x1210001, 2));
    EXPECT_EQ(wynv_mem_get_functions(&copy), nullptr);

    WYN_MEM_FUNCS table = {counting_alloc, std::free, std::realloc, counting_zalloc};
    ASSERT_TRUE(wynv_mem_set_functions(&table));
    EXPECT_FALSE(wynv_mem_set_functions(nullptr));
    counted_allocs = 0;
    wynv_mem_free(wynv_mem_alloc(10));
    wynv_mem_free(wynv_mem_zalloc(10));
    EXPECT_EQ(counted_allocs, 2);
    ASSERT_EQ(wynv_mem_get_functions(&copy), &copy);
    EXPECT_EQ(copy.alloc, counting_alloc);
}

TEST(MemFunctions, DefaultReallocateFollowsTheNullAndZeroRules) {
    void* p = wynv_mem_realloc(nullptr, 8);
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "1234567", 8);
    p = wynv_mem_realloc(p, 4096);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(static_cast<char*>(p), "1234567");
    EXPECT_EQ(wynv_mem_realloc(p, 0), nullptr);
    auto* zeros = static_cast<unsigned char*>(wynv_mem_zalloc(64));
    for (int i = 0; i < 64; ++i) EXPECT_EQ(zeros[i], 0);
    wynv_mem_free(zeros);
}

TEST(MemFunctions, RepeatCopiesTheBlockCountTimes) {
    char out[10] = {};
    EXPECT_EQ(wynv_mem_rep(out, "abc", 3, 3), out);
    EXPECT_STREQ(out, "abcabcabc");
}

void* ballast = nullptr;

BOOLEAN free_ballast(size_t) {
    if (!ballast) return FALSE;
    std::free(ballast);
    ballast = nullptr;
    return TRUE;
}

size_t address_space_in_use() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

TEST(MemFunctions, ReallocateRetriesOnceAfterTheLowMemoryFunctionFreedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#endif
    constexpr size_t MB = 1024 * 1024;
    auto* block = static_cast<char*>(wynv_mem_alloc(64));
    std::strcpy(block, "kept contents");
    ballast = std::malloc(200 * MB);
    ASSERT_NE(ballast, nullptr);

    rlimit old{};
    getrlimit(RLIMIT_AS, &old);
    rlimit tight = {address_space_in_use() + 80 * MB, old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    ReportCapture capture;

    // Without a low-memory function the request fails and the block stays as it was.
    portable_mem_set_low_memory_fn(nullptr);
    EXPECT_EQ(wynv_mem_realloc(block, 100 * MB), nullptr);
    EXPECT_TRUE(ReportCapture::only(0x1510001, 2));

    portable_mem_set_low_memory_fn(free_ballast);
    char* grown = static_cast<char*>(wynv_mem_realloc(block, 100 * MB));
    portable_mem_set_low_memory_fn(nullptr);
    setrlimit(RLIMIT_AS, &old);

    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(ballast, nullptr);
    EXPECT_STREQ(grown, "kept contents");
    grown[100 * MB - 1] = 'x';
    wynv_mem_free(grown);
}

TEST(GlobalMemory, LockedBlocksCannotMoveOrBeFreed) {
    ReportCapture capture;
    GHANDLE handle = wynv_gmem_alloc(16, TRUE);
    ASSERT_NE(handle, nullptr);
    auto* data = static_cast<char*>(wynv_gmem_lock(handle));
    std::strcpy(data, "held");
    EXPECT_EQ(wynv_gmem_realloc(handle, 1 << 20), nullptr);
    EXPECT_FALSE(wynv_gmem_free(handle));
    EXPECT_EQ(ReportCapture::reports().size(), 2u);
    EXPECT_EQ(wynv_gmem_get_size(handle), 16u);

    EXPECT_FALSE(wynv_gmem_unlock(handle));
    ASSERT_EQ(wynv_gmem_realloc(handle, 32), handle);
    data = static_cast<char*>(wynv_gmem_lock(handle));
    EXPECT_STREQ(data, "held");
    EXPECT_EQ(data[31], 0); // the grown part is zero-filled
    wynv_gmem_unlock(handle);
    EXPECT_TRUE(wynv_gmem_free(handle));
}

struct Counter {
    int value;
    int constructed;
};

std::string& destroyed_order() {
    static std::string order;
    return order;
}

const Counter initial_counter = {41, 0};
void construct_counter(void* block) {
    static_cast<Counter*>(block)->constructed += 1;
}
void destroy_a(void*) {
    destroyed_order() += "a";
}
void destroy_b(void*) {
    destroyed_order() += "b";
}

const WYN_STATIC_DESC counter_desc = {sizeof(Counter), &initial_counter, construct_counter,
                                      nullptr};
const WYN_STATIC_DESC desc_a = {8, nullptr, nullptr, destroy_a};
const WYN_STATIC_DESC desc_b = {8, nullptr, nullptr, destroy_b};

TEST(StaticData, ABlockIsCreatedOnceFromItsInitialValueAndConstructor) {
    auto* first = static_cast<Counter*>(wynk_static_get_ptr(&counter_desc));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->value, 41);
    EXPECT_EQ(first->constructed, 1);
    first->value = 7;
    EXPECT_EQ(wynk_static_get_ptr(&counter_desc), first);
    EXPECT_EQ(first->constructed, 1);
    EXPECT_EQ(wynk_static_get_ptr(nullptr), nullptr);
}

TEST(StaticData, ReleaseDestroysBlocksInReverseOrderAndStartsAfresh) {
    // Run in a child: releasing the table ends every module's state in that process.
    EXPECT_EXIT(
        {
            wynk_static_get_ptr(&desc_a);
            wynk_static_get_ptr(&desc_b);
            static_cast<Counter*>(wynk_static_get_ptr(&counter_desc))->value = 5;
            portable_static_release();
            auto* fresh = static_cast<Counter*>(wynk_static_get_ptr(&counter_desc));
            bool ok = destroyed_order().find("ba") != std::string::npos && fresh->value == 41;
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
