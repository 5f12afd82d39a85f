// Cursors, the busy hourglass, hiding the pointer, and the pointer trap that captures the mouse
// for a window and repeats its last mouse event every 50 ms.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include "kernel/kernel_state.h"
#include "portable/static_block.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/ctl.h>
#include <wyn/res.h>

namespace {

constexpr int kTrapPeriod = 50;
constexpr char kCursorProperty[] = "wyn_cursor";

struct CursorState {
    bool busy = false;
    bool hidden = false;
    QPointer<QWidget> trap_widget;
    QPointer<QTimer> trap_timer;
};

CursorState* state() {
    return static_block<CursorState>();
}

bool cursor_for(int32_t number, QCursor& out) {
    struct Standard {
        int32_t number;
        Qt::CursorShape shape;
    };
    static constexpr Standard standard[] = {{CURSOR_ARROW, Qt::ArrowCursor},
                                            {CURSOR_IBEAM, Qt::IBeamCursor},
                                            {CURSOR_CROSS, Qt::CrossCursor},
                                            {CURSOR_WAIT, Qt::WaitCursor},
                                            {CURSOR_HELP, Qt::WhatsThisCursor}};
    for (const Standard& s : standard) {
        if (s.number != number) continue;
        out = QCursor(s.shape);
        return true;
    }
    const WYN_RES_ICON* icon = wynv_res_find_icon(nullptr, number);
    if (!icon || !icon->xpm || icon->lines == 0) return false;
    const QPixmap picture(icon->xpm);
    if (picture.isNull()) return false;
    out = QCursor(picture);
    return true;
}

// Puts the pointer back when it next moves.
class ShowOnMove : public QObject {
  public:
    ShowOnMove() { qApp->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseMove) return false;
        if (CursorState* st = state(); st && st->hidden) {
            st->hidden = false;
            QApplication::restoreOverrideCursor();
        }
        deleteLater();
        return false;
    }
};

// The widget that takes the mouse for win: a document window without a native window of its own
// uses the task window's.
QWidget* trap_target(WINDOW win) {
    if (WynSurface* surface = surface_of(win)) return surface;
    if (win->type == WT_DOC) return surface_of(core().task);
    return nullptr;
}

void repeat_last_mouse(WINDOW win) {
    if (!core_win_alive(win)) return;
    EVENT ev = kcore().mouse_event;
    ev.type = E_MOUSE_MOVE;
    ev.v.mouse.button = 0;
    wynk_win_dispatch_event(win, &ev);
}

} // namespace

void wynk_win_set_cursor(WINDOW win, int32_t cursor) {
    QWidget* widget = core_win_alive(win) ? surface_of(win) : nullptr;
    QCursor shape;
    if (!widget || !cursor_for(cursor, shape)) return;
    widget->setProperty(kCursorProperty, cursor);
    widget->setCursor(shape);
}

int32_t wynk_win_get_cursor(WINDOW win) {
    QWidget* widget = core_win_alive(win) ? surface_of(win) : nullptr;
    return widget ? widget->property(kCursorProperty).toInt() : CURSOR_ARROW;
}

void wynk_scr_set_busy_cursor(void) {
    CursorState* st = state();
    if (!st || st->busy || !kcore().utility) return;
    st->busy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Queued behind the events already waiting, so the work they start runs under the hourglass.
    QMetaObject::invokeMethod(
        kcore().utility,
        [] {
            CursorState* now = state();
            if (!now || !now->busy) return;
            now->busy = false;
            QApplication::restoreOverrideCursor();
        },
        Qt::QueuedConnection);
}

void wynk_scr_hide_cursor(void) {
    CursorState* st = state();
    if (!st || st->hidden) return;
    st->hidden = true;
    QApplication::setOverrideCursor(Qt::BlankCursor);
    new ShowOnMove();
}

void wynk_win_trap_pointer(WINDOW win) {
    CursorState* st = state();
    if (!st || !core_win_alive(win)) return;
    QWidget* target = trap_target(win);
    if (!target) return;
    wynk_win_release_pointer();
    st->trap_widget = target;
    target->grabMouse();
    auto* timer = new QTimer(target);
    timer->setInterval(kTrapPeriod);
    QObject::connect(timer, &QTimer::timeout, target, [win] { repeat_last_mouse(win); });
    timer->start();
    st->trap_timer = timer;
}

void wynk_win_release_pointer(void) {
    CursorState* st = state();
    if (!st) return;
    if (st->trap_widget) st->trap_widget->releaseMouse();
    delete st->trap_timer.data();
    st->trap_widget = nullptr;
}
