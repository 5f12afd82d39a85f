// Dispatch of events through the handler chains: order, passing on, the event hook, CXO life
// cycle, and silence after E_DESTROY.
#include <string>

#include "portable/core_state.h"
#include "toolkit/base/app_support.h"

namespace {

std::vector<std::string> calls;

// Names itself (its app data) and passes the event on.
int32_t passing_cxo(CXO cxo, EVENT* ev) {
    const char* name = reinterpret_cast<const char*>(cxo->app_data);
    if (ev->type == E_CXO) {
        calls.push_back(std::string(name) + (ev->v.cxo.msg == CXO_MSG_CREATE ? " made" : " freed") +
                        std::to_string(ev->v.cxo.data));
        return 0;
    }
    calls.push_back(name);
    return wynv_cxo_call_next(nullptr, cxo, ev);
}

int32_t window_handler(WINDOW win, EVENT* ev) {
    calls.push_back("window");
    record_event(win, ev);
    return 7;
}

int32_t self_destroying_cxo(CXO cxo, EVENT* ev) {
    if (ev->type == E_CXO) {
        calls.push_back(ev->v.cxo.msg == CXO_MSG_DESTROY ? "freed" : "made");
        return 0;
    }
    wynv_cxo_destroy(cxo);
    calls.push_back(wynv_cxo_is_valid(cxo) ? "still valid" : "invalid");
    // Passing on after destroying itself still reaches the rest of the chain.
    int32_t result = wynv_cxo_call_next(nullptr, cxo, ev);
    calls.push_back("returned");
    return result;
}

BOOLEAN swallow_timers(void* data, WINDOW, EVENT* ev) {
    ++*static_cast<int*>(data);
    return ev->type != E_TIMER;
}

int32_t redispatching_handler(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_DESTROY) {
        EVENT again{};
        again.type = E_USER;
        EXPECT_EQ(wynk_win_dispatch_event(win, &again), -1);
    }
    return 0;
}

int32_t update_probe(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    calls.push_back(wynv_app_is_update_in_progress() ? "updating" : "idle");
    calls.push_back(wynv_app_proc_update() ? "refuse" : "allow");
    return 0;
}

EVENT user_event(int32_t id) {
    EVENT ev{};
    ev.type = E_USER;
    ev.v.user.id = id;
    return ev;
}

} // namespace

class DispatchTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        calls.clear();
        startApp();
    }
};

TEST_F(DispatchTest, GlobalChainComesBeforeWindowChainThenTheHandler) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, window_handler);
    ASSERT_NE(win, nullptr);
    calls.clear();
    wynv_cxo_create(win, 5, 1, passing_cxo, EM_ALL, "late", reinterpret_cast<intptr_t>("late"));
    wynv_cxo_create(win, 6, 0, passing_cxo, EM_ALL, "early", reinterpret_cast<intptr_t>("early"));
    CXO global = wynv_cxo_create(core().screen, 9, 0, passing_cxo, EM_BIT(E_USER), "global",
                                 reinterpret_cast<intptr_t>("global"));
    EXPECT_EQ(calls, (std::vector<std::string>{"late made5", "early made6", "global made9"}));
    EXPECT_EQ(global->global, 1);
    calls.clear();
    EVENT ev = user_event(1);
    EXPECT_EQ(wynk_win_dispatch_event(win, &ev), 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"global", "early", "late", "window"}));
    EXPECT_EQ(global->owner, core().screen);

    CXO out[4];
    ASSERT_EQ(wynv_win_list_cxos(win, out, 4), 2);
    char name[8];
    ASSERT_TRUE(wynv_cxo_get_class_name(out[0], name, sizeof name));
    EXPECT_STREQ(name, "early");
    EXPECT_EQ(wynv_win_get_cxo(win, "late"), out[1]);
}

TEST_F(DispatchTest, MasksChooseWhichChainMembersAndHandlerSeeAnEvent) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, window_handler);
    wynv_cxo_create(win, 0, 0, passing_cxo, EM_BIT(E_TIMER), "timers",
                    reinterpret_cast<intptr_t>("timers"));
    win->event_mask = EM_BIT(E_TIMER);
    calls.clear();
    EVENT ev = user_event(1);
    EXPECT_EQ(wynk_win_dispatch_event(win, &ev), -1);
    EXPECT_TRUE(calls.empty());
    EVENT cxo_ev{};
    cxo_ev.type = E_CXO;
    EXPECT_EQ(wynk_win_dispatch_event(win, &cxo_ev), -1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, CxoDestroyedDuringItsOwnCallIsFreedAfterItReturns) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, window_handler);
    wynv_cxo_create(win, 0, 0, self_destroying_cxo, EM_BIT(E_USER), "self", 0);
    calls.clear();
    EVENT ev = user_event(1);
    EXPECT_EQ(wynk_win_dispatch_event(win, &ev), 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"invalid", "window", "returned", "freed"}));
    EXPECT_EQ(win->cxo_chain, nullptr);
}

TEST_F(DispatchTest, EventHookSeesEveryEventAndCanSwallowIt) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, window_handler);
    int hooked = 0;
    wynv_vobj_set_attr(nullptr, ATTR_EVENT_HOOK, reinterpret_cast<ATTR_VALUE>(swallow_timers));
    wynv_vobj_set_attr(nullptr, ATTR_EVENT_HOOK_DATA, reinterpret_cast<ATTR_VALUE>(&hooked));
    calls.clear();
    EVENT timer{};
    timer.type = E_TIMER;
    EXPECT_EQ(wynk_win_dispatch_event(win, &timer), -1);
    EVENT user = user_event(2);
    EXPECT_EQ(wynk_win_dispatch_event(win, &user), 7);
    EXPECT_EQ(hooked, 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"window"}));
}

TEST_F(DispatchTest, NothingReachesAWindowAfterItsDestroyEvent) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, redispatching_handler);
    ASSERT_NE(win, nullptr);
    CoreBusyScope keep;
    wynk_vobj_destroy(win);
    std::vector<int32_t> types = types_for(win);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.back(), E_DESTROY);
    EXPECT_EQ(win->event_mask, 0u);
    EXPECT_TRUE(win->state & WS_DESTROYED);
}

TEST_F(DispatchTest, ExplicitDispatchToADestroyedWindowIsNotDelivered) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, window_handler);
    CoreBusyScope keep; // the object stays readable until the scope ends
    wynk_vobj_destroy(win);
    calls.clear();
    EVENT ev = user_event(3);
    EXPECT_EQ(wynk_win_dispatch_event(win, &ev), -1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, UpdateInProgressOnlyDuringUpdateUnlessCheckIsOff) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, update_probe);
    calls.clear();
    EVENT update{};
    update.type = E_UPDATE;
    wynk_win_dispatch_event(win, &update);
    EVENT user = user_event(4);
    wynk_win_dispatch_event(win, &user);
    wynv_vobj_set_attr(nullptr, ATTR_UPDATE_CHECK_OFF, 1);
    wynk_win_dispatch_event(win, &update);
    EXPECT_EQ(calls, (std::vector<std::string>{"updating", "refuse", "idle", "allow", "updating",
                                               "allow"}));
    EXPECT_FALSE(wynv_app_is_update_in_progress());
}
