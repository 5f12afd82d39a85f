// The standard dialogs over Qt message boxes, input and file dialogs, and the fatal exit.
#include "kernel/std_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstring>
#include <string>

#include "portable/core_state.h"
#include "portable/err_state.h"
#include "portable/err_text.h"
#include <res/ids.h>
#include <wyn/attr.h>
#include <wyn/dm.h>

namespace {

constexpr char kUnit[] = "kdm";
constexpr size_t kTextSize = 1024;
constexpr int kRecursiveFatalBeeps = 6;

// Help topics current while each dialog is up, so that F1 there reaches the task window.
enum : int32_t {
    kTopicFileOpen = 32030,
    kTopicFileSave = 32040,
    kTopicAsk = 32050,
    kTopicNote = 32060,
    kTopicError = 32070,
    kTopicWarning = 32080,
    kTopicPrompt = 32090,
    kTopicMessage = 32120,
    kTopicFatal = 32130,
    kTopicAbout = 32007,
};

// Process-wide function pointers installed by tests and the dialog builder; no library data.
dm_responder responder = nullptr;
dm_about_box_fn about_box = nullptr;
dm_responder resource_dialogs = nullptr;

// The program's own dialog resource for a request, when it carries one; -1 otherwise.
int from_resources(const dm_request& request, char* answer, size_t answer_size) {
    return resource_dialogs ? resource_dialogs(request, answer, answer_size) : -1;
}

// Dialogs need the widget application; without one they cannot be created.
bool can_show() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QWidget* dialog_parent() {
    return QApplication::activeWindow();
}

QString qt_text(const char* text) {
    return QString::fromUtf8(text ? text : "");
}

// A standard string in a buffer of its own (the shared scratch buffer is overwritten by the next
// standard string a dialog reads).
struct std_text {
    explicit std_text(int id) { err_std_string(id, text, sizeof text); }
    char text[WYN_ERRMSG_TEXT_SIZE];
};

void format_text(char* out, const char* format, va_list args) {
    if (format == nullptr)
        out[0] = '\0';
    else
        std::vsnprintf(out, kTextSize, format, args);
}

// The caption of the toolkit's own dialogs: the application's name.
const char* app_caption() {
    const auto* config = reinterpret_cast<const WYN_APP_CONFIG*>(err_attr(ATTR_APP_CONFIG));
    return config && config->app_name ? config->app_name : "";
}

void beep() {
    if (const err_host& host = err_get_host(); host.beep)
        host.beep();
    else if (can_show())
        QApplication::beep();
}

// Shows a message box with one "OK" button; false when it cannot be created.
bool show_box(dm_kind kind, QMessageBox::Icon icon, const char* caption, const char* text,
              int32_t topic) {
    help_topic_scope scope(topic);
    const dm_request request{kind, text, caption, {}, nullptr, nullptr, nullptr, topic};
    char answer[2];
    if (responder) return responder(request, answer, sizeof answer) != -1;
    if (from_resources(request, answer, sizeof answer) != -1) return true;
    if (!can_show()) return false;
    QMessageBox box(icon, qt_text(caption), qt_text(text), QMessageBox::NoButton, dialog_parent());
    box.addButton(qt_text(std_text(WYN_STR_OK).text), QMessageBox::AcceptRole);
    box.exec();
    return true;
}

void post_box(dm_kind kind, QMessageBox::Icon icon, const char* caption, int32_t topic,
              const char* format, va_list args) {
    char text[kTextSize];
    format_text(text, format, args);
    if (!show_box(kind, icon, caption, text, topic))
        wynv_errmsg_dispatch(nullptr, WYN_SEV_FATAL, WYN_MSG_DIALOG_FAILED, kUnit, __LINE__);
}

// A button title gets the "~" mnemonic mark unless it has one or is the standard title of its
// button.
std::string ask_title(const char* title, int standard_id) {
    if (title[0] == '&' || title[0] == '~') return title;
    if (standard_id != 0 && std::strcmp(title, std_text(standard_id).text) == 0) return title;
    return std::string("~") + title;
}

// The toolkit marks mnemonics with "~" where Qt uses "&".
QString qt_button_title(const std::string& title) {
    QString text = QString::fromStdString(title);
    text.replace(QLatin1Char('~'), QLatin1Char('&'));
    return text;
}

int show_ask(const char* text, const char* const titles[3]) {
    QMessageBox box(QMessageBox::Question, qt_text(app_caption()), qt_text(text),
                    QMessageBox::NoButton, dialog_parent());
    static constexpr QMessageBox::ButtonRole roles[3] = {
        QMessageBox::AcceptRole, QMessageBox::DestructiveRole, QMessageBox::RejectRole};
    QPushButton* buttons[3] = {};
    for (int i = 0; i < 3; ++i)
        if (titles[i]) buttons[i] = box.addButton(qt_button_title(titles[i]), roles[i]);
    if (buttons[0]) box.setDefaultButton(buttons[0]);
    if (buttons[2]) box.setEscapeButton(buttons[2]);
    box.exec();
    const auto* clicked = box.clickedButton();
    if (clicked != nullptr && clicked == buttons[0]) return 0;
    if (clicked != nullptr && clicked == buttons[1]) return 1;
    return 2;
}

// Copies text into buffer (size bytes, terminated) without splitting a UTF-8 character.
void copy_utf8(const char* text, char* buffer, size_t size) {
    size_t len = std::strlen(text);
    if (len >= size) {
        len = size - 1;
        while (len > 0 && (static_cast<unsigned char>(text[len]) & 0xC0) == 0x80) --len;
    }
    std::memcpy(buffer, text, len);
    buffer[len] = '\0';
}

// 1 with the edited text in answer, 0 when cancelled.
int show_prompt(const char* prompt, const char* initial, std::string& answer, int size) {
    QInputDialog dialog(dialog_parent());
    dialog.setWindowTitle(qt_text(app_caption()));
    dialog.setLabelText(qt_text(prompt));
    dialog.setTextValue(qt_text(initial));
    dialog.setOkButtonText(qt_text(std_text(WYN_STR_OK).text));
    dialog.setCancelButtonText(qt_text(std_text(WYN_STR_CANCEL).text));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(size - 1);
        edit->selectAll();
    }
    if (dialog.exec() != QDialog::Accepted) return 0;
    answer = dialog.textValue().toStdString();
    return 1;
}

// The filter string: "description|pattern|" pairs become Qt's "description (pattern)" entries.
void make_filter(const FILE_SPEC& file_spec, char* out, size_t size) {
    char pairs[WYN_ERRMSG_TEXT_SIZE * 2];
    if (file_spec.type[0] != '\0') {
        const char* type[2] = {file_spec.type, file_spec.type};
        err_format_strings(std_text(WYN_STR_TYPE_FILTER).text, type, 2, pairs, sizeof pairs);
    } else {
        err_std_string(WYN_STR_ALL_FILES_FILTER, pairs, sizeof pairs);
    }
    const QStringList parts = QString::fromUtf8(pairs).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) continue;
        entries << (parts[i].contains(QLatin1Char('('))
                        ? parts[i]
                        : parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    }
    std::snprintf(out, size, "%s", entries.join(QStringLiteral(";;")).toUtf8().constData());
}

// Fills the dialog record from file_spec; false (reported) when file_spec's directory cannot be
// used.
bool prepare_file_dialog(const FILE_SPEC& file_spec, const char* prompt, bool save,
                         WYN_FILE_DLG& dlg) {
    dlg = WYN_FILE_DLG{};
    dlg.save = save ? TRUE : FALSE;
    dlg.flags = save ? WYN_FILE_DLG_SAVE_FLAGS : WYN_FILE_DLG_OPEN_FLAGS;
    if (save) std::snprintf(dlg.file, sizeof dlg.file, "%s", file_spec.name);
    if (file_spec.dir.path[0] != '\0') {
        if (!wynk_fsys_convert_dir_to_str(&file_spec.dir, dlg.directory, sizeof dlg.directory)) {
            wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, WYN_MSG_ACCESS_DIRECTORY, kUnit, __LINE__);
            return false;
        }
    } else {
        DIRECTORY dir{};
        if (wynk_fsys_get_default_dir(&dir))
            std::snprintf(dlg.directory, sizeof dlg.directory, "%s", dir.path);
    }
    make_filter(file_spec, dlg.filter, sizeof dlg.filter);
    if (prompt != nullptr) std::snprintf(dlg.title, sizeof dlg.title, "%s", prompt);
    std::snprintf(dlg.default_ext, sizeof dlg.default_ext, "%s", file_spec.type);
    if (auto hook = reinterpret_cast<WYN_FILE_DLG_HOOK>(err_attr(ATTR_FILE_DLG_HOOK))) hook(&dlg);
    return true;
}

// 1 with the chosen path, 0 when cancelled.
int show_file_dialog(const WYN_FILE_DLG& dlg, std::string& path) {
    QFileDialog dialog(dialog_parent(), qt_text(dlg.title), qt_text(dlg.directory),
                       qt_text(dlg.filter));
    // The toolkit's own dialog behaves alike on every desktop (and without one).
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(dlg.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(dlg.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     (dlg.flags & WYN_FILE_DLG_OVERWRITE_PROMPT) == 0);
    dialog.setDefaultSuffix(qt_text(dlg.default_ext));
    if (dlg.file[0] != '\0') dialog.selectFile(qt_text(dlg.file));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    path = dialog.selectedFiles().front().toStdString();
    return 1;
}

// Stores the chosen path in file_spec; false, with file_spec unchanged, when a part does not fit
// it.
bool store_choice(const std::string& path, FILE_SPEC& file_spec) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : path.substr(0, slash);
    DIRECTORY chosen{};
    if (name.empty() || name.size() > WYN_SZ_FNAME ||
        !wynk_fsys_convert_str_to_dir(dir.c_str(), &chosen))
        return false;
    file_spec.dir = chosen;
    std::snprintf(file_spec.name, sizeof file_spec.name, "%s", name.c_str());
    const size_t dot = name.rfind('.');
    std::snprintf(file_spec.type, sizeof file_spec.type, "%s",
                  dot == std::string::npos || dot == 0 ? "" : name.c_str() + dot + 1);
    return true;
}

int16_t post_file_dialog(FILE_SPEC* file_spec, const char* prompt, bool save) {
    if (file_spec == nullptr) return 0;
    const int32_t topic = save ? kTopicFileSave : kTopicFileOpen;
    help_topic_scope scope(topic);
    WYN_FILE_DLG dlg;
    if (!prepare_file_dialog(*file_spec, prompt, save, dlg)) return 0;
    std::string path;
    int result;
    if (responder) {
        const dm_request request{save ? dm_kind::file_save : dm_kind::file_open,
                                 dlg.title,
                                 dlg.title,
                                 {},
                                 dlg.file,
                                 dlg.directory,
                                 dlg.filter,
                                 topic};
        char answer[4 * WYN_SZ_FNAME];
        result = responder(request, answer, sizeof answer);
        path = answer;
    } else {
        result = can_show() ? show_file_dialog(dlg, path) : -1;
    }
    if (result == -1) return 0;
    if (result != 1) return 1;
    return store_choice(path, *file_spec) ? 2 : 0;
}

} // namespace

dm_responder dm_set_responder(dm_responder next) {
    const dm_responder previous = responder;
    responder = next;
    return previous;
}

dm_responder dm_set_resource_dialogs(dm_responder show) {
    const dm_responder previous = resource_dialogs;
    resource_dialogs = show;
    return previous;
}

dm_about_box_fn dm_set_about_box(dm_about_box_fn show) {
    const dm_about_box_fn previous = about_box;
    about_box = show;
    return previous;
}

void wynv_dm_post_error_va(const char* format, va_list args) {
    post_box(dm_kind::error, QMessageBox::Critical, app_caption(), kTopicError, format, args);
}

void wynv_dm_post_warning_va(const char* format, va_list args) {
    post_box(dm_kind::warning, QMessageBox::Warning, app_caption(), kTopicWarning, format, args);
}

void wynv_dm_post_note_va(const char* format, va_list args) {
    post_box(dm_kind::note, QMessageBox::Information, app_caption(), kTopicNote, format, args);
}

void wynv_dm_post_message_va(const char* format, va_list args) {
    post_box(dm_kind::message, QMessageBox::Warning, std_text(WYN_STR_ALERT).text, kTopicMessage,
             format, args);
}

void wynv_dm_post_fatal_exit_va(const char* format, va_list args) {
    char text[kTextSize];
    format_text(text, format, args);
    if (auto hook = reinterpret_cast<WYN_FATAL_HOOK>(err_attr(ATTR_FATAL_HOOK))) hook(text);
    err_state_block& state = err_state();
    if (state.fatal_in_progress) {
        wynv_debug_printf("RECURSIVE FATAL");
        for (int i = 0; i < kRecursiveFatalBeeps; ++i) beep();
        err_leave_toolkit(ERR_EXIT_STATUS);
        return;
    }
    state.fatal_in_progress = true;
    wynv_debug_printf("FATAL: %s", text);
    const std_text caption_text(WYN_STR_SYSTEM_ERROR);
    const char* caption = caption_text.text;
    {
        help_topic_scope scope(kTopicFatal);
        if (responder) {
            const dm_request request{dm_kind::fatal, text,    caption, {},
                                     nullptr,        nullptr, nullptr, kTopicFatal};
            char answer[2];
            responder(request, answer, sizeof answer);
        } else if (can_show()) {
            QMessageBox box(QMessageBox::Critical, qt_text(caption), qt_text(text), QMessageBox::Ok,
                            dialog_parent());
            box.setWindowModality(Qt::ApplicationModal);
            box.exec();
        } else {
            // No window system to show it in: the text still reaches the user.
            std::fprintf(stderr, "%s: %s\n", caption, text);
        }
    }
    if (const err_host& host = err_get_host(); host.end_pointer_trap) host.end_pointer_trap();
    err_leave_toolkit(ERR_EXIT_STATUS);
}

int16_t wynv_dm_post_ask_va(const char* default_title, const char* alternate_title,
                            const char* other_title, const char* format, va_list args) {
    char text[kTextSize];
    format_text(text, format, args);
    const std::string marked[3] = {default_title ? ask_title(default_title, WYN_STR_OK) : "",
                                   alternate_title ? ask_title(alternate_title, 0) : "",
                                   other_title ? ask_title(other_title, WYN_STR_CANCEL) : ""};
    const char* titles[3] = {default_title ? marked[0].c_str() : nullptr,
                             alternate_title ? marked[1].c_str() : nullptr,
                             other_title ? marked[2].c_str() : nullptr};
    help_topic_scope scope(kTopicAsk);
    const dm_request request{
        dm_kind::ask, text,    app_caption(), {titles[0], titles[1], titles[2]},
        nullptr,      nullptr, nullptr,       kTopicAsk};
    char answer[2];
    int result;
    if (responder)
        result = responder(request, answer, sizeof answer);
    else if ((result = from_resources(request, answer, sizeof answer)) == -1)
        result = can_show() ? show_ask(text, titles) : -1;
    if (result == -1) {
        wynv_errmsg_dispatch(nullptr, WYN_SEV_FATAL, WYN_MSG_DIALOG_FAILED, kUnit, __LINE__);
        return 2;
    }
    return static_cast<int16_t>(result == 0 || result == 1 ? result : 2);
}

char* wynv_dm_post_string_prompt(const char* prompt, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return nullptr;
    help_topic_scope scope(kTopicPrompt);
    std::string answer;
    const dm_request request{
        dm_kind::string_prompt, prompt, app_caption(), {}, buffer, nullptr, nullptr, kTopicPrompt};
    std::string reply(static_cast<size_t>(size) + 1, '\0');
    int result = responder ? responder(request, reply.data(), reply.size())
                           : from_resources(request, reply.data(), reply.size());
    if (result != -1)
        answer = reply.c_str();
    else if (!responder)
        result = can_show() ? show_prompt(prompt, buffer, answer, size) : -1;
    if (result == -1) {
        wynv_errmsg_dispatch(nullptr, WYN_SEV_FATAL, WYN_MSG_PROMPT_FAILED, kUnit, __LINE__);
        return nullptr;
    }
    if (result != 1) return nullptr;
    copy_utf8(answer.c_str(), buffer, static_cast<size_t>(size));
    return buffer;
}

void wynv_dm_post_about_box(void) {
    help_topic_scope scope(kTopicAbout);
    if (about_box == nullptr || about_box() == -1)
        wynv_dm_post_message("%s", std_text(WYN_STR_NO_ABOUT_BOX).text);
}

void wynv_dm_post_error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    wynv_dm_post_error_va(format, args);
    va_end(args);
}

void wynv_dm_post_warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    wynv_dm_post_warning_va(format, args);
    va_end(args);
}

void wynv_dm_post_note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    wynv_dm_post_note_va(format, args);
    va_end(args);
}

void wynv_dm_post_message(const char* format, ...) {
    va_list args;
    va_start(args, format);
    wynv_dm_post_message_va(format, args);
    va_end(args);
}

void wynv_dm_post_fatal_exit(const char* format, ...) {
    va_list args;
    va_start(args, format);
    wynv_dm_post_fatal_exit_va(format, args);
    va_end(args);
}

int16_t wynv_dm_post_ask(const char* default_title, const char* alternate_title,
                         const char* other_title, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int16_t result =
        wynv_dm_post_ask_va(default_title, alternate_title, other_title, format, args);
    va_end(args);
    return result;
}

int16_t wynv_dm_post_file_open(FILE_SPEC* file_spec, const char* prompt) {
    return post_file_dialog(file_spec, prompt, false);
}

int16_t wynv_dm_post_file_save(FILE_SPEC* file_spec, const char* prompt) {
    return post_file_dialog(file_spec, prompt, true);
}

help_topic_scope::help_topic_scope(int32_t topic) : previous_(core().help_topic) {
    core().help_topic = topic;
}

help_topic_scope::~help_topic_scope() {
    core().help_topic = previous_;
}
