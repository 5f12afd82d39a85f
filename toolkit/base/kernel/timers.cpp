// The 15 application timers: a native timer per slot on the window's widget, and the rule that
// delivers E_TIMER only once more than the requested interval has passed.
#include "kernel/timers.h"

#include <QWidget>
#include <chrono>

#include "kernel/widgets.h"
#include "portable/core_state.h"

namespace {

// Intervals from this length on run natively at the timer resolution.
constexpr int32_t kLongInterval = 65536;
// The shortest native period the original platform allowed; shorter requests would spin.
constexpr int32_t kMinPeriod = 10;
// A native tick exactly one interval after the last event is dropped (more than the interval must
// have passed), and a precise native timer ticks exactly on time: a timer running at its own
// interval would then deliver at every second tick. It runs this much slower, so that every tick
// comes just past the interval, with room for a late tick to make the next one early.
constexpr int32_t kTickSlack = 10;

uint32_t system_ticks() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

uint32_t now() {
    TickClock clock = kcore().clock;
    return clock ? clock() : system_ticks();
}

TimerSlot* slot_of(int32_t id) {
    if (id < kFirstTimer || id > kLastTimer) return nullptr;
    TimerSlot& slot = kcore().timers[id];
    return slot.win ? &slot : nullptr;
}

int32_t native_period(int32_t interval) {
    int32_t period = interval + kTickSlack;
    if (interval >= kLongInterval) {
        period = static_cast<int32_t>(core_attr(ATTR_TIMER_RESOLUTION));
        if (period <= 0) period = 1000;
    }
    return std::max(period, kMinPeriod);
}

} // namespace

int32_t wynk_timer_create(WINDOW win, int32_t interval_ms) {
    if (!core_win_alive(win) || interval_ms < 0) return -1;
    WynSurface* surface = surface_of(win);
    if (!surface) return -1;
    KernelState& k = kcore();
    int32_t id = kFirstTimer;
    while (id <= kLastTimer && k.timers[id].win) ++id;
    if (id > kLastTimer) return -1;
    int32_t period = native_period(interval_ms);
    int native_id = surface->startTimer(period, Qt::PreciseTimer);
    if (native_id == 0) return -1;
    k.timers[id] = TimerSlot{win, interval_ms, period, now(), native_id, surface};
    return id;
}

void wynk_timer_destroy(int32_t id) {
    TimerSlot* slot = slot_of(id);
    if (!slot) return;
    if (slot->widget) slot->widget->killTimer(slot->native_id);
    *slot = TimerSlot{};
}

bool timers_native_tick(QObject* widget, int native_id) {
    for (int32_t id = kFirstTimer; id <= kLastTimer; ++id) {
        const TimerSlot& slot = kcore().timers[id];
        if (slot.win && slot.native_id == native_id && slot.widget == widget) {
            timers_tick(id);
            return true;
        }
    }
    return false;
}

void timers_tick(int32_t id) {
    TimerSlot* slot = slot_of(id);
    if (!slot) return;
    uint32_t t = now();
    if (slot->last > t) slot->last = 0; // the counter wrapped
    if (t - slot->last <= static_cast<uint32_t>(slot->interval)) return;
    // Stamped before the handler runs: it may destroy the timer or start another in this slot.
    slot->last = t;
    EVENT ev{};
    ev.type = E_TIMER;
    ev.v.timer.id = id;
    wynk_win_dispatch_event(slot->win, &ev);
}

void timers_kill_window(WINDOW win) {
    for (int32_t id = kFirstTimer; id <= kLastTimer; ++id)
        if (kcore().timers[id].win == win) wynk_timer_destroy(id);
}

void timers_kill_all() {
    for (int32_t id = kFirstTimer; id <= kLastTimer; ++id) wynk_timer_destroy(id);
}

int32_t timers_native_period(int32_t id) {
    TimerSlot* slot = slot_of(id);
    return slot ? slot->period : 0;
}

TickClock timers_set_clock(TickClock clock) {
    TickClock previous = kcore().clock;
    kcore().clock = clock;
    return previous;
}
