// The kernel layer's per-process state: the Qt application, the utility object, timers, the
// session's signals, the remembered pointer and focus, and the application's names and resources.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>
#include <wyn/app.h>
#include <wyn/events.h>
#include <wyn/res.h>

class QApplication;
class QSocketNotifier;

// A monotonic millisecond counter (wraps after 49.7 days, as the timer rule expects).
using TickClock = uint32_t (*)();

inline constexpr int kFirstTimer = 2;
inline constexpr int kLastTimer = 16;

struct TimerSlot {
    WINDOW win = nullptr; // null: free
    int32_t interval = 0; // requested, ms
    int32_t period = 0;   // native, ms
    uint32_t last = 0;    // tick count of the last delivered E_TIMER
    int native_id = 0;
    QPointer<QWidget> widget;
};

struct KernelState {
    QApplication* app = nullptr;
    bool owns_app = false;
    int qt_argc = 1;
    char arg0[256] = "";
    char* qt_argv[2] = {arg0, nullptr};

    QObject* utility = nullptr;
    QObject* filter = nullptr;

    TimerSlot timers[kLastTimer + 1];
    TickClock clock = nullptr; // null: the system's monotonic clock

    QSocketNotifier* signal_notifier = nullptr;
    int signal_pipe[2] = {-1, -1};

    QPointer<QWidget> last_focus_out; // the widget that lost the focus last
    bool painting = false;            // an E_UPDATE from a paint is being delivered
    WINDOW mouse_win = nullptr;       // the window of the last mouse event
    EVENT mouse_event{};

    WYN_APP_CONFIG config{}; // the application's configuration, names copied
    std::string base_name, app_name, task_title;
    std::string resource_name; // string 30399 of the resources in use
    uint32_t app_flags = 0;

    void* resource_library = nullptr;              // loaded in place of the program's resources
    const WYN_RES_MODULE* own_resources = nullptr; // the program's, given back when it goes
};

// The calling process's kernel state block.
KernelState& kcore();
