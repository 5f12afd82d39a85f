// The testing interface over the native widgets: pictures read back from Qt's images, frame state
// and key presses sent as Qt events.
#include <wyn/testing.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <wyn/res.h>

#include "kernel/app_loop.h"
#include "kernel/controls.h"
#include "kernel/widgets.h"
#include "kernel/windows.h"
#include "portable/core_state.h"
#include "portable/res.h"
#include "portable/resdb.h"

namespace wyn::testing {
namespace {

Image image_of(const QImage& source) {
    if (source.isNull()) return {};
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    Image out;
    out.width = argb.width();
    out.height = argb.height();
    out.pixels.reserve(size_t(out.width) * size_t(out.height));
    // Rows are copied one by one: a scan line may be padded past the picture's width.
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(argb.constScanLine(y));
        out.pixels.insert(out.pixels.end(), row, row + out.width);
    }
    return out;
}

// The native top-level window holding win's own native window, or null.
QWidget* frame_of(WINDOW win) {
    QWidget* widget = core_win_alive(win) ? widget_of(win) : nullptr;
    return widget ? widget->window() : nullptr;
}

// True when the picture holds exactly width x height pixels: a hand-made one may not.
bool consistent(const Image& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() == size_t(image.width) * size_t(image.height);
}

uint32_t big_endian(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

} // namespace

uint32_t Image::at(int x, int y) const {
    if (!consistent(*this) || x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[size_t(y) * size_t(width) + size_t(x)];
}

Image Image::part(const RCT& rct) const {
    const int left = std::max<int>(rct.left, 0), top = std::max<int>(rct.top, 0);
    const int right = std::min<int>(rct.right, width), bottom = std::min<int>(rct.bottom, height);
    if (!consistent(*this) || left >= right || top >= bottom) return {};
    Image out;
    out.width = right - left;
    out.height = bottom - top;
    out.pixels.reserve(size_t(out.width) * size_t(out.height));
    for (int y = top; y < bottom; ++y) {
        const auto row = pixels.begin() + std::ptrdiff_t(size_t(y) * size_t(width));
        out.pixels.insert(out.pixels.end(), row + left, row + right);
    }
    return out;
}

Image window_image(WINDOW win) {
    if (!core_win_alive(win)) return {};
    WynSurface* surface = surface_of(win);
    return surface ? image_of(surface->backing()) : Image{};
}

Image frame_icon(WINDOW win, int size) {
    QWidget* frame = frame_of(win);
    if (!frame || size <= 0) return {};
    return image_of(frame->windowIcon().pixmap(size, size).toImage());
}

Image resource_icon(const char* name, int size) {
    const WYN_RES_ICON* icon = name ? wynv_res_find_icon(name, 0) : nullptr;
    if (!icon || !icon->xpm || icon->lines <= 0 || size <= 0) return {};
    return image_of(QPixmap(icon->xpm).scaled(size, size).toImage());
}

bool save_png(const Image& image, const char* path) {
    if (!consistent(image) || !path) return false;
    // The picture is borrowed, not copied: QImage reads the pixels in place while it saves.
    const QImage view(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                      image.height, qsizetype(image.width) * 4, QImage::Format_ARGB32);
    return view.save(QString::fromUtf8(path), "PNG");
}

bool frame_visible(WINDOW win) {
    QWidget* frame = frame_of(win);
    return frame && frame->isVisible();
}

bool frame_maximised(WINDOW win) {
    QWidget* frame = frame_of(win);
    return frame && frame->isMaximized();
}

bool show_frame(WINDOW win, FrameState state) {
    QWidget* frame = frame_of(win);
    if (!frame) return false;
    switch (state) {
    case FrameState::normal:
        frame->showNormal();
        break;
    case FrameState::minimised:
        frame->showMinimized();
        break;
    case FrameState::maximised:
        frame->showMaximized();
        break;
    }
    return true;
}

bool press_key(WINDOW win, char ch) {
    if (!core_win_alive(win) || ch < ' ' || ch > '~') return false;
    WynSurface* surface = surface_of(win);
    if (!surface) return false;
    // Qt names a printable key by its upper-case character.
    const int key = QChar(ch).toUpper().unicode();
    const QString text(QChar::fromLatin1(ch));
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(surface, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(surface, &up);
    return true;
}

TextFit text_fit(WINDOW ctl) {
    QWidget* widget = ctl_widget(ctl);
    if (!widget) return {};
    const QFontMetrics metrics = widget->fontMetrics();
    TextFit fit;
    fit.width = widget->width();
    fit.height = widget->height();
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
        const QRect room = label->contentsRect();
        const int flags = Qt::AlignLeft | Qt::AlignTop | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect used = metrics.boundingRect(QRect(0, 0, room.width(), INT_MAX / 2), flags,
                                                label->text());
        fit.width = room.width();
        fit.height = room.height();
        fit.needed_width = label->text().isEmpty() ? 0 : used.width();
        fit.needed_height = label->text().isEmpty() ? 0 : used.height();
    } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
        // The style's own measure: the mark, the gap and the text.
        fit.needed_width = widget->sizeHint().width();
        fit.needed_height = metrics.height();
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        const int margin = widget->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
        fit.needed_width = metrics.size(Qt::TextShowMnemonic, button->text()).width() + 2 * margin;
        fit.needed_height = metrics.height();
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        fit.needed_width = metrics.size(Qt::TextShowMnemonic, group->title()).width();
        fit.needed_height = metrics.height();
    } else {
        return {};
    }
    return fit;
}

std::vector<int32_t> resource_ids(uint16_t type) {
    std::vector<int32_t> ids;
    wyn::res::Database* db = wyn::res::database();
    uint8_t header[12];
    if (!db || db->read_at(0, header, sizeof header) != wyn::res::Status::ok) return ids;
    const uint32_t count = big_endian(header + 6, 2), index = big_endian(header + 8, 4);
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t entry[12];
        if (db->read_at(index + 12 * i, entry, sizeof entry) != wyn::res::Status::ok) break;
        if (big_endian(entry + 2, 2) == type) ids.push_back(int32_t(big_endian(entry, 2)));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool start_application(uint32_t flags, EVENT_HANDLER task_handler, WYN_APP_CONFIG* config) {
    return app_start(flags, task_handler, config);
}

WINDOW window_object(EVENT_HANDLER handler) {
    return windows_new_object(WK_TOP, WT_PLAIN, nullptr, 0, EM_ALL, handler, 0);
}

} // namespace wyn::testing
