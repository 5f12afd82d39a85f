// The attribute store: its ids, the read-only and unknown-id rules, and per-window attributes.
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"

class AttrTest : public ToolkitTest {};

TEST_F(AttrTest, StoreKnowsExactlyNinetyFiveIds) {
    int known = 0;
    for (ATTR_ID id = 0; id < 11000; ++id) {
        reported_ids().clear();
        wynk_vobj_get_attr(nullptr, id);
        if (reported_ids().empty()) ++known;
    }
    EXPECT_EQ(known, WYN_ATTR_COUNT);
}

TEST_F(AttrTest, UnknownIdIsReportedAndChangesNothing) {
    EXPECT_FALSE(wynv_vobj_set_attr(nullptr, 99, 7));
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, 99), 0);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x73C382, 0x73C382}));
}

TEST_F(AttrTest, WriteToReadOnlyAttributeIsReportedAndIgnored) {
    ATTR_VALUE width = wynk_vobj_get_attr(nullptr, ATTR_SCREEN_WIDTH);
    EXPECT_GT(width, 0);
    EXPECT_FALSE(wynv_vobj_set_attr(nullptr, ATTR_SCREEN_WIDTH, width + 1));
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_SCREEN_WIDTH), width);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x73C37E}));
}

TEST_F(AttrTest, UnnamedIdsAreStoredWithoutEffect) {
    EXPECT_TRUE(wynv_vobj_set_attr(nullptr, 10031, 42));
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, 10031), 42);
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(AttrTest, NativeWindowAndSystemKeysAreReadPerWindow) {
    startApp();
    WINDOW task = core().task;
    WINDOW child = makeChild(RCT{0, 0, 50, 50});
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(wynk_vobj_get_attr(task, ATTR_NATIVE_WINDOW),
              reinterpret_cast<ATTR_VALUE>(task->native));
    EXPECT_NE(wynk_vobj_get_attr(child, ATTR_NATIVE_WINDOW),
              wynk_vobj_get_attr(task, ATTR_NATIVE_WINDOW));
    EXPECT_EQ(wynk_vobj_get_attr(core().screen, ATTR_NATIVE_WINDOW), 0);
    EXPECT_TRUE(wynv_vobj_set_attr(child, ATTR_SYS_KEYS, 1));
    EXPECT_EQ(wynk_vobj_get_attr(child, ATTR_SYS_KEYS), 1);
    EXPECT_EQ(wynk_vobj_get_attr(task, ATTR_SYS_KEYS), 0);
    child->state |= WS_TEXT_EDIT;
    EXPECT_EQ(wynk_vobj_get_attr(child, ATTR_NATIVE_WINDOW), 0);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x73C378}));
}
