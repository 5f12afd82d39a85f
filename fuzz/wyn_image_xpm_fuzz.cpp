// Feeds arbitrary bytes to the X pixmap reader: it must refuse or read them without touching
// memory it does not own, and what it reads must survive a bitmap round trip.
#include "wyn_image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    image_fuzz::run(wynv_image_read_xpm, data, size);
    return 0;
}
