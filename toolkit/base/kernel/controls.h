// Internal side of controls: the record each native control carries, the lookup from objects to
// their controls, notifications becoming E_CONTROL, and the dialog font's base units.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <wyn/win.h>

class QWidget;
struct wyn_font;

// What the toolkit keeps about one control; a child of its native widget, so it lives exactly as
// long as the widget does.
class CtlRecord : public QObject {
  public:
    CtlRecord(WINDOW win, QWidget* widget);

    WINDOW win;
    int16_t id = 0;
    uint32_t ctl_flags = 0;
    wyn_font* font = nullptr;
    COLOR* colors = nullptr;
    // Notifications are ignored while this is above zero (creation, programmatic changes).
    int quiet = 0;
};

// Ignores a control's notifications for the lifetime of the scope.
class QuietScope {
  public:
    explicit QuietScope(CtlRecord* rec) : rec_(rec) {
        if (rec_) ++rec_->quiet;
    }
    ~QuietScope() {
        if (rec_) --rec_->quiet;
    }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

  private:
    CtlRecord* rec_;
};

// The record of a live control object, or null for anything else.
CtlRecord* ctl_record(WINDOW win);

// The native widget of a live control of one of the given types (0 = any), or null.
QWidget* ctl_widget(WINDOW win, int32_t type = 0);

// True for the control types 12 to 24.
bool ctl_is_control_type(int32_t type);

// Sends win's parent an E_CONTROL for control win, later (as the window system posted control
// notifications) unless now is set. Nothing is sent while the control is quiet.
void ctl_notify(WINDOW win, EVENT& ev, bool now = false);

// An E_CONTROL record for control win with the per-type part zeroed.
EVENT ctl_event(WINDOW win);

// A toolkit title ("~" before the mnemonic, "~~" a tilde) in the native form ("&" marker);
// without_marker drops the marker instead, for widgets that show "&" as it is.
QString ctl_native_title(const char* title, bool without_marker = false);

// A native title back in the toolkit's form.
QByteArray ctl_toolkit_title(const QString& native);

// The dialog font's average character cell: the mean width of its letters and its line height.
QSize ctl_dialog_base_units();
// Records that cell as the base of character and dialog units.
void ctl_sync_base_units();

// The widget that a window's controls live in (its drawable area), or null.
QWidget* ctl_container(WINDOW win);

// Performs menu command tag (32027 cut, 32028 copy, 32029 paste, 32030 clear) on the edit or
// list edit holding the focus; false when the focus is not in one or tag is another command.
bool ctl_edit_command(int16_t tag);
