// Dialogs built from definitions and resources as dialog windows over the toolkit's surface:
// modal ones run a nested event loop until they are destroyed, modeless ones return at once.
#include "kernel/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <cstdio>
#include <string>

#include "kernel/controls.h"
#include "kernel/kernel_state.h"
#include "kernel/std_dialogs.h"
#include "kernel/win_create.h"
#include "kernel/windows.h"
#include "portable/core_state.h"
#include "portable/res.h"
#include <res/ids.h>
#include <wyn/ctl.h>
#include <wyn/dlg.h>
#include <wyn/errmsg.h>
#include <wyn/menu.h>
#include <wyn/rect.h>
#include <wyn/res.h>

namespace {

constexpr char kUnit[] = "kdlg";
constexpr int16_t kCancelId = 2;

// The toolkit window that a new dialog belongs to: the active one, else the task window.
WINDOW dialog_owner() {
    if (QWidget* active = QApplication::activeWindow()) {
        WINDOW win = wynwi_hwnd_to_window(active);
        if (core_win_alive(win)) return win;
    }
    CoreState& state = core();
    return core_win_alive(state.task) ? state.task : state.screen;
}

QAbstractButton* push_button(WINDOW ctl) {
    QWidget* widget = ctl_widget(ctl, WT_PUSH_BUTTON);
    return widget && widget->isEnabled() && widget->isVisible()
               ? static_cast<QAbstractButton*>(widget)
               : nullptr;
}

QAbstractButton* default_button(WINDOW dlg) {
    for (WINDOW w : core().windows) {
        if (w->parent != dlg || w->type != WT_PUSH_BUTTON) continue;
        CtlRecord* rec = ctl_record(w);
        if (rec && (rec->ctl_flags & CTL_FLAG_DEFAULT))
            if (QAbstractButton* button = push_button(w)) return button;
    }
    return nullptr;
}

// The dialog's client rectangle on the screen: its definition places it in its owner's client
// area, or centres it there for the default position.
QRect screen_rect(const RCT& rct, WINDOW owner) {
    const QSize size(std::max(1, rct.right - rct.left), std::max(1, rct.bottom - rct.top));
    QWidget* area = surface_of(owner);
    const QRect base =
        area ? QRect(area->mapToGlobal(QPoint(0, 0)), area->size()) : QRect(QPoint(0, 0), size);
    if (rct.left == WYN_COORD_DEFAULT)
        return QRect(base.center() - QPoint(size.width() / 2, size.height() / 2), size);
    return QRect(base.topLeft() + QPoint(rct.left, rct.top), size);
}

void focus_first_control(WINDOW dlg, QWidget* widget) {
    for (WINDOW w : core().windows) {
        if (w->parent != dlg || w->kind != WK_CONTROL) continue;
        QWidget* ctl = ctl_widget(w);
        if (ctl && ctl->isVisible() && ctl->isEnabled() && (ctl->focusPolicy() & Qt::TabFocus)) {
            ctl->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    widget->setFocus(Qt::OtherFocusReason);
}

int32_t about_box_handler(WINDOW win, EVENT* ev) {
    auto* ended = reinterpret_cast<int*>(win->app_data);
    if (ev->type == E_CONTROL && ev->v.ctl.ci.type == WT_PUSH_BUTTON) {
        *ended = ev->v.ctl.id;
        wynk_vobj_destroy(win);
    } else if (ev->type == E_CLOSE) {
        *ended = kCancelId;
        wynk_vobj_destroy(win);
    }
    return 0;
}

// The tallest a standard dialog's text grows to, in pixels.
constexpr int kMaxTextHeight = 600;

// One standard dialog while it is up: what it shows and how it ended.
struct StdRun {
    const dm_request* request;
    int32_t resource;
    int16_t ended = WYN_ID_CANCEL;
    std::string edited;
};

int32_t std_resource(dm_kind kind) {
    switch (kind) {
    case dm_kind::ask:
        return WYN_DLG_ASK;
    case dm_kind::error:
    case dm_kind::warning:
        return WYN_DLG_ERROR;
    case dm_kind::note:
        return WYN_DLG_NOTE;
    case dm_kind::message:
        return WYN_DLG_MESSAGE;
    case dm_kind::string_prompt:
        return WYN_DLG_PROMPT;
    default:
        return 0;
    }
}

QStyle::StandardPixmap std_icon(dm_kind kind) {
    switch (kind) {
    case dm_kind::error:
        return QStyle::SP_MessageBoxCritical;
    case dm_kind::note:
        return QStyle::SP_MessageBoxInformation;
    case dm_kind::ask:
        return QStyle::SP_MessageBoxQuestion;
    default:
        return QStyle::SP_MessageBoxWarning;
    }
}

// A text longer than its place makes the dialog taller, the controls below it moving down, rather
// than being cut off (up to the height of a screenful).
void fit_text(WINDOW dlg, QLabel* label) {
    QWidget* box = widget_of(dlg);
    const int extra =
        std::min(label->heightForWidth(label->width()), kMaxTextHeight) - label->height();
    if (!box || extra <= 0) return;
    const int below = label->geometry().bottom();
    for (WINDOW w : core().windows) {
        QWidget* ctl = w->parent == dlg ? ctl_widget(w) : nullptr;
        if (ctl && ctl != label && ctl->y() > below) ctl->move(ctl->x(), ctl->y() + extra);
    }
    label->resize(label->width(), label->height() + extra);
    box->resize(box->width(), box->height() + extra);
}

// Texts the application formats are shown as they are: no mnemonic, no markup.
void show_plain(WINDOW dlg, int16_t id, const char* text) {
    if (auto* label = qobject_cast<QLabel*>(ctl_widget(wynk_win_get_ctl(dlg, id), WT_TEXT))) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setText(QString::fromUtf8(text ? text : ""));
        fit_text(dlg, label);
    }
}

void title_button(WINDOW dlg, int16_t id, const char* title) {
    WINDOW button = wynk_win_get_ctl(dlg, id);
    if (!button) return;
    if (title)
        wynk_vobj_set_title(button, title);
    else
        wynk_vobj_set_visible(button, FALSE);
}

void fill_std_dialog(WINDOW dlg, const StdRun& run) {
    const dm_request& r = *run.request;
    if (r.caption && *r.caption) wynk_vobj_set_title(dlg, r.caption);
    if (run.resource == WYN_DLG_PROMPT) {
        show_plain(dlg, WYN_ID_PROMPT_TEXT, r.text);
        if (auto* edit = qobject_cast<QLineEdit*>(
                ctl_widget(wynk_win_get_ctl(dlg, WYN_ID_PROMPT_EDIT), WT_EDIT))) {
            edit->setText(QString::fromUtf8(r.initial ? r.initial : ""));
            edit->selectAll();
            edit->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    show_plain(dlg, WYN_ID_TEXT, r.text);
    if (auto* icon = qobject_cast<QLabel*>(ctl_widget(wynk_win_get_ctl(dlg, WYN_ID_ICON), WT_ICON)))
        icon->setPixmap(icon->style()->standardIcon(std_icon(r.kind)).pixmap(icon->size()));
    if (run.resource == WYN_DLG_ASK) {
        title_button(dlg, WYN_ID_OK, r.titles[0]);
        title_button(dlg, WYN_ID_ALTERNATE, r.titles[1]);
        title_button(dlg, WYN_ID_CANCEL, r.titles[2]);
    }
}

int32_t std_dialog_handler(WINDOW win, EVENT* ev) {
    auto* run = reinterpret_cast<StdRun*>(win->app_data);
    if (ev->type == E_CREATE) {
        fill_std_dialog(win, *run);
    } else if (ev->type == E_CONTROL && ev->v.ctl.ci.type == WT_PUSH_BUTTON) {
        run->ended = ev->v.ctl.id;
        if (run->resource == WYN_DLG_PROMPT && run->ended == WYN_ID_OK)
            if (auto* edit = qobject_cast<QLineEdit*>(
                    ctl_widget(wynk_win_get_ctl(win, WYN_ID_PROMPT_EDIT), WT_EDIT)))
                run->edited = edit->text().toStdString();
        wynk_vobj_destroy(win);
    } else if (ev->type == E_CLOSE) {
        run->ended = WYN_ID_CANCEL;
        wynk_vobj_destroy(win);
    }
    return 0;
}

// True when the program carries dialog resource id; asked without a report, so that a program
// without the toolkit's dialogs falls back to the window system's.
bool has_dialog(int32_t id) {
    wyn::res::Database* db = wyn::res::database();
    wyn::res::Entry entry;
    return db && db->find(1, static_cast<uint16_t>(id), entry) == wyn::res::Status::ok;
}

// The standard dialogs and the about box are found here; installed as the library is loaded,
// since neither needs anything that start-up makes.
[[maybe_unused]] const bool about_box_installed = (dm_set_about_box(dialogs_show_about_box), true);
[[maybe_unused]] const bool std_dialogs_installed =
    (dm_set_resource_dialogs(dialogs_show_standard), true);

} // namespace

WynDialog::WynDialog(WINDOW win, bool modal, QWidget* owner) : WynTopWindow(win, Qt::Dialog) {
    if (owner) setParent(owner, windowFlags());
    if (modal) setWindowModality(Qt::ApplicationModal);
}

void WynDialog::keyPressEvent(QKeyEvent* e) {
    WINDOW win = wynWindow();
    if (!win) return WynTopWindow::keyPressEvent(e);
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        if (QAbstractButton* cancel = push_button(wynk_win_get_ctl(win, kCancelId)))
            cancel->click();
        else
            reportClose();
        return;
    }
    // Tab moves between the dialog's controls even when the dialog itself has the focus.
    if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        !(e->modifiers() & ~Qt::KeypadModifier)) {
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QAbstractButton* button = focused && isAncestorOf(focused) ? focused : default_button(win);
        if (button) {
            button->click();
            return;
        }
    }
    WynTopWindow::keyPressEvent(e);
}

void WynDialog::hideEvent(QHideEvent* e) {
    WynTopWindow::hideEvent(e);
    if (!wynWindow() && loop_) loop_->quit();
}

WINDOW dialogs_create(WIN_DEF* def, int32_t type, EVENT_MASK mask, EVENT_HANDLER handler,
                      intptr_t app_data) {
    if (!def || (type != WT_MODAL_DLG && type != WT_MODELESS_DLG)) return nullptr;
    WINDOW owner = dialog_owner();
    if (!core_win_alive(owner)) return nullptr;
    ctl_sync_base_units();
    RCT rct = def[0].rct;
    if (!wynk_rect_to_pixels(&rct, def[0].units)) return nullptr;
    const bool modal = type == WT_MODAL_DLG;
    WINDOW dlg;
    WynDialog* widget;
    {
        CoreBusyScope busy;
        dlg =
            windows_new_object(WK_DIALOG, type, owner, def[0].menu_or_id, mask, handler, app_data);
        dlg->creating = 1;
        // The dialog is its own top-level object, whatever it belongs to.
        dlg->top = dlg;
        QWidget* owner_widget = widget_of(owner);
        QWidget* owner_frame = owner_widget ? owner_widget->window() : nullptr;
        // Window managers hide a window's dialogs while it is minimised: a dialog that comes up
        // for a minimised window stands on its own, or nobody would see it.
        if (owner_frame && owner_frame->isMinimized()) owner_frame = nullptr;
        widget = new WynDialog(dlg, modal, owner_frame);
        dlg->native = widget;
        EVENT create{};
        create.type = E_CREATE;
        widget->post(PM_CREATE, create);
        widget->setWindowTitle(QString::fromUtf8(def[0].text ? def[0].text : ""));
        if (!win_create_controls(dlg, def)) {
            wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, WYN_MSG_CREATE_DIALOG, kUnit, __LINE__);
            win_discard(dlg);
            return nullptr;
        }
        widget->setGeometry(screen_rect(rct, owner));
        widget->show();
        widget->backing().fill(widget->palette().color(QPalette::Window));
        focus_first_control(dlg, widget);
        widget->raise();
        widget->activateWindow();
        dlg->creating = 0;
        QCoreApplication::sendPostedEvents(widget, kPrivateEvent);
    }
    if (!core_win_alive(dlg)) return modal ? dlg : nullptr;
    if (!modal) return dlg;
    QEventLoop loop;
    widget->setLoop(&loop);
    loop.exec();
    return dlg;
}

WINDOW wynk_dlg_create_def(WIN_DEF* def, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data) {
    if (!def) return nullptr;
    return dialogs_create(def, def[0].type, mask, handler, app_data);
}

WINDOW wynk_dlg_create_res(int32_t type, int32_t id, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data) {
    // The reader reports a missing or damaged resource itself.
    WIN_DEF* def = wynv_res_get_dlg_def(id);
    if (!def) return nullptr;
    WINDOW dlg = dialogs_create(def, type, mask, handler, app_data);
    wynv_res_free_win_def(def);
    return dlg;
}

int dialogs_show_about_box() {
    const int16_t id = kcore().config.about_box_id;
    if (id <= 0 || !core_win_alive(core().task)) return -1;
    int ended = -1;
    WINDOW dlg = wynk_dlg_create_res(WT_MODAL_DLG, id, EM_ALL, about_box_handler,
                                     reinterpret_cast<intptr_t>(&ended));
    const int result = dlg ? ended : -1;
    // The about box's first button asks the application for help on the about box.
    if (result == 1 && core_win_alive(core().task)) {
        EVENT ev{};
        ev.type = E_HELP;
        ev.v.help.tid = MENU_TAG_HELP_ABOUT_TOPIC;
        wynk_win_dispatch_event(core().task, &ev);
    }
    return result;
}

int dialogs_show_standard(const dm_request& request, char* answer, size_t answer_size) {
    const int32_t id = std_resource(request.kind);
    CoreState& state = core();
    // A dialog of the toolkit needs the running application and its task window to belong to.
    if (id == 0 || state.stage != AppStage::running || !core_win_alive(state.task) ||
        !has_dialog(id))
        return -1;
    StdRun run{&request, id, WYN_ID_CANCEL, {}};
    if (!wynk_dlg_create_res(WT_MODAL_DLG, id, EM_ALL, std_dialog_handler,
                             reinterpret_cast<intptr_t>(&run)))
        return -1;
    switch (request.kind) {
    case dm_kind::ask:
        return run.ended == WYN_ID_OK ? 0 : run.ended == WYN_ID_ALTERNATE ? 1 : 2;
    case dm_kind::string_prompt:
        if (run.ended != WYN_ID_OK) return 0;
        if (answer && answer_size > 0) std::snprintf(answer, answer_size, "%s", run.edited.c_str());
        return 1;
    default:
        return 0;
    }
}
