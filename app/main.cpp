// The program's entry: the toolkit start-up record, the one-instance lock and the main routine.
#include "engine/instance_lock.h"
#include "ui/program.h"
#include "ui/test_seam.h"

#include <string>
#include <wyn/app.h>
#include <wyn/text.h>

namespace {

const WYN_VERSION program_version = {WYN_VERSION_MAJOR, WYN_VERSION_MINOR, WYN_VERSION_PATCH,
                                     WYN_VERSION_MAJOR, WYN_VERSION_MINOR, WYN_VERSION_PATCH};

// Normal window, neither minimised nor maximised.
constexpr int32_t kShowNormal = 1;

std::string join_arguments(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

void after_fatal_error() {
    test_seam_finish(1);
}

} // namespace

int main(int argc, char** argv) {
    const start_plan plan = plan_start(argc, argv);
    if (plan.exit_status >= 0) return plan.exit_status;
    const std::string& directory = plan.directory;
    // Held for the whole run: a second start from the same directory finds it taken.
    instance_lock lock(directory + "/" + INSTANCE_LOCK_FILE);
    const std::string cmd_line = join_arguments(argc, argv);

    WYN_STARTUP startup{};
    startup.version = &program_version;
    startup.prev_instance = lock.taken_elsewhere() ? &lock : nullptr;
    startup.cmd_line = cmd_line.c_str();
    startup.show_cmd = kShowNormal;
    startup.argc = argc;
    startup.fatal_return = after_fatal_error;
    // Window and dialog definitions make their text views through the text edit library.
    startup.tx_create_def = wynv_tx_create_def;
    startup.tx_get_tx = wynv_tx_get_tx;
    if (!wynwi_Begin(&startup)) return 0;
    if (wynwi_Init(&startup)) voltsentry_main(argc, argv, directory);
    wynwi_End();
    test_seam_finish(0);
    return 0;
}
