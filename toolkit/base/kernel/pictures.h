// What other kernel modules (the clipboard, pixmaps) need of pictures: a picture's pixels as a Qt
// image, a new picture from one, and a Qt image drawn into a window.
#pragma once

#include <QImage>
#include <wyn/pict.h>

// The picture's pixels at its own size (a recording played back onto white), opaque 32-bit; a
// null image for an invalid picture.
QImage pict_to_qimage(PICTURE pict);
// A new bitmap picture of image's pixels (the caller destroys it); null for a null image, one
// larger than WYN_PICT_MAX_SIDE or without memory.
PICTURE pict_from_qimage(const QImage& image);

// Draws the src part of source (null: all of it) stretched into dst (null: at 0, 0 at its own
// size) on win by the drawing mode's bitmap operation; false when there is nothing to draw.
bool pict_draw_qimage(WINDOW win, const QImage& source, const RCT* dst, const RCT* src);
