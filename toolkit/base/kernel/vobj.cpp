// Operations every window object shares: title, visibility, enabling, placement, rectangles,
// point translation, flags, focus and the lists of windows.
#include "kernel/vobj.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cstring>
#include <vector>

#include "kernel/controls.h"
#include "kernel/mdi.h"
#include "kernel/scrollbars.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/ctl.h>

namespace {

int16_t clamp16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

RCT rct_of(const QRect& r) {
    return RCT{clamp16(r.top()), clamp16(r.left()), clamp16(r.top() + r.height()),
               clamp16(r.left() + r.width())};
}

QWidget* native_of(WINDOW win) {
    if (!core_win_alive(win)) return nullptr;
    // A document of the multiple-document mode is shown, placed and raised by its frame.
    if (QWidget* frame = mdi_frame(win)) return frame;
    return widget_of(win);
}

// The widget whose coordinates are win's client coordinates.
QWidget* client_of(WINDOW win) {
    if (!core_win_alive(win)) return nullptr;
    if (WynSurface* surface = surface_of(win)) return surface;
    return widget_of(win);
}

// The toolkit object a widget belongs to: a control, a window's surface or frame.
WINDOW object_of(QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (auto* rec = w->findChild<CtlRecord*>("wyn_ctl", Qt::FindDirectChildrenOnly))
            return core_win_alive(rec->win) ? rec->win : nullptr;
        if (WINDOW win = wynwi_hwnd_to_window(w)) return core_win_alive(win) ? win : nullptr;
    }
    return nullptr;
}

QString title_of(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        const QVariant icon = label->property("wyn_title");
        if (icon.isValid()) return icon.toString();
        return QString(label->text()).replace(u'~', QStringLiteral("~~"));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return QString::fromUtf8(ctl_toolkit_title(button->text()));
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return QString::fromUtf8(ctl_toolkit_title(group->title()));
    return widget->windowTitle();
}

std::vector<WINDOW> children_of(WINDOW win) {
    std::vector<WINDOW> out;
    for (WINDOW w : core().windows)
        if (w->parent == win && w != win && core_win_alive(w)) out.push_back(w);
    return out;
}

} // namespace

SLIST vobj_list_of(const std::vector<WINDOW>& wins) {
    SLIST list = wynv_slist_create();
    if (!list) return nullptr;
    char title[256];
    for (WINDOW w : wins) {
        wynk_vobj_get_title(w, title, sizeof title);
        if (!wynv_slist_add_at_pos(list, -1, title, reinterpret_cast<long>(w))) {
            wynv_slist_destroy(list);
            return nullptr;
        }
    }
    return list;
}

char* wynk_vobj_get_title(WINDOW win, char* buf, int32_t size) {
    QWidget* widget = native_of(win);
    if (!widget || !buf || size < 1) return nullptr;
    const QByteArray text = title_of(widget).toUtf8();
    qsizetype n = std::min<qsizetype>(text.size(), size - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(buf, text.constData(), static_cast<size_t>(n));
    buf[n] = '\0';
    return buf;
}

void wynk_vobj_set_title(WINDOW win, const char* title) {
    QWidget* widget = native_of(win);
    if (!widget) return;
    const char* text = title ? title : "";
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(QString::fromUtf8(text));
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable())
        combo->setEditText(QString::fromUtf8(text));
    else if (auto* label = qobject_cast<QLabel*>(widget); label && win->type == WT_TEXT)
        label->setText(ctl_native_title(text, true));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(ctl_native_title(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(ctl_native_title(text));
    else if (win->kind != WK_CONTROL)
        widget->setWindowTitle(QString::fromUtf8(text));
}

void wynk_vobj_set_visible(WINDOW win, BOOLEAN visible) {
    if (QWidget* widget = native_of(win)) widget->setVisible(visible != FALSE);
}

void wynk_vobj_set_enabled(WINDOW win, BOOLEAN enabled) {
    if (QWidget* widget = native_of(win)) widget->setEnabled(enabled != FALSE);
}

void wynk_vobj_move(WINDOW win, const RCT* rct) {
    QWidget* widget = native_of(win);
    if (!widget || !rct) return;
    // The rectangle is the client area: the window's own scroll bars lie outside it.
    const QRect r(QPoint(rct->left, rct->top),
                  QSize(std::max(0, rct->right - rct->left), std::max(0, rct->bottom - rct->top)) +
                      sbar_room(surface_of(win)));
    if (mdi_place(win, r, false, false)) return;
    if (auto* task = dynamic_cast<WynTaskWindow*>(widget)) {
        task->move(r.topLeft());
        task->setClientSize(r.size());
        return;
    }
    widget->setGeometry(r);
}

void wynk_vobj_raise(WINDOW win) {
    QWidget* widget = native_of(win);
    if (!widget) return;
    widget->raise();
    if (widget->isWindow()) widget->activateWindow();
}

RCT* wynk_vobj_get_client_rect(WINDOW win, RCT* rct) {
    QWidget* client = client_of(win);
    if (!rct) return nullptr;
    // A window's own scroll bars lie outside its client area.
    auto* surface = dynamic_cast<WynSurface*>(client);
    const QSize size = surface ? surface->clientSize() : client ? client->size() : QSize(0, 0);
    *rct = rct_of(QRect(QPoint(0, 0), size));
    return rct;
}

RCT* wynk_vobj_get_outer_rect(WINDOW win, RCT* rct) {
    QWidget* widget = native_of(win);
    if (!rct) return nullptr;
    if (!widget)
        *rct = RCT{0, 0, 0, 0};
    else
        *rct = rct_of(widget->isWindow() ? widget->frameGeometry() : widget->geometry());
    return rct;
}

void wynk_vobj_translate_points(WINDOW from, WINDOW to, PNT* points, int32_t count) {
    if (!points) return;
    QWidget* src = from ? client_of(from) : nullptr;
    QWidget* dst = to ? client_of(to) : nullptr;
    if ((from && !src) || (to && !dst)) return;
    for (int32_t i = 0; i < count; ++i) {
        QPoint p(points[i].h, points[i].v);
        if (src) p = src->mapToGlobal(p);
        if (dst) p = dst->mapFromGlobal(p);
        points[i] = PNT{clamp16(p.y()), clamp16(p.x())};
    }
}

uint32_t wynk_vobj_get_flags(WINDOW win) {
    QWidget* widget = native_of(win);
    if (!widget) return 0;
    uint32_t flags = win->flags;
    if (widget->isVisible()) flags |= VOBJ_FLAG_VISIBLE;
    if (widget->isEnabled()) flags |= VOBJ_FLAG_ENABLED;
    return flags;
}

BOOLEAN wynk_vobj_is_focusable(WINDOW win) {
    QWidget* widget = client_of(win);
    if (!widget) return FALSE;
    return widget->isVisible() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus
               ? TRUE
               : FALSE;
}

WINDOW wynk_scr_get_focus_vobj(void) {
    return object_of(QApplication::focusWidget());
}

WINDOW wynk_scr_get_vobj_at(PNT where) {
    return object_of(QApplication::widgetAt(QPoint(where.h, where.v)));
}

void wynk_scr_set_focus_vobj(WINDOW win) {
    QWidget* widget = client_of(win);
    if (!widget) return;
    if (widget->window() != QApplication::activeWindow()) widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

WINDOW wynv_scr_get_focus_topwin(void) {
    WINDOW win = object_of(QApplication::activeWindow());
    return win ? win->top : nullptr;
}

SLIST wynv_scr_list_wins(void) {
    return vobj_list_of(children_of(core().screen));
}

SLIST wynk_win_list_wins(WINDOW win) {
    if (!core_win_alive(win)) return nullptr;
    return vobj_list_of(children_of(win));
}

void wynv_win_enum_wins(WINDOW win, WYN_ENUM_FN fn, intptr_t data) {
    if (!fn || !core_win_alive(win)) return;
    for (WINDOW w : children_of(win))
        if (core_win_alive(w) && !fn(w, data)) return;
}
