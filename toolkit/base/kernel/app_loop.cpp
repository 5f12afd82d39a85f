// The start-up handshake, the application's windows, the event loop and its passes, and the
// orderly and fatal ends of the toolkit.
#include "kernel/app_loop.h"

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

#include "kernel/app_resources.h"
#include "kernel/kernel_state.h"
#include "kernel/private_events.h"
#include "kernel/snapshot.h"
#include "kernel/timers.h"
#include "kernel/widgets.h"
#include "kernel/windows.h"
#include "portable/attr.h"
#include "portable/core_state.h"
#include "portable/err_state.h"
#include "portable/font_object.h"
#include "portable/fsys_dir.h"
#include "portable/res.h"
#include "portable/static_data.h"
#include <wyn/clipboard.h>
#include <wyn/dm.h>
#include <wyn/errmsg.h>
#include <wyn/print.h>
#include <wyn/static.h>
#include <wyn/str.h>

namespace {

constexpr char kReportUnit[] = "kapp";

constexpr WYN_VERSION library_version = {WYN_VERSION_MAJOR, WYN_VERSION_MINOR, WYN_VERSION_PATCH,
                                         WYN_VERSION_MAJOR, WYN_VERSION_MINOR, WYN_VERSION_PATCH};

constexpr int32_t escape_destroy_task = 4001;

// Start-up failures, reported fatally: the resource name string and the accelerator table every
// program carries are missing.
constexpr WYN_MSG_ID msg_no_resource_name = 0x72C350;
constexpr WYN_MSG_ID msg_no_accelerators = 0x347E92;

constexpr int kStrNoResourceFile = 30018;
constexpr char kNoResourceFileText[] = "Cannot find resource file - will use default resources";

// Kept outside the state block: it is called after the block is gone.
void (*fatal_return)(void) = nullptr;

long ordinal(int16_t major, int16_t minor, int16_t patch) {
    return major * 100000L + minor * 1000L + patch;
}

// The application's events are offered to the message hook as they are taken from the queue;
// the filter also remembers which widget lost the focus, for the focus rule of the windows.
class AppFilter : public QObject {
  protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        if (e->type() == QEvent::FocusOut && target->isWidgetType())
            kcore().last_focus_out = static_cast<QWidget*>(target);
        auto hook = reinterpret_cast<WYN_NATIVE_HOOK>(core_attr(ATTR_MSG_HOOK));
        if (!hook || !is_queued_message(e->type())) return false;
        WINDOW win = target->isWidgetType() ? wynwi_hwnd_to_window(target) : nullptr;
        if (!win) return false;
        WYN_NATIVE_MSG msg{win, static_cast<int32_t>(e->type()), e};
        return !hook(&msg);
    }
};

void split_files(const char* cmd_line) {
    CoreState& state = core();
    state.files.clear();
    state.files_done = 0;
    if (!cmd_line) return;
    std::istringstream words(cmd_line);
    std::string word;
    while (words >> word)
        if (word[0] != '/') state.files.push_back(word);
}

uint32_t task_flags_for(int32_t show_cmd) {
    if (show_cmd == 2 || show_cmd == 7) return 387;
    if (show_cmd == 3) return 4227;
    return 131;
}

// The fatal path's services for the error framework.
void end_toolkit_for_fatal() {
    wynwi_End();
}

void exit_after_fatal(int status) {
    if (fatal_return) fatal_return();
    std::_Exit(status);
}

void beep() {
    QApplication::beep();
}

void install_error_host() {
    err_host host{};
    host.end_toolkit = end_toolkit_for_fatal;
    host.destroy_app = wynv_app_destroy;
    host.beep = beep;
    host.exit_process = exit_after_fatal;
    err_set_host(host);
}

// Before the first event every report ends the application; should the application's error
// handler take the report instead, start-up still stops here.
bool start_up_fails(WYN_MSG_ID id, int line) {
    wynv_errmsg_dispatch(nullptr, WYN_SEV_FATAL, id, kReportUnit, line);
    return false;
}

void store_config(WYN_APP_CONFIG* config) {
    KernelState& k = kcore();
    k.config = config ? *config : WYN_APP_CONFIG{};
    k.base_name = k.config.base_name ? k.config.base_name : "";
    // Without a name of its own the application goes by its resource name.
    k.app_name = k.config.app_name ? k.config.app_name : k.resource_name;
    app_string_of_attr(ATTR_APP_NAME_ID, k.app_name);
    k.task_title = k.config.task_title ? k.config.task_title : k.app_name;
    app_string_of_attr(ATTR_TASK_TITLE_ID, k.task_title);
    k.config.base_name = k.base_name.c_str();
    k.config.app_name = k.app_name.c_str();
    k.config.task_title = k.task_title.c_str();
    core_set_attr(ATTR_APP_CONFIG, reinterpret_cast<ATTR_VALUE>(&k.config));
}

void make_task_object(EVENT_HANDLER task_handler) {
    CoreState& state = core();
    WINDOW task = windows_new_object(WK_TASK_OBJECT, WT_TASK, state.screen, 0, EM_ALL, task_handler,
                                     core_attr(ATTR_TASK_APP_DATA));
    state.task = task;
    core_set_attr(ATTR_TASK_WINDOW, reinterpret_cast<ATTR_VALUE>(task));
    EVENT ev{};
    ev.type = E_CREATE;
    wynk_win_dispatch_event(task, &ev);
    ev = EVENT{};
    ev.type = E_SIZE;
    ev.v.size.height = static_cast<int16_t>(native_screen_height());
    ev.v.size.width = static_cast<int16_t>(native_screen_width());
    wynk_win_dispatch_event(task, &ev);
}

} // namespace

const WYN_VERSION& app_library_version() {
    return library_version;
}

bool app_versions_compatible(const WYN_VERSION* program, const WYN_VERSION& library) {
    if (!program) return false;
    long prog = ordinal(program->major, program->minor, program->patch);
    long lib = ordinal(library.major, library.minor, library.patch);
    if (lib > prog)
        return ordinal(library.compat_major, library.compat_minor, library.compat_patch) <= prog;
    return ordinal(program->compat_major, program->compat_minor, program->compat_patch) <= lib;
}

BOOLEAN wynwi_Begin(WYN_STARTUP* startup) {
    if (!startup || !wynv_static_init()) return FALSE;
    CoreState& state = core();
    state.startup = startup;
    // Linux counts as the NT family of the original platform.
    state.platform = 2;
    state.tx_create_def = startup->tx_create_def;
    state.tx_get_tx = startup->tx_get_tx;
    state.stage = AppStage::begun;
    fatal_return = startup->fatal_return;
    install_error_host();
    return TRUE;
}

BOOLEAN wynwi_Init(WYN_STARTUP* startup) {
    if (!startup) return FALSE;
    KernelState& k = kcore();
    if (!QApplication::instance()) {
        // The window system learns the program's own name from the first argument (the instance
        // part of the X11 window class).
        std::snprintf(k.arg0, sizeof k.arg0, "%s", program_invocation_short_name);
        k.app = new QApplication(k.qt_argc, k.qt_argv);
        k.owns_app = true;
    } else {
        k.app = qobject_cast<QApplication*>(QApplication::instance());
    }
    if (!k.app) return FALSE;
    // Desktops name and group the program's windows by the program's own name: the class part of
    // the X11 window class and the application id come from these, never from the toolkit.
    QCoreApplication::setApplicationName(QString::fromLocal8Bit(program_invocation_short_name));
    QGuiApplication::setDesktopFileName(QCoreApplication::applicationName());
    if (!app_versions_compatible(startup->version, library_version)) {
        QMessageBox::critical(nullptr, QStringLiteral("WYN"),
                              QStringLiteral("Improper version of QORLA.DLL"));
        return FALSE;
    }
    // The toolkit decides when the application ends, not the last window.
    k.app->setQuitOnLastWindowClosed(false);
    k.utility = new WynUtility();
    k.filter = new AppFilter();
    k.app->installEventFilter(k.filter);
    if (!core_attr_init()) return FALSE;
    screen_set_initial_attrs();
    core_set_attr(ATTR_TASK_FLAGS, task_flags_for(startup->show_cmd));
    core_set_attr(ATTR_INSTANCE, reinterpret_cast<ATTR_VALUE>(startup->instance));
    core_set_attr(ATTR_PREV_INSTANCE, reinterpret_cast<ATTR_VALUE>(startup->prev_instance));
    core_set_attr(ATTR_CMD_LINE, reinterpret_cast<ATTR_VALUE>(startup->cmd_line));
    split_files(startup->cmd_line);
    session_install();
    // Window and dialog definitions name fonts by resource; the readers make them through here.
    fonts_install_resource_hooks();
    snapshot_start();
    core().stage = AppStage::initialised;
    return TRUE;
}

bool app_start(uint32_t flags, EVENT_HANDLER task_handler, WYN_APP_CONFIG* config) {
    CoreState& state = core();
    KernelState& k = kcore();
    state.stage = AppStage::running;
    const char* resource_file = reinterpret_cast<const char*>(core_attr(ATTR_RESOURCE_FILE));
    const bool resource_file_missing = resource_file && !app_use_resource_library(resource_file);
    // The database reports its own failure to open.
    if (!wyn::res::database()) return false;
    if (!app_read_resource_name(k.resource_name))
        return start_up_fails(msg_no_resource_name, __LINE__);
    store_config(config);
    if (resource_file_missing) {
        char text[256];
        wynv_dm_post_note(
            "%s", wynv_str_getstr(kStrNoResourceFile, text, sizeof text, kNoResourceFileText));
    }
    if (core_attr(ATTR_FONT_CACHE_SIZE) < 1) core_set_attr(ATTR_FONT_CACHE_SIZE, 10);
    k.app_flags = flags;
    if (!app_has_accelerators()) return start_up_fails(msg_no_accelerators, __LINE__);
    portable_fsys_record_startup_dir();
    app_use_program_icon();

    state.screen = windows_new_object(WK_SCREEN, WT_SCREEN, nullptr, 0, 0, nullptr, 0);
    core_set_attr(ATTR_SCREEN_WINDOW, reinterpret_cast<ATTR_VALUE>(state.screen));
    if (core_attr(ATTR_NO_TASK_WINDOW)) {
        make_task_object(task_handler);
        return true;
    }
    auto mask = static_cast<EVENT_MASK>(core_attr(ATTR_TASK_EVENT_MASK));
    WINDOW task = windows_create_task(
        reinterpret_cast<const RCT*>(core_attr(ATTR_TASK_RECT)), k.config.task_title,
        k.config.menu_bar_id, state.screen, static_cast<uint32_t>(core_attr(ATTR_TASK_FLAGS)),
        mask ? mask : EM_ALL, task_handler, core_attr(ATTR_TASK_APP_DATA));
    if (task || state.task_destroying) return true;
    return start_up_fails(WYN_MSG_FIND_RESOURCE, __LINE__);
}

int16_t wynwi_wyn_system(uint32_t flags, EVENT_HANDLER task_handler, WYN_APP_CONFIG* config) {
    if (!app_start(flags, task_handler, config)) return 0;
    while (!core().quit_seen) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return 0;
}

void wynk_app_process_pending_events(void) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Widgets of destroyed windows go once no dispatch can still be using them.
    if (core().dispatch_depth == 0)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void wynv_app_destroy(void) {
    CoreState& state = core();
    if (!state.task || state.task_destroying) return;
    state.task_destroying = true;
    // An open clipboard goes with the task window that holds it.
    wynk_cb_close();
    state.stage = AppStage::quitting;
    snapshot_take();
    {
        CoreBusyScope busy;
        std::vector<WINDOW> others;
        for (WINDOW w : state.windows)
            if (w != state.task && w->parent == state.screen) others.push_back(w);
        for (auto it = others.rbegin(); it != others.rend(); ++it) windows_destroy_tree(*it);
        windows_destroy_tree(state.task);
    }
    if (kcore().utility) QCoreApplication::postEvent(kcore().utility, new QEvent(kQuitEvent));
}

BOOLEAN wynk_app_escape(int32_t code, ...) {
    if (code == WYN_ESCAPE_PAGE_METRICS) {
        va_list args;
        va_start(args, code);
        auto* rec = va_arg(args, const PRINT_RECORD*);
        int32_t* metrics[4];
        for (int32_t*& m : metrics) m = va_arg(args, int32_t*);
        va_end(args);
        return wynk_print_get_page_metrics(rec, metrics[0], metrics[1], metrics[2], metrics[3]);
    }
    if (code != escape_destroy_task) return FALSE;
    wynv_app_destroy();
    return TRUE;
}

int32_t wynk_app_get_files_count(void) {
    return static_cast<int32_t>(core().files.size());
}

const char* wynk_app_get_file(void) {
    CoreState& state = core();
    return state.files_done < state.files.size() ? state.files[state.files_done].c_str() : nullptr;
}

void wynk_app_set_file_processed(void) {
    CoreState& state = core();
    if (state.files_done < state.files.size()) ++state.files_done;
}

void* wynwi_get_utility_hwnd(void) {
    return kcore().utility;
}

void wynwi_End(void) {
    KernelState& k = kcore();
    timers_kill_all();
    session_remove();
    windows_discard_all();
    core_reap();
    core_free_quarantine();
    delete k.filter;
    wynk_cb_close();
    delete k.utility;
    k.filter = k.utility = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (k.owns_app) delete k.app;
    k.app = nullptr;
    app_release_resource_library();
    core_attr_free();
    portable_static_release();
}
