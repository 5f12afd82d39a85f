// The alarm thresholds dialog's value bars, their ranges by voltage class and unit, and its
// defaults.
#include "ui/thresholds_dialog.h"

#include "engine/app_state.h"
#include "files/config_file.h"
#include "ui/help_client.h"
#include "ui/prompts.h"
#include "ui/setup_dialog.h"
#include "ui/ui_state.h"
#include "ui/view_dialog.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <res/ids.h>
#include <string>
#include <wyn/checked/dlg.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/win.h>

namespace {

constexpr int kPageStep = 5;

// The bars in alarm order; each bar's value text has the bar's id plus one.
constexpr int16_t kBars[ALARM_COUNT] = {IDT_LOW_BAR, IDT_HIGH_BAR, IDT_LOAD_BAR, IDT_BATTERY_BAR,
                                        IDT_TEMPERATURE_BAR};

// Voltage classes 0 and 2 are the 100 V to 120 V families; every other class runs on 200 V and up.
bool low_voltage_family(const ups_status& ups) {
    return ups.voltage_class == 0 || ups.voltage_class == 2;
}

bool fahrenheit(const ups_status& ups) {
    return ups.temperature_unit == 1;
}

int clamped(int value, threshold_range range) {
    return std::clamp(value, range.min, range.max);
}

int alarm_of(int16_t bar) {
    const auto* it = std::find(std::begin(kBars), std::end(kBars), bar);
    return it == std::end(kBars) ? -1 : static_cast<int>(it - std::begin(kBars));
}

// The bar of an alarm with the range it has for the record in view.
value_bar bar_of(int alarm) {
    const threshold_range range = threshold_ranges(record_in_view())[alarm];
    return {kBars[alarm], static_cast<int16_t>(kBars[alarm] + 1), static_cast<int16_t>(range.min),
            static_cast<int16_t>(range.max)};
}

void fill_controls(WINDOW dlg) {
    ups_status& ups = record_in_view();
    // The record keeps the clamped values whether the user saves them or not.
    clamp_thresholds(ups);
    for (int alarm = 0; alarm < ALARM_COUNT; ++alarm)
        init_value_bar(dlg, bar_of(alarm), ups.thresholds[alarm].value);
    if (WINDOW unit = wyn_win_get_ctl(dlg, IDT_TEMPERATURE_UNIT))
        wyn_vobj_set_title(unit, fahrenheit(ups) ? "F" : "C");
}

// The value a bar shows, read back from its text as the user sees it.
int shown_value(WINDOW dlg, const value_bar& bar) {
    WINDOW label = wyn_win_get_ctl(dlg, bar.value);
    char text[16] = "";
    if (label) wyn_vobj_get_title(label, text, sizeof text);
    return std::clamp(static_cast<int>(std::strtol(text, nullptr, 10)), int{bar.min}, int{bar.max});
}

void store_values(WINDOW dlg) {
    ups_status& ups = record_in_view();
    for (int alarm = 0; alarm < ALARM_COUNT; ++alarm)
        ups.thresholds[alarm].value = static_cast<int16_t>(shown_value(dlg, bar_of(alarm)));
    // The threshold file holds the local UPS's settings, as the configuration file does.
    if (save_thresholds(g_app->local) != 0) {
        const std::string text = std::string("Cannot save the alarm thresholds to ") +
                                 THRESHOLD_FILE + ": " + std::strerror(errno) + ".";
        ui_error(text.c_str());
    }
    if (g_ui.status_window) wyn_dwin_invalidate_rect(g_ui.status_window, nullptr);
}

void on_control(WINDOW dlg, const EVENT& ev) {
    const int16_t id = ev.v.ctl.id;
    if (const int alarm = alarm_of(id); alarm >= 0) {
        scroll_value_bar(dlg, bar_of(alarm), ev, kPageStep);
        return;
    }
    switch (id) {
    case IDT_DEFAULTS: {
        const threshold_values values =
            threshold_defaults(record_in_view(), g_app->local.nominal_voltage);
        for (int alarm = 0; alarm < ALARM_COUNT; ++alarm)
            show_bar_value(dlg, bar_of(alarm), values[alarm]);
        break;
    }
    case ID_OK:
        store_values(dlg);
        wyn_vobj_destroy(dlg);
        break;
    case ID_CANCEL:
        wyn_vobj_destroy(dlg);
        break;
    default:
        break;
    }
}

} // namespace

std::array<threshold_range, ALARM_COUNT> threshold_ranges(const ups_status& ups) {
    const bool low_family = low_voltage_family(ups);
    return {{
        low_family ? threshold_range{90, 110} : threshold_range{170, 235},
        low_family ? threshold_range{125, 135} : threshold_range{210, 260},
        {40, 100},
        {10, 50},
        fahrenheit(ups) ? threshold_range{110, 150} : threshold_range{45, 65},
    }};
}

threshold_values threshold_defaults(const ups_status& ups, uint16_t local_nominal_voltage) {
    int low = 100, high = 130;
    switch (ups.voltage_class) {
    case 0:
        break;
    case 1:
        low = 192, high = 250;
        break;
    case 2:
        low = 90, high = 125;
        break;
    default:
        if (local_nominal_voltage == 240)
            low = 220, high = 260;
        else if (local_nominal_voltage == 208)
            low = 173, high = 225;
        break;
    }
    threshold_values values{low, high, 90, 30, fahrenheit(ups) ? 120 : 49};
    // A 200 V class UPS whose nominal voltage is not known would otherwise be offered the 120 V
    // family's 100 and 130, which its bars cannot show and its line never reaches.
    const auto ranges = threshold_ranges(ups);
    for (int alarm = 0; alarm < ALARM_COUNT; ++alarm)
        values[alarm] = clamped(values[alarm], ranges[alarm]);
    return values;
}

void clamp_thresholds(ups_status& ups) {
    const auto ranges = threshold_ranges(ups);
    for (int alarm = 0; alarm < ALARM_COUNT; ++alarm)
        ups.thresholds[alarm].value =
            static_cast<int16_t>(clamped(ups.thresholds[alarm].value, ranges[alarm]));
}

namespace {

int32_t thresholds_dialog_handler(WINDOW dlg, EVENT* ev) {
    help_follow_window(dlg, *ev, HELP_TOPIC_THRESHOLDS, DLG_THRESHOLDS);
    return view_dialog_handler<fill_controls, on_control>(dlg, ev);
}

} // namespace

bool run_thresholds_dialog() {
    return wyn_dlg_create_res(WT_MODAL_DLG, DLG_THRESHOLDS, EM_ALL, thresholds_dialog_handler, 0) !=
           nullptr;
}
