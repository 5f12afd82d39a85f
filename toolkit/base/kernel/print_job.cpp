// The print job: the guarded call it runs in, the print window drawing onto the printer through
// a QPainter, its status dialog with the Cancel button, and the pages of the document.
#include "kernel/print_job.h"

#include <QCoreApplication>
#include <QPainter>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <wyn/attr.h>
#include <wyn/ctl.h>
#include <wyn/dlg.h>
#include <wyn/dm.h>
#include <wyn/errfrm.h>
#include <wyn/res.h>

#include "kernel/drawing.h"
#include "kernel/print_record.h"
#include "kernel/widgets.h"
#include "kernel/windows.h"
#include "portable/core_state.h"
#include <res/ids.h>

namespace {

constexpr char kUnit[] = "kprint";
constexpr WYN_MSG_ID kMsgInvalidRecord = 0x122000C;
constexpr WYN_MSG_ID kMsgNullHandler = WYN_MSG_NULL_EVENT_HANDLER;
constexpr WYN_MSG_ID kMsgCreateObject = 0x1520001;
constexpr WYN_MSG_ID kMsgWriteFailed = 0x1560002;
constexpr WYN_MSG_ID kMsgRecursive = 0x1620001;
constexpr WYN_MSG_ID kMsgInUse = 0x1630001;
constexpr WYN_MSG_ID kMsgWrongState = WYN_MSG_WRONG_STATE;

// One open print window and its document.
struct PrintJob {
    WINDOW win = nullptr;
    WINDOW status = nullptr;
    PrintTarget target;
    std::string partial; // the PDF being written, renamed to target.file once the document ends
    QPainter painter;
    RCT page{};
    RCT band{};
    int32_t pages = 0;
    bool cancelled = false;
    bool failed = false;
    bool new_page = false;
};

struct PrintState {
    bool running = false;
    std::unique_ptr<PrintJob> job;
};

PrintState& print_state() {
    static PrintState state;
    return state;
}

void report(WYN_MSG_ID id, int line, void* target = nullptr) {
    wynv_errmsg_dispatch(target, WYN_SEV_ERROR, id, kUnit, line);
}

std::string resource_text(int32_t id) {
    char buf[256] = "";
    wynv_res_get_str(id, buf, sizeof buf);
    return buf;
}

void set_control_text(WINDOW dlg, int16_t id, const std::string& text) {
    if (WINDOW ctl = core_win_alive(dlg) ? wynk_win_get_ctl(dlg, id) : nullptr)
        wynk_vobj_set_title(ctl, text.c_str());
}

// Shows string id, formatted with the page number when it holds one, as the job's progress.
void show_progress(const PrintJob& job, int32_t id) {
    std::string text = resource_text(id);
    const size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(job.pages));
    set_control_text(job.status, WYN_ID_PRINT_PROGRESS, text);
}

// The job whose print window is open, or null.
PrintJob* open_job() {
    PrintJob* job = print_state().job.get();
    return job && core_win_alive(job->win) ? job : nullptr;
}

// What the spooler's abort procedure did: lets the user interface, the status dialog's button
// among it, have its pending events; false once the job is cancelled.
bool keep_printing() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    PrintJob* job = open_job();
    return job && !job->cancelled;
}

int32_t status_handler(WINDOW win, EVENT* ev) {
    PrintJob* job = print_state().job.get();
    if (!job) return 0;
    // Its E_CREATE comes before its creator has the handle.
    if (!job->status && ev->type == E_CREATE) job->status = win;
    if (job->status != win) return 0;
    if (ev->type == E_CREATE) {
        // The job is ended with its Cancel button, never by closing its frame.
        if (QWidget* frame = widget_of(win)) {
            const bool shown = frame->isVisible();
            frame->setWindowFlag(Qt::WindowCloseButtonHint, false);
            if (shown) frame->show();
        }
        set_control_text(win, WYN_ID_PRINT_PROGRESS, resource_text(WYN_STR_INITIALIZING));
        if (WINDOW cancel = wynk_win_get_ctl(win, WYN_ID_CANCEL)) wynk_scr_set_focus_vobj(cancel);
    } else if (ev->type == E_CONTROL && ev->v.ctl.id == WYN_ID_CANCEL) {
        set_control_text(win, WYN_ID_PRINT_PROGRESS, resource_text(WYN_STR_CANCELLING));
        job->cancelled = true;
    }
    return 0;
}

// Writes the finished PDF in place of the file it is meant for, durably.
bool publish(const std::string& partial, const std::string& file) {
    if (std::rename(partial.c_str(), file.c_str()) != 0) return false;
    const size_t slash = file.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : file.substr(0, slash + 1);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

// Ends the document of win's job (aborts it when it was cancelled or failed) and lets the job go.
void end_document(WINDOW win) {
    PrintState& state = print_state();
    if (!state.job || state.job->win != win) return;
    std::unique_ptr<PrintJob> job = std::move(state.job);
    drawing_detach_painter(win);
    const bool abort = job->cancelled || job->failed;
    if (!abort) show_progress(*job, WYN_STR_ENDING_DOCUMENT);
    if (job->painter.isActive()) {
        if (abort && job->target.file.empty()) job->target.printer->abort();
        if (job->painter.isActive() && !job->painter.end() && !abort)
            report(kMsgWriteFailed, __LINE__);
    }
    if (!job->partial.empty()) {
        if (abort || !publish(job->partial, job->target.file)) {
            if (!abort) report(kMsgWriteFailed, __LINE__);
            std::remove(job->partial.c_str());
        }
    }
    if (core_win_alive(job->status)) wynk_vobj_destroy(job->status);
}

int32_t print_window_handler(WINDOW win, EVENT* ev) {
    if (ev->type == E_DESTROY) end_document(win);
    return 0;
}

// A page operation's job: reported and null outside a job or without a print window.
PrintJob* page_job(int line) {
    PrintJob* job = print_state().running ? open_job() : nullptr;
    if (!job) report(kMsgWrongState, line);
    return job;
}

// Starts the document on job's printer; false when it cannot be.
bool start_document(PrintJob& job, const char* title) {
    QPrinter& printer = *job.target.printer;
    if (!job.target.file.empty()) {
        job.partial = job.target.file + ".partial";
        printer.setOutputFileName(QString::fromStdString(job.partial));
    }
    printer.setDocName(QString::fromUtf8(title));
    show_progress(job, WYN_STR_STARTING_DOCUMENT);
    if (!job.painter.begin(&printer)) return false;
    show_progress(job, WYN_STR_STARTED_DOCUMENT);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    job.page = RCT{0, 0, int16_t(std::min(page.height(), 32767)),
                   int16_t(std::min(page.width(), 32767))};
    job.win->client = job.page;
    drawing_attach_painter(job.win, &job.painter);
    return true;
}

} // namespace

WINDOW print_status_dialog() {
    PrintJob* job = open_job();
    return job && core_win_alive(job->status) ? job->status : nullptr;
}

BOOLEAN wynk_print_start_thread(WYN_PRINT_FN fn, intptr_t data) {
    PrintState& state = print_state();
    if (state.running) {
        report(kMsgRecursive, __LINE__);
        return FALSE;
    }
    if (!fn) {
        report(kMsgNullHandler, __LINE__);
        return FALSE;
    }
    state.running = true;
    BOOLEAN result;
    {
        wyn::ErrFrame frame;
        result = fn(data);
    }
    if (PrintJob* job = open_job()) {
        // A window left open would hold the printer for good: its document is given up.
        report(kMsgWrongState, __LINE__, job->win);
        job->failed = true;
        wynk_vobj_destroy(job->win);
        result = FALSE;
    }
    // A window whose E_DESTROY never reached the library (an event hook took it) leaves its
    // document behind; it is given up too.
    if (state.job) {
        state.job->failed = true;
        end_document(state.job->win);
    }
    state.running = false;
    return result;
}

BOOLEAN wynk_print_is_running(void) {
    return print_state().running ? TRUE : FALSE;
}

WINDOW wynk_print_create_win(PRINT_RECORD* rec, const char* title) {
    PrintState& state = print_state();
    if (!state.running) {
        report(kMsgWrongState, __LINE__);
        return nullptr;
    }
    if (open_job()) {
        report(kMsgInUse, __LINE__);
        return nullptr;
    }
    if (!print_record_live(rec)) {
        report(kMsgInvalidRecord, __LINE__);
        return nullptr;
    }
    auto job = std::make_unique<PrintJob>();
    job->target = print_target(*rec);
    if (!job->target.printer) {
        report(kMsgInvalidRecord, __LINE__);
        return nullptr;
    }
    const std::string doc_title = title && *title ? title : resource_text(WYN_STR_UNTITLED);
    WINDOW win = windows_new_object(WK_PRINT, WT_PRINT, core().screen, 0, EM_ALL,
                                    print_window_handler, 0);
    job->win = win;
    PrintJob& j = *job;
    state.job = std::move(job);
    j.status = wynk_dlg_create_res(WT_MODELESS_DLG, WYN_DLG_PRINT_STATUS, EM_ALL, status_handler,
                                   0);
    bool ok = j.status != nullptr;
    if (!ok) wynv_dm_post_error("%s", resource_text(WYN_STR_CANNOT_PRINT).c_str());
    if (ok) {
        set_control_text(j.status, WYN_ID_PRINT_TITLE, doc_title);
        if (auto hook = reinterpret_cast<WYN_PRINT_HOOK>(core_attr(ATTR_PRINT_HOOK))) hook(win);
        ok = start_document(j, doc_title.c_str());
        if (!ok) report(kMsgCreateObject, __LINE__);
    }
    if (ok) {
        keep_printing();
        ok = open_job() && open_job()->win == win;
    }
    if (!ok) {
        if (PrintJob* left = open_job()) left->failed = true;
        wynk_vobj_destroy(win);
        return nullptr;
    }
    return win;
}

BOOLEAN wynk_print_open_page(PRINT_RECORD* rec) {
    (void)rec; // the job prints on the printer its window was made for
    PrintJob* job = page_job(__LINE__);
    if (!job || job->cancelled || job->failed) return FALSE;
    job->new_page = true;
    ++job->pages;
    show_progress(*job, WYN_STR_STARTING_PAGE);
    if (job->pages > 1 && !job->target.printer->newPage()) {
        job->failed = true;
        report(kMsgWriteFailed, __LINE__, job->win);
        return FALSE;
    }
    return TRUE;
}

RCT* wynk_print_get_next_band(void) {
    PrintJob* job = print_state().running ? open_job() : nullptr;
    if (!job || !job->new_page || job->cancelled || job->failed) return nullptr;
    job->new_page = false;
    job->band = job->page;
    return &job->band;
}

BOOLEAN wynk_print_close_page(PRINT_RECORD* rec) {
    (void)rec;
    PrintJob* job = page_job(__LINE__);
    if (!job || job->cancelled || job->failed) return FALSE;
    show_progress(*job, WYN_STR_FINISHING_PAGE);
    job->new_page = false;
    // The page is handed over with the next one or the end of the document; meanwhile the user
    // may have pressed Cancel.
    return keep_printing() ? TRUE : FALSE;
}

int32_t wynk_print_get_page_count(void) {
    PrintJob* job = open_job();
    return job ? job->pages : 0;
}

BOOLEAN wynk_print_open(void) {
    return TRUE;
}

void wynk_print_close(void) {
    if (PrintJob* job = open_job()) {
        job->failed = true;
        wynk_vobj_destroy(job->win);
    }
}
