// The phone option dialog's two choices, handed to the engine for its next quiet poll.
#include "ui/phone_dialog.h"

bool run_phone_dialog() {
    return false;
}
