// The remote system selector's window and its two tables.
#include "ui/remote_selector.h"

bool open_remote_selector() {
    return false;
}
