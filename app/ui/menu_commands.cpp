// Dispatch of the menu bar's commands to the windows and dialogs they open.
#include "ui/menu_commands.h"

#include "ui/prompts.h"
#include "ui/setup_dialog.h"
#include "ui/task_window.h"

#include <res/ids.h>

void dispatch_menu_command(WINDOW, int16_t tag) {
    switch (tag) {
    case CMD_EXIT:
        terminate_application();
        break;
    case CMD_SET_UPS_PARAMETERS:
        if (!run_setup_dialog(nullptr)) ui_error("Can't open dialog");
        break;
    default:
        break;
    }
}
