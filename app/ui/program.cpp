// The main routine: the program directory, the start-up options, toolkit attributes, the
// application.
#include "ui/program.h"

#include "files/text_file.h"
#include "support/unique_fd.h"
#include "ui/poll_errors.h"
#include "ui/task_window.h"
#include "ui/test_seam.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <res/ids.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <wyn/checked/app.h>
#include <wyn/checked/win.h>

namespace {

// Where an installed program's shared files lie, seen from the directory of the program.
constexpr char kShareBesideProgram[] = "/../share/voltsentry";
constexpr char kAutostartEntry[] = "voltsentry.desktop";

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Start-up options are typed by a person or written in a unit file: their failures go to
// standard error, which the terminal or the journal shows.
void complain(const std::string& text) {
    std::fprintf(stderr, "voltsentry: %s\n", text.c_str());
}

std::string error_text(int error) {
    return std::strerror(error);
}

// The running executable by the path it was started as (a link keeps its own directory, as the
// tests and the demo rely on), else by the kernel's link to it; empty when neither is known.
std::string program_path(const char* argv0) {
    std::string path = argv0 ? argv0 : "";
    if (path.find('/') != std::string::npos) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        return error ? path : absolute.lexically_normal().string();
    }
    // Found through PATH: only the executable's own link knows where it lies.
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    return n > 0 ? std::string(exe, static_cast<size_t>(n)) : "";
}

bool is_directory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes directory and each missing parent, private to the user as the XDG base directories are
// meant to be; 0, or the error number of the step that failed.
int make_directories(const std::string& directory) {
    for (size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) break;
    }
    return is_directory(directory) ? 0 : ENOTDIR;
}

// The user's home: $HOME, else the password database's entry (a service may run without HOME);
// empty when neither knows.
std::string home_directory() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

// An XDG base directory: the variable when it holds an absolute path (a relative one is to be
// ignored), else fallback under the home; empty when there is no home either.
std::string xdg_directory(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const std::string home = home_directory();
    return home.empty() ? "" : home + "/" + fallback;
}

// The help library looks through HELP, split at ";" (or ":", as Linux lists are), for the help
// file; directory is added at its end unless it is there already.
void add_to_help_path(const std::string& directory) {
    const char* help = std::getenv("HELP");
    std::string list = help ? help : "";
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find_first_of(";:", start), list.size());
        if (list.compare(start, end - start, directory) == 0) return;
        start = end + 1;
    }
    list += list.empty() ? directory : ";" + directory;
    setenv("HELP", list.c_str(), 1);
}

// One argument of a desktop entry's Exec line: plain when it holds nothing the entry's quoting
// rules reserve, else quoted, then escaped as any value of the entry is; nullopt for a control
// character, which no entry can carry.
std::optional<std::string> exec_argument(const std::string& argument) {
    constexpr std::string_view plain_marks = "/._-+,:=@";
    bool plain = !argument.empty();
    for (const char c : argument) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80;
        if (!letter && plain_marks.find(c) == std::string_view::npos) plain = false;
    }
    std::string out = plain ? "" : "\"";
    for (const char c : argument) {
        if (c == '%') out += "%%";
        else if (c == '\\') out += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$') out += std::string("\\\\") + c;
        else out += c;
    }
    if (!plain) out += '"';
    return out;
}

// Writes text as the whole of path through a temporary file beside it, synced, renamed over it
// and the rename synced; 0, or the error number (path then untouched).
int replace_file(const std::string& path, const std::string& text) {
    std::string temp = path + ".XXXXXX";
    unique_fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) return errno;
    // Removes the temporary file on every way out that does not rename it.
    struct remover {
        const std::string& name;
        bool armed = true;
        ~remover() {
            if (armed) ::unlink(name.c_str());
        }
    } guard{temp};
    if (::fchmod(fd.get(), 0644) != 0 || !write_all(fd.get(), text) || ::fsync(fd.get()) != 0 ||
        !fd.close())
        return errno;
    if (::rename(temp.c_str(), path.c_str()) != 0) return errno;
    guard.armed = false;
    return sync_directory_of(path.c_str()) == 0 ? 0 : errno;
}

// Carries out --autostart: "on" writes the session's entry for program (with its data directory
// when one was given), "off" removes it. An exit status.
int set_autostart(const std::string& choice, const std::string& program,
                  const std::optional<std::string>& data_dir) {
    if (choice != "on" && choice != "off") {
        complain("--autostart takes on or off, not \"" + choice + "\"");
        return kExitUsage;
    }
    const std::string config = xdg_directory("XDG_CONFIG_HOME", ".config");
    if (config.empty()) {
        complain("no home directory to keep the autostart entry in");
        return kExitFailed;
    }
    const std::string directory = config + "/autostart";
    const std::string entry = directory + "/" + kAutostartEntry;
    if (choice == "off") {
        if (::unlink(entry.c_str()) == 0) {
            sync_directory_of(entry.c_str());
        } else if (errno != ENOENT) {
            complain("cannot remove " + entry + ": " + error_text(errno));
            return kExitFailed;
        }
        std::printf("VoltSentry Plus no longer starts with the session (%s removed)\n",
                    entry.c_str());
        return 0;
    }
    std::optional<std::string> exec = exec_argument(program);
    if (exec && data_dir) {
        const std::optional<std::string> dir = exec_argument(*data_dir);
        exec = dir ? std::optional<std::string>(*exec + " --data-dir " + *dir) : std::nullopt;
    }
    if (program.empty() || !exec) {
        complain("the program's path cannot be written in an autostart entry");
        return kExitFailed;
    }
    const std::string text = "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=VoltSentry Plus\n"
                             "Comment=Watches the UPS and shuts the machine down when power fails\n"
                             "Exec=" + *exec + "\n"
                             "Icon=voltsentry\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n";
    int error = make_directories(directory);
    if (error == 0) error = replace_file(entry, text);
    if (error != 0) {
        complain("cannot write " + entry + ": " + error_text(error));
        return kExitFailed;
    }
    std::printf("VoltSentry Plus starts with the session (%s)\n", entry.c_str());
    return 0;
}

} // namespace

std::string program_directory(const char* argv0) {
    const std::string path = program_path(argv0);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

start_plan plan_start(int& argc, char** argv) {
    start_plan plan;
    std::optional<std::string> data_dir;
    std::optional<std::string> autostart;
    int kept = argc > 0 ? 1 : 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::optional<std::string>* option = nullptr;
        std::string_view name;
        for (const auto& [known, target] : {std::pair{"--data-dir", &data_dir},
                                            std::pair{"--autostart", &autostart}}) {
            const std::string_view k = known;
            if (arg == k || (arg.starts_with(k) && arg.size() > k.size() && arg[k.size()] == '=')) {
                option = target;
                name = k;
            }
        }
        if (!option) {
            argv[kept++] = argv[i];
            continue;
        }
        if (arg.size() > name.size()) {
            *option = std::string(arg.substr(name.size() + 1));
        } else if (i + 1 < argc) {
            *option = argv[++i];
        } else {
            complain(std::string(name) + " needs a value");
            plan.exit_status = kExitUsage;
            return plan;
        }
    }
    argc = kept;
    argv[argc] = nullptr;

    if (data_dir) {
        if (data_dir->empty()) {
            complain("--data-dir needs a directory");
            plan.exit_status = kExitUsage;
            return plan;
        }
        std::error_code error;
        std::filesystem::path dir = std::filesystem::absolute(*data_dir, error).lexically_normal();
        if (!dir.has_filename() && dir.has_parent_path() && dir != dir.root_path())
            dir = dir.parent_path();
        data_dir = dir.string();
    }
    const char* argv0 = argc > 0 ? argv[0] : nullptr;
    if (autostart) {
        plan.exit_status = set_autostart(*autostart, program_path(argv0), data_dir);
        return plan;
    }

    const std::string own = program_directory(argv0);
    char share[PATH_MAX];
    const bool installed = ::realpath((own + kShareBesideProgram).c_str(), share) != nullptr &&
                           is_directory(share);
    if (data_dir) {
        plan.directory = *data_dir;
    } else if (installed) {
        const std::string data_home = xdg_directory("XDG_DATA_HOME", ".local/share");
        if (data_home.empty()) {
            complain("no home directory for the program's files: give one with --data-dir DIR");
            plan.exit_status = kExitFailed;
            return plan;
        }
        plan.directory = data_home + "/voltsentry";
    } else {
        plan.directory = own;
        return plan;
    }
    if (installed) add_to_help_path(share);
    if (const int error = make_directories(plan.directory); error != 0) {
        complain("cannot make the program directory " + plan.directory + ": " + error_text(error));
        plan.exit_status = kExitFailed;
    }
    return plan;
}

int voltsentry_main(int argc, char** argv, const std::string& directory) {
    // Every file of the application is read and written in the program directory.
    if (chdir(directory.c_str()) != 0) {
        complain("cannot enter the program directory " + directory + ": " + error_text(errno));
        return 0;
    }
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
