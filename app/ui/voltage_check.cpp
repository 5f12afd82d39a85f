// The voltage question of UPS models whose voltage class is 3.
#include "ui/voltage_check.h"

#include "ui/fixed_text.h"

bool nominal_voltage_wanted(const ups_status& ups) {
    return ups.valid && ups.voltage_class == 3 && ups.nominal_voltage == 0;
}

bool check_nominal_voltage(ups_status& ups, int16_t (*ask)()) {
    // Until the UPS has answered, its class is unknown and must not cost a stored voltage.
    if (!ups.valid) return false;
    if (ups.voltage_class != 3) {
        if (ups.nominal_voltage == 0) return false;
        ups.nominal_voltage = 0;
        copy_text(ups.ups_voltage_text, "Default");
        return true;
    }
    if (ups.nominal_voltage != 0) return false;
    const int16_t answer = ask();
    if (answer == VOLTAGE_QUESTION_WITHDRAWN) return false;
    // A closed question takes the default button, so the user is not asked again at every poll.
    const bool high = answer == 1;
    ups.nominal_voltage = high ? 240 : 208;
    copy_text(ups.ups_voltage_text, high ? "240" : "208");
    return true;
}
