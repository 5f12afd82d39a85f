// The viewer's entry point: one window per help file, kept between commands and closed with
// the application that hosts it.
#include "help_window.h"

#include <wyn/help_engine.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

namespace wynhelp {
namespace {

constexpr size_t path_max = 4096;
constexpr size_t keyword_max = 1024;
constexpr uint32_t help_on_help_topic = 32000;

// What the viewer has open on the current application.
struct viewer_state {
    QCoreApplication* app = nullptr;
    std::map<std::string, QPointer<help_window>> windows;
    std::vector<QPointer<QWidget>> notes;  // message boxes still open
};

viewer_state& state() {
    static viewer_state s;
    return s;
}

// Called as the application goes: the viewer's windows go with it, before Qt's window system.
void close_all() {
    viewer_state& s = state();
    for (auto& [path, window] : s.windows) delete window.data();
    for (QPointer<QWidget>& note : s.notes) delete note.data();
    s.windows.clear();
    s.notes.clear();
    s.app = nullptr;
}

// The text with control characters replaced, so a trace line stays one line.
std::string one_line(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text;
}

// The key of a help file's window: its absolute path, whether or not the file still exists.
std::string window_key(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// A window opened while an application-modal dialog is up would be blocked with the rest of the
// application; made transient to that dialog it stays usable, as help from a dialog must be.
void keep_reachable(QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window) return;
    window->winId();
    QWindow* handle = window->windowHandle();
    if (!handle || handle->transientParent() == modal->windowHandle()) return;
    bool shown = window->isVisible();
    // Qt works out whether a window is blocked when it is shown.
    if (shown) window->hide();
    handle->setTransientParent(modal->windowHandle());
    if (shown) window->show();
}

void bring_up(QWidget* window) {
    keep_reachable(window);
    window->show();
    window->raise();
    window->activateWindow();
}

void report_failure(const std::string& path, const std::string& error) {
    help_trace("failed " + one_line(path));
    auto* box = new QMessageBox(QMessageBox::Warning, QObject::tr("Help"),
                                QObject::tr("The help file %1 %2.")
                                    .arg(QString::fromStdString(path), QString::fromStdString(error)),
                                QMessageBox::Ok);
    box->setObjectName(QStringLiteral("help_error"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    state().notes.emplace_back(box);
    bring_up(box);
}

help_window* window_for(const std::string& path) {
    viewer_state& s = state();
    std::string key = window_key(path);
    QPointer<help_window>& window = s.windows[key];
    if (window) return window;
    std::string error;
    std::optional<help_book> book = help_load(path, error);
    if (!book) {
        s.windows.erase(key);
        report_failure(path, error);
        return nullptr;
    }
    window = new help_window(QString::fromStdString(path), std::move(*book));
    return window;
}

}  // namespace

void help_trace(const std::string& line) {
    const char* file = std::getenv("WYN_HELP_TRACE");
    if (!file || !*file) return;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file, "a"), std::fclose);
    if (out) std::fprintf(out.get(), "%s\n", line.c_str());
}

}  // namespace wynhelp

int32_t wynhv_help(void*, const char* help_path, uint32_t command, uintptr_t data) {
    using namespace wynhelp;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || !help_path || !*help_path) return 0;
    size_t path_length = strnlen(help_path, path_max + 1);
    if (path_length > path_max) return 0;
    viewer_state& s = state();
    if (s.app != app) {
        s = viewer_state{};
        s.app = app;
        qAddPostRoutine(close_all);
    }
    std::string path(help_path, path_length);
    std::string shown_path = one_line(path);

    switch (command) {
    case WYN_HELP_QUIT: {
        help_trace("quit " + shown_path);
        auto it = s.windows.find(window_key(path));
        if (it != s.windows.end()) {
            if (it->second) it->second->close();
            s.windows.erase(it);
        }
        return 1;
    }
    case WYN_HELP_CONTEXT:
        help_trace("context " + std::to_string(static_cast<uint32_t>(data)) + ' ' + shown_path);
        break;
    case WYN_HELP_CONTENTS:
        help_trace("contents " + shown_path);
        break;
    case WYN_HELP_HELPONHELP:
        help_trace("helponhelp " + shown_path);
        break;
    case WYN_HELP_PARTIALKEY: {
        const char* keyword = reinterpret_cast<const char*>(data);
        if (keyword && *keyword)
            help_trace("partialkey \"" + one_line(std::string(keyword, strnlen(keyword, keyword_max))) +
                       "\" " + shown_path);
        else
            help_trace("search \"\" " + shown_path);
        break;
    }
    default:
        std::fprintf(stderr, "help viewer: unknown command %u for %s\n", command, shown_path.c_str());
        return 0;
    }

    help_window* window = window_for(path);
    if (!window) return 0;
    switch (command) {
    case WYN_HELP_CONTEXT:
        window->show_context(static_cast<uint32_t>(data));
        break;
    case WYN_HELP_CONTENTS:
        window->show_contents();
        break;
    case WYN_HELP_HELPONHELP:
        window->show_context(help_on_help_topic);
        break;
    default: {
        const char* keyword = reinterpret_cast<const char*>(data);
        if (keyword && *keyword)
            window->open_index(QString::fromUtf8(keyword, static_cast<qsizetype>(strnlen(keyword, keyword_max))));
        else
            window->open_search();
    }
    }
    bring_up(window);
    return 1;
}
