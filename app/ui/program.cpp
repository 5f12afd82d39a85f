// The main routine: the program's directory, toolkit attributes, the application.
#include "ui/program.h"

#include "ui/poll_errors.h"
#include "ui/task_window.h"
#include "ui/test_seam.h"

#include <climits>
#include <res/ids.h>
#include <unistd.h>
#include <wyn/checked/app.h>
#include <wyn/checked/win.h>

std::string program_directory(const char* argv0) {
    std::string path = argv0 ? argv0 : "";
    if (path.find('/') == std::string::npos) {
        // Found through PATH: only the executable's own link knows where it lies.
        char exe[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
        if (n <= 0) return ".";
        path.assign(exe, static_cast<size_t>(n));
    }
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

int voltsentry_main(int argc, char** argv, const std::string& directory) {
    // Every file of the application is read and written beside the program.
    if (chdir(directory.c_str()) != 0) return 0;
    wyn_vobj_set_attr(nullptr, ATTR_CTL3D, 1);
    static RCT task_rect{20, 0, 500, 648};
    wyn_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect));
    static WYN_APP_CONFIG config{MENU_MAIN, DLG_ABOUT, "norva", "VoltSentry Plus",
                                 "Norvane VoltSentry Plus"};
    install_poll_error_handler();
    test_seam_start();
    wyn_app_create(argc, argv, 0, task_window_handler, &config);
    return 0;
}
