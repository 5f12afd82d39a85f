// The configuration file norva.cfg, the threshold file norva.tsh and the alarm-kind file tlog.log.
#pragma once

#include "model/ups_status.h"

#include <string>
#include <vector>

inline constexpr const char* CONFIG_FILE = "norva.cfg";
inline constexpr const char* THRESHOLD_FILE = "norva.tsh";
inline constexpr const char* ALARM_KIND_FILE = "tlog.log";

// What went wrong while loading the settings files: one sentence each, ready to be shown.
using settings_problems = std::vector<std::string>;

// Reads norva.cfg from the current directory into the record and the settings; 0, or 2 when there is
// no file to read (the defaults are then filled in from `now` and nothing is written). Every
// setting the file does not give (its line is missing, empty or unreadable) takes its default,
// the one it has when the file is missing. An incomplete or damaged file, and a norva.cfg that
// exists but cannot be read or is not a regular file (refused, result 2), add a sentence to
// problems when given; a missing file is no problem.
int load_configuration(ups_status& ups, app_settings& app, time_t now,
                       settings_problems* problems = nullptr);

// Rewrites norva.cfg in full through a temporary file; 0, or 2 with errno telling why when it
// cannot be written (the old file is then left as it was).
int save_configuration(const ups_status& ups, const app_settings& app);

// The sentence that tells the user a save of norva.cfg failed, from the errno it failed with.
std::string configuration_save_failure(int error);

// The same, short enough for the message panel.
inline constexpr const char* CONFIGURATION_SAVE_FAILED = "Cannot save the configuration norva.cfg!";

// Reads the five thresholds, writing the defaults when the file is missing; returns 0. A failed
// write of the defaults adds a sentence to problems when given.
int load_thresholds(ups_status& ups, settings_problems* problems = nullptr);
// Writes the five thresholds; 0, or 2 with errno telling why when the file cannot be written.
int save_thresholds(const ups_status& ups);

// Reads the five alarm kinds and the alarm-file setting, writing the defaults when missing; 0.
// A failed write of the defaults adds a sentence to problems when given.
int load_alarm_kinds(ups_status& ups, settings_problems* problems = nullptr);
// Writes the five alarm kinds and the alarm-file setting; 0, or 2 with errno telling why when it
// cannot be written.
int save_alarm_kinds(const ups_status& ups);
