// A module's state block as a C++ object: built once per process, destroyed with the toolkit,
// built afresh when the toolkit begins again.
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "portable/static_block.h"
#include "portable/static_data.h"

namespace {

int destroyed = 0;

struct Settings {
    int built = ++times_built;
    std::string name = "default";
    ~Settings() { ++destroyed; }
    static inline int times_built = 0;
};

struct Other {
    int value = 3;
};

TEST(StaticBlock, BuildsItsObjectOnceAndGivesEachTypeItsOwnBlock) {
    Settings* first = static_block<Settings>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->name, "default");
    const int built = Settings::times_built;
    first->name = "changed";
    EXPECT_EQ(static_block<Settings>(), first);
    EXPECT_EQ(static_block<Settings>()->name, "changed");
    EXPECT_EQ(Settings::times_built, built);

    Other* other = static_block<Other>();
    ASSERT_NE(other, nullptr);
    EXPECT_NE(static_cast<void*>(other), static_cast<void*>(first));
    EXPECT_EQ(other->value, 3);
}

TEST(StaticBlock, ReleaseDestroysTheObjectAndTheNextUseBuildsAFreshOne) {
    // Run in a child: releasing the table ends every module's state in that process.
    EXPECT_EXIT(
        {
            static_block<Settings>()->name = "changed";
            const int destroyed_before = destroyed;
            portable_static_release();
            const bool destroyed_once = destroyed == destroyed_before + 1;
            Settings* fresh = static_block<Settings>();
            const bool ok = destroyed_once && fresh && fresh->name == "default";
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
