// The help viewer driven through its one entry point, as the help library drives it: topics,
// contents, the index and search, links and history, one window per file, damaged files, help
// from inside a modal dialog, and the trace the program's tests read.
#include "common/scoped_env.h"

#include <wyn/help_engine.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>

#include "scratch_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

// Lets a failing comparison show the texts.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const std::string fixture = std::string(VS_TEST_DATA) + "/help/fixture.hlp";

std::vector<std::string> read_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A started application, as the toolkit's kernel makes it, and a fresh trace file.
class viewer : public ::testing::Test {
protected:
    void SetUp() override { app = new QApplication(argc, argv); }
    void TearDown() override { delete app; }

    int32_t help(uint32_t command, uintptr_t data = 0, const std::string& path = fixture) {
        int32_t result = wynhv_help(nullptr, path.c_str(), command, data);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return result;
    }
    int32_t search(const char* keyword) {
        return help(WYN_HELP_PARTIALKEY, reinterpret_cast<uintptr_t>(keyword));
    }

    static std::vector<QMainWindow*> windows() {
        std::vector<QMainWindow*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "help_viewer" && w->isVisible()) found.push_back(static_cast<QMainWindow*>(w));
        return found;
    }
    static QMainWindow* window() {
        std::vector<QMainWindow*> all = windows();
        return all.size() == 1 ? all.front() : nullptr;
    }
    static QString title() { return window() ? window()->windowTitle() : QString(); }
    static QString status() { return window() ? window()->statusBar()->currentMessage() : QString(); }
    template <typename T>
    static T* part(const char* name) {
        return window() ? window()->findChild<T*>(name) : nullptr;
    }
    static QStringList items(const char* list) {
        QStringList texts;
        if (auto* w = part<QListWidget>(list))
            for (int i = 0; i < w->count(); ++i) texts << w->item(i)->text();
        return texts;
    }
    std::vector<std::string> trace() const { return read_lines(trace_file.path()); }

    scratch_file trace_file{"help_trace.txt"};
    scoped_env trace_env{"WYN_HELP_TRACE", trace_file.path()};
    int argc = 1;
    char name[8] = "viewer";
    char* argv[2] = {name, nullptr};
    QApplication* app = nullptr;
};

}  // namespace

TEST(help_viewer, without_an_application_nothing_is_done) {
    scratch_file trace_file("no_app_trace.txt");
    scoped_env env("WYN_HELP_TRACE", trace_file.path());
    EXPECT_EQ(wynhv_help(nullptr, fixture.c_str(), WYN_HELP_CONTEXT, 107), 0);
    EXPECT_TRUE(read_lines(trace_file.path()).empty());
}

TEST_F(viewer, topics_contents_and_help_on_help_are_shown_under_the_file_title) {
    EXPECT_EQ(help(WYN_HELP_CONTEXT, 107), 1);
    EXPECT_EQ(title(), "Fixture Help - Set Alarm Thresholds");
    EXPECT_TRUE(part<QTextBrowser>("topic")->toPlainText().contains("Line voltage"));
    EXPECT_EQ(help(WYN_HELP_CONTENTS), 1);
    EXPECT_EQ(title(), "Fixture Help - Contents");
    EXPECT_EQ(help(WYN_HELP_HELPONHELP), 1);
    EXPECT_EQ(title(), "Fixture Help - How to use help");
    EXPECT_EQ(help(WYN_HELP_CONTEXT, 555), 1);
    EXPECT_EQ(title(), "Fixture Help - Contents");
    EXPECT_TRUE(status().contains("555")) << status().toStdString();
    EXPECT_EQ(help(77), 0);
    EXPECT_EQ(trace(), (std::vector<std::string>{
                           "context 107 " + fixture, "shown 107 Set Alarm Thresholds",
                           "contents " + fixture, "shown 32006 Contents", "helponhelp " + fixture,
                           "shown 32000 How to use help", "context 555 " + fixture,
                           "shown 32006 Contents"}));
}

TEST_F(viewer, one_window_per_file_is_kept_raised_and_closed_by_quit) {
    help(WYN_HELP_CONTEXT, 107);
    QPointer<QMainWindow> first = window();
    ASSERT_TRUE(first);
    help(WYN_HELP_CONTENTS, 0, std::string(VS_TEST_DATA) + "/help/../help/fixture.hlp");
    EXPECT_EQ(window(), first.data());
    EXPECT_EQ(help(WYN_HELP_QUIT), 1);
    EXPECT_FALSE(first);
    EXPECT_TRUE(windows().empty());
    EXPECT_EQ(help(WYN_HELP_QUIT), 1);
    help(WYN_HELP_CONTEXT, 32000);
    EXPECT_EQ(title(), "Fixture Help - How to use help");
    EXPECT_EQ(trace().back(), "shown 32000 How to use help");
}

TEST_F(viewer, links_back_and_forward_move_between_topics) {
    help(WYN_HELP_CONTEXT, 107);
    auto* browser = part<QTextBrowser>("topic");
    auto* back = part<QAction>("back");
    auto* forward = part<QAction>("forward");
    EXPECT_FALSE(back->isEnabled());
    emit browser->anchorClicked(QUrl("topic:32000"));
    EXPECT_EQ(title(), "Fixture Help - How to use help");
    emit browser->anchorClicked(QUrl("https://example.invalid/"));
    emit browser->anchorClicked(QUrl("topic:9"));
    EXPECT_EQ(title(), "Fixture Help - How to use help");
    EXPECT_TRUE(status().contains("9")) << status().toStdString();
    back->trigger();
    EXPECT_EQ(title(), "Fixture Help - Set Alarm Thresholds");
    EXPECT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(title(), "Fixture Help - How to use help");
    back->trigger();
    part<QAction>("contents")->trigger();  // a new topic drops what lay ahead
    EXPECT_FALSE(forward->isEnabled());
    back->trigger();
    EXPECT_EQ(title(), "Fixture Help - Set Alarm Thresholds");
}

TEST_F(viewer, a_partial_key_opens_the_index_and_shows_a_keyword_of_one_topic) {
    EXPECT_EQ(search("VOLT"), 1);
    EXPECT_EQ(title(), "Fixture Help - Set Alarm Thresholds");
    auto* keywords = part<QListWidget>("index_keywords");
    EXPECT_EQ(keywords->currentItem()->text(), "voltage");
    EXPECT_TRUE(part<QTabWidget>("panel")->isVisible());
    EXPECT_EQ(items("index_keywords"),
              (QStringList{"Alarm log", "alarms", "contents", "help", "overview", "thresholds", "voltage"}));

    help(WYN_HELP_CONTENTS);
    search("alarms");  // two topics: listed, neither shown
    EXPECT_EQ(title(), "Fixture Help - Contents");
    EXPECT_EQ(items("index_topics"), (QStringList{"Set Alarm Thresholds", "How to use help"}));
    search("zebra");
    EXPECT_EQ(title(), "Fixture Help - Contents");
    EXPECT_TRUE(status().contains("zebra"));
    EXPECT_EQ(trace()[4], "partialkey \"alarms\" " + fixture);
}

TEST_F(viewer, an_empty_key_opens_the_search_over_titles_keywords_and_text) {
    EXPECT_EQ(search(""), 1);
    EXPECT_EQ(trace(), (std::vector<std::string>{"search \"\" " + fixture, "shown 32006 Contents"}));
    auto* panel = part<QTabWidget>("panel");
    EXPECT_EQ(panel->currentIndex(), 1);
    auto* text = part<QLineEdit>("search_text");
    text->setText("QUASAR");
    EXPECT_EQ(items("search_results"), QStringList{"How to use help"});
    text->setText("alarm");  // a title, then a keyword, then the text of a link
    EXPECT_EQ(items("search_results"),
              (QStringList{"Set Alarm Thresholds", "How to use help", "Contents"}));
    auto* results = part<QListWidget>("search_results");
    emit results->itemActivated(results->item(1));
    EXPECT_EQ(title(), "Fixture Help - How to use help");
}

TEST_F(viewer, an_unreadable_or_damaged_file_gives_a_message_and_no_window) {
    scratch_file damaged_file("damaged.hlp");
    const std::string& damaged = damaged_file.path();
    std::ofstream(damaged, std::ios::binary) << "WYNHLP 1\r\ntitle 99\r\nshort\r\n";
    for (const std::string& path : {damaged, std::string("/nonexistent/x.hlp")}) {
        EXPECT_EQ(help(WYN_HELP_CONTEXT, 107, path), 0);
        EXPECT_TRUE(windows().empty());
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "help_error" && w->isVisible()) box = static_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr) << path;
        EXPECT_TRUE(box->text().contains(QString::fromStdString(path)));
        EXPECT_TRUE(box->text().contains(path == damaged ? "damaged" : "cannot be read"));
        EXPECT_EQ(trace().back(), "failed " + path);
        box->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(viewer, help_asked_for_from_a_modal_dialog_can_be_used_while_it_is_open) {
    // Follows what Qt tells a window about being blocked by a modal dialog.
    struct block_watch : QObject {
        bool blocked = false;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::WindowBlocked) blocked = true;
            if (event->type() == QEvent::WindowUnblocked) blocked = false;
            return false;
        }
    } watch;
    help(WYN_HELP_CONTEXT, 107);
    QMainWindow* viewer_window = window();
    ASSERT_NE(viewer_window, nullptr);
    viewer_window->installEventFilter(&watch);
    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(watch.blocked);
    help(WYN_HELP_CONTEXT, 32000);
    QCoreApplication::processEvents();
    EXPECT_FALSE(watch.blocked);
    EXPECT_EQ(title(), "Fixture Help - How to use help");
    dialog.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(watch.blocked);
}

TEST_F(viewer, the_windows_go_with_the_application) {
    help(WYN_HELP_CONTEXT, 107);
    QPointer<QMainWindow> open = window();
    ASSERT_TRUE(open);
    delete app;
    app = nullptr;
    EXPECT_FALSE(open);
    app = new QApplication(argc, argv);
    EXPECT_EQ(help(WYN_HELP_CONTEXT, 107), 1);
    EXPECT_NE(window(), nullptr);
}
