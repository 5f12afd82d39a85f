// The frame services of windows: icon, minimised and maximised states, the user's attention, the
// platform's focus, and the dialog font's base units.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QWindow>
#include <algorithm>

#include "kernel/controls.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/errmsg.h>
#include <wyn/res.h>
#include <wyn/shell.h>

namespace {

constexpr char kReportUnit[] = "kshell";

// The native top-level window that holds win, or null.
QWidget* frame_of(WINDOW win) {
    if (!core_win_alive(win)) return nullptr;
    QWidget* widget = widget_of(win);
    // A document window without a native window of its own lives in the task window's.
    if (!widget && win->type == WT_DOC && core_win_alive(core().task))
        widget = widget_of(core().task);
    return widget ? widget->window() : nullptr;
}

// Qt ends an attention request only by a timer or by activation; the timer's own slot ends it now.
void clear_attention(QWidget* frame) {
    QWindow* handle = frame->windowHandle();
    if (!handle) return;
    const QMetaObject* meta = handle->metaObject();
    if (meta->indexOfMethod("_q_clearAlert()") >= 0)
        QMetaObject::invokeMethod(handle, "_q_clearAlert", Qt::DirectConnection);
}

} // namespace

BOOLEAN wynk_win_set_icon(WINDOW win, const char* name) {
    QWidget* frame = frame_of(win);
    if (!frame) return FALSE;
    const WYN_RES_ICON* icon = name ? wynv_res_find_icon(name, 0) : nullptr;
    const QPixmap picture = icon && icon->xpm && icon->lines > 0 ? QPixmap(icon->xpm) : QPixmap();
    if (picture.isNull()) {
        wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, WYN_MSG_FIND_RESOURCE, kReportUnit, __LINE__);
        return FALSE;
    }
    frame->setWindowIcon(QIcon(picture));
    // Repainted whole, over what it shows, as a frame whose icon changed.
    frame->update();
    return TRUE;
}

BOOLEAN wynk_win_is_minimized(WINDOW win) {
    QWidget* frame = frame_of(win);
    return frame && frame->isMinimized() ? TRUE : FALSE;
}

BOOLEAN wynk_win_flash(WINDOW win, BOOLEAN invert) {
    QWidget* frame = frame_of(win);
    if (!frame) return FALSE;
    const bool was_active = frame->isActiveWindow();
    if (invert)
        QApplication::alert(frame, 0);
    else
        clear_attention(frame);
    return was_active ? TRUE : FALSE;
}

BOOLEAN wynk_win_maximize(WINDOW win) {
    QWidget* frame = frame_of(win);
    if (!frame) return FALSE;
    frame->showMaximized();
    return TRUE;
}

BOOLEAN wynk_win_focus_native(WINDOW win) {
    QWidget* frame = frame_of(win);
    if (!frame) return FALSE;
    if (frame->isMinimized()) frame->showNormal();
    frame->raise();
    frame->activateWindow();
    return TRUE;
}

void wynk_scr_get_dialog_units(int32_t* width, int32_t* height) {
    const QSize units = ctl_dialog_base_units();
    if (width) *width = units.width();
    if (height) *height = units.height();
}
