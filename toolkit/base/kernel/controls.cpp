// Controls over Qt's standard widgets: creation from arguments and definition entries, their
// notifications as E_CONTROL events, check state, text selection, fonts and colours.
#include "kernel/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "kernel/fonts.h"
#include "kernel/scrollbars.h"
#include "kernel/widgets.h"
#include "kernel/windows.h"
#include "portable/core_state.h"
#include "portable/rect.h"
#include <wyn/ctl.h>
#include <wyn/font.h>
#include <wyn/rect.h>
#include <wyn/res.h>

namespace {

constexpr char kRecordName[] = "wyn_ctl";

// Check boxes and radio buttons never change themselves: the application decides their state
// when it receives the click.
class WynCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override {}
};

class WynRadioButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void nextCheckState() override {}
};

void notify_focus(QWidget* widget, bool active) {
    auto* rec = widget->findChild<CtlRecord*>(kRecordName, Qt::FindDirectChildrenOnly);
    if (!rec || !core_win_alive(rec->win)) return;
    EVENT ev = ctl_event(rec->win);
    ev.v.ctl.ci.v.edit.focus_change = 1;
    ev.v.ctl.ci.v.edit.active = active ? 1 : 0;
    ctl_notify(rec->win, ev);
}

class WynLineEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        notify_focus(this, true);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        notify_focus(this, false);
    }
};

// A list button, or with an edit field a list edit, which also reports its focus changes.
class WynComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void focusInEvent(QFocusEvent* e) override {
        QComboBox::focusInEvent(e);
        if (isEditable()) notify_focus(this, true);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QComboBox::focusOutEvent(e);
        if (isEditable()) notify_focus(this, false);
    }
};

void notify_click(CtlRecord* rec) {
    EVENT ev = ctl_event(rec->win);
    ctl_notify(rec->win, ev);
}

void notify_list(CtlRecord* rec, bool dbl_click) {
    EVENT ev = ctl_event(rec->win);
    ev.v.ctl.ci.v.lbox.dbl_click = dbl_click ? 1 : 0;
    ctl_notify(rec->win, ev);
}

void notify_text(CtlRecord* rec) {
    EVENT ev = ctl_event(rec->win);
    ctl_notify(rec->win, ev);
}

QPixmap icon_pixmap(uint32_t icon_id) {
    const WYN_RES_ICON* icon = wynv_res_find_icon(nullptr, static_cast<int32_t>(icon_id));
    if (!icon || !icon->xpm || icon->lines == 0) return {};
    return QPixmap(icon->xpm);
}

// The native widget of a control type, wired to report its notifications through rec.
QWidget* make_widget(int32_t type, const char* title, uint32_t ctl_flags, uint32_t icon_id,
                     QWidget* parent, CtlRecord*& rec, WINDOW win) {
    QWidget* widget = nullptr;
    switch (type) {
    case WT_PUSH_BUTTON: {
        auto* button = new QPushButton(ctl_native_title(title), parent);
        button->setAutoDefault(false);
        button->setDefault(ctl_flags & CTL_FLAG_DEFAULT);
        widget = button;
        rec = new CtlRecord(win, widget);
        QObject::connect(button, &QPushButton::clicked, rec, [rec] { notify_click(rec); });
        break;
    }
    case WT_RADIO_BUTTON:
    case WT_CHECK_BOX: {
        QAbstractButton* button = nullptr;
        if (type == WT_CHECK_BOX) {
            button = new WynCheckBox(ctl_native_title(title), parent);
        } else {
            button = new WynRadioButton(ctl_native_title(title), parent);
            button->setAutoExclusive(false);
        }
        button->setChecked(ctl_flags & CTL_FLAG_CHECKED);
        widget = button;
        rec = new CtlRecord(win, widget);
        QObject::connect(button, &QAbstractButton::clicked, rec, [rec] { notify_click(rec); });
        break;
    }
    case WT_HSCROLL:
    case WT_VSCROLL: {
        auto* bar = new QScrollBar(type == WT_HSCROLL ? Qt::Horizontal : Qt::Vertical, parent);
        widget = bar;
        rec = new CtlRecord(win, widget);
        sbar_wire_control(bar, rec);
        break;
    }
    case WT_EDIT: {
        auto* edit = new WynLineEdit(QString::fromUtf8(title ? title : ""), parent);
        edit->setReadOnly(ctl_flags & CTL_FLAG_READ_ONLY);
        if (ctl_flags & CTL_FLAG_PASSWORD) edit->setEchoMode(QLineEdit::Password);
        widget = edit;
        rec = new CtlRecord(win, widget);
        QObject::connect(edit, &QLineEdit::textChanged, rec, [rec] { notify_text(rec); });
        break;
    }
    case WT_LIST_BOX: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode((ctl_flags & CTL_FLAG_MULTI_SEL)
                                   ? QAbstractItemView::MultiSelection
                                   : QAbstractItemView::SingleSelection);
        widget = list;
        rec = new CtlRecord(win, widget);
        QObject::connect(list, &QListWidget::itemSelectionChanged, rec,
                         [rec] { notify_list(rec, false); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, rec,
                         [rec] { notify_list(rec, true); });
        break;
    }
    case WT_LIST_BUTTON:
    case WT_LIST_EDIT: {
        auto* combo = new WynComboBox(parent);
        widget = combo;
        rec = new CtlRecord(win, widget);
        if (type == WT_LIST_BUTTON) {
            QObject::connect(combo, &QComboBox::currentIndexChanged, rec,
                             [rec] { notify_list(rec, false); });
            break;
        }
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(QString::fromUtf8(title ? title : ""));
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, rec,
                         [rec] { notify_text(rec); });
        // The chosen element becomes the title before the application hears of the choice.
        QObject::connect(combo, &QComboBox::currentIndexChanged, rec, [rec, combo](int index) {
            if (rec->quiet) return;
            if (index >= 0) combo->setEditText(combo->itemText(index));
            notify_text(rec);
        });
        break;
    }
    case WT_TEXT: {
        auto* label = new QLabel(ctl_native_title(title, true), parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        rec = new CtlRecord(win, widget);
        break;
    }
    case WT_GROUP_BOX:
        widget = new QGroupBox(ctl_native_title(title), parent);
        rec = new CtlRecord(win, widget);
        break;
    case WT_ICON: {
        auto* label = new QLabel(parent);
        label->setPixmap(icon_pixmap(icon_id));
        label->setProperty("wyn_title", QStringLiteral("#%1").arg(icon_id));
        widget = label;
        rec = new CtlRecord(win, widget);
        break;
    }
    default:
        return nullptr;
    }
    return widget;
}

// Scroll bars keep the style's thickness across their narrow side; a list button's rectangle
// is its dropped-down extent, so the closed box takes its natural height and the extent decides
// how many elements the list shows.
QRect native_geometry(int32_t type, const RCT& rct, QWidget* widget) {
    QRect geo(rct.left, rct.top, std::max(0, rct.right - rct.left),
              std::max(0, rct.bottom - rct.top));
    const int thickness = widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (type == WT_HSCROLL) geo.setHeight(thickness);
    if (type == WT_VSCROLL) geo.setWidth(thickness);
    if (type == WT_LIST_BUTTON || type == WT_LIST_EDIT) {
        auto* combo = static_cast<QComboBox*>(widget);
        const int closed = combo->sizeHint().height();
        const int row = std::max(1, combo->fontMetrics().height());
        combo->setMaxVisibleItems(std::max(1, (geo.height() - closed) / row));
        geo.setHeight(closed);
    }
    return geo;
}

// Text-bearing controls show their font natively; scroll bars and icons have no text.
void apply_font(WINDOW ctl, wyn_font* font) {
    if (ctl->type == WT_HSCROLL || ctl->type == WT_VSCROLL || ctl->type == WT_ICON) return;
    auto* widget = static_cast<QWidget*>(ctl->native);
    if (!font || !wynv_font_is_valid(font)) {
        widget->setFont(QFont());
        return;
    }
    if (auto native = fonts_map(font, fonts_device_dpi(ctl->parent))) widget->setFont(native->font);
}

WINDOW create_control(int32_t type, RCT rct, const char* title, int16_t id, WINDOW parent,
                      uint32_t ctl_flags, intptr_t app_data, uint32_t icon_id, wyn_font* font,
                      COLOR* colors) {
    if (!ctl_is_control_type(type) || type == WT_TEXT_EDIT || !core_win_alive(parent))
        return nullptr;
    QWidget* container = ctl_container(parent);
    if (!container) return nullptr;
    CoreBusyScope busy;
    WINDOW win = windows_new_object(WK_CONTROL, type, parent, ctl_flags, 0, nullptr, app_data);
    win->creating = 1;
    CtlRecord* rec = nullptr;
    QWidget* widget = make_widget(type, title, ctl_flags, icon_id, container, rec, win);
    win->native = widget;
    QuietScope quiet(rec);
    rec->id = id;
    rec->ctl_flags = ctl_flags;
    rec->font = font ? font : wynk_win_get_ctl_font(parent);
    rec->colors = colors ? colors : wynk_win_get_ctl_colors(parent);
    if (rec->font) apply_font(win, rec->font);
    widget->setGeometry(native_geometry(type, rct, widget));
    widget->setEnabled(!(ctl_flags & CTL_FLAG_DISABLED));
    if (!(ctl_flags & CTL_FLAG_INVISIBLE)) {
        widget->show();
        // A group box stays beneath the controls it surrounds.
        if (type == WT_GROUP_BOX)
            widget->lower();
        else
            widget->raise();
    } else {
        // Said outright, or the widget would appear with its window.
        widget->hide();
    }
    win->creating = 0;
    return win;
}

// The font and colours a window hands to its new controls, kept with its widget.
class WinCtlDefaults : public QObject {
  public:
    using QObject::QObject;
    wyn_font* font = nullptr;
    COLOR* colors = nullptr;
};

constexpr char kDefaultsName[] = "wyn_ctl_defaults";

WinCtlDefaults* win_defaults(WINDOW win, bool create) {
    if (!core_win_alive(win) || !win->native) return nullptr;
    auto* widget = static_cast<QObject*>(win->native);
    auto* found = widget->findChild<WinCtlDefaults*>(kDefaultsName, Qt::FindDirectChildrenOnly);
    if (found || !create) return found;
    found = new WinCtlDefaults(widget);
    found->setObjectName(kDefaultsName);
    return found;
}

} // namespace

CtlRecord::CtlRecord(WINDOW w, QWidget* widget) : QObject(widget), win(w) {
    setObjectName(kRecordName);
}

CtlRecord* ctl_record(WINDOW win) {
    if (!core_win_alive(win) || win->kind != WK_CONTROL || !win->native) return nullptr;
    auto* widget = static_cast<QWidget*>(win->native);
    return widget->findChild<CtlRecord*>(kRecordName, Qt::FindDirectChildrenOnly);
}

QWidget* ctl_widget(WINDOW win, int32_t type) {
    if (!ctl_record(win)) return nullptr;
    if (type != 0 && win->type != type) return nullptr;
    return static_cast<QWidget*>(win->native);
}

bool ctl_is_control_type(int32_t type) {
    return type >= WT_PUSH_BUTTON && type <= WT_ICON;
}

EVENT ctl_event(WINDOW win) {
    EVENT ev{};
    ev.type = E_CONTROL;
    CtlRecord* rec = ctl_record(win);
    ev.v.ctl.id = rec ? rec->id : 0;
    ev.v.ctl.ci.type = win->type;
    ev.v.ctl.ci.win = win;
    return ev;
}

void ctl_notify(WINDOW win, EVENT& ev, bool now) {
    CtlRecord* rec = ctl_record(win);
    if (!rec || rec->quiet || win->creating || !core_win_alive(win->parent)) return;
    if (now) {
        wynk_win_dispatch_event(win->parent, &ev);
        return;
    }
    if (WynSurface* surface = surface_of(win->parent)) surface->post(PM_CONTROL, ev);
}

QString ctl_native_title(const char* title, bool without_marker) {
    QString out;
    if (!title) return out;
    const QString text = QString::fromUtf8(title);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'~') {
            if (i + 1 < text.size() && text[i + 1] == u'~') {
                out += u'~';
                ++i;
            } else if (!without_marker) {
                out += u'&';
            }
        } else if (c == u'&' && !without_marker) {
            out += QStringLiteral("&&");
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray ctl_toolkit_title(const QString& native) {
    QString out;
    for (qsizetype i = 0; i < native.size(); ++i) {
        const QChar c = native[i];
        if (c == u'&') {
            if (i + 1 < native.size() && native[i + 1] == u'&') {
                out += u'&';
                ++i;
            } else {
                out += u'~';
            }
        } else if (c == u'~') {
            out += QStringLiteral("~~");
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

QSize ctl_dialog_base_units() {
    const QFontMetrics metrics(QApplication::font());
    // The font's own average (its OS/2 table's) weighs in glyphs labels hardly use and comes out a
    // pixel or two narrower than running text, which then no longer fits the rectangles designed
    // around it; the width is measured over the letters instead, halved and rounded.
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return QSize(std::max(1, width), std::max(1, metrics.height()));
}

void ctl_sync_base_units() {
    const QSize units = ctl_dialog_base_units();
    portable_set_dialog_base_units(units.width(), units.height());
}

QWidget* ctl_container(WINDOW win) {
    return surface_of(win);
}

WINDOW wynk_ctl_create(int32_t type, const RCT* rct, const char* title, int16_t id, WINDOW parent,
                       uint32_t ctl_flags, intptr_t app_data) {
    if (!rct) return nullptr;
    return create_control(type, *rct, title, id, parent, ctl_flags, app_data, 0, nullptr, nullptr);
}

WINDOW wynk_ctl_create_def(const WIN_DEF* def, WINDOW parent, intptr_t app_data) {
    if (!def) return nullptr;
    ctl_sync_base_units();
    RCT rct = def->rct;
    if (!wynk_rect_to_pixels(&rct, def->units)) return nullptr;
    const auto id = static_cast<int16_t>(def->menu_or_id & 0xFFFFu);
    return create_control(def->type, rct, def->text, id, parent, def->u.ctl_flags, app_data,
                          def->menu_or_id >> 16, def->font, def->colors);
}

WINDOW wynk_win_get_ctl(WINDOW win, int16_t id) {
    if (!core_win_alive(win)) return nullptr;
    for (WINDOW w : core().windows) {
        if (w->parent != win || w->kind != WK_CONTROL) continue;
        CtlRecord* rec = ctl_record(w);
        if (rec && rec->id == id) return w;
    }
    return nullptr;
}

int16_t wynk_ctl_get_id(WINDOW ctl) {
    CtlRecord* rec = ctl_record(ctl);
    return rec ? rec->id : 0;
}

BOOLEAN wynk_ctl_is_checked(WINDOW ctl) {
    auto* button = qobject_cast<QAbstractButton*>(ctl_widget(ctl));
    if (!button || !button->isCheckable()) return FALSE;
    return button->isChecked() ? TRUE : FALSE;
}

void wynk_ctl_set_checked(WINDOW ctl, BOOLEAN checked) {
    auto* button = qobject_cast<QAbstractButton*>(ctl_widget(ctl));
    if (!button || !button->isCheckable()) return;
    QuietScope quiet(ctl_record(ctl));
    button->setChecked(checked != FALSE);
}

void wynk_ctl_check_radio_button(WINDOW win, WINDOW ctl, const WINDOW* group, int32_t count) {
    if (!core_win_alive(win) || !group) return;
    for (int32_t i = 0; i < count; ++i)
        if (group[i] != ctl && group[i] && group[i]->parent == win)
            wynk_ctl_set_checked(group[i], FALSE);
    wynk_ctl_set_checked(ctl, TRUE);
}

namespace {

QLineEdit* text_field(WINDOW ctl) {
    QWidget* widget = ctl_widget(ctl);
    if (!widget) return nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->lineEdit();
    return nullptr;
}

// The character position in text of a byte offset into its UTF-8 form (-1: the end).
int char_pos(const QString& text, int32_t byte_offset) {
    const QByteArray bytes = text.toUtf8();
    if (byte_offset < 0 || byte_offset > bytes.size()) return static_cast<int>(text.size());
    return static_cast<int>(QString::fromUtf8(bytes.left(byte_offset)).size());
}

int32_t byte_pos(const QString& text, int char_offset) {
    return static_cast<int32_t>(text.left(char_offset).toUtf8().size());
}

} // namespace

void wynk_ctl_set_text_sel(WINDOW ctl, int32_t first, int32_t last) {
    QLineEdit* edit = text_field(ctl);
    if (!edit) return;
    const QString text = edit->text();
    const int from = char_pos(text, std::max(0, first));
    const int to = char_pos(text, last);
    edit->setSelection(from, std::max(0, to - from));
}

void wynk_ctl_get_text_sel(WINDOW ctl, int32_t* first, int32_t* last) {
    QLineEdit* edit = text_field(ctl);
    int32_t from = 0, to = 0;
    if (edit) {
        const QString text = edit->text();
        const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        from = byte_pos(text, start);
        to = byte_pos(text, start + static_cast<int>(edit->selectedText().size()));
    }
    if (first) *first = from;
    if (last) *last = to;
}

void wynk_ctl_set_font(WINDOW ctl, wyn_font* font) {
    CtlRecord* rec = ctl_record(ctl);
    if (!rec) return;
    rec->font = font;
    apply_font(ctl, font);
}

wyn_font* wynk_ctl_get_font(WINDOW ctl) {
    CtlRecord* rec = ctl_record(ctl);
    return rec ? rec->font : nullptr;
}

void wynk_ctl_set_colors(WINDOW ctl, COLOR* colors) {
    if (CtlRecord* rec = ctl_record(ctl)) rec->colors = colors;
}

COLOR* wynk_ctl_get_colors(WINDOW ctl) {
    CtlRecord* rec = ctl_record(ctl);
    return rec ? rec->colors : nullptr;
}

void wynk_win_set_ctl_font(WINDOW win, wyn_font* font) {
    WinCtlDefaults* d = win_defaults(win, true);
    if (!d) return;
    d->font = font;
    for (WINDOW w : core().windows)
        if (w->parent == win && w->kind == WK_CONTROL) wynk_ctl_set_font(w, font);
}

wyn_font* wynk_win_get_ctl_font(WINDOW win) {
    WinCtlDefaults* d = win_defaults(win, false);
    return d ? d->font : nullptr;
}

void wynk_win_set_ctl_colors(WINDOW win, COLOR* colors) {
    if (WinCtlDefaults* d = win_defaults(win, true)) d->colors = colors;
}

COLOR* wynk_win_get_ctl_colors(WINDOW win) {
    WinCtlDefaults* d = win_defaults(win, false);
    return d ? d->colors : nullptr;
}

bool ctl_edit_command(int16_t tag) {
    QWidget* focus = QApplication::focusWidget();
    auto* edit = qobject_cast<QLineEdit*>(focus);
    if (!edit) return false;
    // The line edit of a list edit carries no record; its combo box does.
    QWidget* owner = qobject_cast<QComboBox*>(edit->parentWidget()) ? edit->parentWidget() : edit;
    if (!owner->findChild<CtlRecord*>(kRecordName, Qt::FindDirectChildrenOnly)) return false;
    switch (tag) {
    case 32027:
        edit->cut();
        return true;
    case 32028:
        edit->copy();
        return true;
    case 32029:
        edit->paste();
        return true;
    case 32030:
        edit->del();
        return true;
    default:
        return false;
    }
}
