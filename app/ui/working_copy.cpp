// The data log's working copy, shared by the windows that read it and removed by the last one.
#include "ui/working_copy.h"

#include "engine/app_state.h"
#include "files/logs.h"
#include "ui/ui_state.h"

#include <unistd.h>

void working_copy_take() {
    ++g_ui.working_copy_holders;
    ::unlink(WORKING_COPY_FILE);
    if (g_app && !g_app->remote_view)
        CopyLocalFile(g_app->engine.logs, DATA_LOG, WORKING_COPY_FILE, app_now());
}

void working_copy_release() {
    if (g_ui.working_copy_holders > 0) --g_ui.working_copy_holders;
    if (g_ui.working_copy_holders == 0) ::unlink(WORKING_COPY_FILE);
}

void working_copy_discard_unheld() {
    if (g_ui.working_copy_holders == 0) ::unlink(WORKING_COPY_FILE);
}
