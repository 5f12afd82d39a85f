// Pictures: bitmaps and recorded drawings held as the bytes a lock hands out, the recording of a
// window's drawing, and the drawing of pictures and images into windows by the drawing mode.
#include "kernel/pictures.h"

#include <QBuffer>
#include <QPicture>
#include <cstring>
#include <memory>
#include <res/ids.h>
#include <unordered_map>
#include <wyn/dm.h>
#include <wyn/errmsg.h>
#include <wyn/res.h>

#include "kernel/drawing.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "portable/image_internal.h"
#include "portable/static_block.h"

struct wyn_pict {
    bool recorded = false; // a recording, else a bitmap
    QSize size;
    QByteArray bytes; // what a lock hands out: a bitmap file, or the recording's own form
    int locks = 0;
    // The forms drawn from, made again from the bytes after they may have been changed.
    bool decoded = false;
    QImage image;
    QPicture picture;
};

namespace {

constexpr char kUnit[] = "kpict";
constexpr WYN_MSG_ID kCreatePicture = 0x1520008;
// A bitmap file larger than this is refused unread: far beyond any picture the toolkit shows.
constexpr uint32_t kMaxFileBytes = 64u << 20;
// The most pixels one playback of a recording may take.
constexpr qint64 kMaxPlaybackPixels = qint64(64) << 20;

// A recording in progress on a window.
struct Recording {
    QRect area; // in the window's coordinates
    QPicture picture;
    QPainter painter;
};

struct PictState {
    std::unordered_map<PICTURE, std::unique_ptr<wyn_pict>> live;
    std::unordered_map<WINDOW, std::unique_ptr<Recording>> recordings;
};

PictState& state() {
    return *static_block<PictState>();
}

// The live picture behind a handle, never dereferencing a stale one.
wyn_pict* live(PICTURE pict) {
    auto& all = state().live;
    auto it = pict ? all.find(pict) : all.end();
    return it == all.end() ? nullptr : it->second.get();
}

PICTURE adopt(std::unique_ptr<wyn_pict> p) {
    PICTURE handle = p.get();
    state().live.emplace(handle, std::move(p));
    return handle;
}

bool fits(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= WYN_PICT_MAX_SIDE &&
           size.height() <= WYN_PICT_MAX_SIDE;
}

QByteArray bitmap_file(const QImage& image) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "BMP") ? out : QByteArray();
}

QImage opaque(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

void decode(wyn_pict& p) {
    if (p.decoded) return;
    p.decoded = true;
    if (p.recorded) {
        p.picture.setData(p.bytes.constData(), uint(p.bytes.size()));
        return;
    }
    // A bitmap changed through a lock into something unreadable, or to another size, draws
    // nothing rather than pixels the picture does not have.
    const QImage image = QImage::fromData(p.bytes, "BMP");
    p.image = image.size() == p.size ? opaque(image) : QImage();
}

QRect to_qrect(const RCT& r) {
    return QRect(QPoint(std::min(r.left, r.right), std::min(r.top, r.bottom)),
                 QPoint(std::max(r.left, r.right) - 1, std::max(r.top, r.bottom) - 1));
}

// Plays the recording back scaled from its own size to target, for the part visible of it,
// on white at pixel ratio ratio.
QImage play(const wyn_pict& p, const QRect& target, const QRect& visible, qreal ratio) {
    QImage out((QSizeF(visible.size()) * ratio).toSize(), QImage::Format_RGB32);
    if (out.isNull()) return out;
    out.setDevicePixelRatio(ratio);
    out.fill(Qt::white);
    QPainter q(&out);
    q.translate(target.topLeft() - visible.topLeft());
    q.scale(qreal(target.width()) / p.size.width(), qreal(target.height()) / p.size.height());
    q.setClipRect(QRect(QPoint(0, 0), p.size));
    q.drawPicture(0, 0, p.picture);
    return out;
}

// The part of the painter's coordinates that can show anything: its clip, within its device.
QRect reachable(QPainter& painter) {
    QRect area = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect()
                                       : QRect(-32768, -32768, 65536, 65536);
    QPaintDevice* device = painter.device();
    if (device && device->devType() == QInternal::Image) {
        const QSizeF size = static_cast<QImage*>(device)->deviceIndependentSize();
        area &= painter.transform().inverted().mapRect(QRectF(QPointF(0, 0), size)).toAlignedRect();
    }
    for (const auto& [win, rec] : state().recordings)
        if (device == &rec->picture) area &= rec->area;
    return area;
}

} // namespace

QImage pict_to_qimage(PICTURE pict) {
    wyn_pict* p = live(pict);
    if (!p) return QImage();
    decode(*p);
    if (!p->recorded) return p->image;
    const QRect all(QPoint(0, 0), p->size);
    return play(*p, all, all, 1.0);
}

PICTURE pict_from_qimage(const QImage& image) {
    if (image.isNull() || !fits(image.size())) return nullptr;
    auto p = std::make_unique<wyn_pict>();
    p->size = image.size();
    p->image = opaque(image);
    p->bytes = bitmap_file(p->image);
    if (p->image.isNull() || p->bytes.isEmpty()) return nullptr;
    p->decoded = true;
    return adopt(std::move(p));
}

bool pict_draw_qimage(WINDOW win, const QImage& source, const RCT* dst, const RCT* src) {
    if (source.isNull()) return false;
    const QRect from = (src ? to_qrect(*src) : source.rect()) & source.rect();
    const QRect target = dst ? to_qrect(*dst) : QRect(QPoint(0, 0), from.size());
    if (from.isEmpty() || target.isEmpty()) return false;
    return drawing_paint(win, target,
                         [&](QPainter& p) { p.drawImage(QRectF(target), source, QRectF(from)); });
}

PICTURE wynk_pict_create(const void* data, uint32_t size) {
    PICTURE made = nullptr;
    if (data && size > 0 && size <= kMaxFileBytes) {
        const QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
        made = pict_from_qimage(QImage::fromData(bytes, "BMP"));
    }
    if (!made) wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, kCreatePicture, kUnit, __LINE__);
    return made;
}

void wynk_pict_destroy(PICTURE pict) {
    wyn_pict* p = live(pict);
    if (!p) return;
    if (p->locks > 0) {
        // Someone still reads or writes its bytes: freeing them now would pull them away.
        char text[256];
        if (!wynv_res_get_str(WYN_STR_PICTURE_LOCKED, text, sizeof text))
            std::strcpy(text, "Picture still locked.");
        wynv_dm_post_error("%s", text);
        return;
    }
    state().live.erase(pict);
}

BOOLEAN wynk_pict_is_valid(PICTURE pict) {
    return live(pict) ? TRUE : FALSE;
}

void* wynk_pict_lock(PICTURE pict, uint32_t* size) {
    wyn_pict* p = live(pict);
    if (!p) return nullptr;
    ++p->locks;
    if (size) *size = uint32_t(p->bytes.size());
    return p->bytes.data();
}

BOOLEAN wynk_pict_unlock(PICTURE pict) {
    wyn_pict* p = live(pict);
    if (!p || p->locks == 0) return FALSE;
    if (--p->locks == 0) p->decoded = false;
    return TRUE;
}

BOOLEAN wynk_pict_get_size(PICTURE pict, int16_t* width, int16_t* height) {
    wyn_pict* p = live(pict);
    if (!p) return FALSE;
    if (width) *width = int16_t(p->size.width());
    if (height) *height = int16_t(p->size.height());
    return TRUE;
}

BOOLEAN wynk_dwin_open_pict(WINDOW win, const RCT* rct) {
    // Recordings left open on windows that have gone since are dropped, so that a window made
    // later at the same address starts clean.
    std::erase_if(state().recordings, [](const auto& r) { return !core_win_alive(r.first); });
    if (!rct || !drawing_state(win) || state().recordings.count(win)) return FALSE;
    const QRect area = to_qrect(*rct);
    if (!fits(area.size())) return FALSE;
    auto rec = std::make_unique<Recording>();
    if (!rec->painter.begin(&rec->picture)) return FALSE;
    WynSurface* surface = surface_of(win);
    rec->painter.fillRect(QRect(QPoint(0, 0), area.size()),
                          surface ? surface->palette().color(QPalette::Base) : QColor(Qt::white));
    rec->painter.translate(-area.topLeft());
    rec->area = area;
    drawing_redirect(win, &rec->painter);
    state().recordings.emplace(win, std::move(rec));
    return TRUE;
}

PICTURE wynk_dwin_close_pict(WINDOW win) {
    auto node = state().recordings.extract(win);
    if (node.empty()) return nullptr;
    Recording& rec = *node.mapped();
    // The window may have gone meanwhile; its drawing state went with it.
    if (core_win_alive(win)) drawing_redirect(win, nullptr);
    rec.painter.end();
    rec.picture.setBoundingRect(QRect(QPoint(0, 0), rec.area.size()));
    auto p = std::make_unique<wyn_pict>();
    p->recorded = true;
    p->size = rec.area.size();
    p->bytes = QByteArray(rec.picture.data(), qsizetype(rec.picture.size()));
    return adopt(std::move(p));
}

BOOLEAN wynk_dwin_draw_pict(WINDOW win, PICTURE pict, const RCT* dst) {
    wyn_pict* p = live(pict);
    if (!p) return FALSE;
    decode(*p);
    if (!p->recorded) return pict_draw_qimage(win, p->image, dst, nullptr) ? TRUE : FALSE;
    const QRect target = dst ? to_qrect(*dst) : QRect(QPoint(0, 0), p->size);
    if (target.isEmpty()) return FALSE;
    // The recording is played onto a bitmap first, so that the drawing mode combines the whole
    // picture with the window as one bitmap, as it does for images.
    return drawing_paint(win, target,
                         [&](QPainter& painter) {
                             const QRect visible = target & reachable(painter);
                             const qreal ratio =
                                 painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
                             if (visible.isEmpty() ||
                                 qint64(visible.width()) * visible.height() * ratio * ratio >
                                     kMaxPlaybackPixels)
                                 return;
                             const QImage part = play(*p, target, visible, ratio);
                             if (!part.isNull()) painter.drawImage(visible.topLeft(), part);
                         })
               ? TRUE
               : FALSE;
}

BOOLEAN wynk_dwin_draw_image(WINDOW win, IMAGE image, const RCT* dst, const RCT* src) {
    if (!wynv_image_is_valid(image)) return FALSE;
    const wyn_image& im = *image;
    QImage view;
    switch (im.format) {
    case WYN_IMAGE_INDEXED:
    case WYN_IMAGE_MONO: {
        view = QImage(im.pixels, im.width, im.height, im.stride,
                      im.format == WYN_IMAGE_MONO ? QImage::Format_Mono : QImage::Format_Indexed8);
        // Pixels may name entries beyond those in use or never set: they show as their value.
        QList<QRgb> table(im.format == WYN_IMAGE_MONO ? 2 : WYN_IMAGE_CLUT_SIZE);
        for (qsizetype i = 0; i < table.size(); ++i)
            table[i] = 0xFF000000u | (im.clut[i] & 0xFFFFFFu);
        view.setColorTable(table);
        break;
    }
    case WYN_IMAGE_DIRECT:
        // Blue, green, red and a zero byte: opaque 32-bit pixels once the top byte is set.
        view = QImage(im.pixels, im.width, im.height, im.stride, QImage::Format_RGB32).copy();
        for (int y = 0; y < view.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(view.scanLine(y));
            for (int x = 0; x < view.width(); ++x) row[x] |= 0xFF000000u;
        }
        break;
    default:
        return FALSE;
    }
    return pict_draw_qimage(win, opaque(view), dst, src) ? TRUE : FALSE;
}
