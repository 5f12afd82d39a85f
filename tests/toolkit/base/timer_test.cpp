// The application timers: slot allocation, native periods, and the rule that delivers E_TIMER
// only after more than the interval, driven by an injected clock.
#include "kernel/timers.h"
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"

namespace {

uint32_t fake_now = 0;
uint32_t fake_clock() {
    return fake_now;
}

} // namespace

class TimerTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        fake_now = 1000000;
        timers_set_clock(fake_clock);
        win_ = makeChild(RCT{0, 0, 50, 50});
        ASSERT_NE(win_, nullptr);
    }
    // Advances the clock and delivers one native tick of timer id; returns the E_TIMERs seen.
    int tickAfter(int32_t id, uint32_t ms) {
        fake_now += ms;
        seen_events().clear();
        timers_tick(id);
        int timers = 0;
        for (const SeenEvent& s : seen_events())
            if (s.ev.type == E_TIMER && s.ev.v.timer.id == id) ++timers;
        return timers;
    }
    WINDOW win_ = nullptr;
};

TEST_F(TimerTest, FirstEventComesOnlyAfterMoreThanTheInterval) {
    int32_t id = wynk_timer_create(win_, 2500);
    ASSERT_EQ(id, 2);
    EXPECT_EQ(timers_native_period(id), 2510);
    EXPECT_EQ(tickAfter(id, 1000), 0);
    EXPECT_EQ(tickAfter(id, 1000), 0);
    EXPECT_EQ(tickAfter(id, 1000), 1); // the third tick, 3000 ms in
    EXPECT_EQ(tickAfter(id, 2500), 0); // exactly the interval is not more than it
    EXPECT_EQ(tickAfter(id, 1), 1);
}

TEST_F(TimerTest, EveryNativeTickDeliversEvenWhenOneComesLateAndTheNextEarly) {
    int32_t id = wynk_timer_create(win_, 3000);
    const uint32_t period = static_cast<uint32_t>(timers_native_period(id));
    EXPECT_EQ(tickAfter(id, period), 1);
    EXPECT_EQ(tickAfter(id, period), 1);
    EXPECT_EQ(tickAfter(id, period + 5), 1);
    EXPECT_EQ(tickAfter(id, period - 5), 1);
}

TEST_F(TimerTest, LongIntervalRunsAtTheResolutionAndWaitsTheWholeInterval) {
    int32_t id = wynk_timer_create(win_, 120000);
    ASSERT_GE(id, 2);
    EXPECT_EQ(timers_native_period(id), 1000);
    int delivered = 0;
    for (int tick = 0; tick < 120; ++tick) delivered += tickAfter(id, 1000);
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(tickAfter(id, 1000), 1);
}

TEST_F(TimerTest, FifteenSlotsThenMinusOne) {
    std::vector<int32_t> ids;
    for (int i = 0; i < 15; ++i) ids.push_back(wynk_timer_create(win_, 100));
    for (int i = 0; i < 15; ++i) EXPECT_EQ(ids[static_cast<size_t>(i)], i + 2);
    EXPECT_EQ(wynk_timer_create(win_, 100), -1);
    wynk_timer_destroy(7);
    EXPECT_EQ(wynk_timer_create(win_, 100), 7);
}

TEST_F(TimerTest, WrappedCounterRestartsTheCount) {
    int32_t id = wynk_timer_create(win_, 500);
    fake_now = 100; // the counter wrapped past zero
    seen_events().clear();
    timers_tick(id);
    EXPECT_TRUE(seen_events().empty());
    EXPECT_EQ(tickAfter(id, 401), 1);
}

TEST_F(TimerTest, DestroyingTheWindowFreesItsTimers) {
    int32_t id = wynk_timer_create(win_, 100);
    wynk_vobj_destroy(win_);
    EXPECT_EQ(timers_native_period(id), 0);
    EXPECT_EQ(wynk_timer_create(makeChild(RCT{0, 0, 10, 10}), 100), id);
    EXPECT_EQ(wynk_timer_create(core().screen, 100), -1);
    EXPECT_EQ(wynk_timer_create(win_, -1), -1);
}
