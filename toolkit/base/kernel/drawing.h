// Drawing in windows over QPainter: each drawable window's tools, clip, current position and font,
// the painting of every operation into the window's backing image, and the arrowhead geometry.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <functional>
#include <optional>
#include <wyn/dwin.h>
#include <wyn/font.h>

// What a window draws with.
struct DrawState {
    DRAW_CTOOLS tools{};
    RCT clip{0, 0, 25000, 25000};
    PNT pos{0, 0};
    FONT font = nullptr; // the window's own copy
};

// The drawing state of win, made on first use; null when win is no live window with a drawable
// area.
DrawState* drawing_state(WINDOW win);

// Lets win, a window without a drawable area of its own (a print window), draw through painter
// until drawing_detach_painter; fonts are then mapped for the painter's device. The tools and
// font the window had are dropped on detaching.
void drawing_attach_painter(WINDOW win, QPainter* painter);
void drawing_detach_painter(WINDOW win);

// Sends win's drawing to painter instead of its own surface or painter until called again with
// null; the window keeps its tools and font, mapped for its own device.
void drawing_redirect(WINDOW win, QPainter* painter);

// Runs paint with a painter on whatever win draws on, its clip and drawing mode set as for any
// drawing operation, and shows the pixels of bounds afterwards; false when win cannot draw.
bool drawing_paint(WINDOW win, const QRect& bounds, const std::function<void(QPainter&)>& paint);

// The resolution win's fonts are mapped for: its painter's device, else the display.
int drawing_dpi(WINDOW win);

// The window's current font, or null when it cannot draw.
FONT drawing_window_font(WINDOW win);

// The native colour of c (the standard-colour byte ignored).
QColor drawing_color(COLOR c);

// The composition of drawing mode (0 to 7; others copy).
QPainter::CompositionMode drawing_composition(uint32_t mode);

// The corners of an arrowhead with its tip at tip on the line coming from `from`, for a pen of
// width pen_width (1 when 0): (w + 1) * 4 pixels long and 27 * (w + 1) / 16 pixels wide on each
// side, computed in 1/16-pixel fixed point. Null when the line has no length.
struct ArrowHead {
    QPoint tip, left, right;
};
std::optional<ArrowHead> drawing_arrow_head(QPoint tip, QPoint from, int pen_width);
