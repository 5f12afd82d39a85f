// Helpers for the control, dialog and definition tests.
#include "toolkit/base/controls_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>
#include <filesystem>

#include "kernel/widgets.h"
#include "portable/core_state.h"

std::vector<EVENT> control_events(WINDOW win) {
    std::vector<EVENT> out;
    for (const SeenEvent& s : seen_events())
        if (s.win == win && s.ev.type == E_CONTROL) out.push_back(s.ev);
    return out;
}

namespace {

void send_mouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const QPointF local(at);
    QMouseEvent ev(type, local, widget->mapToGlobal(local), Qt::LeftButton,
                   type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                   Qt::NoModifier);
    QApplication::sendEvent(widget, &ev);
}

} // namespace

void click(QWidget* widget) {
    const QPoint at = widget->rect().center();
    send_mouse(widget, QEvent::MouseButtonPress, at);
    send_mouse(widget, QEvent::MouseButtonRelease, at);
}

void double_click(QWidget* widget, QPoint at) {
    send_mouse(widget, QEvent::MouseButtonPress, at);
    send_mouse(widget, QEvent::MouseButtonRelease, at);
    send_mouse(widget, QEvent::MouseButtonDblClick, at);
    send_mouse(widget, QEvent::MouseButtonRelease, at);
}

void press_key(QWidget* widget, int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &up);
}

QWidget* native(WINDOW win) {
    return widget_of(win);
}

const std::string& program_resources() {
    static const std::string path = [] {
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("wyn_ctl_res_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        const std::string scripts = std::string(VS_TEST_DATA) + "/../../resources/";
        const std::string db = (dir / "program.wdb").string();
        const std::string command = std::string(VS_BIN_DIR) + "/wynrc --db " + db + " -o " +
                                    (dir / "program.cpp").string() + " " + scripts + "toolkit.rc " +
                                    scripts + "voltsentry.rc";
        const bool ok = std::system(command.c_str()) == 0;
        // The files are read once and stay in the reader; the directory goes at exit.
        static const struct Cleanup {
            std::filesystem::path dir;
            ~Cleanup() { std::filesystem::remove_all(dir); }
        } cleanup{dir};
        return ok ? db : std::string();
    }();
    return path;
}

void ControlTest::SetUp() {
    ToolkitTest::SetUp();
    startApp();
    window_ = makeChild(RCT{0, 0, 300, 400});
    ASSERT_NE(window_, nullptr);
}

WINDOW ControlTest::make(int32_t type, int16_t id, const RCT& rct, const char* title,
                         uint32_t ctl_flags) {
    return wynk_ctl_create(type, &rct, title, id, window_, ctl_flags, 0);
}
