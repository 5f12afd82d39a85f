// The configuration file norva.cfg, the threshold file norva.tsh and the alarm-kind file tlog.log.
#pragma once

#include "engine/app_state.h"

inline constexpr const char* CONFIG_FILE = "norva.cfg";
inline constexpr const char* THRESHOLD_FILE = "norva.tsh";
inline constexpr const char* ALARM_KIND_FILE = "tlog.log";

// Reads norva.cfg from the current directory into the record and the state; 0, or 2 when missing
// (the defaults are then filled in from `now` and nothing is written).
int load_configuration(ups_status& ups, app_state& app, time_t now);

// Rewrites norva.cfg in full through a temporary file; 0, or 2 when it cannot be written (the old
// file is then left as it was).
int save_configuration(const ups_status& ups, const app_state& app);

// Reads the five thresholds, writing the defaults when the file is missing; returns 0.
int load_thresholds(ups_status& ups);
// Writes the five thresholds; 0, or 2 when the file cannot be written.
int save_thresholds(const ups_status& ups);

// Reads the five alarm kinds and the alarm-file setting, writing the defaults when missing; 0.
int load_alarm_kinds(ups_status& ups);
// Writes the five alarm kinds and the alarm-file setting; 0, or 2 when it cannot be written.
int save_alarm_kinds(const ups_status& ups);
