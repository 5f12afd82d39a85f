// What the screen and the style tell the attribute store: colours, sizes and resolutions.
#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <cmath>

#include "kernel/app_loop.h"
#include "portable/attr.h"
#include "portable/core_state.h"

namespace {

QRect screen_rect() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 640, 480);
}

// Character height in pixels of a font of the given point size on this screen.
ATTR_VALUE points_to_pixels(int points) {
    QScreen* screen = QGuiApplication::primaryScreen();
    double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return static_cast<ATTR_VALUE>(std::lround(points * dpi / 72.0));
}

} // namespace

ATTR_VALUE native_back_color() {
    QColor c = QApplication::palette().color(QPalette::Base);
    return static_cast<ATTR_VALUE>((c.red() << 16) | (c.green() << 8) | c.blue());
}

ATTR_VALUE native_screen_height() {
    return screen_rect().height();
}

ATTR_VALUE native_screen_width() {
    return screen_rect().width();
}

void screen_set_initial_attrs() {
    QScreen* screen = QGuiApplication::primaryScreen();
    for (ATTR_ID id : {200, 201, 202}) core_set_attr(id, points_to_pixels(12));
    for (ATTR_ID id : {205, 206}) core_set_attr(id, points_to_pixels(9));
    core_set_attr(ATTR_SCREEN_RES_H, screen ? std::lround(screen->logicalDotsPerInchX()) : 96);
    core_set_attr(ATTR_SCREEN_RES_V, screen ? std::lround(screen->logicalDotsPerInchY()) : 96);
    core_set_attr(ATTR_HAS_COLOR, !screen || screen->depth() >= 3 ? 1 : 0);
    QStyle* style = QApplication::style();
    int icon = style->pixelMetric(QStyle::PM_LargeIconSize);
    int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    core_set_attr(ATTR_ICON_WIDTH, icon + 2 * frame);
    core_set_attr(ATTR_ICON_HEIGHT, icon + 2 * frame);
}
