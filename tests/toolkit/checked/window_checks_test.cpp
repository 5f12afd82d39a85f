// The checked calls on windows and timers: stale handles, the refusal of window changes during
// E_UPDATE, the fields the layer keeps itself, event dispatch and the rectangle warning.
#include <functional>
#include <wyn/errfrm.h>
#include <wyn_checked.h>

#include "checked_support.h"
#include "portable/core_state.h"

namespace {

WINDOW victim = nullptr;
bool victim_attacked = false;

// Tries to destroy the victim and to run the loop while painting, at the first paint only: a
// nested paint would find the victim already gone.
int32_t destroy_while_painting(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_UPDATE && !victim_attacked) {
        victim_attacked = true;
        wyn_vobj_destroy(victim);
        wyn_app_process_pending_events();
    }
    return 0;
}

int32_t answer_seven(WINDOW, EVENT*) {
    return 7;
}

} // namespace

using TimerChecks = CheckedWindowTest;

TEST_F(TimerChecks, DestroyedWindowIsInvalidAndLeavesTheTimerTableAlone) {
    WINDOW gone = makeChild(RCT{0, 0, 40, 40});
    ASSERT_NE(gone, nullptr);
    wyn_vobj_destroy(gone);
    ReportRecorder::all().clear();

    EXPECT_EQ(wyn_timer_create(gone, 1000), -1);
    ASSERT_TRUE(one_report(WYN_MSG_INVALID_WINDOW, "ttimer"));
    EXPECT_EQ(ReportRecorder::all()[0].api, "wyn_timer_create ");

    WINDOW live = makeChild(RCT{0, 0, 40, 40});
    EXPECT_EQ(wyn_timer_create(live, 1000), 2); // the first slot is still free
}

TEST_F(TimerChecks, WindowAndIntervalFaults) {
    EXPECT_EQ(wyn_timer_create(nullptr, 10), -1);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_WINDOW, "ttimer"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_timer_create(screen(), 10), -1);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "ttimer"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_timer_create(task(), -1), -1);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "ttimer"));
}

using UpdateRule = CheckedWindowTest;

TEST_F(UpdateRule, DestroyDuringUpdateIsRefusedAndDestroysNothing) {
    victim_attacked = false;
    victim = makeChild(RCT{0, 0, 40, 40});
    WINDOW painter = makeChild(RCT{50, 50, 90, 90}, destroy_while_painting);
    ASSERT_NE(victim, nullptr);
    ASSERT_NE(painter, nullptr);
    ReportRecorder::all().clear();

    EVENT ev{};
    ev.type = E_UPDATE;
    ev.v.update.rct = RCT{0, 0, 40, 40};
    wynk_win_dispatch_event(painter, &ev);

    const auto& reports = ReportRecorder::all();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].id, WYN_MSG_DURING_UPDATE);
    EXPECT_EQ(reports[0].file, "tvobj");
    EXPECT_EQ(reports[0].api, "wyn_vobj_destroy ");
    EXPECT_EQ(reports[1].id, WYN_MSG_DURING_UPDATE);
    EXPECT_EQ(reports[1].file, "tapp");
    EXPECT_EQ(victim->magic, WYN_WIN_MAGIC);
    EXPECT_EQ(victim->state & WS_DESTROYED, 0u);
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}

TEST_F(UpdateRule, UpdateCheckOffLetsTheRequestThrough) {
    wyn_vobj_set_attr(nullptr, ATTR_UPDATE_CHECK_OFF, 1);
    victim_attacked = false;
    victim = makeChild(RCT{0, 0, 40, 40});
    WINDOW painter = makeChild(RCT{50, 50, 90, 90}, destroy_while_painting);
    ReportRecorder::all().clear();
    EVENT ev{};
    ev.type = E_UPDATE;
    wynk_win_dispatch_event(painter, &ev);
    EXPECT_TRUE(ReportRecorder::all().empty());
    EXPECT_TRUE(victim->magic != WYN_WIN_MAGIC || (victim->state & WS_DESTROYED));
}

using WindowFields = CheckedWindowTest;

TEST_F(WindowFields, LayerReadsAndWritesTheFieldsItself) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40});
    wyn_win_set_handler(win, answer_seven);
    EXPECT_EQ(wyn_win_get_handler(win), answer_seven);
    wyn_win_set_event_mask(win, EM_BIT(E_TIMER));
    EXPECT_EQ(wyn_win_get_event_mask(win), EM_BIT(E_TIMER));
    wyn_vobj_set_data(win, 4242);
    EXPECT_EQ(wyn_vobj_get_data(win), 4242);
    EXPECT_EQ(wyn_vobj_get_type(win), WT_PLAIN);
    win->state |= WS_TEXT_EDIT;
    EXPECT_EQ(wyn_vobj_get_type(win), WT_TEXT_EDIT);
    win->state &= ~WS_TEXT_EDIT;
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(WindowFields, StaleHandleGivesEachFailureValue) {
    WINDOW gone = makeChild(RCT{0, 0, 40, 40});
    wyn_vobj_destroy(gone);
    EXPECT_EQ(wyn_win_get_handler(gone), nullptr);
    EXPECT_EQ(wyn_win_get_event_mask(gone), 0u);
    EXPECT_EQ(wyn_vobj_get_type(gone), 0);
    EXPECT_EQ(wyn_vobj_get_data(gone), -1);
    EXPECT_EQ(ReportRecorder::all().size(), 4u);
    for (const CheckedReport& r : ReportRecorder::all()) EXPECT_EQ(r.id, WYN_MSG_INVALID_WINDOW);
}

TEST_F(WindowFields, PerWindowAttributeNeedsAWindow) {
    EXPECT_EQ(wyn_vobj_get_attr(nullptr, ATTR_NATIVE_WINDOW), 0);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_WINDOW, "tvobj"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_vobj_get_attr(nullptr, ATTR_TASK_WINDOW), reinterpret_cast<ATTR_VALUE>(task()));
    EXPECT_TRUE(ReportRecorder::all().empty());
}

namespace {

void* text_edit_of(WINDOW win, int32_t) {
    return win;
}

} // namespace

TEST_F(WindowFields, ParentDocumentTitleAndTextEditGoThroughTheirChecks) {
    WINDOW doc = makeChild(RCT{0, 0, 40, 40});
    EXPECT_EQ(wyn_vobj_get_parent(doc), task());
    EXPECT_EQ(wyn_vobj_get_parent(task()), screen());
    EXPECT_EQ(wyn_vobj_get_parent(screen()), nullptr);
    wyn_win_set_doc_title(doc, "norva.log");
    char title[32];
    EXPECT_STREQ(wyn_vobj_get_title(doc, title, sizeof title), "norva.log");
    EXPECT_EQ(wyn_win_get_tx(doc), nullptr) << "no text-edit library, no text edit";
    core().tx_get_tx = text_edit_of;
    EXPECT_EQ(wyn_win_get_tx(doc), doc);
    core().tx_get_tx = nullptr;
    wyn_scr_beep();
    EXPECT_TRUE(ReportRecorder::all().empty());

    wyn_win_set_doc_title(doc, nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "twin"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_win_get_tx(screen()), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "twin"));
    ReportRecorder::all().clear();
    wyn_vobj_destroy(doc);
    EXPECT_EQ(wyn_vobj_get_parent(doc), nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_WINDOW, "tvobj"));
}

using DispatchChecks = CheckedWindowTest;

TEST_F(DispatchChecks, RefusesWhatNoHandlerCouldTake) {
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, answer_seven);
    EVENT ev{};
    ev.type = E_USER;

    EXPECT_EQ(wyn_win_dispatch_event(win, nullptr), -1);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "twin"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_win_dispatch_event(screen(), &ev), -1);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE_CAT, "twin"));
    ReportRecorder::all().clear();
    ev.type = E_CXO;
    EXPECT_EQ(wyn_win_dispatch_event(win, &ev), -1);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE_CAT, "twin"));
    ReportRecorder::all().clear();
    ev.type = E_USER;
    wyn_win_set_handler(win, nullptr);
    EXPECT_EQ(wyn_win_dispatch_event(win, &ev), -1);
    EXPECT_TRUE(one_report(WYN_MSG_WRONG_STATE, "twin"));
    ReportRecorder::all().clear();

    wyn_win_set_handler(win, answer_seven);
    EXPECT_EQ(wyn_win_dispatch_event(win, &ev), 7);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

using CreateChecks = CheckedWindowTest;

// An inverted rectangle is only a warning: the window is still made.
TEST_F(CreateChecks, InvertedRectangleWarnsAndProceeds) {
    RCT inverted{40, 0, 10, 50};
    WINDOW win = wyn_win_create(WT_PLAIN, &inverted, "w", 0, task(), 0, EM_ALL, record_event, 0);
    EXPECT_NE(win, nullptr);
    ASSERT_FALSE(ReportRecorder::all().empty());
    EXPECT_EQ(ReportRecorder::all()[0].id, WYN_MSG_BAD_RECT_FORMAT);
    EXPECT_EQ(ReportRecorder::all()[0].severity, WYN_SEV_WARNING);
    EXPECT_EQ(ReportRecorder::all()[0].file, "twin");
}

TEST_F(CreateChecks, RefusedArgumentsCreateNothing) {
    RCT rct{0, 0, 40, 40};
    EXPECT_EQ(wyn_win_create(WT_PLAIN, &rct, "w", 0, task(), 0, EM_ALL, nullptr, 0), nullptr);
    EXPECT_TRUE(one_report(0x121000E, "twin"));
    ReportRecorder::all().clear();
    EXPECT_EQ(wyn_win_create(WT_PUSH_BUTTON, &rct, "w", 0, task(), 0, EM_ALL, record_event, 0),
              nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "twin"));
}

// Window faults of every kind leave the API-mark count where it was.
TEST_F(CreateChecks, EveryWindowFaultUnmarks) {
    WINDOW gone = makeChild(RCT{0, 0, 40, 40});
    wyn_vobj_destroy(gone);
    EVENT ev{};
    CXO out[2];
    const std::vector<std::function<void()>> calls = {
        [&] { wyn_timer_create(gone, 5); },
        [&] { wyn_vobj_destroy(gone); },
        [&] { wyn_vobj_destroy(screen()); },
        [&] { wyn_vobj_set_attr(gone, ATTR_SYS_KEYS, 1); },
        [&] { wyn_win_dispatch_event(gone, &ev); },
        [&] { wyn_win_set_event_mask(nullptr, 0); },
        [&] { wyn_win_get_cxo(task(), nullptr); },
        [&] { wyn_win_list_cxos(task(), out, -1); },
        [&] { wyn_win_create(WT_PLAIN, nullptr, "w", 0, task(), 0, EM_ALL, record_event, 0); },
    };
    expect_one_report_each(calls);
}

namespace {

// What the handlers below saw of the handles they used.
struct HandleProbe {
    uint32_t magic_after_destroy = 0;
    int32_t timer = 0;
    intptr_t data = 0;
    int32_t dispatched = 0;
    intptr_t own_data_on_destroy = 0;
    intptr_t parent_data_on_destroy = 0;
    intptr_t child_data_on_destroy = 0;
    EVENT_HANDLER own_handler_on_destroy = nullptr;
    size_t reports_on_destroy = 0;
};
HandleProbe probe;
WINDOW parent_of_child = nullptr;
WINDOW child_of_parent = nullptr;

// Destroys its own window on E_USER and goes on using the handle.
int32_t destroy_then_use(WINDOW win, EVENT* ev) {
    if (ev->type != E_USER) return 0;
    wyn_vobj_destroy(win);
    ReportRecorder::all().clear();
    probe.magic_after_destroy = win->magic;
    probe.timer = wyn_timer_create(win, 100);
    wyn_vobj_set_title(win, "gone");
    const RCT area{0, 0, 10, 10};
    wyn_dwin_invalidate_rect(win, &area);
    probe.data = wyn_vobj_get_data(win);
    EVENT again{};
    again.type = E_USER;
    probe.dispatched = wyn_win_dispatch_event(win, &again);
    return 0;
}

// A child reads itself and its parent while its E_DESTROY is delivered.
int32_t child_reads_on_destroy(WINDOW win, EVENT* ev) {
    if (ev->type != E_DESTROY) return 0;
    probe.own_data_on_destroy = wyn_vobj_get_data(win);
    probe.parent_data_on_destroy = wyn_vobj_get_data(parent_of_child);
    probe.reports_on_destroy = ReportRecorder::all().size();
    return 0;
}

// A parent reads itself and its child, destroyed before it, while its E_DESTROY is delivered.
int32_t parent_reads_on_destroy(WINDOW win, EVENT* ev) {
    if (ev->type != E_DESTROY) return 0;
    probe.own_handler_on_destroy = wyn_win_get_handler(win);
    probe.child_data_on_destroy = wyn_vobj_get_data(child_of_parent);
    return 0;
}

} // namespace

using HandlerHandles = CheckedWindowTest;

// A window destroyed inside a handler keeps its memory until the outermost dispatch ends; every
// call on it meanwhile is refused as a stale handle.
TEST_F(HandlerHandles, OwnWindowDestroyedInTheHandlerIsInvalidAtOnce) {
    probe = {};
    WINDOW win = makeChild(RCT{0, 0, 40, 40}, destroy_then_use);
    ASSERT_NE(win, nullptr);
    EVENT ev{};
    ev.type = E_USER;
    wyn_win_dispatch_event(win, &ev);

    EXPECT_EQ(probe.magic_after_destroy, WYN_WIN_MAGIC) << "still inside the dispatch";
    EXPECT_EQ(probe.timer, -1);
    EXPECT_EQ(probe.data, -1);
    EXPECT_EQ(probe.dispatched, -1);
    const auto& reports = ReportRecorder::all();
    ASSERT_EQ(reports.size(), 5u);
    const char* files[] = {"ttimer", "tvobj", "tdwin", "tvobj", "twin"};
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].id, WYN_MSG_INVALID_WINDOW) << i;
        EXPECT_EQ(reports[i].file, files[i]) << i;
    }
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
    EXPECT_EQ(wyn_timer_create(makeChild(RCT{0, 0, 40, 40}), 1000), 2) << "no timer was taken";
}

// Children hear E_DESTROY before their parent: each may use its own handle and its living parent
// then, but the parent no longer reaches the child that went first.
TEST_F(HandlerHandles, EachWindowUsesItsOwnHandleDuringItsDestroy) {
    probe = {};
    const RCT rct{0, 0, 40, 40};
    parent_of_child = wynk_win_create(WT_PLAIN, &rct, "parent", 0, task(), 0, EM_ALL,
                                      parent_reads_on_destroy, 11);
    ASSERT_NE(parent_of_child, nullptr);
    child_of_parent = wynk_win_create(WT_PLAIN, &rct, "child", 0, parent_of_child, 0, EM_ALL,
                                      child_reads_on_destroy, 22);
    ASSERT_NE(child_of_parent, nullptr);
    ReportRecorder::all().clear();

    wyn_vobj_destroy(parent_of_child);

    EXPECT_EQ(probe.own_data_on_destroy, 22);
    EXPECT_EQ(probe.parent_data_on_destroy, 11);
    EXPECT_EQ(probe.reports_on_destroy, 0u);
    EXPECT_EQ(probe.own_handler_on_destroy, parent_reads_on_destroy);
    EXPECT_EQ(probe.child_data_on_destroy, -1);
    EXPECT_TRUE(one_report(WYN_MSG_INVALID_WINDOW, "tvobj"));
}

using AppChecks = CheckedWindowTest;

TEST_F(AppChecks, CreateNeedsArgumentsAndConfiguration) {
    char name[] = "voltsentry";
    char* argv[] = {name, nullptr};
    wyn_app_create(1, nullptr, 0, record_event, &config_);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tapp"));
    ReportRecorder::all().clear();
    wyn_app_create(1, argv, 0, record_event, nullptr);
    EXPECT_TRUE(one_report(WYN_MSG_NULL_HANDLE, "tapp"));
    WYN_MEM_FUNCS installed;
    EXPECT_NE(wynv_mem_get_functions(&installed), nullptr);
    EXPECT_EQ(wynv_errfrm_get_API_count(), 0);
}
