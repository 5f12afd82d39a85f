// Internal side of dialogs: the dialog window, and the about box shown for the standard
// dialogs.
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <wyn/windef.h>

#include "kernel/std_dialogs.h"
#include "kernel/widgets.h"

// Kind 64: a dialog window; Enter presses its default button, Escape its cancel button (control
// 2) or asks it to close, and Tab moves between its controls.
class WynDialog : public WynTopWindow {
  public:
    WynDialog(WINDOW win, bool modal, QWidget* owner);
    // Ends the loop of a modal dialog once the dialog is destroyed.
    void setLoop(QEventLoop* loop) { loop_ = loop; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    QPointer<QEventLoop> loop_;
};

// Builds the dialog def describes as type (10 modal, 11 modeless); see wynk_dlg_create_def.
WINDOW dialogs_create(WIN_DEF* def, int32_t type, EVENT_MASK mask, EVENT_HANDLER handler,
                      intptr_t app_data);

// Shows the application's about box (dialog resource of the configuration) modally; the id of
// the button that ended it (2 when it was closed), or -1 when it cannot be shown.
int dialogs_show_about_box();

// Shows a standard dialog (ask, error, warning, note, message, string prompt) as the program's
// dialog resource 9051 to 9054 or 9059 and answers as a dm_responder does; -1 when the program
// carries no such resource or the application is not running.
int dialogs_show_standard(const dm_request& request, char* answer, size_t answer_size);
