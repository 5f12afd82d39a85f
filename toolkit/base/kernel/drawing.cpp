// The drawing operations: every window that can draw keeps its tools in a holder object beside its
// surface, and each operation opens a painter on the surface's backing image, applies the tools
// and shows the pixels it changed without asking the application to repaint them.
#include "kernel/drawing.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QRegion>
#include <QtMath>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <wyn/res.h>

#include "kernel/fonts.h"
#include "kernel/kernel_state.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "portable/font_object.h"
#include "portable/static_block.h"

namespace {

constexpr const char* kHolderName = "wyn_draw";

class DrawHolder;

// Which surface's E_UPDATE is being delivered and the area it repaints; the windows that draw
// through a painter of someone else's.
struct PaintWatch {
    const void* holder = nullptr;
    QRegion area;
    std::unordered_map<WINDOW, std::unique_ptr<DrawHolder>> attached;
};

PaintWatch& watch();

// Lives as a child of a surface, so the tools and font go with the native window. It also sees
// the surface's paints first: a paint that only shows pixels drawn outside an E_UPDATE is
// answered from the image alone, any other goes on to become an E_UPDATE. A window without a
// surface draws through a painter it was given instead.
class DrawHolder : public QObject {
  public:
    explicit DrawHolder(WynSurface* surface) : QObject(surface), surface_(surface) {
        setObjectName(QLatin1String(kHolderName));
        init();
        surface->installEventFilter(this);
    }
    explicit DrawHolder(QPainter* painter) : external_(painter) { init(); }
    ~DrawHolder() override { wynv_font_destroy(state.font); }
    DrawHolder(const DrawHolder&) = delete;
    DrawHolder& operator=(const DrawHolder&) = delete;

    WynSurface* surface() const { return surface_; }
    QPainter* external() const { return external_; }
    // A painter the window's drawing goes to for now (a recording), or null.
    QPainter* redirect = nullptr;

    // Pixels of area changed outside an E_UPDATE: have them shown.
    void show(const QRect& area) {
        if (!surface_ || !surface_->isVisible() || in_update()) return;
        present_ += area;
        surface_->update(area);
    }
    // Pixels of area changed outside an E_UPDATE: have them shown before anything else is
    // painted, so that no later invalidation merges with them.
    void show_now(const QRect& area) {
        if (!surface_ || !surface_->isVisible() || in_update()) return;
        present_ += area;
        surface_->repaint(area);
    }
    // The area was invalidated for the application to repaint.
    void invalidated(const QRect& area) { present_ -= area; }
    bool in_update() const { return kcore().painting && watch().holder == this; }

    DrawState state;

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (!surface_ || obj != surface_ || e->type() != QEvent::Paint) return false;
        const QRegion region = static_cast<QPaintEvent*>(e)->region();
        const bool only_shown = region.subtracted(present_).isEmpty();
        present_ -= region;
        if (!only_shown || !surface_->wynWindow()) {
            if (!kcore().painting) {
                watch().holder = this;
                watch().area = region;
            }
            return false;
        }
        QPainter p(surface_);
        for (const QRect& r : region) p.drawImage(r, surface_->backing(), surface_->backingRect(r));
        return true;
    }

  private:
    void init() {
        wynv_app_get_default_ctools(&state.tools);
        state.font = wynv_font_create();
    }

    WynSurface* surface_ = nullptr;
    QPainter* external_ = nullptr;
    QRegion present_;
};

PaintWatch& watch() {
    return *static_block<PaintWatch>();
}

DrawHolder* holder_of(WINDOW win, bool make) {
    if (!core_win_alive(win)) return nullptr;
    WynSurface* surface = surface_of(win);
    if (!surface) {
        auto it = watch().attached.find(win);
        return it == watch().attached.end() ? nullptr : it->second.get();
    }
    auto* found =
        surface->findChild<QObject*>(QLatin1String(kHolderName), Qt::FindDirectChildrenOnly);
    if (found) return static_cast<DrawHolder*>(found);
    return make ? new DrawHolder(surface) : nullptr;
}

QRect to_qrect(const RCT& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QRect normalized(const RCT& r) {
    return QRect(QPoint(std::min(r.left, r.right), std::min(r.top, r.bottom)),
                 QPoint(std::max(r.left, r.right) - 1, std::max(r.top, r.bottom) - 1));
}

QPoint to_qpoint(const PNT& p) {
    return QPoint(p.h, p.v);
}

QPen pen_for(const DRAW_CPEN& pen) {
    if (pen.pat == PAT_HOLLOW) return QPen(Qt::NoPen);
    const int width = pen.width <= 0 ? 1 : pen.width;
    QPen out(drawing_color(pen.color), width, Qt::SolidLine,
             width == 1 ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
    const bool rubber = pen.pat == PAT_RUBBER;
    const bool dashed = pen.style == PS_DASHED_LINE;
    if (rubber || pen.style == PS_DOTTED_LINE || dashed) {
        // The native pens' rhythm, in pen widths: dots of 3 on 3 off, dashes of 18 on 6 off.
        out.setDashPattern(dashed ? QList<qreal>{18, 6} : QList<qreal>{3, 3});
    }
    return out;
}

QBrush brush_for(const DRAW_CBRUSH& brush) {
    const QColor c = drawing_color(brush.color);
    switch (brush.pat) {
    case PAT_HOLLOW:
        return QBrush(Qt::NoBrush);
    case PAT_HORZ:
        return QBrush(c, Qt::HorPattern);
    case PAT_VERT:
        return QBrush(c, Qt::VerPattern);
    case PAT_BDIAG:
        return QBrush(c, Qt::BDiagPattern);
    case PAT_FDIAG:
        return QBrush(c, Qt::FDiagPattern);
    case PAT_CROSS:
        return QBrush(c, Qt::CrossPattern);
    case PAT_DIAG_CROSS:
        return QBrush(c, Qt::DiagCrossPattern);
    default:
        return QBrush(c);
    }
}

// One drawing operation on a window: a painter on its backing image with the clip and mode set.
class Canvas {
  public:
    explicit Canvas(WINDOW win) : win_(win), holder_(holder_of(win, true)) {
        if (!holder_) return;
        if ((p_ = holder_->redirect) || (p_ = holder_->external())) {
            p_->save();
        } else {
            surface_ = holder_->surface();
            // The image must cover the client area even before the first size event has arrived.
            surface_->growBacking(surface_->size());
            painter_.begin(&surface_->backing());
            p_ = &painter_;
        }
        const RCT& clip = holder_->state.clip;
        p_->setClipRect(clip.right > clip.left && clip.bottom > clip.top ? to_qrect(clip)
                                                                         : QRect());
        p_->setCompositionMode(drawing_composition(tools().mode));
    }
    ~Canvas() {
        if (!holder_) return;
        if (p_ != &painter_) {
            p_->restore();
            return;
        }
        painter_.end();
        if (!touched_.isEmpty()) holder_->show(touched_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    explicit operator bool() const { return holder_ != nullptr; }
    QPainter& p() { return *p_; }
    // The resolution fonts are mapped for.
    int dpi() const { return drawing_dpi(win_); }
    DrawState& state() { return holder_->state; }
    const DRAW_CTOOLS& tools() { return holder_->state.tools; }

    // Outlines: the pen alone; gaps of dotted and dashed lines stay transparent.
    bool usePen() {
        p_->setBackgroundMode(Qt::TransparentMode);
        p_->setBrush(Qt::NoBrush);
        p_->setPen(pen_for(tools().pen));
        align(true);
        return tools().pen.pat != PAT_HOLLOW;
    }
    // Insides: the brush alone; hatch gaps take the background colour.
    bool useBrush() {
        p_->setPen(Qt::NoPen);
        p_->setBrush(brush_for(tools().brush));
        p_->setBackgroundMode(Qt::OpaqueMode);
        p_->setBackground(drawing_color(tools().back_color));
        align(false);
        return tools().brush.pat != PAT_HOLLOW;
    }
    // Records the pixels an operation may have changed (grown by the pen's reach).
    void touched(const QRect& r) {
        const int reach = std::max<int>(1, tools().pen.width) + 1;
        touched_ |= r.normalized().adjusted(-reach, -reach, reach, reach);
    }

  private:
    // An odd-width outline covers the pixels right of and below its line; on a scaled image the
    // same line would straddle them and miss the fill's edge by a device pixel, so outlines move
    // back onto the pixels they cover unscaled.
    void align(bool pen) {
        if (!surface_) return;
        p_->resetTransform();
        const int width = tools().pen.width <= 0 ? 1 : tools().pen.width;
        if (pen && (width & 1) && surface_->backing().devicePixelRatio() != 1)
            p_->translate(0.5, 0.5);
    }

    WINDOW win_;
    DrawHolder* holder_;
    WynSurface* surface_ = nullptr;
    QPainter painter_;
    QPainter* p_ = nullptr;
    QRect touched_;
};

// Fill, then outline, of a shape given as a function of the painter.
template <typename Shape> void fill_and_outline(Canvas& c, const QRect& bounds, Shape shape) {
    if (c.useBrush()) shape(c.p());
    if (c.usePen()) shape(c.p());
    c.touched(bounds);
}

// The angle in 1/16 degree of the radial from the centre of r through p, counter-clockwise from
// three o'clock.
int radial_angle(const QRectF& r, const PNT& p) {
    const QPointF c = r.center();
    return qRound(qRadiansToDegrees(std::atan2(c.y() - p.v, p.h - c.x())) * 16);
}

template <typename Draw>
void draw_arc_like(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop, bool filled,
                   Draw draw) {
    Canvas c(win);
    if (!c || !rct || !start || !stop) return;
    const QRect r = normalized(*rct);
    if (r.width() < 2 || r.height() < 2) return;
    const QRectF box(r.left(), r.top(), r.width() - 1, r.height() - 1);
    const int from = radial_angle(box, *start);
    int span = radial_angle(box, *stop) - from;
    while (span <= 0) span += 360 * 16;
    if (filled && c.useBrush()) draw(c.p(), box, from, span);
    if (c.usePen()) draw(c.p(), box, from, span);
    c.touched(r);
}

QString text_of(const char* text, int len) {
    const size_t n = len < 0 ? std::strlen(text) : strnlen(text, size_t(len));
    return QString::fromUtf8(text, qsizetype(n));
}

int64_t isqrt(int64_t v) {
    if (v <= 0) return 0;
    int64_t r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
    while (r * r > v) --r;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
}

// Rounds a 1/16-pixel coordinate to the nearest pixel (halves up, negative values too).
int round16(int64_t v) {
    return static_cast<int>((v + 8) >> 4);
}

void draw_arrow(Canvas& c, QPoint tip, QPoint from) {
    const std::optional<ArrowHead> head = drawing_arrow_head(tip, from, c.tools().pen.width);
    if (!head || c.tools().pen.pat == PAT_HOLLOW) return;
    const QPoint corners[3] = {head->tip, head->left, head->right};
    c.usePen();
    c.p().setBrush(drawing_color(c.tools().pen.color));
    c.p().drawPolygon(corners, 3);
    c.touched(QPolygon({head->tip, head->left, head->right}).boundingRect());
}

} // namespace

int drawing_dpi(WINDOW win) {
    DrawHolder* holder = holder_of(win, false);
    QPainter* painter = holder ? holder->external() : nullptr;
    if (painter && painter->device()) return painter->device()->logicalDpiY();
    return fonts_device_dpi(win);
}

void drawing_attach_painter(WINDOW win, QPainter* painter) {
    if (!core_win_alive(win) || !painter || surface_of(win)) return;
    watch().attached[win] = std::make_unique<DrawHolder>(painter);
}

void drawing_detach_painter(WINDOW win) {
    watch().attached.erase(win);
}

void drawing_redirect(WINDOW win, QPainter* painter) {
    if (DrawHolder* holder = holder_of(win, true)) holder->redirect = painter;
}

bool drawing_paint(WINDOW win, const QRect& bounds, const std::function<void(QPainter&)>& paint) {
    Canvas c(win);
    if (!c) return false;
    paint(c.p());
    c.touched(bounds);
    return true;
}

DrawState* drawing_state(WINDOW win) {
    DrawHolder* holder = holder_of(win, true);
    return holder ? &holder->state : nullptr;
}

FONT drawing_window_font(WINDOW win) {
    DrawState* st = drawing_state(win);
    return st ? st->font : nullptr;
}

QColor drawing_color(COLOR c) {
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

QPainter::CompositionMode drawing_composition(uint32_t mode) {
    switch (mode) {
    case M_AND:
        return QPainter::RasterOp_SourceAndDestination;
    case M_NOT_XOR:
        return QPainter::RasterOp_NotSourceXorDestination;
    case M_NOT_OR:
        return QPainter::RasterOp_NotSourceOrDestination;
    case M_NOT_COPY:
        return QPainter::RasterOp_NotSource;
    case M_NOT_AND:
        return QPainter::RasterOp_NotSourceAndDestination;
    case M_XOR:
        return QPainter::RasterOp_SourceXorDestination;
    case M_OR:
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

std::optional<ArrowHead> drawing_arrow_head(QPoint tip, QPoint from, int pen_width) {
    const int64_t w = pen_width <= 0 ? 1 : pen_width;
    int64_t dx = tip.x() - from.x();
    int64_t dy = tip.y() - from.y();
    if (dx == 0 && dy == 0) return std::nullopt;
    // Small enough that the squares below stay exact.
    while (dx > 1000 || dx < -1000 || dy > 1000 || dy < -1000) {
        dx /= 2;
        dy /= 2;
    }
    const int64_t len = isqrt(dx * dx + dy * dy);
    if (len == 0) return std::nullopt;
    const int64_t ux = dx * 16 / len;
    const int64_t uy = dy * 16 / len;
    const int64_t base_x = int64_t(tip.x()) * 16 - ux * (w + 1) * 4;
    const int64_t base_y = int64_t(tip.y()) * 16 - uy * (w + 1) * 4;
    const int64_t side_x = -uy * 27 * (w + 1) / 16;
    const int64_t side_y = ux * 27 * (w + 1) / 16;
    return ArrowHead{tip, QPoint(round16(base_x + side_x), round16(base_y + side_y)),
                     QPoint(round16(base_x - side_x), round16(base_y - side_y))};
}

DRAW_CTOOLS* wynv_app_get_default_ctools(DRAW_CTOOLS* ct) {
    if (!ct) return nullptr;
    *ct = DRAW_CTOOLS{};
    ct->pen = DRAW_CPEN{1, PAT_SOLID, PS_SOLID_LINE, COLOR_BLACK};
    ct->brush = DRAW_CBRUSH{PAT_SOLID, COLOR_WHITE};
    ct->mode = M_COPY;
    ct->fore_color = COLOR_BLACK;
    ct->back_color = COLOR_WHITE;
    ct->opaque_text = FALSE;
    return ct;
}

DRAW_CTOOLS* wynk_dwin_get_draw_ctools(WINDOW win, DRAW_CTOOLS* ct) {
    DrawState* st = drawing_state(win);
    if (!st || !ct) return nullptr;
    *ct = st->tools;
    return ct;
}

void wynk_dwin_set_draw_ctools(WINDOW win, const DRAW_CTOOLS* ct) {
    if (DrawState* st = drawing_state(win); st && ct) st->tools = *ct;
}

void wynk_dwin_set_cpen(WINDOW win, const DRAW_CPEN* pen) {
    if (DrawState* st = drawing_state(win); st && pen) st->tools.pen = *pen;
}

void wynk_dwin_set_cbrush(WINDOW win, const DRAW_CBRUSH* brush) {
    if (DrawState* st = drawing_state(win); st && brush) st->tools.brush = *brush;
}

void wynk_dwin_set_draw_mode(WINDOW win, uint32_t mode) {
    if (DrawState* st = drawing_state(win)) st->tools.mode = mode;
}

void wynk_dwin_set_fore_color(WINDOW win, COLOR color) {
    if (DrawState* st = drawing_state(win)) st->tools.fore_color = color;
}

void wynk_dwin_set_back_color(WINDOW win, COLOR color) {
    if (DrawState* st = drawing_state(win)) st->tools.back_color = color;
}

void wynv_dwin_set_std_cpen(WINDOW win, int32_t id) {
    DRAW_CPEN pen{1, PAT_SOLID, PS_SOLID_LINE, COLOR_BLACK};
    if (id == STD_PEN_HOLLOW) pen.pat = PAT_HOLLOW;
    if (id == STD_PEN_RUBBER) pen.pat = PAT_RUBBER;
    if (id == STD_PEN_WHITE) pen.color = COLOR_WHITE;
    wynk_dwin_set_cpen(win, &pen);
}

void wynv_dwin_set_std_cbrush(WINDOW win, int32_t id) {
    const DRAW_CBRUSH brush{PAT_SOLID, id == STD_BRUSH_BLACK ? COLOR_BLACK : COLOR_WHITE};
    wynk_dwin_set_cbrush(win, &brush);
}

void wynk_dwin_set_clip(WINDOW win, const RCT* rct) {
    if (DrawState* st = drawing_state(win)) st->clip = rct ? *rct : RCT{0, 0, 25000, 25000};
}

RCT* wynk_dwin_get_clip(WINDOW win, RCT* rct) {
    DrawState* st = drawing_state(win);
    if (!st || !rct) return nullptr;
    *rct = st->clip;
    return rct;
}

void wynk_dwin_draw_rect(WINDOW win, const RCT* rct) {
    Canvas c(win);
    if (!c || !rct) return;
    const QRect r = normalized(*rct);
    if (r.isEmpty()) return;
    const DRAW_CTOOLS& t = c.tools();
    c.touched(r);
    if (t.pen.pat == PAT_HOLLOW) {
        if (t.brush.pat == PAT_SOLID && t.brush.color == COLOR_BLACK && t.mode == M_NOT_XOR) {
            c.p().setCompositionMode(QPainter::RasterOp_NotDestination);
            c.p().fillRect(r, Qt::black);
        } else if (c.useBrush()) {
            c.p().drawRect(r);
        }
        return;
    }
    // The inside stops where the outline begins, so modes that combine with the destination
    // touch every pixel once.
    const int width = t.pen.width <= 0 ? 1 : t.pen.width;
    const int inset = (width + 1) / 2;
    const QRect inside = r.adjusted(inset, inset, -inset, -inset);
    if (inside.isValid() && c.useBrush()) c.p().drawRect(inside);
    if (c.usePen()) {
        if (width == 1 && (r.width() == 1 || r.height() == 1))
            c.p().fillRect(r, c.p().pen().color());
        else
            c.p().drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void wynk_dwin_draw_roundrect(WINDOW win, const RCT* rct, int oval_width, int oval_height) {
    Canvas c(win);
    if (!c || !rct) return;
    const QRect r = normalized(*rct);
    if (r.isEmpty()) return;
    const QRectF box(r.left(), r.top(), r.width() - 1, r.height() - 1);
    fill_and_outline(c, r, [&](QPainter& p) {
        p.drawRoundedRect(box, oval_width / 2.0, oval_height / 2.0, Qt::AbsoluteSize);
    });
}

void wynk_dwin_draw_oval(WINDOW win, const RCT* rct) {
    Canvas c(win);
    if (!c || !rct) return;
    const QRect r = normalized(*rct);
    if (r.isEmpty()) return;
    const QRectF box(r.left(), r.top(), r.width() - 1, r.height() - 1);
    fill_and_outline(c, r, [&](QPainter& p) { p.drawEllipse(box); });
}

void wynk_dwin_draw_arc(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop) {
    draw_arc_like(
        win, rct, start, stop, false,
        [](QPainter& p, const QRectF& box, int from, int span) { p.drawArc(box, from, span); });
}

void wynk_dwin_draw_pie(WINDOW win, const RCT* rct, const PNT* start, const PNT* stop) {
    draw_arc_like(
        win, rct, start, stop, true,
        [](QPainter& p, const QRectF& box, int from, int span) { p.drawPie(box, from, span); });
}

void wynk_dwin_draw_polygon(WINDOW win, const PNT* points, int count) {
    Canvas c(win);
    if (!c || !points || count < 2) return;
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << to_qpoint(points[i]);
    fill_and_outline(c, poly.boundingRect(),
                     [&](QPainter& p) { p.drawPolygon(poly, Qt::OddEvenFill); });
}

void wynk_dwin_draw_polyline(WINDOW win, const PNT* points, int count) {
    Canvas c(win);
    if (!c || !points || count < 2 || !c.usePen()) return;
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << to_qpoint(points[i]);
    c.p().drawPolyline(poly);
    c.touched(poly.boundingRect());
}

void wynk_dwin_draw_set_pos(WINDOW win, const PNT* pos) {
    if (DrawState* st = drawing_state(win); st && pos) st->pos = *pos;
}

PNT* wynk_dwin_get_pos(WINDOW win, PNT* pos) {
    DrawState* st = drawing_state(win);
    if (!st || !pos) return nullptr;
    *pos = st->pos;
    return pos;
}

void wynk_dwin_draw_aline(WINDOW win, const PNT* pos, BOOLEAN arrow_start, BOOLEAN arrow_end) {
    Canvas c(win);
    if (!c || !pos) return;
    const QPoint from = to_qpoint(c.state().pos);
    const QPoint to = to_qpoint(*pos);
    c.state().pos = *pos;
    if (c.usePen()) {
        c.p().drawLine(from, to);
        c.touched(QRect(from, to));
    }
    if (arrow_start) draw_arrow(c, from, to);
    if (arrow_end) draw_arrow(c, to, from);
}

void wynk_dwin_draw_line(WINDOW win, const PNT* pos) {
    wynk_dwin_draw_aline(win, pos, FALSE, FALSE);
}

void wynk_dwin_draw_text(WINDOW win, int x, int y, const char* text, int len) {
    Canvas c(win);
    if (!c || !text) return;
    std::shared_ptr<const NativeFont> font = fonts_map(c.state().font, c.dpi());
    if (!font) return;
    const DRAW_CTOOLS& t = c.tools();
    QPainter& p = c.p();
    p.setFont(font->font);
    p.setPen(drawing_color(t.fore_color));
    p.setBackgroundMode(t.opaque_text ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(drawing_color(t.back_color));
    // Modes that combine with the destination need whole pixels, not blended edges.
    if (t.mode != M_COPY) p.setRenderHint(QPainter::TextAntialiasing, false);
    const QString s = text_of(text, len);
    if (font->escapement != 0) {
        p.translate(x, y);
        p.rotate(-font->escapement / 10.0);
        p.drawText(QPoint(0, 0), s);
        c.touched(QRect(0, 0, 32767, 32767));
        return;
    }
    p.drawText(QPoint(x, y), s);
    const int width = QFontMetrics(font->font).horizontalAdvance(s);
    c.touched(QRect(x, y - font->ascent, width + 1, font->ascent + font->descent + 1));
}

int wynk_dwin_get_text_width(WINDOW win, const char* text, int len) {
    DrawState* st = drawing_state(win);
    if (!st || !text) return 0;
    std::shared_ptr<const NativeFont> font = fonts_map(st->font, drawing_dpi(win));
    return font ? QFontMetrics(font->font).horizontalAdvance(text_of(text, len)) : 0;
}

BOOLEAN wynk_dwin_draw_icon(WINDOW win, int x, int y, int32_t icon_id) {
    const WYN_RES_ICON* icon = wynv_res_find_icon(nullptr, icon_id);
    if (!icon || !icon->xpm) return FALSE;
    const QImage image(icon->xpm);
    Canvas c(win);
    if (!c || image.isNull()) return FALSE;
    c.p().drawImage(x, y, image);
    c.touched(QRect(QPoint(x, y), image.size()));
    return TRUE;
}

void wynv_dwin_clear(WINDOW win, COLOR color) {
    DrawState* st = drawing_state(win);
    if (!st) return;
    const DRAW_CTOOLS saved = st->tools;
    st->tools.brush = DRAW_CBRUSH{PAT_SOLID, color};
    st->tools.pen.pat = PAT_HOLLOW;
    st->tools.mode = M_COPY;
    DrawHolder* holder = holder_of(win, false);
    const QSize size = holder->surface() ? holder->surface()->size()
                                         : QSize(holder->external()->device()->width(),
                                                 holder->external()->device()->height());
    RCT client{0, 0, int16_t(std::min(size.height(), 32767)),
               int16_t(std::min(size.width(), 32767))};
    wynk_dwin_draw_rect(win, &client);
    st->tools = saved;
}

void wynk_dwin_invalidate_rect(WINDOW win, const RCT* rct) {
    DrawHolder* holder = holder_of(win, true);
    WynSurface* surface = holder ? holder->surface() : nullptr;
    if (!surface) return;
    const QRect area = rct ? normalized(*rct) : surface->rect();
    holder->invalidated(area);
    surface->update(area);
}

BOOLEAN wynk_dwin_is_update_needed(WINDOW win, const RCT* rct) {
    DrawHolder* holder = holder_of(win, false);
    if (!holder || !rct || !holder->in_update()) return TRUE;
    return watch().area.intersects(normalized(*rct)) ? TRUE : FALSE;
}

void wynk_dwin_update(WINDOW win) {
    if (!core_win_alive(win)) return;
    WynSurface* surface = surface_of(win);
    if (!surface) return;
    QCoreApplication::sendPostedEvents(surface, kPrivateEvent);
    QCoreApplication::sendPostedEvents(surface->window(), QEvent::UpdateRequest);
}

void wynk_dwin_scroll_rect(WINDOW win, const RCT* rct, int dh, int dv) {
    DrawHolder* holder = holder_of(win, true);
    WynSurface* surface = holder ? holder->surface() : nullptr;
    if (!surface || !rct) return;
    const QRect area = normalized(*rct) & surface->rect();
    if (area.isEmpty() || (dh == 0 && dv == 0)) return;
    QImage& image = surface->backing();
    const QRect source = area.translated(-dh, -dv) & area;
    if (!source.isEmpty()) {
        QImage moved = image.copy(surface->backingRect(source));
        moved.setDevicePixelRatio(image.devicePixelRatio());
        QPainter p(&image);
        p.drawImage(QPointF(source.topLeft() + QPoint(dh, dv)), moved);
    }
    const QRect kept = source.translated(dh, dv);
    const QRegion uncovered = QRegion(area).subtracted(kept);
    if (!kept.isEmpty()) holder->show_now(kept);
    for (const QRect& r : uncovered) {
        holder->invalidated(r);
        surface->update(r);
    }
}
