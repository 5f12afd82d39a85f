// Pixmaps: window objects without a native window whose drawing goes into an off-screen image of
// their own, drawn into windows and read back as images.
#include <QImage>
#include <QPainter>
#include <memory>
#include <unordered_map>
#include <wyn/errmsg.h>
#include <wyn/pict.h>

#include "kernel/drawing.h"
#include "kernel/pictures.h"
#include "kernel/windows.h"
#include "portable/core_state.h"
#include "portable/static_block.h"

namespace {

constexpr char kUnit[] = "kpmap";
constexpr WYN_MSG_ID kIncorrectPixmapType = 0x1230002;
constexpr WYN_MSG_ID kBadSize = 0x1260001;
constexpr WYN_MSG_ID kCreatePixmap = 0x1520009;

struct Pixmap {
    int32_t type = PMAP_DISPLAY;
    QImage image;
    QPainter painter; // open on image for the pixmap's life: every drawing call goes through it
};

struct PmapState {
    std::unordered_map<WINDOW, std::unique_ptr<Pixmap>> all;
};

PmapState& state() {
    return *static_block<PmapState>();
}

Pixmap* pixmap_of(WINDOW pmap) {
    if (!core_win_alive(pmap) || pmap->kind != WK_PIXMAP) return nullptr;
    auto it = state().all.find(pmap);
    return it == state().all.end() ? nullptr : it->second.get();
}

// The pixmap's object is told of its destruction like any window; the image goes with it.
int32_t pixmap_handler(WINDOW win, EVENT* ev) {
    if (ev->type == E_DESTROY) {
        drawing_detach_painter(win);
        state().all.erase(win);
    }
    return 0;
}

bool dark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// What the pixmap shows: its image, or for a black-and-white one each pixel reduced to black or
// white.
QImage pixels_of(const Pixmap& pm) {
    if (pm.type != PMAP_MONO) return pm.image.copy();
    QImage out = pm.image.copy();
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) row[x] = dark(row[x]) ? 0xFF000000u : 0xFFFFFFFFu;
    }
    return out;
}

WINDOW refuse(WYN_MSG_ID id, int line) {
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, id, kUnit, line);
    return nullptr;
}

} // namespace

WINDOW wynk_pmap_create(WINDOW win, int32_t type, int width, int height) {
    if (!core_win_alive(win)) return refuse(WYN_MSG_INVALID_WINDOW, __LINE__);
    if (type != PMAP_DISPLAY && type != PMAP_MONO) return refuse(kIncorrectPixmapType, __LINE__);
    if (width < 1 || height < 1 || width > WYN_PICT_MAX_SIDE || height > WYN_PICT_MAX_SIDE)
        return refuse(kBadSize, __LINE__);
    auto pm = std::make_unique<Pixmap>();
    pm->type = type;
    pm->image = QImage(width, height, QImage::Format_RGB32);
    if (pm->image.isNull()) return refuse(kCreatePixmap, __LINE__);
    pm->image.fill(Qt::white);
    if (!pm->painter.begin(&pm->image)) return refuse(kCreatePixmap, __LINE__);
    WINDOW obj = windows_new_object(WK_PIXMAP, WT_PIXMAP, win, 0, EM_ALL, pixmap_handler, 0);
    drawing_attach_painter(obj, &pm->painter);
    state().all.emplace(obj, std::move(pm));
    return obj;
}

BOOLEAN wynk_pmap_is_valid(WINDOW pmap) {
    return pixmap_of(pmap) ? TRUE : FALSE;
}

BOOLEAN wynk_dwin_draw_pmap(WINDOW win, WINDOW pmap, const RCT* dst, const RCT* src) {
    const Pixmap* pm = pixmap_of(pmap);
    return pm && pict_draw_qimage(win, pixels_of(*pm), dst, src) ? TRUE : FALSE;
}

IMAGE wynk_image_get_from_pmap(WINDOW pmap) {
    const Pixmap* pm = pixmap_of(pmap);
    if (!pm) return nullptr;
    const QImage& src = pm->image;
    const bool mono = pm->type == PMAP_MONO;
    IMAGE image =
        wynv_image_create(mono ? WYN_IMAGE_MONO : WYN_IMAGE_DIRECT, src.width(), src.height());
    if (!image) return nullptr;
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uint8_t* out = wynv_image_get_scanline(image, y);
        for (int x = 0; x < src.width(); ++x) {
            if (mono) {
                // Entry 1 of a new black-and-white image is white, entry 0 black.
                if (!dark(in[x])) out[x / 8] |= uint8_t(0x80u >> (x % 8));
                continue;
            }
            out[x * 4] = uint8_t(qBlue(in[x]));
            out[x * 4 + 1] = uint8_t(qGreen(in[x]));
            out[x * 4 + 2] = uint8_t(qRed(in[x]));
            out[x * 4 + 3] = 0;
        }
    }
    return image;
}
