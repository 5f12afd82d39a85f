// The multiple-document mode over QMdiArea: the task window's client area holds the document
// area, document windows live in its sub-windows and go through it when destroyed, and the window
// menu read from "WYN_WINDOWMENU" arranges them and lists them.
#include "kernel/mdi.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

#include "kernel/menus.h"
#include "kernel/widgets.h"
#include "kernel/windows.h"
#include "portable/core_state.h"
#include <wyn/res.h>

namespace {

constexpr char kAreaName[] = "wyn_mdi_area";
constexpr char kWindowMenuName[] = "WYN_WINDOWMENU";
constexpr char kListProperty[] = "wyn_mdi_list";

QMdiArea* area_of(WINDOW task) {
    WynSurface* surface = core_win_alive(task) ? surface_of(task) : nullptr;
    return surface ? surface->findChild<QMdiArea*>(kAreaName, Qt::FindDirectChildrenOnly) : nullptr;
}

QMdiSubWindow* frame_of(WINDOW doc) {
    // Also asked while the document is being destroyed, when it no longer counts as alive.
    if (!doc || doc->kind != WK_MDI_DOC) return nullptr;
    QWidget* widget = widget_of(doc);
    return widget ? qobject_cast<QMdiSubWindow*>(widget->parentWidget()) : nullptr;
}

// The documents' entries at the end of the window menu, rebuilt each time it opens.
void list_documents(QMenu* menu, QMdiArea* area) {
    for (QAction* action : menu->actions()) {
        if (!action->property(kListProperty).toBool()) continue;
        menu->removeAction(action);
        delete action;
    }
    const QList<QMdiSubWindow*> frames = area->subWindowList();
    if (frames.isEmpty()) return;
    menu->addSeparator()->setProperty(kListProperty, true);
    int n = 0;
    for (QMdiSubWindow* frame : frames) {
        // A document's title is shown as it is: its ampersands are no mnemonics.
        QString title = frame->widget()->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(title));
        action->setProperty(kListProperty, true);
        action->setCheckable(true);
        action->setChecked(frame == area->activeSubWindow());
        QObject::connect(action, &QAction::triggered, area,
                         [area, frame = QPointer<QMdiSubWindow>(frame)] {
                             if (frame) area->setActiveSubWindow(frame);
                         });
    }
}

// The first pop-up of the window-menu resource, with its items; items beyond the window menu's
// own commands take the task window's menu path.
QMenu* build_window_menu(WINDOW task, const WYN_RES_MENU& res, QMenuBar* bar) {
    QMenu* menu = nullptr;
    for (uint16_t i = 0; i < res.count; ++i) {
        const WYN_RES_MENU_ITEM& item = res.items[i];
        if (item.level == 0 && (item.flags & MENU_FLAG_POPUP) && !menu) {
            // Native menus carry their titles as the window system shows them.
            menu = new QMenu(QString::fromUtf8(item.text), bar);
        } else if (item.level == 1 && menu) {
            if (item.flags & MENU_FLAG_SEPARATOR) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            action->setEnabled(item.flags & MENU_FLAG_ENABLED);
            const int16_t tag = item.tag;
            QObject::connect(action, &QAction::triggered, menu,
                             [task, tag] { menus_command(task, tag); });
        } else if (item.level == 0 && menu) {
            break;
        }
    }
    return menu;
}

// Lines the minimised documents up along the area's bottom edge, left to right, in rows that
// stack upwards, wherever the user has dragged them.
void arrange_minimised(QMdiArea* area) {
    const QRect room = area->viewport()->rect();
    int x = 0;
    int base = room.bottom() + 1;
    int row_height = 0;
    for (QMdiSubWindow* frame : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!frame->isMinimized()) continue;
        const QSize size = frame->size();
        if (x > 0 && x + size.width() > room.width()) {
            x = 0;
            base -= row_height;
            row_height = 0;
        }
        frame->move(x, base - size.height());
        x += size.width();
        row_height = std::max(row_height, size.height());
    }
}

} // namespace

void mdi_equip_frame(WINDOW task) {
    WynSurface* surface = surface_of(task);
    if (!surface || task->kind != WK_MDI_TASK || area_of(task)) return;
    auto* area = new QMdiArea(surface);
    area->setObjectName(kAreaName);
    auto* layout = new QVBoxLayout(surface);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
}

void mdi_attach_window_menu(WINDOW task, QMenuBar* bar) {
    if (!core_win_alive(task) || task->kind != WK_MDI_TASK || !bar) return;
    const WYN_RES_MENU* res = wynv_res_find_native_menu(kWindowMenuName, 0);
    QMenu* menu = res ? build_window_menu(task, *res, bar) : nullptr;
    if (!menu) return;
    // The window menu stands before the help menu, the last one of the bar.
    const QList<QAction*> top = bar->actions();
    bar->insertMenu(top.size() > 1 ? top.back() : nullptr, menu);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [task, menu] {
        if (QMdiArea* area = area_of(task)) list_documents(menu, area);
    });
}

QWidget* mdi_make_document(WINDOW win) {
    QMdiArea* area = area_of(win->parent);
    if (!area) return nullptr;
    auto* surface = new WynChildWindow(win, nullptr);
    QMdiSubWindow* frame = area->addSubWindow(surface);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    return surface;
}

QWidget* mdi_frame(WINDOW win) {
    return frame_of(win);
}

bool mdi_place(WINDOW win, const QRect& client, bool default_pos, bool default_size) {
    QMdiSubWindow* frame = frame_of(win);
    if (!frame) return false;
    if (!default_pos) frame->move(client.topLeft());
    if (!default_size) {
        // The rectangle is the document's client area; the frame adds its border and title.
        const QMargins m = frame->contentsMargins();
        frame->resize(client.width() + m.left() + m.right(),
                      client.height() + m.top() + m.bottom());
    }
    return true;
}

bool mdi_show(WINDOW win) {
    QMdiSubWindow* frame = frame_of(win);
    if (!frame) return false;
    if (win->flags & WSF_INVISIBLE) return true;
    windows_show_by_flags(frame, win->flags);
    if (!(win->flags & WSF_NO_ACTIVATE)) {
        frame->mdiArea()->setActiveSubWindow(frame);
        widget_of(win)->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

bool mdi_close(WINDOW win) {
    QMdiSubWindow* frame = frame_of(win);
    if (!frame) return false;
    if (QMdiArea* area = frame->mdiArea()) area->removeSubWindow(frame);
    frame->hide();
    frame->deleteLater();
    return true;
}

bool mdi_command(WINDOW task, int16_t tag) {
    QMdiArea* area = area_of(task);
    if (!area) return false;
    switch (tag) {
    case kMdiCascade:
        area->cascadeSubWindows();
        return true;
    case kMdiTile:
        area->tileSubWindows();
        return true;
    case kMdiArrange:
        arrange_minimised(area);
        return true;
    case kMdiCloseAll:
        // Each document is asked to close; whether it goes is its handler's decision.
        for (QMdiSubWindow* frame : area->subWindowList())
            if (auto* surface = dynamic_cast<WynSurface*>(frame->widget())) surface->reportClose();
        return true;
    default:
        return false;
    }
}
