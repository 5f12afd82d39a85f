// The operating-system shutdown on Linux: a script, then systemd-logind's power-off.
#include "engine/os_shutdown.h"

#include "engine/app_state.h"
#include "engine/report.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// Every failure of the shutdown path is shown, logged twice and written to standard error: it may
// be the last thing this program ever says.
constexpr int KIND_SHUTDOWN_FAILURE = MSG_PANEL | MSG_ALARM_LOG | MSG_EVENT_LOG;

// How often a running script is looked at, and how long it gets to end after being asked to.
constexpr auto SCRIPT_POLL = std::chrono::milliseconds(20);
constexpr auto SCRIPT_TERM_GRACE = std::chrono::seconds(2);

constexpr int SCRIPT_FLOOR_SECONDS = 30;
constexpr int SCRIPT_MARGIN_SECONDS = 15;

bool g_real_power_off_forbidden = false;

bool real_power_off_forbidden() {
    return g_real_power_off_forbidden || getenv("VOLTSENTRY_NO_POWEROFF") != nullptr;
}

const char* poweroff_override() {
    const char* command = getenv(POWEROFF_VARIABLE);
    return command && *command ? command : nullptr;
}

// The panel shows 43 characters a line: it gets the brief text, the logs and standard error the
// whole story.
void report_failure(const char* brief, const char* detail) {
    post_brief_message(brief, detail, KIND_SHUTDOWN_FAILURE);
    fprintf(stderr, "voltsentry: %s\n", detail);
}

// Why the power-off would be refused, briefly for the panel and in full for the logs; both empty
// when it is allowed.
struct refusal {
    std::string brief;
    std::string detail;
};

refusal refusal_of(const power_off_facts& facts) {
    // The stand-in command needs no right of ours; it decides for itself what it may do.
    if (facts.stand_in || (facts.root && !facts.forbidden)) return {};
    if (facts.forbidden)
        return {"test runs never power the machine off.", "test runs never power the machine off"};
    if (facts.logind_answer == "yes" || facts.logind_answer == "challenge") return {};
    if (facts.logind_answer.empty())
        return {"not root, and no systemd-logind to ask.",
                "not running as root, and systemd-logind cannot be asked (busctl or the system "
                "bus is missing)"};
    return {"not root, and systemd-logind says \"" + facts.logind_answer.substr(0, 7) + "\".",
            "not running as root, and systemd-logind answers \"" + facts.logind_answer +
                "\" to a power-off"};
}

// A started child, ended and reaped if its owner lets go of it early.
class child {
  public:
    // Starts argv; in its own process group when grouped, so that everything it starts can be
    // ended with it. started() is false (errno set) when it could not run.
    child(const char* const argv[], bool quiet, bool grouped) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (quiet) {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        }
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        if (grouped) {
            posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
            posix_spawnattr_setpgroup(&attributes, 0);
        }
        const int spawned = posix_spawnp(&pid_, argv[0], &actions, &attributes,
                                         const_cast<char* const*>(argv), environ);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        grouped_ = grouped;
        if (spawned != 0) {
            pid_ = -1;
            errno = spawned;
        }
    }
    ~child() {
        if (pid_ > 0) end();
    }
    child(const child&) = delete;
    child& operator=(const child&) = delete;

    bool started() const { return pid_ > 0; }

    // True once the child has ended; its status is then in status().
    bool finished() {
        if (pid_ <= 0) return true;
        int raw = 0;
        const pid_t r = waitpid(pid_, &raw, WNOHANG);
        if (r == 0 || (r < 0 && errno == EINTR)) return false;
        status_ = r < 0 ? -1 : (WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw));
        pid_ = -1;
        return true;
    }

    // Waits for the child however long it takes.
    int wait() {
        while (!finished()) std::this_thread::sleep_for(SCRIPT_POLL);
        return status_;
    }

    // Asks the child (and its group) to end, then forces it, and reaps it.
    void end() {
        signal_all(SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + SCRIPT_TERM_GRACE;
        while (!finished() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(SCRIPT_POLL);
        if (pid_ > 0) {
            signal_all(SIGKILL);
            wait();
        }
        // What the script started and left behind goes too, even once the script has ended.
        if (grouped_ && group_ > 0) kill(-group_, SIGKILL);
    }

    int status() const { return status_; }

  private:
    void signal_all(int number) {
        if (pid_ <= 0) return;
        group_ = pid_;
        kill(grouped_ ? -pid_ : pid_, number);
    }

    pid_t pid_ = -1;
    pid_t group_ = -1;
    bool grouped_ = false;
    int status_ = -1;
};

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

// systemd-logind's CanPowerOff answer for this process: "yes", "no", "challenge", "na", or empty.
std::string ask_logind() {
    std::string answer =
        first_line_of("busctl --system call org.freedesktop.login1 /org/freedesktop/login1 "
                      "org.freedesktop.login1.Manager CanPowerOff 2>/dev/null");
    // busctl prints the reply as its signature and the quoted string: s "yes".
    const size_t open = answer.find('"');
    const size_t close = answer.rfind('"');
    if (!answer.starts_with("s ") || open == std::string::npos || close <= open) return {};
    return answer.substr(open + 1, close - open - 1);
}

void run_shutdown_script(int limit) {
    if (access(SHUTDOWN_SCRIPT, F_OK) != 0) return;
    const char* const argv[] = {"/bin/sh", SHUTDOWN_SCRIPT, nullptr};
    child script(argv, false, true);
    char text[160];
    if (!script.started()) {
        snprintf(text, sizeof text, "Cannot run %s: %s.", SHUTDOWN_SCRIPT, strerror(errno));
        report_failure("Cannot run SHUTDOWN.BAT!", text);
        return;
    }
    // The limit runs on the application's clock, which tests speed up.
    const time_t start = app_now();
    while (!script.finished()) {
        if (app_now() - start >= limit) {
            script.end();
            snprintf(text, sizeof text,
                     "%s did not finish within %d seconds and was ended; powering off.",
                     SHUTDOWN_SCRIPT, limit);
            report_failure("SHUTDOWN.BAT hung and was ended.", text);
            return;
        }
        std::this_thread::sleep_for(SCRIPT_POLL);
    }
    if (script.status() != 0) {
        snprintf(text, sizeof text, "%s ended with status %d.", SHUTDOWN_SCRIPT, script.status());
        post_message(text, MSG_EVENT_LOG);
    }
}

// Powers off through systemd (systemd-logind for a user it allows), never asking for a password;
// empty, or what went wrong.
std::string request_power_off() {
    char text[160];
    if (const char* command = poweroff_override()) {
        const char* const argv[] = {"/bin/sh", "-c", command, nullptr};
        child run(argv, false, false);
        if (!run.started()) {
            snprintf(text, sizeof text, "cannot run the %s command: %s", POWEROFF_VARIABLE,
                     strerror(errno));
            return text;
        }
        const int status = run.wait();
        if (status == 0) return {};
        snprintf(text, sizeof text, "the %s command ended with status %d", POWEROFF_VARIABLE,
                 status);
        return text;
    }
    if (real_power_off_forbidden()) return "test runs never power the machine off";
    const char* const argv[] = {"systemctl", "--no-ask-password", "--no-wall", "poweroff", nullptr};
    child run(argv, true, false);
    if (!run.started()) {
        snprintf(text, sizeof text, "cannot run systemctl: %s", strerror(errno));
        return text;
    }
    const int status = run.wait();
    if (status == 0) return {};
    snprintf(text, sizeof text, "systemctl poweroff ended with status %d", status);
    return text;
}

} // namespace

void forbid_real_power_off() {
    g_real_power_off_forbidden = true;
}

std::string power_off_refusal(const power_off_facts& facts) {
    return refusal_of(facts).detail;
}

power_off_facts current_power_off_facts() {
    power_off_facts facts;
    facts.stand_in = poweroff_override() != nullptr;
    facts.forbidden = real_power_off_forbidden();
    facts.root = geteuid() == 0;
    if (!facts.stand_in && !facts.forbidden && !facts.root) facts.logind_answer = ask_logind();
    return facts;
}

bool warn_if_power_off_refused() {
    const refusal why = refusal_of(current_power_off_facts());
    if (why.detail.empty()) return false;
    // Three panel lines of at most 43 characters, which stay until the next messages.
    for (const std::string& line : {std::string("Warning: the power-off will be refused:"),
                                    why.brief,
                                    std::string("Run as root, or see norva.log for help.")})
        post_message(line.c_str(), MSG_PANEL);
    const std::string first =
        "Warning: this machine cannot be powered off at a power failure: " + why.detail + ".";
    const std::string second = std::string("Run VoltSentry Plus as root, allow this user to power ") +
                               "off (polkit), or set " + POWEROFF_VARIABLE + ".";
    for (const std::string& line : {first, second}) {
        post_message(line.c_str(), MSG_EVENT_LOG);
        fprintf(stderr, "voltsentry: %s\n", line.c_str());
    }
    return true;
}

int shutdown_script_limit(int grace_time) {
    return std::max(grace_time - SCRIPT_MARGIN_SECONDS, SCRIPT_FLOOR_SECONDS);
}

int shutdown_system(int script_limit) {
    // Asked once: systemd-logind's answer does not change while the script runs.
    const std::string refused = power_off_refusal(current_power_off_facts());
    run_shutdown_script(script_limit);
    char text[320];
    if (!refused.empty()) {
        tracef(TRACE_ERROR, "power-off permission error: %ld", static_cast<long>(EPERM));
        snprintf(text, sizeof text, "The machine cannot be powered off: %s.", refused.c_str());
        report_failure("The machine cannot be powered off!", text);
        return 2;
    }
    const std::string error = request_power_off();
    if (!error.empty()) {
        tracef(TRACE_ERROR, "power-off request error: %s", error.c_str());
        snprintf(text, sizeof text, "Power-off failed: %s.", error.c_str());
        report_failure("Power-off failed!", text);
        return 2;
    }
    return 0;
}
