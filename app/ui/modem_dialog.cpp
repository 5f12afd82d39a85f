// The modem parameters dialog: the pager's port, time, number and switch.
#include "ui/modem_dialog.h"

bool open_modem_dialog() {
    return false;
}
