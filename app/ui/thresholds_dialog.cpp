// The alarm thresholds dialog's value bars, their ranges by voltage class and unit, and its defaults.
#include "ui/thresholds_dialog.h"

bool run_thresholds_dialog() {
    return false;
}
