// The help viewer's window for one help file: the topic pane with back and forward, the
// contents, an index of every keyword and a search over titles, keywords and text.
#pragma once

#include "help_file.h"

#include <QMainWindow>
#include <QString>

#include <optional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace wynhelp {

class help_window : public QMainWindow {
public:
    // A window over book, read from path; it deletes itself when closed.
    help_window(QString path, help_book book);

    // Shows topic number and records it in the history; false, with a note in the status line
    // and nothing else changed, when the file has no such topic.
    bool show_topic(uint32_t number);
    // Shows topic number, or the contents with a note when the file has no such topic.
    void show_context(uint32_t number);
    void show_contents();
    // Opens the index at the first keyword that starts with prefix (case ignored) and shows the
    // keyword's topic when it has exactly one.
    void open_index(const QString& prefix);
    // Opens the search with its box focused.
    void open_search();
    // Shows the contents when no topic has been shown yet, so the window is never blank.
    void ensure_topic();

private:
    struct keyword_entry {
        QString text;
        std::vector<uint32_t> topics;
    };

    void build_index();
    void select_keyword(int row);
    void keyword_chosen(int row);
    void run_search(const QString& text);
    void link_clicked(const QUrl& url);
    void step_history(int delta);
    void display(const help_topic& topic);
    void update_actions();
    void show_panel(int tab);

    QString path_;
    help_book book_;
    std::vector<keyword_entry> keywords_;       // sorted, case ignored
    std::vector<QString> plain_text_;           // per topic, made on the first search
    std::vector<uint32_t> history_;
    size_t at_ = 0;                             // index of the topic shown in history_

    QTextBrowser* browser_ = nullptr;
    QTabWidget* panel_ = nullptr;
    QLineEdit* index_key_ = nullptr;
    QListWidget* index_keywords_ = nullptr;
    QListWidget* index_topics_ = nullptr;
    QLineEdit* search_text_ = nullptr;
    QListWidget* search_results_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
};

// Appends line to the file WYN_HELP_TRACE names, when it names one.
void help_trace(const std::string& line);

}  // namespace wynhelp
