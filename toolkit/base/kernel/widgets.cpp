// Qt's events on the toolkit's widgets become toolkit events: creation ordering, size, focus,
// paint over the backing image, close, mouse, keys and timers.
#include "kernel/widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <algorithm>

#include "kernel/kernel_state.h"
#include "kernel/keys.h"
#include "kernel/scrollbars.h"
#include "kernel/timers.h"
#include "portable/core_state.h"
#include <wyn/ctl.h>

namespace {

int16_t clamp16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

// The native hook is offered every event of a toolkit window first; 0 consumes it.
bool native_hook_consumes(WINDOW win, QEvent* e) {
    auto hook = reinterpret_cast<WYN_NATIVE_HOOK>(core_attr(ATTR_NATIVE_HOOK));
    if (!hook) return false;
    WYN_NATIVE_MSG msg{win, static_cast<int32_t>(e->type()), e};
    return hook(&msg) == 0;
}

// The key hook sees a key before it is translated; TRUE consumes it.
bool key_hook_consumes(WINDOW win, QKeyEvent* e, EVENT* translated) {
    auto hook = reinterpret_cast<WYN_KEY_HOOK>(core_attr(ATTR_KEY_HOOK));
    if (!hook) return false;
    if (core_attr(ATTR_KEY_HOOK_EVENT)) return translated && hook(win, translated);
    WYN_NATIVE_MSG msg{win, static_cast<int32_t>(e->type()), e};
    return hook(win, &msg);
}

bool minimised(const QWidget* w) {
    return w->window()->windowState() & Qt::WindowMinimized;
}

} // namespace

WynSurface::WynSurface(WINDOW win, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), win_(win) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The backing image is the whole picture: Qt must not clear or compose the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
    growBacking(QSize(1, 1));
}

void WynSurface::growBacking(QSize size) {
    const qreal ratio = devicePixelRatioF();
    const bool same_ratio = backing_.devicePixelRatio() == ratio;
    const QSize have = same_ratio ? backing_.size() : QSize(0, 0);
    const QSize want = have.expandedTo(size * ratio).expandedTo(
        backing_.deviceIndependentSize().toSize() * ratio);
    if (want == have) return;
    QImage grown(want, QImage::Format_RGB32);
    grown.setDevicePixelRatio(ratio);
    grown.fill(palette().color(QPalette::Base));
    if (!backing_.isNull()) {
        // Logical coordinates on both sides: a picture made at another ratio (the window moved to
        // another screen) is scaled over until it is drawn again.
        QPainter p(&grown);
        p.drawImage(QPointF(0, 0), backing_);
    }
    backing_ = std::move(grown);
}

QRect WynSurface::backingRect(const QRect& r) const {
    const qreal ratio = backing_.devicePixelRatio();
    return QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toAlignedRect();
}

void WynSurface::post(PrivateMsg msg, const EVENT& ev) {
    QCoreApplication::postEvent(this, new PrivateEvent(msg, ev));
}

void WynSurface::sendOrPost(PrivateMsg msg, EVENT& ev) {
    if (!win_) return;
    if (win_->creating)
        post(msg, ev);
    else
        wynk_win_dispatch_event(win_, &ev);
}

QSize WynSurface::clientSize() const {
    return (size() - sbar_room(this)).expandedTo(QSize(0, 0));
}

void WynSurface::reportSize() {
    if (!win_ || (win_->state & WS_DESTROYED) || minimised(this)) return;
    const QSize client = clientSize();
    win_->client = RCT{0, 0, clamp16(client.height()), clamp16(client.width())};
    EVENT ev{};
    ev.type = E_SIZE;
    ev.v.size.height = clamp16(client.height());
    ev.v.size.width = clamp16(client.width());
    sendOrPost(PM_SIZE, ev);
}

void WynSurface::reportClose() {
    if (!win_) return;
    EVENT ev{};
    ev.type = E_CLOSE;
    wynk_win_dispatch_event(win_, &ev);
}

bool WynSurface::event(QEvent* e) {
    if (win_ && native_hook_consumes(win_, e)) return true;
    if (e->type() == kPrivateEvent) {
        receivePrivate(static_cast<PrivateEvent*>(e));
        return true;
    }
    // Tab and Shift+Tab are keys of the window, not focus moves between widgets.
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(e);
}

void WynSurface::receivePrivate(PrivateEvent* e) {
    if (!win_) return;
    switch (e->msg()) {
    case PM_CREATE:
    case PM_SIZE:
    case PM_FOCUS_IN:
    case PM_FOCUS_OUT:
    case PM_CONTROL:
        wynk_win_dispatch_event(win_, &e->event());
        break;
    case PM_HELP_KEY:
        helpKey();
        break;
    case PM_INVALIDATE: {
        const RCT& r = e->event().v.update.rct;
        update(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
        break;
    }
    case PM_MOVE:
    case PM_BUSY_DONE:
        break;
    }
}

void WynSurface::helpKey() {
    if (win_->type != WT_MODAL_DLG && win_->type != WT_MODELESS_DLG) return;
    WINDOW focused = wynk_scr_get_focus_vobj();
    if (!core_win_alive(focused) || focused->top != win_->top) focused = win_;
    EVENT ev{};
    ev.type = E_HELP;
    ev.v.help.obj = focused;
    ev.v.help.tag = wynk_ctl_get_id(focused);
    wynk_win_dispatch_event(win_, &ev);
}

void WynSurface::paintEvent(QPaintEvent* e) {
    const QRect area = e->rect();
    KernelState& k = kcore();
    if (win_ && !(win_->state & WS_DESTROYED)) {
        EVENT ev{};
        ev.type = E_UPDATE;
        ev.v.update.rct = RCT{clamp16(area.top()), clamp16(area.left()), clamp16(area.bottom() + 1),
                              clamp16(area.right() + 1)};
        if (win_->creating || k.painting) {
            // Repainted once the window exists or the other paint is over.
            post(PM_INVALIDATE, ev);
        } else {
            k.painting = true;
            wynk_win_dispatch_event(win_, &ev);
            k.painting = false;
        }
    }
    QPainter p(this);
    p.drawImage(area, backing_, backingRect(area));
}

void WynSurface::resizeEvent(QResizeEvent* e) {
    growBacking(e->size());
    reportSize();
}

void WynSurface::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || !isWindow()) return;
    // Coming back from minimised is a size change for the application, as the system reported it.
    auto* change = static_cast<QWindowStateChangeEvent*>(e);
    if ((change->oldState() & Qt::WindowMinimized) && !minimised(this)) reportSize();
}

void WynSurface::sendFocus(bool active) {
    if (!win_) return;
    // Focus moving between the window and one of its own controls is not a change for it.
    QWidget* other = active ? kcore().last_focus_out.data() : QApplication::focusWidget();
    if (other && other != this && isAncestorOf(other)) return;
    EVENT ev{};
    ev.type = E_FOCUS;
    ev.v.focus.active = active ? TRUE : FALSE;
    if (win_->creating || core_attr(ATTR_DEFER_FOCUS))
        post(active ? PM_FOCUS_IN : PM_FOCUS_OUT, ev);
    else
        wynk_win_dispatch_event(win_, &ev);
}

void WynSurface::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    sendFocus(true);
}

void WynSurface::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    sendFocus(false);
}

void WynSurface::sendMouse(int type, QMouseEvent* e) {
    if (!win_) return;
    EVENT ev{};
    ev.type = type;
    const QPoint at = e->position().toPoint();
    ev.v.mouse.where = PNT{clamp16(at.y()), clamp16(at.x())};
    ev.v.mouse.shift = (e->modifiers() & Qt::ShiftModifier) ? TRUE : FALSE;
    ev.v.mouse.control = (e->modifiers() & Qt::ControlModifier) ? TRUE : FALSE;
    if (type != E_MOUSE_MOVE) {
        switch (e->button()) {
        case Qt::RightButton:
            ev.v.mouse.button = MB_RIGHT;
            break;
        case Qt::MiddleButton:
            ev.v.mouse.button = MB_MIDDLE;
            break;
        default:
            ev.v.mouse.button = MB_LEFT;
            break;
        }
    }
    KernelState& k = kcore();
    k.mouse_win = win_;
    k.mouse_event = ev;
    wynk_win_dispatch_event(win_, &ev);
}

void WynSurface::mousePressEvent(QMouseEvent* e) {
    if (win_) {
        setFocus(Qt::MouseFocusReason);
        window()->raise();
    }
    sendMouse(E_MOUSE_DOWN, e);
}

void WynSurface::mouseReleaseEvent(QMouseEvent* e) {
    sendMouse(E_MOUSE_UP, e);
}

void WynSurface::mouseDoubleClickEvent(QMouseEvent* e) {
    sendMouse(E_MOUSE_DBL, e);
}

void WynSurface::mouseMoveEvent(QMouseEvent* e) {
    sendMouse(E_MOUSE_MOVE, e);
}

void WynSurface::keyPressEvent(QKeyEvent* e) {
    if (!win_) return QWidget::keyPressEvent(e);
    // Keys with Alt belong to the window system (menus) unless the window asked for them.
    if ((e->modifiers() & Qt::AltModifier) && !win_->sys_keys) return QWidget::keyPressEvent(e);
    EVENT ev{};
    bool translated = translate_key(e->key(), e->modifiers(), e->text(), ev);
    if (key_hook_consumes(win_, e, translated ? &ev : nullptr)) return;
    if (!translated) return QWidget::keyPressEvent(e);
    WINDOW win = win_;
    for (int i = 0; i < std::max(1, e->count()) && win_ == win; ++i) {
        EVENT copy = ev;
        wynk_win_dispatch_event(win, &copy);
    }
}

void WynSurface::closeEvent(QCloseEvent* e) {
    e->ignore();
    reportClose();
}

void WynSurface::timerEvent(QTimerEvent* e) {
    if (!timers_native_tick(this, e->timerId())) QWidget::timerEvent(e);
}

WynTopWindow::WynTopWindow(WINDOW win, Qt::WindowFlags flags)
    : WynSurface(win, nullptr, flags | Qt::Window) {}

WynModalWindow::WynModalWindow(WINDOW win) : WynTopWindow(win, Qt::Dialog) {
    setWindowModality(Qt::ApplicationModal);
}

WynTaskWindow::WynTaskWindow(WINDOW win) : surface_(new WynSurface(win, this)) {
    setCentralWidget(surface_);
    setFocusProxy(surface_);
}

void WynTaskWindow::setWynMenuBar(QMenuBar* bar) {
    setMenuBar(bar);
}

void WynTaskWindow::setClientSize(QSize client) {
    int extra = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    resize(client.width(), client.height() + extra);
}

void WynTaskWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    surface_->reportClose();
}

void WynTaskWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    auto* change = static_cast<QWindowStateChangeEvent*>(e);
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
        surface_->reportSize();
}

bool WynUtility::event(QEvent* e) {
    if (e->type() == kQuitEvent) {
        core().quit_seen = true;
        return true;
    }
    return QObject::event(e);
}

WynSurface* surface_of(WINDOW win) {
    if (!win || !win->native) return nullptr;
    auto* widget = static_cast<QWidget*>(win->native);
    if (auto* task = dynamic_cast<WynTaskWindow*>(widget)) return task->surface();
    return dynamic_cast<WynSurface*>(widget);
}

QWidget* widget_of(WINDOW win) {
    return win ? static_cast<QWidget*>(win->native) : nullptr;
}
