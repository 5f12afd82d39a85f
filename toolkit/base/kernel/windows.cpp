// Window objects over Qt widgets: kinds, creation with its event ordering, destruction
// children-first, and the lookup from a native widget to its object.
#include "kernel/windows.h"

#include <QApplication>
#include <algorithm>

#include "kernel/kernel_state.h"
#include "kernel/keys.h"
#include "kernel/mdi.h"
#include "kernel/menus.h"
#include "kernel/scrollbars.h"
#include "kernel/timers.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "portable/cxo.h"

namespace {

// A coordinate asking for the window system's default position or size.
constexpr int16_t kDefaultCoord = -32767;

bool is_task_kind(uint32_t kind) {
    return kind == WK_TASK || kind == WK_DRAW_TASK || kind == WK_MDI_TASK || kind == WK_TASK_OBJECT;
}

bool is_top_kind(uint32_t kind) {
    return (kind & WK_TOP_LEVEL) || kind == WK_MDI_TASK;
}

QWidget* make_widget(WINDOW win) {
    switch (win->kind) {
    case WK_TASK:
    case WK_DRAW_TASK:
    case WK_MDI_TASK:
        return new WynTaskWindow(win);
    case WK_MODAL:
        return new WynModalWindow(win);
    case WK_TOP:
        return new WynTopWindow(win, win->type == WT_NO_BORDER ? Qt::FramelessWindowHint
                                                               : Qt::WindowFlags{});
    case WK_TASK_CHILD:
        return new WynTaskChild(win, surface_of(win->parent));
    case WK_MDI_DOC:
        if (QWidget* doc = mdi_make_document(win)) return doc;
        return new WynChildWindow(win, surface_of(win->parent));
    default:
        return new WynChildWindow(win, surface_of(win->parent));
    }
}

// The first child window of the task window may be asked to fill it.
RCT fill_task_rect(WINDOW parent, const RCT& rct) {
    if (!core_attr(ATTR_FILL_TASK) || parent != core().task) return rct;
    for (WINDOW w : core().windows)
        if (w->parent == parent && w->kind == WK_TASK_CHILD && core_win_alive(w)) return rct;
    return parent->client;
}

// The rectangle is the client area: the window's own scroll bars are added around it.
void place(WINDOW win, QWidget* widget, const RCT& rct) {
    const QSize size = QSize(std::max(0, rct.right - rct.left), std::max(0, rct.bottom - rct.top)) +
                       sbar_room(surface_of(win));
    if (mdi_place(win, QRect(QPoint(rct.left, rct.top), size), rct.left == kDefaultCoord,
                  rct.right == kDefaultCoord))
        return;
    if (!is_top_kind(win->kind)) {
        const QSize parent_size = widget->parentWidget() ? widget->parentWidget()->size() : size;
        widget->setGeometry(
            QRect(QPoint(rct.left, rct.top), rct.right == kDefaultCoord ? parent_size : size));
        return;
    }
    if (rct.left != kDefaultCoord) widget->move(rct.left, rct.top);
    if (rct.right == kDefaultCoord) return;
    if (auto* task = dynamic_cast<WynTaskWindow*>(widget))
        task->setClientSize(size);
    else
        widget->resize(size);
}

void show(WINDOW win, QWidget* widget, WynSurface* surface) {
    if (mdi_show(win) || (win->flags & WSF_INVISIBLE)) return;
    windows_show_by_flags(widget, win->flags);
    if (win->flags & WSF_NO_ACTIVATE) return;
    surface->setFocus(Qt::OtherFocusReason);
    widget->raise();
    if (widget->isWindow()) widget->activateWindow();
}

// Builds the native window of an allocated object and delivers the events it produced, E_CREATE
// first; null (object destroyed) when it could not be made or did not survive its E_CREATE.
WINDOW build(WINDOW win, const RCT& rct, const char* title) {
    CoreBusyScope busy;
    keys_install_help_filter();
    QWidget* widget = make_widget(win);
    win->native = widget;
    // The bar is part of the frame before it is sized and shown.
    menus_equip_window(win);
    mdi_equip_frame(win);
    sbar_equip_window(win);
    WynSurface* surface = surface_of(win);
    EVENT create{};
    create.type = E_CREATE;
    surface->post(PM_CREATE, create);
    if (title) widget->setWindowTitle(QString::fromUtf8(title));
    place(win, widget, rct);
    show(win, widget, surface);
    win->creating = 0;
    QCoreApplication::sendPostedEvents(surface, kPrivateEvent);
    if (win->kind == WK_MODAL) {
        while (core_win_alive(win) && !core().quit_seen)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return win->kind != WK_MODAL && core_win_alive(win) ? win : nullptr;
}

void finish(WINDOW win) {
    timers_kill_window(win);
    // Its own E_DESTROY is the last moment the window's handle may be used; from then on the
    // checked layer refuses it, though the memory lives on until the outermost dispatch ends.
    win->state |= WS_DESTROYED | WS_IN_DESTROY;
    EVENT ev{};
    ev.type = E_DESTROY;
    wynk_win_dispatch_event(win, &ev);
    win->state &= ~WS_IN_DESTROY;
    cxo_destroy_chain(win);
    CoreState& state = core();
    std::erase(state.windows, win);
    state.graveyard.push_back(win);
    if (WynSurface* surface = surface_of(win)) surface->detach();
    // A document of the multiple-document mode goes through its document area.
    QWidget* widget = widget_of(win);
    if (widget && !mdi_close(win)) {
        widget->hide();
        widget->deleteLater();
    }
    win->native = nullptr;
}

} // namespace

void windows_show_by_flags(QWidget* widget, uint32_t flags) {
    if (flags & WSF_MAXIMIZED)
        widget->showMaximized();
    else if (flags & WSF_MINIMIZED)
        widget->showMinimized();
    else
        widget->show();
}

WINDOW windows_new_object(uint32_t kind, int32_t type, WINDOW parent, uint32_t flags,
                          EVENT_MASK mask, EVENT_HANDLER handler, intptr_t app_data) {
    auto* win = new wyn_window{};
    win->magic = WYN_WIN_MAGIC;
    win->kind = kind;
    win->type = type;
    win->parent = parent;
    win->flags = flags;
    win->event_mask = mask;
    win->handler = handler;
    win->app_data = app_data;
    win->top = (!parent || is_top_kind(kind) || kind == WK_TASK_OBJECT) ? win : parent->top;
    core().windows.push_back(win);
    return win;
}

uint32_t windows_kind_for(int32_t type, WINDOW parent) {
    if (type == WT_TASK) {
        if (core_attr(ATTR_DRAW_TASK)) return WK_DRAW_TASK;
        return core_attr(ATTR_MDI) ? WK_MDI_TASK : WK_TASK;
    }
    if (type == WT_MODAL) return WK_MODAL;
    if (!parent) return 0;
    switch (parent->kind) {
    case WK_SCREEN:
    case WK_TASK_OBJECT:
        return WK_TOP;
    case WK_TASK:
    case WK_DRAW_TASK:
        return WK_TASK_CHILD;
    case WK_TOP:
    case WK_TASK_CHILD:
    case WK_CHILD:
    case WK_MODAL:
    case WK_MDI_DOC:
        return WK_CHILD;
    case WK_MDI_TASK:
        return WK_MDI_DOC;
    case 0x40004u:
    case WK_MDI_FRAME_CHILD:
        return WK_MDI_FRAME_CHILD;
    default:
        return 0;
    }
}

WINDOW wynk_win_create(int32_t type, const RCT* rct, const char* title, int16_t menu_id,
                       WINDOW parent, uint32_t flags, EVENT_MASK mask, EVENT_HANDLER handler,
                       intptr_t app_data) {
    if (!rct || !core_win_alive(parent)) return nullptr;
    if (type != WT_DOC && type != WT_PLAIN && type != WT_DBL && type != WT_NO_BORDER &&
        type != WT_MODAL)
        return nullptr;
    uint32_t kind = windows_kind_for(type, parent);
    if (kind == 0) return nullptr;
    // A child needs its parent's drawable area to live in.
    if (!is_top_kind(kind) && !surface_of(parent)) return nullptr;
    WINDOW win = windows_new_object(kind, type, parent, flags, mask, handler, app_data);
    win->creating = 1;
    win->menu_id = menu_id;
    return build(win, fill_task_rect(parent, *rct), title);
}

WINDOW windows_create_task(const RCT* rct, const char* title, int16_t menu_id, WINDOW screen,
                           uint32_t flags, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data) {
    WINDOW win = windows_new_object(windows_kind_for(WT_TASK, screen), WT_TASK, screen, flags, mask,
                                    handler, app_data);
    win->creating = 1;
    win->menu_id = menu_id;
    // Known before its first event, so that E_CREATE can already find the task window.
    core().task = win;
    core_set_attr(ATTR_TASK_WINDOW, reinterpret_cast<ATTR_VALUE>(win));
    const RCT fallback{kDefaultCoord, kDefaultCoord, kDefaultCoord, kDefaultCoord};
    return build(win, rct ? *rct : fallback, title);
}

void windows_destroy_tree(WINDOW win) {
    if (!core_win_alive(win)) return;
    CoreBusyScope busy;
    std::vector<WINDOW> children;
    for (WINDOW w : core().windows)
        if (w->parent == win && w != win) children.push_back(w);
    for (WINDOW child : children) windows_destroy_tree(child);
    if (core_win_alive(win)) finish(win);
}

void wynk_vobj_destroy(WINDOW win) {
    if (!core_win_alive(win) || win->kind == WK_SCREEN) return;
    if (is_task_kind(win->kind)) {
        wynv_app_destroy();
        return;
    }
    windows_destroy_tree(win);
}

void windows_discard_all() {
    CoreState& state = core();
    std::vector<WINDOW> all = state.windows;
    for (WINDOW win : all) {
        if (WynSurface* surface = surface_of(win)) surface->detach();
        cxo_destroy_chain(win);
    }
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        QWidget* widget = widget_of(*it);
        if (widget && widget->isWindow()) delete widget;
    }
    for (WINDOW win : all) {
        win->native = nullptr;
        win->magic = 0;
        delete win;
    }
    state.windows.clear();
    state.task = nullptr;
    state.screen = nullptr;
}

WINDOW wynk_vobj_get_parent(WINDOW win) {
    return core_win_alive(win) ? win->parent : nullptr;
}

void wynk_win_set_doc_title(WINDOW win, const char* title) {
    QWidget* widget = core_win_alive(win) ? widget_of(win) : nullptr;
    if (widget && title) widget->setWindowTitle(QString::fromUtf8(title));
}

void* wynv_win_get_tx(WINDOW win) {
    WYN_TX_GET_TX get_tx = core().tx_get_tx;
    return get_tx && core_win_alive(win) ? get_tx(win, -1) : nullptr;
}

void wynk_scr_beep(void) {
    QApplication::beep();
}

WINDOW wynwi_hwnd_to_window(void* native) {
    if (!native) return nullptr;
    auto* object = static_cast<QWidget*>(native);
    if (auto* task = dynamic_cast<WynTaskWindow*>(object)) return task->surface()->wynWindow();
    if (auto* surface = dynamic_cast<WynSurface*>(object)) return surface->wynWindow();
    return nullptr;
}
