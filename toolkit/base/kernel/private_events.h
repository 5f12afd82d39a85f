// The private messages a window posts to itself: events that wait until the window exists, or
// until the current paint or dispatch is over.
#pragma once

#include <QEvent>
#include <wyn/events.h>

enum PrivateMsg {
    PM_CREATE = 2025,
    PM_SIZE = 2026,
    PM_FOCUS_IN = 2027,
    PM_FOCUS_OUT = 2028,
    PM_MOVE = 2029,
    PM_INVALIDATE = 2030,
    PM_CONTROL = 2031,
    PM_BUSY_DONE = 2036,
    PM_HELP_KEY = 2038,
};

// All private messages share one Qt event type, so they keep their order when drained.
inline const QEvent::Type kPrivateEvent = static_cast<QEvent::Type>(QEvent::User + 25);
// The quit message, posted to the utility object.
inline const QEvent::Type kQuitEvent = static_cast<QEvent::Type>(QEvent::User + 26);

// True for the events that stand for messages taken from the queue: input, timers and private
// messages (paints and the widgets' own notifications are not among them).
inline bool is_queued_message(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Timer:
        return true;
    default:
        return type == kPrivateEvent;
    }
}

// One private message and the event it stands for.
class PrivateEvent : public QEvent {
  public:
    PrivateEvent(PrivateMsg msg, const EVENT& ev) : QEvent(kPrivateEvent), msg_(msg), ev_(ev) {}
    PrivateMsg msg() const { return msg_; }
    EVENT& event() { return ev_; }

  private:
    PrivateMsg msg_;
    EVENT ev_;
};
