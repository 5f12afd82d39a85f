// The task window's picture for runs without a screen, composed from the windows' backing images
// so that taking it never makes the application repaint.
#include "kernel/snapshot.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <cstdlib>

#include "portable/static_block.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"

namespace {

constexpr int kPeriodMs = 1000;

struct SnapshotState {
    QString path;
    QPointer<QTimer> timer; // owned by the Qt application, which may be gone first
    SnapshotState() = default;
    SnapshotState(const SnapshotState&) = delete;
    SnapshotState& operator=(const SnapshotState&) = delete;
    ~SnapshotState() { delete timer.data(); }
};

SnapshotState* state() {
    return static_block<SnapshotState>();
}

QPoint offset_in(const QWidget* widget, const QWidget* frame) {
    return widget == frame ? QPoint(0, 0) : widget->mapTo(frame, QPoint(0, 0));
}

// The surfaces show their backing images; the controls on them paint themselves.
void paint_surface(QPainter& p, WynSurface* surface, const QWidget* frame) {
    // Dialogs belong to the frame but are windows of their own, left out of its picture.
    if (surface->window() != frame || (surface != frame && !surface->isVisibleTo(frame))) return;
    const QPoint at = offset_in(surface, frame);
    const QRect area(QPoint(0, 0), surface->size());
    p.drawImage(QRect(at, area.size()), surface->backing(), surface->backingRect(area));
    for (QWidget* child : surface->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (dynamic_cast<WynSurface*>(child) || !child->isVisibleTo(frame)) continue;
        child->render(&p, offset_in(child, frame), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
}

// At the screen's pixel ratio, as sharp as the windows themselves.
QImage compose(QWidget* frame) {
    const qreal ratio = frame->devicePixelRatioF();
    QImage image(frame->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(frame->palette().color(QPalette::Window));
    QPainter p(&image);
    if (auto* main = qobject_cast<QMainWindow*>(frame); main && main->menuWidget())
        main->menuWidget()->render(&p, offset_in(main->menuWidget(), frame));
    if (auto* own = dynamic_cast<WynSurface*>(frame)) paint_surface(p, own, frame);
    // Parents come before their children in this list, so inner windows are painted on top.
    for (QWidget* child : frame->findChildren<QWidget*>())
        if (auto* surface = dynamic_cast<WynSurface*>(child)) paint_surface(p, surface, frame);
    return image;
}

} // namespace

void snapshot_start() {
    SnapshotState* st = state();
    const char* path = std::getenv("WYN_SNAPSHOT");
    if (!st || !path || !*path || !QCoreApplication::instance()) return;
    st->path = QString::fromLocal8Bit(path);
    if (st->timer) return;
    st->timer = new QTimer(QCoreApplication::instance());
    QObject::connect(st->timer, &QTimer::timeout, [] { snapshot_take(); });
    st->timer->start(kPeriodMs);
}

bool snapshot_take() {
    SnapshotState* st = state();
    if (!st || st->path.isEmpty()) return false;
    WINDOW task = core().task;
    QWidget* frame = core_win_alive(task) ? widget_of(task) : nullptr;
    if (!frame || frame->size().isEmpty()) return false;
    const QImage image = compose(frame);
    QSaveFile file(st->path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}
