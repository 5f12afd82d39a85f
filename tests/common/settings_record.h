// What the configuration file fills, as the tests, benchmarks and fuzz targets hold it.
#pragma once

#include "model/ups_status.h"

// The local UPS record and the application's settings, the two halves load_configuration fills
// and save_configuration writes; value-initialised, so every field starts at zero.
struct settings_record {
    ups_status local{};
    app_settings settings{};
};
