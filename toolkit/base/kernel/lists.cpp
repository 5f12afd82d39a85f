// List boxes (QListWidget), list buttons and list edits (QComboBox): elements, selection and
// redrawing; programmatic changes never produce E_CONTROL.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <cstring>

#include "kernel/controls.h"
#include "portable/core_state.h"
#include <wyn/errmsg.h>
#include <wyn/list.h>
#include <wyn/windef.h>

namespace {

constexpr char kUnit[] = "klist";
constexpr WYN_MSG_ID kMsgNoMemory = 0x510000u;
constexpr WYN_MSG_ID kMsgValueTooHigh = 0x1250003u;
// Element texts handed out in lists are read into buffers of this size.
constexpr int kEltBuffer = 300;

struct ListCtl {
    CtlRecord* rec = nullptr;
    QListWidget* box = nullptr;
    QComboBox* combo = nullptr;
    explicit operator bool() const { return rec != nullptr; }
    int count() const { return box ? box->count() : combo->count(); }
    QString text(int i) const { return box ? box->item(i)->text() : combo->itemText(i); }
};

ListCtl list_of(WINDOW ctl) {
    ListCtl l;
    QWidget* widget = ctl_widget(ctl);
    if (!widget) return l;
    l.box = qobject_cast<QListWidget*>(widget);
    l.combo = qobject_cast<QComboBox*>(widget);
    if (l.box || l.combo) l.rec = ctl_record(ctl);
    return l;
}

ListCtl list_or_report(WINDOW ctl, int line) {
    ListCtl l = list_of(ctl);
    if (!l) wynv_errmsg_dispatch(ctl, WYN_SEV_ERROR, WYN_MSG_INVALID_OBJECT, kUnit, line);
    return l;
}

// Copies text as UTF-8 into buf (size bytes), cut at a character boundary.
void copy_text(const QString& text, char* buf, int32_t size) {
    if (!buf || size < 1) return;
    QByteArray bytes = text.toUtf8();
    qsizetype n = std::min<qsizetype>(bytes.size(), size - 1);
    while (n > 0 && n < bytes.size() && (static_cast<unsigned char>(bytes[n]) & 0xC0) == 0x80) --n;
    std::memcpy(buf, bytes.constData(), static_cast<size_t>(n));
    buf[n] = '\0';
}

// A sorted list puts an element added at the end in its alphabetical place.
int insert_pos(const ListCtl& l, int32_t pos, const QString& text) {
    if (pos != -1) return pos;
    if (!(l.rec->ctl_flags & CTL_FLAG_SORTED)) return l.count();
    int i = 0;
    while (i < l.count() && QString::compare(l.text(i), text, Qt::CaseInsensitive) <= 0) ++i;
    return i;
}

bool insert_one(const ListCtl& l, int32_t pos, const char* utf8) {
    const QString text = QString::fromUtf8(utf8);
    const int at = insert_pos(l, pos, text);
    if (at < 0 || at > l.count()) {
        wynv_errmsg_dispatch(l.rec->win, WYN_SEV_ERROR, WYN_MSG_INVALID_OBJECT, kUnit, __LINE__);
        return false;
    }
    if (l.box) {
        l.box->insertItem(at, text);
        return true;
    }
    // An edit field keeps its text when the first element arrives; only a list button selects.
    const QString edit_text = l.combo->isEditable() ? l.combo->currentText() : QString();
    l.combo->insertItem(at, text);
    if (l.combo->isEditable() && l.combo->count() == 1) {
        l.combo->setCurrentIndex(-1);
        l.combo->setEditText(edit_text);
    }
    return true;
}

bool is_slist(const char* text) {
    return static_cast<unsigned char>(text[0]) == 0xFF &&
           wynv_slist_is_valid(reinterpret_cast<SLIST>(const_cast<char*>(text)));
}

bool selected(const ListCtl& l, int i) {
    if (l.box) return l.box->item(i)->isSelected();
    return l.combo->currentIndex() == i;
}

SLIST collect(WINDOW ctl, bool only_selected, int line) {
    ListCtl l = list_or_report(ctl, line);
    if (!l) return nullptr;
    SLIST list = wynv_slist_create();
    if (!list) {
        wynv_errmsg_dispatch(ctl, WYN_SEV_ERROR, kMsgNoMemory, kUnit, line);
        return nullptr;
    }
    char buf[kEltBuffer];
    for (int i = 0; i < l.count(); ++i) {
        if (only_selected && !selected(l, i)) continue;
        copy_text(l.text(i), buf, kEltBuffer);
        if (!wynv_slist_add_at_pos(list, -1, buf, i)) {
            wynv_slist_destroy(list);
            return nullptr;
        }
    }
    return list;
}

} // namespace

BOOLEAN wynk_list_add(WINDOW ctl, int32_t pos, const char* text) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l || !text) return FALSE;
    QuietScope quiet(l.rec);
    if (!is_slist(text)) return insert_one(l, pos, text) ? TRUE : FALSE;
    SLIST list = reinterpret_cast<SLIST>(const_cast<char*>(text));
    for (SLIST_ELT e = wynv_slist_get_first(list); e; e = wynv_slist_get_next(list, e)) {
        if (!insert_one(l, pos, wynv_slist_get(list, e, nullptr))) return FALSE;
        if (pos >= 0) ++pos;
    }
    return TRUE;
}

BOOLEAN wynk_list_rem(WINDOW ctl, int32_t index) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l) return FALSE;
    if (index < 0 || index >= l.count()) {
        wynv_errmsg_dispatch(ctl, WYN_SEV_ERROR, kMsgValueTooHigh, kUnit, __LINE__);
        return FALSE;
    }
    QuietScope quiet(l.rec);
    if (l.box) {
        delete l.box->takeItem(index);
    } else {
        l.combo->removeItem(index);
        if (l.combo->count() == 0) l.combo->clearEditText();
    }
    return TRUE;
}

void wynk_list_clear(WINDOW ctl) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l) return;
    QuietScope quiet(l.rec);
    if (l.box) {
        l.box->clear();
    } else {
        l.combo->clear();
        l.combo->clearEditText();
    }
}

int32_t wynk_list_count_all(WINDOW ctl) {
    ListCtl l = list_or_report(ctl, __LINE__);
    return l ? l.count() : -1;
}

int32_t wynk_list_count_sel(WINDOW ctl) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l) return -1;
    int32_t n = 0;
    for (int i = 0; i < l.count(); ++i)
        if (selected(l, i)) ++n;
    return n;
}

SLIST wynk_list_get_all(WINDOW ctl) {
    return collect(ctl, false, __LINE__);
}

SLIST wynk_list_get_sel(WINDOW ctl) {
    return collect(ctl, true, __LINE__);
}

BOOLEAN wynk_list_get_elt(WINDOW ctl, int32_t index, char* buf, int32_t size) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l || !buf || size < 1 || index < 0 || index >= l.count()) return FALSE;
    copy_text(l.text(index), buf, size);
    return TRUE;
}

int32_t wynk_list_get_sel_index(WINDOW ctl) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l) return -1;
    for (int i = 0; i < l.count(); ++i)
        if (selected(l, i)) return i;
    return -1;
}

BOOLEAN wynk_list_get_first_sel(WINDOW ctl, char* buf, int32_t size) {
    const int32_t index = wynk_list_get_sel_index(ctl);
    return index >= 0 ? wynk_list_get_elt(ctl, index, buf, size) : FALSE;
}

BOOLEAN wynk_list_is_sel(WINDOW ctl, int32_t index) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l || index < 0 || index >= l.count()) return FALSE;
    return selected(l, index) ? TRUE : FALSE;
}

void wynk_list_set_sel(WINDOW ctl, int32_t index, BOOLEAN select) {
    ListCtl l = list_or_report(ctl, __LINE__);
    if (!l) return;
    QuietScope quiet(l.rec);
    const bool valid = index >= 0 && index < l.count();
    if (l.combo) {
        l.combo->setCurrentIndex(select && valid ? index : -1);
        return;
    }
    if (l.box->selectionMode() == QAbstractItemView::MultiSelection) {
        if (!valid) return;
        l.box->item(index)->setSelected(select != FALSE);
        l.box->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        return;
    }
    if (select && valid)
        l.box->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else
        l.box->clearSelection();
}

void wynk_list_suspend(WINDOW ctl) {
    ListCtl l = list_of(ctl);
    if (l.box) l.box->setUpdatesEnabled(false);
}

void wynk_list_resume(WINDOW ctl) {
    ListCtl l = list_of(ctl);
    if (!l.box) return;
    l.box->setUpdatesEnabled(true);
    l.box->viewport()->update();
}
