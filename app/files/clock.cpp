// Local time that never fails.
#include "files/clock.h"

struct tm app_localtime(time_t t) {
    struct tm out {};
    if (!localtime_r(&t, &out)) {
        time_t zero = 0;
        localtime_r(&zero, &out);
    }
    return out;
}
