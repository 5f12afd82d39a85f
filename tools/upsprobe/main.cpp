// upsprobe: asks a UPS who it is and what it reads, through the program's own serial and
// protocol code, and prints the decoded record; or looks for UPSes on every serial device.
#include "engine/port_discovery.h"
#include "engine/protocol.h"
#include "engine/serial_io.h"
#include "engine/status_lines.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <getopt.h>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

const char* const usage_text =
    "Usage: upsprobe [options] PORT\n"
    "       upsprobe --scan [options] [PORT...]\n"
    "Opens PORT (COMn: the file COMn in the current directory if it exists, else\n"
    "/dev/ttyS<n-1>; or a device path), identifies the UPS (:W :L :V :S), reads a few status\n"
    "polls (:B :D) and the self-test result (:C), and prints what the program would show as\n"
    "key: value lines. Exit status 0 when the UPS answered, 2 when it did not; then only the\n"
    "values of the commands it answered are printed.\n"
    "\n"
    "With --scan it tries every serial device of the machine (ttyS*, ttyUSB* and ttyACM* in\n"
    "/dev) and the PORTs given, one after another, with the identification commands and a\n"
    "short time-out, and prints a line for each that answers as a UPS: the port, the model,\n"
    "and for a USB adapter the option to start voltsentry with so that it finds the UPS\n"
    "wherever it is plugged in (/PNP:<id>, read from the device tree /sys/devices, or from\n"
    "the tree that VOLTSENTRY_SYSFS_ROOT names). What did not answer is said on standard\n"
    "error.\n"
    "Exit status 0 when a UPS answered, 2 when none did.\n"
    "\n"
    "Options:\n"
    "  --polls N        number of :B/:D poll pairs (default 2)\n"
    "  --nominal V      208 or 240: the UPS voltage setting for voltage class 3 (default 240)\n"
    "  --selftest       start a self-test (:A) and wait for its result\n"
    "  --timeout MS     how long to wait for each reply (default 1500); a reply still\n"
    "                   incomplete then is decoded as it stands, as the program does\n"
    "  --retries N      attempts per command (default 3)\n"
    "  --scan           look for UPSes on every serial device (time-out 500, 2 attempts)\n"
    "  --dev-dir DIR    where --scan looks for serial devices (default /dev)\n"
    "  --debug          show the wire trace on standard error\n"
    "  --help           show this text\n";

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The step whose reply supplies each printed key that is not read from :D (the rest are).
struct key_source {
    const char* key;
    int step;
};
constexpr key_source KEY_SOURCES[] = {
    {"model", STEP_IDENTIFY},          {"va_rating", STEP_IDENTIFY},
    {"family", STEP_IDENTIFY},         {"voltage_class", STEP_IDENTIFY},
    {"identity", STEP_IDENTIFY},       {"protocol", STEP_PROTOCOL},
    {"firmware", STEP_FIRMWARE},       {"phone_option", STEP_PHONE},
    {"battery_voltage", STEP_BATTERY}, {"selftest_status", STEP_SELFTEST_RESULT}};

int source_of(const std::string& key) {
    for (const key_source& source : KEY_SOURCES)
        if (key == source.key) return source.step;
    return STEP_STATUS;
}

struct probe_options {
    int polls = 2;
    uint16_t nominal = 240;
    bool selftest = false;
    int timeout_ms = 1500;
    int retries = 3;
    bool debug = false;
    bool scan = false;
    std::string dev_dir = "/dev";
    std::vector<std::string> ports;
};

// A scan asks many devices that mostly say nothing: it waits less for each.
constexpr int SCAN_TIMEOUT_MS = 500;
constexpr int SCAN_RETRIES = 2;

// With --debug the wire trace goes to standard error, and nothing ever goes to log files.
class wire_trace final : public trace_sink {
  public:
    explicit wire_trace(bool on) : on_(on) {}
    bool shows(int category) const override { return on_ && category == TRACE_WIRE; }
    void line(const char* text, int) const override { fprintf(stderr, "upsprobe: %s\n", text); }

  private:
    bool on_;
};

class probe {
  public:
    probe(const probe_options& options, int handle, const trace_sink& trace)
        : options_(options), handle_(handle) {
        session_.trace = &trace;
        ups_.nominal_voltage = options.nominal;
        ups_.selftest_status = 5;
    }

    // Runs one command until its reply decodes or the attempts run out; false then.
    bool step(int step);

    // Starts a self-test and alternates :C and :D until it ends; false when the UPS stops.
    bool selftest();

    const ups_status& record() const { return ups_; }

    // True when a reply to step has been decoded.
    bool answered(int step) const { return (answered_ & (1u << step)) != 0; }

  private:
    uint16_t waiting();
    bool attempt(int step, int number);
    void debug(const char* format, const char* command, int a, int b);

    const probe_options& options_;
    int handle_;
    protocol_session session_;
    ups_status ups_{};
    unsigned answered_ = 0;
    steady_clock::time_point last_send_{};
};

uint16_t probe::waiting() {
    uint16_t count = 0;
    if (SerialIO_GetStatus(handle_, &count, nullptr, session_.trace) != 0) return 0;
    return count;
}

void probe::debug(const char* format, const char* command, int a, int b) {
    if (!options_.debug) return;
    std::string shown = command;
    if (!shown.empty() && shown.back() == '\r') shown.pop_back();
    fprintf(stderr, "upsprobe: ");
    fprintf(stderr, format, shown.c_str(), a, b);
    fputc('\n', stderr);
}

bool probe::attempt(int step, int number) {
    // The program polls no faster than this, so a UPS is never asked quicker than it expects.
    std::this_thread::sleep_until(last_send_ + milliseconds(250));
    ups_.next_step = static_cast<int16_t>(step);
    last_send_ = steady_clock::now();
    SendUPSCommand(session_, handle_, ups_);
    const std::string command = session_.command;
    // The echo, the separator, the digits and the closing carriage return.
    const int complete = static_cast<int>(command.size()) + 1 + reply_digits(step) + 1;
    const auto deadline = last_send_ + milliseconds(options_.timeout_ms);
    uint16_t count = 0;
    int quiet_checks = 0;
    // A complete reply is read once the line has gone quiet after it; one that stays shorter is
    // read at the deadline as it stands, as the program reads whatever came by its next poll.
    while (steady_clock::now() < deadline && quiet_checks < 3) {
        std::this_thread::sleep_for(milliseconds(20));
        const uint16_t now = waiting();
        quiet_checks = now == count && now >= complete ? quiet_checks + 1 : 0;
        count = now;
    }
    if (count == 0) {
        debug("%s: no reply (attempt %d of %d)", command.c_str(), number, options_.retries);
        return false;
    }
    if (count < complete)
        debug("%s: reply incomplete, %d bytes (attempt %d)", command.c_str(), count, number);
    if (GetNorvaKestraUPSData(session_, handle_, ups_) != 0) {
        debug("%s: reply refused (attempt %d of %d)", command.c_str(), number, options_.retries);
        return false;
    }
    answered_ |= 1u << step;
    return true;
}

bool probe::step(int step) {
    for (int number = 1; number <= options_.retries; ++number)
        if (attempt(step, number)) return true;
    return false;
}

bool probe::selftest() {
    if (!step(STEP_SELFTEST) || !step(STEP_SELFTEST_RESULT)) return false;
    // A self-test runs for seconds; give it a few minutes before calling the UPS stuck.
    const auto deadline = steady_clock::now() + std::chrono::minutes(3);
    while (ups_.selftest_status == 2 && steady_clock::now() < deadline) {
        if (!step(STEP_STATUS) || !step(STEP_SELFTEST_RESULT)) return false;
    }
    return ups_.selftest_status != 2;
}

bool parse_count(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long value = strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

// Reads the command line; 1 for --help, 0 to go on, 2 on a mistake.
int parse_options(int argc, char** argv, probe_options& o) {
    const option long_options[] = {
        {"polls", required_argument, nullptr, 'p'},   {"nominal", required_argument, nullptr, 'n'},
        {"selftest", no_argument, nullptr, 's'},      {"timeout", required_argument, nullptr, 't'},
        {"retries", required_argument, nullptr, 'r'}, {"debug", no_argument, nullptr, 'd'},
        {"scan", no_argument, nullptr, 'S'},          {"dev-dir", required_argument, nullptr, 'D'},
        {"help", no_argument, nullptr, 'h'},          {nullptr, 0, nullptr, 0}};
    int nominal = 0;
    bool timeout_given = false, retries_given = false;
    for (int id; (id = getopt_long(argc, argv, "", long_options, nullptr)) != -1;) {
        bool ok = true;
        switch (id) {
        case 'p':
            ok = parse_count(optarg, 1, 100, o.polls);
            break;
        case 'n':
            ok = parse_count(optarg, 208, 240, nominal) && (nominal == 208 || nominal == 240);
            o.nominal = static_cast<uint16_t>(nominal);
            break;
        case 's':
            o.selftest = true;
            break;
        case 't':
            ok = parse_count(optarg, 100, 60000, o.timeout_ms);
            timeout_given = true;
            break;
        case 'r':
            ok = parse_count(optarg, 1, 100, o.retries);
            retries_given = true;
            break;
        case 'S':
            o.scan = true;
            break;
        case 'D':
            o.dev_dir = optarg;
            ok = !o.dev_dir.empty();
            break;
        case 'd':
            o.debug = true;
            break;
        case 'h':
            fputs(usage_text, stdout);
            return 1;
        default:
            ok = false;
        }
        if (!ok) {
            fputs(usage_text, stderr);
            return 2;
        }
    }
    if (!o.scan && optind + 1 != argc) {
        fputs(usage_text, stderr);
        return 2;
    }
    o.ports.assign(argv + optind, argv + argc);
    if (o.scan) {
        if (!timeout_given) o.timeout_ms = SCAN_TIMEOUT_MS;
        if (!retries_given) o.retries = SCAN_RETRIES;
    }
    return 0;
}

// Asks who the UPS is (:W :L :V :S); false with the command it did not answer.
bool identify(probe& session, const char*& failed) {
    failed = ":W";
    if (!session.step(STEP_PROTOCOL)) return false;
    const struct {
        int step;
        const char* name;
    } steps[] = {{STEP_IDENTIFY, ":L"}, {STEP_FIRMWARE, ":V"}, {STEP_PHONE, ":S"}};
    for (const auto& [step, name] : steps) {
        if (!session.step(step)) {
            failed = name;
            return false;
        }
    }
    return true;
}

// Which kind of serial device a name in the device directory is, in the order they are tried;
// -1 for anything else. The number after the kind is in number.
int device_kind(const std::string& name, unsigned long& number) {
    static const char* const kinds[] = {"ttyS", "ttyUSB", "ttyACM"};
    for (int kind = 0; kind < 3; ++kind) {
        const std::string prefix = kinds[kind];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6)
            continue;
        number = std::stoul(digits);
        return kind;
    }
    return -1;
}

// The serial devices of the device directory (character devices only) in kind and number order,
// then the ports given that are not among them.
std::vector<std::string> scan_candidates(const probe_options& o) {
    std::vector<std::tuple<int, unsigned long, std::string>> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(o.dev_dir, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        unsigned long number = 0;
        const int kind = device_kind(name, number);
        std::error_code ignored;
        if (kind >= 0 && std::filesystem::is_character_file(it->path(), ignored))
            found.emplace_back(kind, number, it->path().string());
    }
    if (error)
        fprintf(stderr, "upsprobe: cannot list %s: %s\n", o.dev_dir.c_str(),
                error.message().c_str());
    std::sort(found.begin(), found.end());
    std::vector<std::string> ports;
    std::set<std::string> seen;
    const auto add = [&](const std::string& port) {
        std::error_code ignored;
        const auto real = std::filesystem::canonical(serial_resolve_port(port.c_str()), ignored);
        if (seen.insert(real.empty() ? port : real.string()).second) ports.push_back(port);
    };
    for (const auto& [kind, number, path] : found) add(path);
    for (const std::string& port : o.ports) add(port);
    return ports;
}

// What to start the program with so that it finds the UPS on this port by itself: " /PNP:<id>"
// for a USB adapter, a note when no id tells it from an identical one, nothing for other ports.
std::string pnp_option_of(const std::string& port) {
    const std::string root = device_tree_root();
    const std::filesystem::path device = serial_resolve_port(port.c_str());
    std::error_code ignored;
    const std::filesystem::path real = std::filesystem::canonical(device, ignored);
    for (const std::filesystem::path& path : {device, real}) {
        const std::string tty = path.filename().string();
        if (tty.empty() || !usb_ids_of_tty(root, tty)) continue;
        const auto id = hardware_id_of_tty(root, tty);
        return id ? " /PNP:" + *id : " (no /PNP: id tells this adapter from another)";
    }
    return {};
}

int scan(const probe_options& options, const trace_sink& trace) {
    const std::vector<std::string> ports = scan_candidates(options);
    int found = 0;
    for (const std::string& port : ports) {
        int handle = SERIAL_INVALID;
        errno = 0;
        if (SerialIO_Open(&handle, port.c_str(), 2400, 8, 0, 1, &trace) != 0) {
            // The program holds its port locked, so a running monitor's UPS shows up here.
            const bool busy = errno == EWOULDBLOCK || errno == EBUSY;
            fprintf(stderr, "upsprobe: no UPS on %s: cannot open it: %s\n", port.c_str(),
                    busy    ? "in use by another program"
                    : errno ? strerror(errno)
                            : "refused");
            continue;
        }
        probe session(options, handle, trace);
        const char* failed = nullptr;
        const bool answered = identify(session, failed);
        SerialIO_Close(&handle, &trace);
        if (!answered) {
            fprintf(stderr, "upsprobe: no UPS on %s: no answer to %s\n", port.c_str(), failed);
            continue;
        }
        ++found;
        const ups_status& ups = session.record();
        printf("%s: %.*s%s\n", port.c_str(),
               static_cast<int>(strnlen(ups.model_name, sizeof ups.model_name)), ups.model_name,
               pnp_option_of(port).c_str());
        fflush(stdout);
    }
    if (found == 0) {
        fprintf(stderr, "upsprobe: no UPS answered on the %zu serial devices tried\n",
                ports.size());
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    probe_options options;
    if (const int parsed = parse_options(argc, argv, options); parsed != 0)
        return parsed == 1 ? 0 : 2;
    const wire_trace trace(options.debug);
    if (options.scan) return scan(options, trace);
    const char* port = options.ports.front().c_str();
    const std::string device = serial_resolve_port(port);
    int handle = SERIAL_INVALID;
    errno = 0;
    if (SerialIO_Open(&handle, port, 2400, 8, 0, 1, &trace) != 0) {
        fprintf(stderr, "upsprobe: cannot open port %s (%s): %s\n", port, device.c_str(),
                errno ? strerror(errno) : "refused");
        return 2;
    }
    probe session(options, handle, trace);
    const char* failed = nullptr;
    bool answered = identify(session, failed);
    for (int poll = 0; answered && poll < options.polls; ++poll) {
        if (!(answered = session.step(STEP_BATTERY)))
            failed = ":B";
        else if (!(answered = session.step(STEP_STATUS)))
            failed = ":D";
    }
    if (answered && options.selftest && !(answered = session.selftest()))
        failed = ":A/:C";
    else if (answered && !options.selftest && !(answered = session.step(STEP_SELFTEST_RESULT)))
        failed = ":C";
    SerialIO_Close(&handle, &trace);
    // What the UPS did answer helps find why it stopped, so it is shown even then.
    std::istringstream lines(status_lines(session.record()));
    for (std::string line; std::getline(lines, line);)
        if (session.answered(source_of(line.substr(0, line.find(':')))))
            printf("%s\n", line.c_str());
    if (!answered) {
        fprintf(stderr, "upsprobe: the UPS on %s did not answer %s after %d attempts\n", port,
                failed, options.retries);
        return 2;
    }
    return 0;
}
