// The session's requests to end: the session manager's commit request asks, and SIGTERM, SIGINT
// or SIGHUP end the session now. Signals reach the event loop through a self-pipe.
#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "kernel/app_loop.h"
#include "kernel/kernel_state.h"
#include "portable/core_state.h"

namespace {

constexpr int handled_signals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may touch only this: the write end of the pipe, kept outside the state block.
volatile sig_atomic_t signal_write_fd = -1;
struct sigaction previous_actions[3];

void on_signal(int sig) {
    int saved = errno;
    unsigned char byte = static_cast<unsigned char>(sig);
    if (signal_write_fd >= 0) (void)!write(signal_write_fd, &byte, 1);
    errno = saved;
}

void drain_signals() {
    KernelState& k = kcore();
    unsigned char buffer[16];
    bool any = false;
    while (read(k.signal_pipe[0], buffer, sizeof buffer) > 0) any = true;
    if (any) app_end_session_now();
}

void on_commit_request(QSessionManager& manager) {
    if (!app_query_end_session() && manager.allowsInteraction()) manager.cancel();
}

} // namespace

BOOLEAN app_query_end_session() {
    CoreState& state = core();
    state.quit_allowed = false;
    if (core_win_alive(state.task)) {
        EVENT ev{};
        ev.type = E_QUIT;
        ev.v.quit.query = TRUE;
        wynk_win_dispatch_event(state.task, &ev);
    }
    return state.quit_allowed ? TRUE : FALSE;
}

void app_end_session_now() {
    CoreState& state = core();
    if (!core_win_alive(state.task) || state.task_destroying) return;
    EVENT ev{};
    ev.type = E_QUIT;
    ev.v.quit.query = FALSE;
    wynk_win_dispatch_event(state.task, &ev);
    // The system ended the process after this message; here the application ends in order.
    wynv_app_destroy();
}

void wynk_app_allow_quit(void) {
    core().quit_allowed = true;
}

void session_install() {
    KernelState& k = kcore();
    if (k.signal_notifier) return;
    if (pipe2(k.signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        k.signal_pipe[0] = k.signal_pipe[1] = -1;
        return;
    }
    signal_write_fd = k.signal_pipe[1];
    k.signal_notifier = new QSocketNotifier(k.signal_pipe[0], QSocketNotifier::Read);
    QObject::connect(k.signal_notifier, &QSocketNotifier::activated, [] { drain_signals(); });
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(handled_signals); ++i)
        sigaction(handled_signals[i], &action, &previous_actions[i]);
    QObject::connect(k.app, &QGuiApplication::commitDataRequest, k.signal_notifier,
                     on_commit_request);
}

void session_remove() {
    KernelState& k = kcore();
    if (!k.signal_notifier) return;
    for (size_t i = 0; i < std::size(handled_signals); ++i)
        sigaction(handled_signals[i], &previous_actions[i], nullptr);
    signal_write_fd = -1;
    delete k.signal_notifier;
    k.signal_notifier = nullptr;
    close(k.signal_pipe[0]);
    close(k.signal_pipe[1]);
    k.signal_pipe[0] = k.signal_pipe[1] = -1;
}
