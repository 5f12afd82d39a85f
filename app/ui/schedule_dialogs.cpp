// The schedule dialogs: their enabling rules, hour and minute bars and day lists.
#include "ui/schedule_dialogs.h"

#include "engine/app_state.h"
#include "files/config_file.h"
#include "ui/help_client.h"
#include "ui/prompts.h"
#include "ui/setup_dialog.h"

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <res/ids.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/list.h>
#include <wyn/checked/win.h>

namespace {

// An hour or minute bar with its value text, and how far a page moves it.
struct clock_bar {
    value_bar bar;
    int page_step;
};

constexpr clock_bar hour_bar(int16_t bar, int16_t value) {
    return {{bar, value, 0, 23}, 3};
}

constexpr clock_bar minute_bar(int16_t bar, int16_t value) {
    return {{bar, value, 0, 59}, 5};
}

// The day list and the two bars that set one clock of a schedule.
struct clock_row {
    int16_t day_list;
    clock_bar hour;
    clock_bar minute;
};

using id_list = std::initializer_list<int16_t>;

void set_enabled(WINDOW dlg, id_list ids, bool enabled) {
    for (int16_t id : ids)
        if (WINDOW ctl = wyn_win_get_ctl(dlg, id))
            wyn_vobj_set_enabled(ctl, enabled ? TRUE : FALSE);
}

void set_shown(WINDOW dlg, id_list ids, bool shown) {
    for (int16_t id : ids)
        if (WINDOW ctl = wyn_win_get_ctl(dlg, id)) wyn_vobj_set_visible(ctl, shown ? TRUE : FALSE);
}

// Toggles a check box (they never change themselves here) and returns its new state.
bool toggle(WINDOW dlg, int16_t id) {
    const bool checked = !is_checked(dlg, id);
    set_checked(dlg, id, checked);
    return checked;
}

void fill_row(WINDOW dlg, const clock_row& row, const ups_clock& clock) {
    if (WINDOW list = wyn_win_get_ctl(dlg, row.day_list)) {
        fill_string_list(list, STR_SUNDAY, STR_SATURDAY, "");
        if (clock.weekday >= 0 && clock.weekday < 7) wyn_list_set_sel(list, clock.weekday, TRUE);
    }
    init_value_bar(dlg, row.hour.bar, clock.hour);
    init_value_bar(dlg, row.minute.bar, clock.minute);
}

// A day list without a selection (a stored day outside the week) keeps the stored day.
void store_row(WINDOW dlg, const clock_row& row, ups_clock& clock) {
    if (WINDOW list = wyn_win_get_ctl(dlg, row.day_list)) {
        const int32_t day = wyn_list_get_sel_index(list);
        if (day >= 0 && day < 7) clock.weekday = day;
    }
    clock.hour = bar_value(dlg, row.hour.bar);
    clock.minute = bar_value(dlg, row.minute.bar);
}

// Applies a scroll event to whichever bar of the rows it came from; false when none.
bool scroll_row_bar(WINDOW dlg, std::initializer_list<clock_row> rows, const EVENT& ev) {
    for (const clock_row& row : rows)
        for (const clock_bar& b : {row.hour, row.minute})
            if (b.bar.bar == ev.v.ctl.id) {
                scroll_value_bar(dlg, b.bar, ev, b.page_step);
                return true;
            }
    return false;
}

// What an open schedule dialog edits. Each is modal, so one of a kind at a time. The view may
// change while it is open (a shutdown shows the local UPS), so the view it was filled from is
// remembered rather than looked up again on "OK"; dlg is cleared when the dialog goes, which a
// question asked from "OK" must look at before it goes on.
struct schedule_session {
    WINDOW dlg = nullptr;
    bool remote = false;

    ups_status& ups() const { return remote ? g_app->remote : g_app->local; }
};

void begin_session(schedule_session& session, WINDOW dlg) {
    g_app->remote_view_held = 1;
    session.dlg = dlg;
    session.remote = g_app->remote_view != 0;
}

void end_session(schedule_session& session) {
    session.dlg = nullptr;
    if (g_app) g_app->remote_view_held = 0;
}

void save_schedule() {
    if (save_configuration(g_app->local, *g_app) != 0)
        ui_error(configuration_save_failure(errno).c_str());
}

// ---- Self-test ----------------------------------------------------------------------------

// The radios in the order of the self-test types they stand for.
constexpr int16_t kSelftestRadios[] = {IDS_IMMEDIATE, IDS_WEEKLY, IDS_BIWEEKLY, IDS_MONTHLY};
constexpr int32_t kSelftestTypes = 4;
constexpr id_list kSelftestRadioIds = {IDS_IMMEDIATE, IDS_WEEKLY, IDS_BIWEEKLY, IDS_MONTHLY};
constexpr id_list kSelftestTime = {IDS_DAY_LABEL,    IDS_DAY_LIST,    IDS_HOUR_BAR,
                                   IDS_HOUR_LABEL,   IDS_HOUR_VALUE,  IDS_MINUTE_BAR,
                                   IDS_MINUTE_LABEL, IDS_MINUTE_VALUE};
constexpr clock_row kSelftestRow = {IDS_DAY_LIST, hour_bar(IDS_HOUR_BAR, IDS_HOUR_VALUE),
                                    minute_bar(IDS_MINUTE_BAR, IDS_MINUTE_VALUE)};

schedule_session g_selftest;

void fill_selftest(WINDOW dlg, const ups_status& ups) {
    const bool enabled = ups.selftest_enabled != 0;
    set_checked(dlg, IDS_ENABLE, enabled);
    if (ups.selftest_type >= 0 && ups.selftest_type < kSelftestTypes)
        check_radio(dlg, kSelftestRadios[ups.selftest_type], kSelftestRadios, kSelftestTypes);
    fill_row(dlg, kSelftestRow, ups.selftest_time);
    if (!enabled || ups.selftest_type == 0) set_shown(dlg, kSelftestTime, false);
    if (!enabled) {
        set_enabled(dlg, kSelftestRadioIds, false);
        set_enabled(dlg, kSelftestTime, false);
    }
}

void store_selftest(WINDOW dlg, ups_status& ups) {
    ups.selftest_rearm_request = 1;
    store_row(dlg, kSelftestRow, ups.selftest_time);
    ups.selftest_enabled = is_checked(dlg, IDS_ENABLE) ? 1 : 0;
    // With no radio checked (a stored type the dialog does not offer) the type stays.
    for (int16_t type = 0; type < kSelftestTypes; ++type)
        if (is_checked(dlg, kSelftestRadios[type])) ups.selftest_type = type;
    save_schedule();
}

void on_selftest_control(WINDOW dlg, const EVENT& ev) {
    if (scroll_row_bar(dlg, {kSelftestRow}, ev)) return;
    const int16_t id = ev.v.ctl.id;
    switch (id) {
    case IDS_ENABLE: {
        const bool enabled = toggle(dlg, IDS_ENABLE);
        set_enabled(dlg, kSelftestRadioIds, enabled);
        set_enabled(dlg, kSelftestTime, enabled);
        break;
    }
    case IDS_IMMEDIATE:
    case IDS_WEEKLY:
    case IDS_BIWEEKLY:
    case IDS_MONTHLY:
        check_radio(dlg, id, kSelftestRadios, kSelftestTypes);
        set_shown(dlg, kSelftestTime, id != IDS_IMMEDIATE);
        break;
    case ID_OK:
        store_selftest(dlg, g_selftest.ups());
        wyn_vobj_destroy(dlg);
        break;
    case IDS_EXIT:
        wyn_vobj_destroy(dlg);
        break;
    default:
        break;
    }
}

int32_t selftest_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, HELP_TOPIC_SELFTEST_SCHEDULE, DLG_SELFTEST);
    // The application may end while the dialog is open (a shutdown runs on); its state goes first.
    if (!g_app) {
        if (ev->type == E_CLOSE) wyn_vobj_destroy(dlg);
        return 0;
    }
    switch (ev->type) {
    case E_CREATE:
        begin_session(g_selftest, dlg);
        fill_selftest(dlg, g_selftest.ups());
        break;
    case E_DESTROY:
        end_session(g_selftest);
        break;
    case E_CLOSE:
        wyn_vobj_destroy(dlg);
        break;
    case E_CONTROL:
        on_selftest_control(dlg, *ev);
        break;
    default:
        break;
    }
    return 0;
}

// ---- Shutdown -----------------------------------------------------------------------------

// The radios and the shutdown types they stand for; the radios' order is not the types'.
struct shutdown_radio {
    int16_t radio;
    int16_t type;
};
constexpr shutdown_radio kShutdownRadios[] = {
    {IDD_IMMEDIATE, 0}, {IDD_WEEKLY, 2}, {IDD_DAILY, 1}, {IDD_MONTHLY, 4}};
constexpr int16_t kShutdownRadioIds[] = {IDD_IMMEDIATE, IDD_WEEKLY, IDD_DAILY, IDD_MONTHLY};
constexpr int32_t kShutdownRadioCount = 4;
constexpr id_list kRadios = {IDD_IMMEDIATE, IDD_WEEKLY, IDD_DAILY, IDD_MONTHLY};

// The "Off:" and "On:" rows, each as its day (the list and its "Day" label) and its times (the
// row's label and the hour and minute controls).
constexpr id_list kOffDay = {IDD_OFF_DAY_LABEL, IDD_OFF_DAY_LIST};
constexpr id_list kOffTimes = {IDD_OFF_LABEL,       IDD_OFF_HOUR_LABEL,   IDD_OFF_HOUR_BAR,
                               IDD_OFF_HOUR_VALUE,  IDD_OFF_MINUTE_LABEL, IDD_OFF_MINUTE_BAR,
                               IDD_OFF_MINUTE_VALUE};
constexpr id_list kOnDay = {IDD_ON_DAY_LABEL, IDD_ON_DAY_LIST};
constexpr id_list kOnTimes = {IDD_ON_LABEL,       IDD_ON_HOUR_LABEL,   IDD_ON_HOUR_BAR,
                              IDD_ON_HOUR_VALUE,  IDD_ON_MINUTE_LABEL, IDD_ON_MINUTE_BAR,
                              IDD_ON_MINUTE_VALUE};
constexpr clock_row kOffRow = {IDD_OFF_DAY_LIST, hour_bar(IDD_OFF_HOUR_BAR, IDD_OFF_HOUR_VALUE),
                               minute_bar(IDD_OFF_MINUTE_BAR, IDD_OFF_MINUTE_VALUE)};
constexpr clock_row kOnRow = {IDD_ON_DAY_LIST, hour_bar(IDD_ON_HOUR_BAR, IDD_ON_HOUR_VALUE),
                              minute_bar(IDD_ON_MINUTE_BAR, IDD_ON_MINUTE_VALUE)};

schedule_session g_shutdown;

// A row's controls enabled or disabled; the day only where daily is not chosen.
void enable_row(WINDOW dlg, id_list day, id_list times, bool enabled, bool daily) {
    set_enabled(dlg, times, enabled);
    set_enabled(dlg, day, enabled && !daily);
}

void fill_shutdown(WINDOW dlg, const ups_status& ups) {
    const bool enabled = ups.shutdown_enabled != 0;
    const bool immediate = ups.shutdown_type == 0;
    set_checked(dlg, IDD_ENABLE, enabled);
    set_checked(dlg, IDD_RESTART, ups.restart_enabled != 0);
    for (const shutdown_radio& r : kShutdownRadios)
        if (r.type == ups.shutdown_type)
            check_radio(dlg, r.radio, kShutdownRadioIds, kShutdownRadioCount);
    fill_row(dlg, kOffRow, ups.shutdown_time);
    fill_row(dlg, kOnRow, ups.restart_time);
    if (!enabled || immediate) {
        set_checked(dlg, IDD_RESTART, false);
        // Checking "Enable Shutdown" is what enables the restart box again.
        if (!enabled) set_enabled(dlg, {IDD_RESTART}, false);
        set_enabled(dlg, kRadios, false);
        for (id_list ids : {kOffDay, kOffTimes, kOnDay, kOnTimes}) set_enabled(dlg, ids, false);
    }
    if (ups.restart_enabled == 0)
        for (id_list ids : {kOnDay, kOnTimes}) set_enabled(dlg, ids, false);
    if (ups.shutdown_type == 1)
        for (id_list ids : {kOffDay, kOnDay}) set_enabled(dlg, ids, false);
}

void on_enable_shutdown(WINDOW dlg) {
    if (toggle(dlg, IDD_ENABLE)) {
        set_enabled(dlg, {IDD_RESTART}, true);
        set_enabled(dlg, kRadios, true);
        if (!is_checked(dlg, IDD_IMMEDIATE))
            enable_row(dlg, kOffDay, kOffTimes, true, is_checked(dlg, IDD_DAILY));
        return;
    }
    set_checked(dlg, IDD_RESTART, false);
    set_enabled(dlg, {IDD_RESTART}, false);
    set_enabled(dlg, kRadios, false);
    for (id_list ids : {kOffDay, kOffTimes, kOnDay, kOnTimes}) set_enabled(dlg, ids, false);
}

void on_shutdown_radio(WINDOW dlg, int16_t id) {
    check_radio(dlg, id, kShutdownRadioIds, kShutdownRadioCount);
    const bool restart = is_checked(dlg, IDD_RESTART);
    if (id == IDD_IMMEDIATE) {
        for (id_list ids : {kOffDay, kOffTimes, kOnDay, kOnTimes}) set_enabled(dlg, ids, false);
        return;
    }
    const bool daily = id == IDD_DAILY;
    enable_row(dlg, kOffDay, kOffTimes, true, daily);
    enable_row(dlg, kOnDay, kOnTimes, restart, daily);
}

// "OK": false when the dialog went while its question waited, and nothing may be stored.
bool store_shutdown(WINDOW dlg, ups_status& ups) {
    ups.counter_reset_request = 1;
    if (is_checked(dlg, IDD_IMMEDIATE) && is_checked(dlg, IDD_ENABLE)) {
        const int16_t answer = ui_ask("No", "Yes", "Do you want to initiate a shutdown now?");
        if (!g_app || g_shutdown.dlg != dlg) return false;
        // Only a plain "Yes" starts a shutdown; a question closed unanswered is a "No".
        if (answer != 1) set_checked(dlg, IDD_ENABLE, false);
    }
    store_row(dlg, kOffRow, ups.shutdown_time);
    store_row(dlg, kOnRow, ups.restart_time);
    ups.shutdown_enabled = is_checked(dlg, IDD_ENABLE) ? 1 : 0;
    ups.restart_enabled = is_checked(dlg, IDD_RESTART) ? 1 : 0;
    for (const shutdown_radio& r : kShutdownRadios)
        if (is_checked(dlg, r.radio)) ups.shutdown_type = r.type;
    save_schedule();
    return true;
}

void on_shutdown_control(WINDOW dlg, const EVENT& ev) {
    if (scroll_row_bar(dlg, {kOffRow, kOnRow}, ev)) return;
    const int16_t id = ev.v.ctl.id;
    switch (id) {
    case IDD_ENABLE:
        on_enable_shutdown(dlg);
        break;
    case IDD_RESTART: {
        const bool restart = toggle(dlg, IDD_RESTART);
        enable_row(dlg, kOnDay, kOnTimes, restart, is_checked(dlg, IDD_DAILY));
        break;
    }
    case IDD_IMMEDIATE:
    case IDD_WEEKLY:
    case IDD_DAILY:
    case IDD_MONTHLY:
        on_shutdown_radio(dlg, id);
        break;
    case ID_OK:
        if (store_shutdown(dlg, g_shutdown.ups())) wyn_vobj_destroy(dlg);
        break;
    case IDD_EXIT:
        wyn_vobj_destroy(dlg);
        break;
    default:
        break;
    }
}

int32_t shutdown_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, HELP_TOPIC_SHUTDOWN_SCHEDULE, DLG_SHUTDOWN);
    if (!g_app) {
        if (ev->type == E_CLOSE) wyn_vobj_destroy(dlg);
        return 0;
    }
    switch (ev->type) {
    case E_CREATE:
        begin_session(g_shutdown, dlg);
        fill_shutdown(dlg, g_shutdown.ups());
        break;
    case E_DESTROY:
        end_session(g_shutdown);
        break;
    case E_CLOSE:
        wyn_vobj_destroy(dlg);
        break;
    case E_CONTROL:
        on_shutdown_control(dlg, *ev);
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

bool run_selftest_dialog() {
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_SELFTEST, EM_ALL, selftest_dialog_handler, 0) !=
           nullptr;
}

bool run_shutdown_dialog() {
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_SHUTDOWN, EM_ALL, shutdown_dialog_handler, 0) !=
           nullptr;
}
