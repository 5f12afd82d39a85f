// Scroll bars over QScrollBar: the range record, position and proportion of window bars and
// scroll-bar controls, and their actions reported as E_HSCROLL, E_VSCROLL or E_CONTROL.
#include "kernel/scrollbars.h"

#include <QAbstractSlider>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <functional>

#include "kernel/controls.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/sbar.h>

namespace {

constexpr char kStateName[] = "wyn_sbar";
constexpr char kHorzName[] = "wyn_hbar";
constexpr char kVertName[] = "wyn_vbar";

// The toolkit's record of a bar: Qt's own range leaves out the proportion.
class SbarState : public QObject {
  public:
    explicit SbarState(QScrollBar* bar) : QObject(bar) { setObjectName(kStateName); }
    int32_t min = 0, max = 0, prop = 0;
};

SbarState* state_of(QScrollBar* bar) {
    return bar ? bar->findChild<SbarState*>(kStateName, Qt::FindDirectChildrenOnly) : nullptr;
}

void apply(QScrollBar* bar, const SbarState& st) {
    bar->setRange(st.min, std::max(st.min, st.max - st.prop));
    bar->setPageStep(std::max(1, st.prop));
    bar->setSingleStep(1);
}

// The bar moves only when the application says so; a drag moves the thumb as it goes.
void wire(QScrollBar* bar, std::function<void(const ScrollReport&)> send) {
    auto* st = new SbarState(bar);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, st, [bar, st, send](int action) {
        const ScrollReport report =
            sbar_map_action(action, bar->sliderPosition(), st->min, st->max);
        if (action != QAbstractSlider::SliderMove) bar->setSliderPosition(bar->value());
        if (report.send) send(report);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, st, [bar, send] {
        send(ScrollReport{true, SC_THUMB, static_cast<int16_t>(bar->sliderPosition())});
    });
}

int extent(const QWidget* surface) {
    return surface->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

QScrollBar* own_bar(const QWidget* surface, const char* name) {
    return surface ? surface->findChild<QScrollBar*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

// Keeps a window's own bars along its right and bottom edges, outside its client area.
class BarDock : public QObject {
  public:
    explicit BarDock(QWidget* surface) : QObject(surface) {
        setObjectName("wyn_bar_dock");
        surface->installEventFilter(this);
    }
    static void layout(QWidget* surface) {
        QScrollBar* h = own_bar(surface, kHorzName);
        QScrollBar* v = own_bar(surface, kVertName);
        const int t = extent(surface);
        const int w = surface->width(), hgt = surface->height();
        if (h) h->setGeometry(0, hgt - t, std::max(0, w - (v ? t : 0)), t);
        if (v) v->setGeometry(w - t, 0, t, std::max(0, hgt - (h ? t : 0)));
    }

  protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        if (e->type() == QEvent::Resize) layout(static_cast<QWidget*>(target));
        return false;
    }
};

QScrollBar* make_window_bar(WINDOW win, WynSurface* surface, SCROLL_TYPE which) {
    auto* bar = new QScrollBar(which == SCROLL_HORZ ? Qt::Horizontal : Qt::Vertical, surface);
    bar->setObjectName(which == SCROLL_HORZ ? kHorzName : kVertName);
    // The bars belong to the frame of the window, not to what its handler draws or focuses.
    bar->setFocusPolicy(Qt::NoFocus);
    const int type = which == SCROLL_HORZ ? E_HSCROLL : E_VSCROLL;
    wire(bar, [win, type](const ScrollReport& r) {
        if (!core_win_alive(win)) return;
        EVENT ev{};
        ev.type = type;
        ev.v.scroll.what = r.what;
        ev.v.scroll.pos = r.pos;
        wynk_win_dispatch_event(win, &ev);
    });
    bar->show();
    return bar;
}

QScrollBar* window_bar(WINDOW win, SCROLL_TYPE which) {
    if (!core_win_alive(win)) return nullptr;
    return own_bar(surface_of(win), which == SCROLL_HORZ ? kHorzName : kVertName);
}

QScrollBar* bar_of(WINDOW win, SCROLL_TYPE which) {
    if (which == SCROLL_CTL) {
        QWidget* widget = ctl_widget(win);
        if (!widget || (win->type != WT_HSCROLL && win->type != WT_VSCROLL)) return nullptr;
        return static_cast<QScrollBar*>(widget);
    }
    if (which != SCROLL_HORZ && which != SCROLL_VERT) return nullptr;
    return window_bar(win, which);
}

} // namespace

void sbar_equip_window(WINDOW win) {
    WynSurface* surface = surface_of(win);
    if (!surface || !(win->flags & (WSF_HSCROLL | WSF_VSCROLL))) return;
    if (win->flags & WSF_HSCROLL) make_window_bar(win, surface, SCROLL_HORZ);
    if (win->flags & WSF_VSCROLL) make_window_bar(win, surface, SCROLL_VERT);
    new BarDock(surface);
    BarDock::layout(surface);
}

QSize sbar_room(const QWidget* surface) {
    if (!surface) return QSize(0, 0);
    const int t = extent(surface);
    return QSize(own_bar(surface, kVertName) ? t : 0, own_bar(surface, kHorzName) ? t : 0);
}

QSize sbar_room_for_flags(uint32_t flags, const QWidget* surface) {
    const int t = surface ? extent(surface) : 0;
    return QSize(flags & WSF_VSCROLL ? t : 0, flags & WSF_HSCROLL ? t : 0);
}

ScrollReport sbar_map_action(int qt_action, int slider_pos, int32_t min, int32_t max) {
    const auto clamp16 = [](long v) {
        return static_cast<int16_t>(std::clamp(v, -32768L, 32767L));
    };
    switch (qt_action) {
    case QAbstractSlider::SliderSingleStepSub:
        return {true, SC_LINE_UP, 0};
    case QAbstractSlider::SliderSingleStepAdd:
        return {true, SC_LINE_DOWN, 0};
    case QAbstractSlider::SliderPageStepSub:
        return {true, SC_PAGE_UP, 0};
    case QAbstractSlider::SliderPageStepAdd:
        return {true, SC_PAGE_DOWN, 0};
    case QAbstractSlider::SliderToMinimum:
        return {true, SC_THUMB, clamp16(min)};
    case QAbstractSlider::SliderToMaximum:
        return {true, SC_THUMB, clamp16(max)};
    case QAbstractSlider::SliderMove:
        return {true, SC_THUMB_DRAG, clamp16(slider_pos)};
    default:
        return {false, 0, 0};
    }
}

void sbar_wire_control(QScrollBar* bar, CtlRecord* rec) {
    WINDOW win = rec->win;
    wire(bar, [win](const ScrollReport& r) {
        EVENT ev = ctl_event(win);
        ev.v.ctl.ci.v.scroll.what = r.what;
        ev.v.ctl.ci.v.scroll.pos = r.pos;
        ctl_notify(win, ev, true);
    });
}

void wynk_sbar_set_range(WINDOW win, SCROLL_TYPE which, int32_t min, int32_t max) {
    QScrollBar* bar = bar_of(win, which);
    SbarState* st = state_of(bar);
    if (!st) return;
    st->min = min;
    st->max = std::max(min, max);
    apply(bar, *st);
}

void wynk_sbar_get_range(WINDOW win, SCROLL_TYPE which, int32_t* min, int32_t* max) {
    SbarState* st = state_of(bar_of(win, which));
    if (min) *min = st ? st->min : 0;
    if (max) *max = st ? st->max : 0;
}

void wynk_sbar_set_pos(WINDOW win, SCROLL_TYPE which, int32_t pos) {
    if (QScrollBar* bar = bar_of(win, which)) bar->setValue(pos);
}

int32_t wynk_sbar_get_pos(WINDOW win, SCROLL_TYPE which) {
    QScrollBar* bar = bar_of(win, which);
    return bar ? bar->value() : 0;
}

void wynk_sbar_set_proportion(WINDOW win, SCROLL_TYPE which, int32_t proportion) {
    QScrollBar* bar = bar_of(win, which);
    SbarState* st = state_of(bar);
    if (!st) return;
    st->prop = std::max(0, proportion);
    apply(bar, *st);
}

int32_t wynk_sbar_get_proportion(WINDOW win, SCROLL_TYPE which) {
    SbarState* st = state_of(bar_of(win, which));
    return st ? st->prop : 0;
}
