// Helpers for the tests of controls, dialogs and windows built from definitions: a started
// application with a window to hold controls, input sent to native widgets, and the program's
// resource scripts compiled into a database.
#pragma once

#include <QWidget>
#include <string>
#include <vector>
#include <wyn/ctl.h>

#include "toolkit/base/app_support.h"

// The E_CONTROL events win received, in order.
std::vector<EVENT> control_events(WINDOW win);

// A left click in the middle of widget, as the mouse makes it.
void click(QWidget* widget);
// A double click in the middle of widget.
void double_click(QWidget* widget, QPoint at);
// A key press and release sent to widget.
void press_key(QWidget* widget, int key, const QString& text = {});

// The native widget of a toolkit object.
QWidget* native(WINDOW win);

// The path of a database compiled from the program's resource scripts (made once per run);
// empty when the compiler failed.
const std::string& program_resources();

class ControlTest : public ToolkitTest {
  protected:
    void SetUp() override;
    // A control of type inside window_ at rct (pixels).
    WINDOW make(int32_t type, int16_t id, const RCT& rct, const char* title = "",
                uint32_t ctl_flags = 0);

    WINDOW window_ = nullptr;
};
