// Key presses become E_CHAR events: navigation and function keys as key codes, everything else
// as the character typed. The help key is also watched application-wide, for the dialogs and
// menus whose keys never reach a toolkit window.
#include "kernel/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <utility>

#include "kernel/private_events.h"
#include "portable/static_block.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/windef.h>

namespace {

// The key code of a navigation or function key, 0 for a key that types a character.
int key_code(int key, bool ctrl, bool shift) {
    switch (key) {
    case Qt::Key_Up:
        return KEY_UP;
    case Qt::Key_Down:
        return KEY_DOWN;
    case Qt::Key_Right:
        return ctrl ? KEY_WORD_RIGHT : KEY_RIGHT;
    case Qt::Key_Left:
        return ctrl ? KEY_WORD_LEFT : KEY_LEFT;
    case Qt::Key_PageUp:
        return KEY_PAGE_UP;
    case Qt::Key_PageDown:
        return KEY_PAGE_DOWN;
    case Qt::Key_Home:
        return ctrl ? KEY_HOME : KEY_LINE_HOME;
    case Qt::Key_End:
        return ctrl ? KEY_END : KEY_LINE_END;
    case Qt::Key_Insert:
        return KEY_INSERT;
    case Qt::Key_Backtab:
        return KEY_BACK_TAB;
    case Qt::Key_Tab:
        return shift ? KEY_BACK_TAB : 0;
    case Qt::Key_Help:
        return KEY_HELP;
    case Qt::Key_Clear:
        return KEY_CLEAR;
    case Qt::Key_Delete:
        return KEY_DEL;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return KEY_F1 + (key - Qt::Key_F1);
    return 0;
}

// The character a key types: control keys as their control characters, as the character
// message of the original platform gave them.
int key_char(int key, bool ctrl, const QString& text) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Tab:
        return '\t';
    case Qt::Key_Backspace:
        return '\b';
    case Qt::Key_Escape:
        return 0x1B;
    default:
        break;
    }
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    if (text.isEmpty()) return -1;
    return text.at(0).unicode();
}

} // namespace

bool translate_key(int key, Qt::KeyboardModifiers mods, const QString& text, EVENT& ev) {
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    int code = key_code(key, ctrl, shift);
    int ch = code ? code : key_char(key, ctrl, text);
    if (ch < 0) return false;
    ev = EVENT{};
    ev.type = E_CHAR;
    ev.v.chr.ch = static_cast<uint16_t>(ch);
    ev.v.chr.shift = shift;
    ev.v.chr.control = ctrl;
    ev.v.chr.virtual_key = code ? TRUE : FALSE;
    ev.v.chr.modifiers =
        (shift ? WYN_MOD_SHIFT : 0) | (ctrl ? WYN_MOD_CTRL : 0) | (alt ? WYN_MOD_ALT : 0);
    return true;
}

namespace {

// The help key seen where the application's windows cannot see it: in dialogs, in message boxes
// and other dialogs of the window system, and in menus.
class HelpKeyFilter : public QObject {
  public:
    bool held = false;

  protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        // A key let go while another application has the keyboard is never seen here.
        if (e->type() == QEvent::ApplicationDeactivate) held = false;
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_F1 || !target->isWidgetType()) return false;
        if (e->type() == QEvent::KeyRelease) {
            if (!key->isAutoRepeat()) held = false;
            return false;
        }
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        // The window the key is for is the active one.
        QWidget* window = static_cast<QWidget*>(target)->window();
        if (qobject_cast<QMenu*>(window)) {
            held = true;
            post_help_key(toolkit_window(QApplication::activeWindow()));
            return false;
        }
        if (WINDOW win = toolkit_window(window)) return post_help_key(win);
        return send_topic_help();
    }

  private:
    static WINDOW toolkit_window(QWidget* window) {
        WINDOW win = window ? wynwi_hwnd_to_window(window) : nullptr;
        return core_win_alive(win) ? win : nullptr;
    }

    // A dialog hears about the key once the key's own handling is over; the help is for whatever
    // has the focus then.
    static bool post_help_key(WINDOW win) {
        if (!win || (win->type != WT_MODAL_DLG && win->type != WT_MODELESS_DLG)) return false;
        if (WynSurface* surface = surface_of(win)) surface->post(PM_HELP_KEY, EVENT{});
        return true;
    }

    // A dialog of the window system: help on the topic of the standard dialog showing it.
    static bool send_topic_help() {
        CoreState& state = core();
        if (state.help_topic == 0 || !core_win_alive(state.task)) return false;
        EVENT ev{};
        ev.type = E_HELP;
        ev.v.help.tid = state.help_topic;
        wynk_win_dispatch_event(state.task, &ev);
        return true;
    }
};

struct HelpKeyState {
    QPointer<HelpKeyFilter> filter;
    ~HelpKeyState() { delete filter.data(); }
};

HelpKeyState* help_state() {
    return static_block<HelpKeyState>();
}

} // namespace

void keys_install_help_filter() {
    HelpKeyState* st = help_state();
    if (!st || st->filter || !QCoreApplication::instance()) return;
    st->filter = new HelpKeyFilter();
    QCoreApplication::instance()->installEventFilter(st->filter);
}

bool keys_take_help_held() {
    HelpKeyState* st = help_state();
    return st && st->filter && std::exchange(st->filter->held, false);
}
