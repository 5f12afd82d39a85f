// The native widget classes, one per window kind: each holds its window object, keeps a backing
// image for drawable windows and turns Qt's events into toolkit events.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QWidget>
#include <wyn/win.h>

#include "kernel/private_events.h"

class QMenuBar;

// The drawable area of a window: the common event translation of all window kinds.
class WynSurface : public QWidget {
  public:
    WynSurface(WINDOW win, QWidget* parent, Qt::WindowFlags flags = {});

    // The window object, or null once it has been destroyed.
    WINDOW wynWindow() const { return win_; }
    // Forgets the window object; the widget then only shows its image until it is deleted.
    void detach() { win_ = nullptr; }
    // The image the drawing operations paint into, in device pixels at the screen's pixel ratio
    // (so a scaled display shows it as sharp as an unscaled one); painters on it take logical
    // coordinates. Shown by every paint.
    QImage& backing() { return backing_; }
    // Makes the backing image cover at least size logical pixels at the window's current pixel
    // ratio, keeping what it shows.
    void growBacking(QSize size);
    // The device pixels of the backing image behind logical rectangle r.
    QRect backingRect(const QRect& r) const;
    // Posts a private message to this window.
    void post(PrivateMsg msg, const EVENT& ev);
    // Sends ev now, or posts it as msg while the window is being built.
    void sendOrPost(PrivateMsg msg, EVENT& ev);
    // The client area's size: the surface less the room its own scroll bars take.
    QSize clientSize() const;
    // Sends E_SIZE for the current client size unless the window is minimised.
    void reportSize();
    // Sends E_CLOSE; the window stays open.
    void reportClose();

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

  private:
    void receivePrivate(PrivateEvent* e);
    // The help key in a dialog: help for the object that has the focus, named by its control id.
    void helpKey();
    void sendMouse(int type, QMouseEvent* e);
    void sendFocus(bool active);

    WINDOW win_;
    QImage backing_;
};

// Kind 8: a child window of the task window.
class WynTaskChild : public WynSurface {
  public:
    using WynSurface::WynSurface;
};

// Kind 16 (and the document kinds inside other windows): a child window.
class WynChildWindow : public WynSurface {
  public:
    using WynSurface::WynSurface;
};

// Kind 4: a top-level window.
class WynTopWindow : public WynSurface {
  public:
    WynTopWindow(WINDOW win, Qt::WindowFlags flags);
};

// Kind 4096: a modal top-level window; its creation runs a loop until it is destroyed.
class WynModalWindow : public WynTopWindow {
  public:
    explicit WynModalWindow(WINDOW win);
};

// Kinds 1, 2 and 0x10001: the task window, a frame with a menu bar slot around its surface.
class WynTaskWindow : public QMainWindow {
  public:
    explicit WynTaskWindow(WINDOW win);
    WynSurface* surface() const { return surface_; }
    // Installs the window's menu bar (owned by the frame from then on).
    void setWynMenuBar(QMenuBar* bar);
    // Sizes the frame so that the surface's client area is `client`.
    void setClientSize(QSize client);

  protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    WynSurface* surface_;
};

// Kind 2048: the hidden utility object that receives the quit message and the session's
// messages.
class WynUtility : public QObject {
  protected:
    bool event(QEvent* e) override;
};

// The surface of a window object (its drawable area), or null.
WynSurface* surface_of(WINDOW win);
// The top-level widget of a window object's native window, or null.
QWidget* widget_of(WINDOW win);
