// The operating-system shutdown on Linux: a script, then systemd-logind's power-off.
#include "engine/os_shutdown.h"

#include "engine/report.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* SHUTDOWN_PRIVILEGE = "SeShutdownPrivilege";

bool g_real_power_off_forbidden = false;

bool real_power_off_forbidden() {
    return g_real_power_off_forbidden || getenv("VOLTSENTRY_NO_POWEROFF") != nullptr;
}

const char* poweroff_override() {
    const char* command = getenv(POWEROFF_VARIABLE);
    return command && *command ? command : nullptr;
}

// Runs a program and waits for it; its exit status, or -1 (errno kept) when it could not run.
int run_and_wait(const char* const argv[], bool quiet) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        errno = spawned;
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Output of a command's first line, without its line feed; empty when it could not run.
std::string first_line_of(const char* command) {
    std::string out;
    FILE* pipe = popen(command, "r");
    if (!pipe) return out;
    char line[128];
    if (fgets(line, sizeof line, pipe)) out = line;
    pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// systemd-logind answers "yes" when this process may power off without asking anyone.
bool logind_allows_power_off() {
    const std::string answer =
        first_line_of("busctl --system call org.freedesktop.login1 /org/freedesktop/login1 "
                      "org.freedesktop.login1.Manager CanPowerOff 2>/dev/null");
    return answer == "s \"yes\"";
}

void run_shutdown_script() {
    if (access(SHUTDOWN_SCRIPT, F_OK) != 0) return;
    const char* const argv[] = {"/bin/sh", SHUTDOWN_SCRIPT, nullptr};
    if (run_and_wait(argv, false) < 0) tracef(1, "Cannot run %s: %d", SHUTDOWN_SCRIPT, errno);
}

// Powers off through systemd (systemd-logind for a user it allows), never asking for a password.
int request_power_off() {
    if (const char* command = poweroff_override()) {
        const char* const argv[] = {"/bin/sh", "-c", command, nullptr};
        const int status = run_and_wait(argv, false);
        return status == 0 ? 0 : (status < 0 ? errno : status);
    }
    if (real_power_off_forbidden()) return EPERM;
    const char* const argv[] = {"systemctl", "--no-ask-password", "--no-wall", "poweroff", nullptr};
    const int status = run_and_wait(argv, true);
    return status == 0 ? 0 : (status < 0 ? errno : status);
}

} // namespace

void forbid_real_power_off() {
    g_real_power_off_forbidden = true;
}

int privilege_switch(const char* privilege, bool on) {
    if (!on || strcmp(privilege, SHUTDOWN_PRIVILEGE) != 0) return 1;
    // The stand-in command needs no right of ours; it decides for itself what it may do.
    if (poweroff_override()) return 1;
    if (real_power_off_forbidden()) {
        tracef(1, "AdjustTokenPrivileges error: %ld", static_cast<long>(EPERM));
        return 0;
    }
    if (geteuid() == 0 || logind_allows_power_off()) return 1;
    tracef(1, "AdjustTokenPrivileges error: %ld", static_cast<long>(EPERM));
    return 0;
}

int shutdown_system() {
    if (!privilege_switch(SHUTDOWN_PRIVILEGE, true)) return 0;
    run_shutdown_script();
    const int error = request_power_off();
    if (error != 0) {
        tracef(1, "InitiateSystemShutdown error: %ld", static_cast<long>(error));
        return 2;
    }
    privilege_switch(SHUTDOWN_PRIVILEGE, false);
    return 0;
}
