// Menu bars and pop-up menus built from portable menu trees over QMenuBar, QMenu and QAction (the
// action holds the tag), the search for items by tag, and the menu path of commands.
#include "kernel/menus.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <cstring>
#include <functional>
#include <string>

#include "kernel/accelerators.h"
#include "kernel/controls.h"
#include "kernel/keys.h"
#include "kernel/mdi.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/dm.h>
#include <wyn/errmsg.h>
#include <wyn/mem.h>
#include <wyn/res.h>
#include <wyn/win.h>

namespace {

constexpr char kReportUnit[] = "kmenu";
constexpr char kAppDataProperty[] = "wyn_app_data";
constexpr char kMnemonicProperty[] = "wyn_mnemonic";

void report(WYN_MSG_ID id, int line) {
    wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, id, kReportUnit, line);
}

// A window's native menu bar; it also holds the menu's font selection, so both go with the bar.
class WynMenuBar : public QMenuBar {
  public:
    explicit WynMenuBar(WINDOW win) : win_(win) {}
    ~WynMenuBar() override { wynv_font_destroy(font_); }
    WynMenuBar(const WynMenuBar&) = delete;
    WynMenuBar& operator=(const WynMenuBar&) = delete;

    WINDOW wynWindow() const { return win_; }
    FONT fontSel() const { return font_; }
    // Takes ownership of font (null clears), freeing the one held before.
    void setFontSel(FONT font) {
        if (font == font_) return;
        wynv_font_destroy(font_);
        font_ = font;
    }
    // Gives up the font selection without freeing it.
    FONT releaseFontSel() { return std::exchange(font_, nullptr); }

  private:
    WINDOW win_;
    FONT font_ = nullptr;
};

QString to_native(const char* title) {
    std::string out;
    for (const char* p = title ? title : ""; *p; ++p) {
        if (*p == '&') {
            out += "&&";
        } else if (*p == '~' && p[1] == '~') {
            out += '~';
            ++p;
        } else if (*p == '~') {
            out += '&';
        } else {
            out += *p;
        }
    }
    return QString::fromUtf8(out);
}

std::string from_native(const QString& text) {
    const std::string in = text.toStdString();
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '&' && i + 1 < in.size() && in[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (in[i] == '&') {
            out += '~';
        } else if (in[i] == '~') {
            out += "~~";
        } else {
            out += in[i];
        }
    }
    return out;
}

char* mem_text(const std::string& s) {
    auto* text = static_cast<char*>(wynv_mem_alloc(s.size() + 1));
    if (text) std::memcpy(text, s.c_str(), s.size() + 1);
    return text;
}

int16_t tag_of(const QAction* action) {
    return static_cast<int16_t>(action->data().toInt());
}

using ActionHook = std::function<void(QAction*)>;

void apply_flags(QAction* action, uint16_t flags) {
    action->setEnabled(flags & MENU_FLAG_ENABLED);
    action->setCheckable(flags & (MENU_FLAG_CHECKABLE | MENU_FLAG_CHECKED));
    action->setChecked(flags & MENU_FLAG_CHECKED);
}

// Adds the items of one array to menu (a QMenu or the QMenuBar); hook sees every chosen-able
// action.
template <typename Menu>
void fill(Menu* menu, const MENU_ITEM* items, const ActionHook& hook, int depth = 0) {
    for (const MENU_ITEM* item = items; item && item->tag != 0; ++item) {
        QAction* action = nullptr;
        if (item->flags & MENU_FLAG_SEPARATOR) {
            action = menu->addSeparator();
        } else if (item->submenu && depth < 16) {
            auto* sub = new QMenu(to_native(item->text), menu);
            fill(sub, item->submenu, hook, depth + 1);
            action = menu->addMenu(sub);
        } else {
            action = menu->addAction(to_native(item->text));
            hook(action);
        }
        action->setData(int(item->tag));
        action->setProperty(kAppDataProperty, qlonglong(item->app_data));
        action->setProperty(kMnemonicProperty, int(item->mnemonic));
        if (!action->isSeparator()) apply_flags(action, item->flags);
    }
}

// The toolkit decides the check marks, never the click: Qt's own toggle is undone before the
// command is delivered.
void undo_toggle(QAction* action) {
    if (action->isCheckable()) action->setChecked(!action->isChecked());
}

MENU_ITEM* tree_from(const QList<QAction*>& actions, int depth = 0) {
    auto* items =
        static_cast<MENU_ITEM*>(wynv_mem_zalloc((size_t(actions.size()) + 1) * sizeof(MENU_ITEM)));
    if (!items) return nullptr;
    MENU_ITEM* item = items;
    for (const QAction* action : actions) {
        if (tag_of(action) == 0) continue;
        item->tag = tag_of(action);
        item->text = mem_text(action->isSeparator() ? std::string() : from_native(action->text()));
        item->mnemonic = static_cast<int16_t>(action->property(kMnemonicProperty).toInt());
        item->app_data = static_cast<intptr_t>(action->property(kAppDataProperty).toLongLong());
        item->flags = static_cast<uint16_t>((action->isSeparator() ? MENU_FLAG_SEPARATOR : 0) |
                                            (action->isEnabled() ? MENU_FLAG_ENABLED : 0) |
                                            (action->isChecked() ? MENU_FLAG_CHECKED : 0) |
                                            (action->isCheckable() ? MENU_FLAG_CHECKABLE : 0));
        if (QMenu* sub = action->menu(); sub && depth < 16)
            item->submenu = tree_from(sub->actions(), depth + 1);
        ++item;
    }
    return items;
}

QAction* find_tag(const QList<QAction*>& actions, int16_t tag, int depth = 0) {
    for (QAction* action : actions) {
        if (tag_of(action) == tag) return action;
        if (QMenu* sub = action->menu(); sub && depth < 16)
            if (QAction* found = find_tag(sub->actions(), tag, depth + 1)) return found;
    }
    return nullptr;
}

WynTaskWindow* frame_of(WINDOW win) {
    return core_win_alive(win) ? dynamic_cast<WynTaskWindow*>(widget_of(win)) : nullptr;
}

WynMenuBar* bar_of(WINDOW win) {
    WynTaskWindow* frame = frame_of(win);
    return frame ? dynamic_cast<WynMenuBar*>(frame->menuWidget()) : nullptr;
}

// The item tag of win's menu; unknown application tags are reported, standard ones pass quietly.
QAction* item_of(WINDOW win, int16_t tag, int line) {
    WynMenuBar* bar = bar_of(win);
    QAction* action = bar ? find_tag(bar->actions(), tag) : nullptr;
    if (!action && tag < MENU_TAG_STANDARD)
        report(bar ? WYN_MSG_BAD_VALUE : WYN_MSG_ACCESS_MENU, line);
    return action;
}

WynMenuBar* build_bar(WINDOW win, const MENU_ITEM* tree) {
    auto* bar = new WynMenuBar(win);
    fill(bar, tree, [bar](QAction* action) {
        QObject::connect(action, &QAction::triggered, bar, [bar, action] {
            undo_toggle(action);
            menus_command(bar->wynWindow(), tag_of(action));
        });
    });
    return bar;
}

void install_bar(WINDOW win, WynTaskWindow* frame, const MENU_ITEM* tree) {
    WynMenuBar* old = bar_of(win);
    WynMenuBar* bar = build_bar(win, tree);
    if (old) bar->setFontSel(old->releaseFontSel());
    frame->setWynMenuBar(bar);
    mdi_attach_window_menu(win, bar);
}

// F1 asks for help on the object with the focus. The request carries no menu tag, so help goes by
// that object's topic and its windows' rather than by what the help item itself is bound to.
void send_help(WINDOW win) {
    EVENT ev{};
    ev.type = E_HELP;
    QWidget* focus = QApplication::focusWidget();
    WINDOW focused = focus ? wynwi_hwnd_to_window(focus) : nullptr;
    ev.v.help.obj = focused ? focused : win;
    wynk_win_dispatch_event(win, &ev);
}

// An item chosen while F1 was held asks for help on itself.
void send_item_help(WINDOW win, int16_t tag) {
    EVENT ev{};
    ev.type = E_HELP;
    ev.v.help.obj = win;
    ev.v.help.tag = tag;
    wynk_win_dispatch_event(win, &ev);
}

void run_font_dialog(WINDOW win) {
    WynMenuBar* bar = bar_of(win);
    FONT font = bar ? bar->fontSel() : nullptr;
    if (!font) {
        // The dialog needs a font to start from and to change; it becomes the menu's selection.
        font = wynv_font_create();
        if (!font) return;
        if (bar) bar->setFontSel(font);
    }
    wynv_dm_post_font_sel(win, font, nullptr, 0);
    if (!bar) wynv_font_destroy(font);
}

} // namespace

QString menus_native_title(const char* title) {
    return to_native(title);
}

void menus_equip_window(WINDOW win) {
    WynTaskWindow* frame = frame_of(win);
    if (!frame) return;
    // Only a program that carries resources has a menu-bar resource to read.
    if (win->menu_id > 0 && wynwi_get_resources()) {
        if (MENU_ITEM* tree = wynv_res_get_menu(win->menu_id)) {
            install_bar(win, frame, tree);
            wynv_res_free_menu_tree(tree);
        }
    }
    accelerators_install(win, frame, MENU_ACCEL_TABLE);
}

void menus_command(WINDOW win, int16_t tag, bool from_popup) {
    if (!core_win_alive(win)) return;
    if (keys_take_help_held()) return send_item_help(win, tag);
    switch (tag) {
    case MENU_TAG_ABOUT:
    case MENU_TAG_ABOUT_ALT:
        wynv_dm_post_about_box();
        return;
    case MENU_TAG_FONT:
    case MENU_TAG_FONT_ALT:
        run_font_dialog(win);
        return;
    case MENU_TAG_HELP:
        send_help(win);
        return;
    default:
        break;
    }
    if (mdi_command(win, tag)) return;
    // A pop-up menu belongs to the window it was shown for, whether or not that has a bar.
    if (!from_popup && !bar_of(win)) return;
    if (ctl_edit_command(tag)) return;
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    EVENT ev{};
    ev.type = E_COMMAND;
    ev.v.cmd.tag = tag;
    ev.v.cmd.shift = (mods & Qt::ShiftModifier) ? TRUE : FALSE;
    ev.v.cmd.control = (mods & Qt::ControlModifier) ? TRUE : FALSE;
    wynk_win_dispatch_event(win, &ev);
}

void wynk_menu_set_tree(WINDOW win, const MENU_ITEM* tree) {
    if (!tree) return report(WYN_MSG_NULL_WINDOW, __LINE__);
    WynTaskWindow* frame = frame_of(win);
    if (!frame) return report(WYN_MSG_ACCESS_MENU, __LINE__);
    install_bar(win, frame, tree);
}

MENU_ITEM* wynk_menu_get_tree(WINDOW win) {
    WynMenuBar* bar = bar_of(win);
    return bar ? tree_from(bar->actions()) : nullptr;
}

void wynk_menu_set_item_checked(WINDOW win, int16_t tag, BOOLEAN checked) {
    if (QAction* action = item_of(win, tag, __LINE__)) {
        if (checked) action->setCheckable(true);
        action->setChecked(checked);
    }
}

void wynk_menu_set_item_enabled(WINDOW win, int16_t tag, BOOLEAN enabled) {
    if (tag == MENU_TAG_FONT_ALIAS) tag = MENU_TAG_FONT;
    if (QAction* action = item_of(win, tag, __LINE__)) action->setEnabled(enabled);
}

void wynk_menu_set_item_title(WINDOW win, int16_t tag, const char* title) {
    if (QAction* action = item_of(win, tag, __LINE__)) action->setText(to_native(title));
}

void wynk_menu_update(WINDOW win) {
    WynMenuBar* bar = bar_of(win);
    if (!bar && core_win_alive(win)) bar = bar_of(core().task);
    if (bar) bar->update();
}

void wynk_menu_popup(const MENU_ITEM* tree, WINDOW win, PNT pos, int32_t align, int16_t tag) {
    WynSurface* surface = surface_of(win);
    if (!tree || !surface) return;
    QMenu menu(surface);
    int16_t chosen = 0;
    bool help = false;
    fill(&menu, tree, [&chosen, &help](QAction* action) {
        QObject::connect(action, &QAction::triggered, action, [&chosen, &help, action] {
            chosen = tag_of(action);
            help = keys_take_help_held();
        });
    });
    menu.adjustSize();
    const QSize size = menu.sizeHint();
    QPoint at = surface->mapToGlobal(QPoint(pos.h, pos.v));
    if (align == 0)
        at.rx() -= size.width() / 2;
    else if (align == 2)
        at.rx() -= size.width();
    if (QAction* under = tag ? find_tag(menu.actions(), tag) : nullptr) {
        const int offset = menu.actionGeometry(under).top();
        const QScreen* screen = surface->screen();
        if (!screen || at.y() - offset + size.height() <= screen->geometry().bottom())
            at.ry() -= offset;
    }
    menu.exec(at);
    if (chosen == 0 || !core_win_alive(win)) return;
    if (help)
        send_item_help(win, chosen);
    else
        menus_command(win, chosen, true);
}

void wynk_menu_set_font_sel(WINDOW win, FONT font) {
    WynMenuBar* bar = bar_of(win);
    if (!bar) return report(WYN_MSG_ACCESS_MENU, __LINE__);
    FONT copy = nullptr;
    if (font) {
        copy = wynv_font_copy(nullptr, font,
                              FA_FAMILY | FA_STYLE | FA_SIZE | FA_NATIVE_DESC | FA_APP_DATA);
        if (!copy) return;
    }
    bar->setFontSel(copy);
}

FONT wynk_menu_get_font_sel(WINDOW win, BOOLEAN copy) {
    WynMenuBar* bar = bar_of(win);
    FONT font = bar ? bar->fontSel() : nullptr;
    if (!font) return nullptr;
    return copy ? wynv_font_copy(nullptr, font, FA_ALL & ~FA_WIN) : font;
}

BOOLEAN wynk_win_has_menu(WINDOW win) {
    return bar_of(win) ? TRUE : FALSE;
}
