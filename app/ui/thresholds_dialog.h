// The alarm thresholds dialog: the five alarm limits of the record in view, saved to the threshold
// file.
#pragma once

#include "model/ups_status.h"

#include <array>
#include <cstdint>

// Runs the modal alarm thresholds dialog (103) on the record in view; false when it could not be
// made.
bool run_thresholds_dialog();

// The values a threshold's bar offers, min to max inclusive.
struct threshold_range {
    int min;
    int max;
};

using threshold_values = std::array<int, ALARM_COUNT>;

// The five bars' ranges, in alarm order, for the record's voltage class and temperature unit.
std::array<threshold_range, ALARM_COUNT> threshold_ranges(const ups_status& ups);

// The five values "Defaults" shows for the record, in alarm order and each within its range; the
// voltages of a class 3 UPS follow local_nominal_voltage, the local UPS's nominal voltage.
threshold_values threshold_defaults(const ups_status& ups, uint16_t local_nominal_voltage);

// Brings each of the record's five threshold values into its range, as opening the dialog does.
void clamp_thresholds(ups_status& ups);

