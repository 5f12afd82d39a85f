// The caret: a small block the kernel draws over a window's surface and blinks with its own
// timer, placed, sized and shown by the application. While a message for its window is handled
// the caret is taken away, and it comes back once that pass of the loop is over.
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "kernel/private_events.h"
#include "portable/static_block.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include <wyn/ctl.h>

namespace {

constexpr char kCaretName[] = "wyn_caret";

class WynCaret : public QWidget {
  public:
    explicit WynCaret(QWidget* surface) : QWidget(surface), blink_(this) {
        setObjectName(kCaretName);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(1, fontMetrics().height());
        hide();
        const int period = QApplication::cursorFlashTime() / 2;
        blink_.setInterval(period > 0 ? period : 500);
        QObject::connect(&blink_, &QTimer::timeout, this, [this] { setVisible(!isVisible()); });
    }
    // Shows the caret and restarts its blinking, or hides it.
    void setShown(bool shown) {
        shown_ = shown;
        setVisible(shown);
        if (shown) {
            raise();
            blink_.start();
        } else {
            blink_.stop();
        }
    }
    bool shown() const { return shown_; }
    // Takes the caret away without forgetting that the application shows it.
    void suspend() {
        blink_.stop();
        hide();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Text));
    }

  private:
    QTimer blink_;
    bool shown_ = false;
};

// Sent to the filter once the messages of the current pass have been handled.
const QEvent::Type kCaretRestore = static_cast<QEvent::Type>(QEvent::User + 27);

WynCaret* existing_caret(WINDOW win) {
    WynSurface* surface = core_win_alive(win) ? surface_of(win) : nullptr;
    return surface ? surface->findChild<WynCaret*>(kCaretName, Qt::FindDirectChildrenOnly)
                   : nullptr;
}

// Watches what the loop delivers: a message for a window that shows its caret, other than a
// mouse move, hides that caret until the pass ends. Paints are left out: the caret's own blink
// repaints the window.
class CaretPassFilter : public QObject {
  protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        if (!is_queued_message(e->type()) || e->type() == QEvent::MouseMove ||
            !target->isWidgetType())
            return false;
        WynCaret* caret = existing_caret(wynwi_hwnd_to_window(target));
        if (!caret || !caret->shown()) return false;
        caret->suspend();
        if (std::find(hidden_.begin(), hidden_.end(), caret) == hidden_.end())
            hidden_.emplace_back(caret);
        if (!pending_) {
            pending_ = true;
            QCoreApplication::postEvent(this, new QEvent(kCaretRestore), Qt::LowEventPriority);
        }
        return false;
    }

    bool event(QEvent* e) override {
        if (e->type() != kCaretRestore) return QObject::event(e);
        pending_ = false;
        for (const QPointer<WynCaret>& caret : hidden_)
            if (caret && caret->shown()) caret->setShown(true);
        hidden_.clear();
        return true;
    }

  private:
    std::vector<QPointer<WynCaret>> hidden_;
    bool pending_ = false;
};

struct CaretState {
    QPointer<CaretPassFilter> filter;
    ~CaretState() { delete filter.data(); }
};

void install_pass_filter() {
    CaretState* st = static_block<CaretState>();
    if (!st || st->filter || !QCoreApplication::instance()) return;
    st->filter = new CaretPassFilter();
    QCoreApplication::instance()->installEventFilter(st->filter);
}

WynCaret* caret_of(WINDOW win) {
    if (!core_win_alive(win)) return nullptr;
    WynSurface* surface = surface_of(win);
    if (!surface) return nullptr;
    if (WynCaret* caret = existing_caret(win)) return caret;
    install_pass_filter();
    return new WynCaret(surface);
}

} // namespace

void wynk_win_set_caret_pos(WINDOW win, PNT pos) {
    if (WynCaret* caret = caret_of(win)) caret->move(pos.h, pos.v);
}

void wynk_win_set_caret_size(WINDOW win, int16_t width, int16_t height) {
    if (WynCaret* caret = caret_of(win))
        caret->resize(std::max<int>(1, width), std::max<int>(1, height));
}

void wynk_win_set_caret_visible(WINDOW win, BOOLEAN visible) {
    if (WynCaret* caret = caret_of(win)) caret->setShown(visible != FALSE);
}
