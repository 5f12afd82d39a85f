// The help viewer's window: shows topics rendered from their Markdown, follows links between
// them and keeps the index and the search beside them.
#include "help_window.h"

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace wynhelp {
namespace {

constexpr int index_tab = 0;
constexpr int search_tab = 1;
constexpr int topic_role = Qt::UserRole;

// A topic pane that loads nothing from outside the help file: an image or style sheet named in
// a topic's Markdown stays empty instead of reading some path or host.
class topic_browser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

// A new widget with the name the viewer's tests find it by.
template <typename Widget>
Widget* named(const char* name) {
    auto* widget = new Widget;
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString from_utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

help_window::help_window(QString path, help_book book) : path_(std::move(path)), book_(std::move(book)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("help_viewer"));
    setWindowTitle(from_utf8(book_.title));

    QToolBar* tools = addToolBar(QStringLiteral("Navigation"));
    tools->setMovable(false);
    auto add_action = [&](const char* name, const QString& text, QKeySequence key) {
        QAction* action = tools->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        return action;
    };
    back_ = add_action("back", tr("Back"), QKeySequence::Back);
    forward_ = add_action("forward", tr("Forward"), QKeySequence::Forward);
    QAction* contents = add_action("contents", tr("Contents"), QKeySequence(Qt::ALT | Qt::Key_C));
    QAction* index = add_action("index", tr("Index"), QKeySequence(Qt::ALT | Qt::Key_I));
    QAction* search = add_action("search", tr("Search"), QKeySequence::Find);
    connect(back_, &QAction::triggered, this, [this] { step_history(-1); });
    connect(forward_, &QAction::triggered, this, [this] { step_history(1); });
    connect(contents, &QAction::triggered, this, [this] { show_contents(); });
    connect(index, &QAction::triggered, this, [this] {
        show_panel(index_tab);
        index_key_->setFocus();
    });
    connect(search, &QAction::triggered, this, [this] { open_search(); });

    panel_ = named<QTabWidget>("panel");
    auto* index_page = new QWidget;
    auto* index_layout = new QVBoxLayout(index_page);
    index_key_ = named<QLineEdit>("index_key");
    index_key_->setPlaceholderText(tr("Type a keyword"));
    index_keywords_ = named<QListWidget>("index_keywords");
    index_topics_ = named<QListWidget>("index_topics");
    index_layout->addWidget(index_key_);
    index_layout->addWidget(index_keywords_, 3);
    index_layout->addWidget(index_topics_, 1);
    panel_->addTab(index_page, tr("Index"));

    auto* search_page = new QWidget;
    auto* search_layout = new QVBoxLayout(search_page);
    search_text_ = named<QLineEdit>("search_text");
    search_text_->setPlaceholderText(tr("Words to find"));
    search_results_ = named<QListWidget>("search_results");
    search_layout->addWidget(search_text_);
    search_layout->addWidget(search_results_);
    panel_->addTab(search_page, tr("Search"));
    panel_->hide();

    browser_ = named<topic_browser>("topic");
    browser_->setOpenLinks(false);
    browser_->document()->setDocumentMargin(12);
    connect(browser_, &QTextBrowser::anchorClicked, this, &help_window::link_clicked);

    auto* split = new QSplitter;
    split->addWidget(panel_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({230, 530});
    setCentralWidget(split);
    statusBar();
    resize(760, 560);

    build_index();
    connect(index_key_, &QLineEdit::textEdited, this, [this](const QString& text) {
        auto it = std::find_if(keywords_.begin(), keywords_.end(), [&](const keyword_entry& k) {
            return k.text.startsWith(text, Qt::CaseInsensitive);
        });
        if (it != keywords_.end()) select_keyword(static_cast<int>(it - keywords_.begin()));
    });
    connect(index_key_, &QLineEdit::returnPressed, this,
            [this] { keyword_chosen(index_keywords_->currentRow()); });
    connect(index_keywords_, &QListWidget::currentRowChanged, this, &help_window::select_keyword);
    connect(index_keywords_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { keyword_chosen(index_keywords_->row(item)); });
    connect(index_topics_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { show_topic(item->data(topic_role).toUInt()); });
    connect(search_text_, &QLineEdit::textChanged, this, &help_window::run_search);
    connect(search_results_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { show_topic(item->data(topic_role).toUInt()); });
    update_actions();
}

void help_window::build_index() {
    std::map<QString, keyword_entry> by_folded;
    for (const help_topic& topic : book_.topics) {
        for (const std::string& keyword : topic.keywords) {
            QString text = from_utf8(keyword);
            keyword_entry& entry = by_folded[text.toCaseFolded()];
            if (entry.text.isEmpty()) entry.text = text;
            if (std::find(entry.topics.begin(), entry.topics.end(), topic.number) == entry.topics.end())
                entry.topics.push_back(topic.number);
        }
    }
    for (auto& [folded, entry] : by_folded) {
        index_keywords_->addItem(entry.text);
        keywords_.push_back(std::move(entry));
    }
}

void help_window::select_keyword(int row) {
    if (row < 0 || static_cast<size_t>(row) >= keywords_.size()) return;
    if (index_keywords_->currentRow() != row) index_keywords_->setCurrentRow(row);
    index_keywords_->scrollToItem(index_keywords_->item(row), QAbstractItemView::PositionAtTop);
    index_topics_->clear();
    for (uint32_t number : keywords_[static_cast<size_t>(row)].topics) {
        auto* item = new QListWidgetItem(from_utf8(help_find(book_, number)->title));
        item->setData(topic_role, number);
        index_topics_->addItem(item);
    }
    if (index_topics_->count() > 0) index_topics_->setCurrentRow(0);
}

void help_window::keyword_chosen(int row) {
    if (row < 0 || static_cast<size_t>(row) >= keywords_.size()) return;
    const keyword_entry& entry = keywords_[static_cast<size_t>(row)];
    if (entry.topics.size() == 1) {
        show_topic(entry.topics.front());
    } else {
        select_keyword(row);
        index_topics_->setFocus();
        statusBar()->showMessage(tr("%1 topics have the keyword \"%2\"; choose one below.")
                                     .arg(entry.topics.size())
                                     .arg(entry.text));
    }
}

void help_window::run_search(const QString& text) {
    search_results_->clear();
    QString wanted = text.trimmed();
    if (wanted.isEmpty()) return;
    if (plain_text_.empty()) {
        plain_text_.reserve(book_.topics.size());
        for (const help_topic& topic : book_.topics) {
            QTextDocument document;
            document.setMarkdown(from_utf8(topic.body));
            plain_text_.push_back(document.toPlainText());
        }
    }
    // Titles first, then keywords, then the text, each topic once.
    std::vector<size_t> ranked[3];
    for (size_t i = 0; i < book_.topics.size(); ++i) {
        const help_topic& topic = book_.topics[i];
        bool in_keywords = std::any_of(topic.keywords.begin(), topic.keywords.end(), [&](const std::string& k) {
            return from_utf8(k).contains(wanted, Qt::CaseInsensitive);
        });
        if (from_utf8(topic.title).contains(wanted, Qt::CaseInsensitive))
            ranked[0].push_back(i);
        else if (in_keywords)
            ranked[1].push_back(i);
        else if (plain_text_[i].contains(wanted, Qt::CaseInsensitive))
            ranked[2].push_back(i);
    }
    for (const auto& group : ranked) {
        for (size_t i : group) {
            auto* item = new QListWidgetItem(from_utf8(book_.topics[i].title));
            item->setData(topic_role, book_.topics[i].number);
            search_results_->addItem(item);
        }
    }
    statusBar()->showMessage(search_results_->count() == 0
                                 ? tr("No topic holds \"%1\".").arg(wanted)
                                 : tr("%1 topics found.").arg(search_results_->count()));
}

bool help_window::show_topic(uint32_t number) {
    const help_topic* topic = help_find(book_, number);
    if (!topic) {
        statusBar()->showMessage(tr("Topic %1 is not in this help file.").arg(number));
        return false;
    }
    if (history_.empty() || history_[at_] != number) {
        if (!history_.empty()) history_.resize(at_ + 1);
        history_.push_back(number);
        at_ = history_.size() - 1;
    }
    display(*topic);
    return true;
}

void help_window::show_context(uint32_t number) {
    if (show_topic(number)) return;
    show_contents();
    statusBar()->showMessage(tr("Topic %1 is not in this help file; here are the contents.").arg(number));
}

void help_window::show_contents() {
    show_topic(book_.contents);
}

void help_window::ensure_topic() {
    if (history_.empty()) show_contents();
}

void help_window::open_index(const QString& prefix) {
    show_panel(index_tab);
    index_key_->setText(prefix);
    index_key_->setFocus();
    auto it = std::find_if(keywords_.begin(), keywords_.end(), [&](const keyword_entry& k) {
        return k.text.startsWith(prefix, Qt::CaseInsensitive);
    });
    if (it == keywords_.end()) {
        ensure_topic();
        statusBar()->showMessage(tr("No keyword starts with \"%1\".").arg(prefix));
        return;
    }
    select_keyword(static_cast<int>(it - keywords_.begin()));
    if (it->topics.size() == 1 && !prefix.isEmpty())
        show_topic(it->topics.front());
    else
        ensure_topic();
}

void help_window::open_search() {
    show_panel(search_tab);
    search_text_->setFocus();
    search_text_->selectAll();
    ensure_topic();
}

void help_window::show_panel(int tab) {
    panel_->setCurrentIndex(tab);
    panel_->show();
}

void help_window::link_clicked(const QUrl& url) {
    if (url.scheme() == QLatin1String("topic")) {
        bool ok = false;
        uint32_t number = url.path().toUInt(&ok);
        if (ok) {
            show_topic(number);
            return;
        }
    }
    statusBar()->showMessage(tr("This link leads outside the help file: %1").arg(url.toString()));
}

void help_window::step_history(int delta) {
    if (history_.empty()) return;
    if ((delta < 0 && at_ == 0) || (delta > 0 && at_ + 1 >= history_.size())) return;
    at_ = delta < 0 ? at_ - 1 : at_ + 1;
    display(*help_find(book_, history_[at_]));
}

void help_window::display(const help_topic& topic) {
    browser_->setMarkdown(from_utf8(topic.body));
    setWindowTitle(from_utf8(book_.title) + QStringLiteral(" - ") + from_utf8(topic.title));
    statusBar()->clearMessage();
    update_actions();
    help_trace("shown " + std::to_string(topic.number) + ' ' + topic.title);
}

void help_window::update_actions() {
    back_->setEnabled(!history_.empty() && at_ > 0);
    forward_->setEnabled(at_ + 1 < history_.size());
}

}  // namespace wynhelp
