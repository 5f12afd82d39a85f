// The caret: a small block the kernel draws over a window's surface and blinks with its own
// timer, placed, sized and shown by the application.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

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

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Text));
    }

  private:
    QTimer blink_;
    bool shown_ = false;
};

WynCaret* caret_of(WINDOW win) {
    if (!core_win_alive(win)) return nullptr;
    WynSurface* surface = surface_of(win);
    if (!surface) return nullptr;
    if (auto* caret = surface->findChild<WynCaret*>(kCaretName, Qt::FindDirectChildrenOnly))
        return caret;
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
