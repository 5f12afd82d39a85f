// The nominal voltage of a UPS that cannot report its own: asked once, forgotten when not needed.
#pragma once

#include "model/ups_status.h"

#include <cstdint>

// Question asked for the nominal voltage; the buttons are "208" (default) and "240".
inline constexpr const char* VOLTAGE_QUESTION = "Please enter the voltage of your UPS:";

// What an ask function returns when, by the time the question was answered, it no longer applied
// (the application ended, or the record no longer wants a voltage).
inline constexpr int16_t VOLTAGE_QUESTION_WITHDRAWN = -1;

// True when the record has data, voltage class 3 and no nominal voltage: the question is due.
bool nominal_voltage_wanted(const ups_status& ups);

// Brings the nominal voltage of a record with data in line with its voltage class: class 3 without
// one asks (answer 0 gives 208, 1 gives 240, a closed question the default 208; a withdrawn
// question leaves the record untouched, since it may be gone); another class drops a stored one.
// True when the record changed and the configuration must be written.
bool check_nominal_voltage(ups_status& ups, int16_t (*ask)());
