// What other kernel modules (the clipboard) need of pictures: a picture's pixels as a Qt image
// and a new picture from one.
#pragma once

#include <QImage>
#include <wyn/pict.h>

// The picture's pixels at its own size (a recording played back onto white), opaque 32-bit; a
// null image for an invalid picture.
QImage pict_to_qimage(PICTURE pict);
// A new bitmap picture of image's pixels (the caller destroys it); null for a null image, one
// larger than WYN_PICT_MAX_SIDE or without memory.
PICTURE pict_from_qimage(const QImage& image);
