// upssim: a Norvane UPS on a pseudo-terminal, driven by lines on standard input.
#include "pty_link.h"
#include "sim_commands.h"
#include "sim_model.h"
#include "transcript.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <getopt.h>
#include <optional>
#include <poll.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_stop_signal = 0;

void on_stop_signal(int signal) {
    g_stop_signal = signal;
}

const char* const usage_text =
    "Usage: upssim --link PATH [options]\n"
    "Stands in for a Norvane UPS on a pseudo-terminal until it is ended (SIGTERM, SIGINT,\n"
    "SIGHUP, the input line \"quit\", or the end of standard input with --exit-on-eof).\n"
    "PATH becomes a symbolic link to the terminal device (--link DIR/COM1 serves port COM1 of a\n"
    "program in DIR) and is removed at the end. Every command received and reply sent is\n"
    "written as a line to standard error or the transcript file: \"> \" a command, \"< \" a "
    "reply,\n"
    "\"# \" a change of state; CR is written <CR>, LF <LF>, '<' and other bytes <XX> in hex.\n"
    "\n"
    "Options:\n"
    "  --link PATH             symbolic link to create (required)\n"
    "  --transcript FILE       write the transcript to FILE instead of standard error\n"
    "  --exit-on-eof           end when standard input ends (default: keep serving)\n"
    "  --speed F               simulated seconds per real second for the grace time, restart\n"
    "                          delay and self-test duration (default 1)\n"
    "  --manual-clock          the simulated clock stands still but for the input line\n"
    "                          \"advance N\": grace time, restart delay and self-tests run only\n"
    "                          through the seconds advanced (slow replies still trickle in\n"
    "                          real time)\n"
    "Identification (the :W, :L and :V replies):\n"
    "  --va N                  VA rating (default 1250); plain identification allows 250 400\n"
    "                          500 600 750 900 1250 1600 2000 3000 5000, extended any multiple\n"
    "                          of 5 up to 10235\n"
    "  --voltage-class N       0 (120 V family, default) or 1; 2 and 3 need --extended\n"
    "  --family NAME           kestra (default) or corvel (needs --extended)\n"
    "  --extended              extended identification: sets bit 7 of the protocol value, whose\n"
    "                          other bits then carry the family and the VA rating\n"
    "  --protocol HEX          protocol value of :W (default 00); bit 7 means --extended\n"
    "  --identity HEX          identity value of :L, sent as given: the protocol and identity\n"
    "                          values then define the model (no --va, --voltage-class, --family)\n"
    "  --firmware HEX          firmware value of :V (default 12)\n"
    "  --nominal V             208 or 240 (default): the program's UPS voltage setting, used to\n"
    "                          scale voltages of class 3\n"
    "Readings (voltages in volts, sent scaled for the voltage class):\n"
    "  --line V                line voltage (default 120 for class 0, 230 for class 1, 100 for\n"
    "                          class 2, the nominal voltage for class 3)\n"
    "  --output V              output voltage (default: the line voltage)\n"
    "  --mains off             start with the mains off\n"
    "  --frequency F.F         line frequency in hertz (default 60.0)\n"
    "  --load N                load in percent (default 25)\n"
    "  --battery V.V           battery voltage (default 13.5)\n"
    "  --battery-low           start with the low-battery flag set\n"
    "  --temperature RAW       raw temperature 0-255 (default 140: 29 C)\n"
    "  --regulator N           line regulator state 0-3 (default 0)\n"
    "  --phone N               phone option value of :S, 0-15 (default 0)\n"
    "  --selftest-status N     :C reply before any self-test (default 4)\n"
    "  --selftest-result N     result a self-test ends with (default 0)\n"
    "  --selftest-seconds S    how long a self-test runs (default 8)\n"
    "  --fault MODE            start in a fault mode (see below)\n"
    "  --slow-ms MS            byte interval of the slow fault (default 20)\n"
    "\n"
    "Replies: the echo of the command with its CR, then LF, the payload in upper-case hex and\n"
    "CR. :W :L :V :B :I :C send 2 digits, :S 1 digit, :D 21 characters (battery not low,\n"
    "field 2, line voltage 2, regulator, power state, temperature 2, 00, field 8 2, load 2,\n"
    "line voltage 2, output voltage 2, frequency in tenths 3). :A :G :K0 :Nhh :Hhhhhhh :Qn\n"
    "send the echo, LF and CR. :A starts a self-test (:C reports 2 until it ends); :Nhh sets\n"
    "the grace time; :G switches the output off after the grace time until the mains are on;\n"
    ":K0 switches it off after the grace time for good; :Hhhhhhh switches it off after the\n"
    "grace time and on again that many seconds later. Unknown commands get no reply.\n"
    "\n";

enum option_id {
    OPT_LINK = 256,
    OPT_TRANSCRIPT,
    OPT_EXIT_ON_EOF,
    OPT_SPEED,
    OPT_MANUAL_CLOCK,
    OPT_VA,
    OPT_CLASS,
    OPT_FAMILY,
    OPT_EXTENDED,
    OPT_PROTOCOL,
    OPT_IDENTITY,
    OPT_FIRMWARE,
    OPT_NOMINAL,
    OPT_LINE,
    OPT_OUTPUT,
    OPT_MAINS,
    OPT_FREQUENCY,
    OPT_LOAD,
    OPT_BATTERY,
    OPT_BATTERY_LOW,
    OPT_TEMPERATURE,
    OPT_REGULATOR,
    OPT_PHONE,
    OPT_SELFTEST_STATUS,
    OPT_SELFTEST_RESULT,
    OPT_SELFTEST_SECONDS,
    OPT_FAULT,
    OPT_SLOW_MS,
    OPT_HELP
};

const option long_options[] = {
    {"link", required_argument, nullptr, OPT_LINK},
    {"transcript", required_argument, nullptr, OPT_TRANSCRIPT},
    {"exit-on-eof", no_argument, nullptr, OPT_EXIT_ON_EOF},
    {"speed", required_argument, nullptr, OPT_SPEED},
    {"manual-clock", no_argument, nullptr, OPT_MANUAL_CLOCK},
    {"va", required_argument, nullptr, OPT_VA},
    {"voltage-class", required_argument, nullptr, OPT_CLASS},
    {"family", required_argument, nullptr, OPT_FAMILY},
    {"extended", no_argument, nullptr, OPT_EXTENDED},
    {"protocol", required_argument, nullptr, OPT_PROTOCOL},
    {"identity", required_argument, nullptr, OPT_IDENTITY},
    {"firmware", required_argument, nullptr, OPT_FIRMWARE},
    {"nominal", required_argument, nullptr, OPT_NOMINAL},
    {"line", required_argument, nullptr, OPT_LINE},
    {"output", required_argument, nullptr, OPT_OUTPUT},
    {"mains", required_argument, nullptr, OPT_MAINS},
    {"frequency", required_argument, nullptr, OPT_FREQUENCY},
    {"load", required_argument, nullptr, OPT_LOAD},
    {"battery", required_argument, nullptr, OPT_BATTERY},
    {"battery-low", no_argument, nullptr, OPT_BATTERY_LOW},
    {"temperature", required_argument, nullptr, OPT_TEMPERATURE},
    {"regulator", required_argument, nullptr, OPT_REGULATOR},
    {"phone", required_argument, nullptr, OPT_PHONE},
    {"selftest-status", required_argument, nullptr, OPT_SELFTEST_STATUS},
    {"selftest-result", required_argument, nullptr, OPT_SELFTEST_RESULT},
    {"selftest-seconds", required_argument, nullptr, OPT_SELFTEST_SECONDS},
    {"fault", required_argument, nullptr, OPT_FAULT},
    {"slow-ms", required_argument, nullptr, OPT_SLOW_MS},
    {"help", no_argument, nullptr, OPT_HELP},
    {nullptr, 0, nullptr, 0}};

struct sim_options {
    std::string link;
    std::string transcript_path;
    bool exit_on_eof = false;
    bool manual_clock = false;
    sim_identity id{false, false, 0, 1250};
    bool identity_given = false;
    bool model_given = false;
    std::optional<unsigned> line;
    std::optional<unsigned> output;
    sim_model model;
};

bool fail(const std::string& message) {
    fprintf(stderr, "upssim: %s\n", message.c_str());
    return false;
}

bool set_unsigned(const char* text, unsigned long high, unsigned& field, const char* name) {
    unsigned long value = 0;
    if (!parse_number(text, 0, high, value))
        return fail(std::string(name) + " takes a whole number 0-" + std::to_string(high));
    field = static_cast<unsigned>(value);
    return true;
}

bool parse_option(int id, const char* arg, sim_options& o) {
    sim_model& m = o.model;
    unsigned value = 0;
    switch (id) {
    case OPT_LINK:
        o.link = arg;
        return true;
    case OPT_TRANSCRIPT:
        o.transcript_path = arg;
        return true;
    case OPT_EXIT_ON_EOF:
        o.exit_on_eof = true;
        return true;
    case OPT_MANUAL_CLOCK:
        o.manual_clock = true;
        return true;
    case OPT_SPEED:
        m.speed = atof(arg);
        return m.speed > 0 && m.speed <= 10000 ? true : fail("--speed takes a factor above 0");
    case OPT_VA:
        o.model_given = true;
        return set_unsigned(arg, 65535, o.id.va_rating, "--va");
    case OPT_CLASS:
        o.model_given = true;
        return set_unsigned(arg, 3, o.id.voltage_class, "--voltage-class");
    case OPT_FAMILY:
        o.model_given = true;
        o.id.corvel = strcmp(arg, "corvel") == 0;
        return o.id.corvel || strcmp(arg, "kestra") == 0 ? true
                                                         : fail("--family takes kestra or corvel");
    case OPT_EXTENDED:
        o.id.extended = true;
        return true;
    case OPT_PROTOCOL:
        if (!parse_hex_byte(arg, m.protocol)) return fail("--protocol takes a hex byte");
        if (m.protocol & 0x80) o.id.extended = true;
        return true;
    case OPT_IDENTITY:
        o.identity_given = true;
        return parse_hex_byte(arg, m.identity) ? true : fail("--identity takes a hex byte");
    case OPT_FIRMWARE:
        return parse_hex_byte(arg, m.firmware) ? true : fail("--firmware takes a hex byte");
    case OPT_NOMINAL:
        if (!set_unsigned(arg, 240, m.nominal_voltage, "--nominal")) return false;
        return m.nominal_voltage == 208 || m.nominal_voltage == 240
                   ? true
                   : fail("--nominal takes 208 or 240");
    case OPT_LINE:
        if (!set_unsigned(arg, 600, value, "--line")) return false;
        return o.line = value, true;
    case OPT_OUTPUT:
        if (!set_unsigned(arg, 600, value, "--output")) return false;
        return o.output = value, true;
    case OPT_MAINS:
        m.mains_on = strcmp(arg, "on") == 0;
        return m.mains_on || strcmp(arg, "off") == 0 ? true : fail("--mains takes on or off");
    case OPT_FREQUENCY:
        return parse_tenths(arg, 0, 0xFFF, m.frequency_tenths)
                   ? true
                   : fail("--frequency takes hertz 0.0-409.5");
    case OPT_LOAD:
        return set_unsigned(arg, 255, m.load_percent, "--load");
    case OPT_BATTERY:
        return parse_tenths(arg, 0, 255, m.battery_tenths) ? true
                                                           : fail("--battery takes 0.0-25.5");
    case OPT_BATTERY_LOW:
        m.battery_low = true;
        return true;
    case OPT_TEMPERATURE:
        return set_unsigned(arg, 255, m.temperature_raw, "--temperature");
    case OPT_REGULATOR:
        return set_unsigned(arg, 3, m.regulator, "--regulator");
    case OPT_PHONE:
        return set_unsigned(arg, 15, m.phone_option, "--phone");
    case OPT_SELFTEST_STATUS:
        return set_unsigned(arg, 255, m.selftest_status, "--selftest-status");
    case OPT_SELFTEST_RESULT:
        return set_unsigned(arg, 255, m.selftest_result, "--selftest-result");
    case OPT_SELFTEST_SECONDS:
        return set_unsigned(arg, 86400, m.selftest_seconds, "--selftest-seconds");
    case OPT_FAULT:
        return parse_fault(arg, m.fault) ? true : fail(std::string("unknown fault: ") + arg);
    case OPT_SLOW_MS:
        return set_unsigned(arg, 10000, m.slow_ms_per_byte, "--slow-ms");
    default:
        return false;
    }
}

// Reads the options into the initial model; false (after a message) when they do not fit.
bool parse_options(int argc, char** argv, sim_options& o, bool& help) {
    for (int id; (id = getopt_long(argc, argv, "", long_options, nullptr)) != -1;) {
        if (id == OPT_HELP) return help = true, true;
        if (id == '?' || !parse_option(id, optarg, o)) return false;
    }
    if (optind < argc) return fail(std::string("unexpected argument: ") + argv[optind]);
    if (o.link.empty()) return fail("--link PATH is required (see --help)");
    std::string error;
    if (o.identity_given) {
        if (o.model_given) return fail("--identity excludes --va, --voltage-class and --family");
        if (o.id.extended) o.model.protocol |= 0x80;
    } else if (!encode_identity(o.model, o.id, error)) {
        return fail(error);
    }
    const unsigned voltage_class = identity_of(o.model).voltage_class;
    const unsigned nominal_by_class[] = {120, 230, 100, o.model.nominal_voltage};
    const unsigned nominal = nominal_by_class[voltage_class];
    o.model.line_volts = o.line.value_or(nominal);
    o.model.output_volts = o.output.value_or(o.model.line_volts);
    return true;
}

int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The model's time in milliseconds: the real clock, or a clock that stands still, plus what
// "advance" lines added. The model scales its timers by --speed, so an advance does too.
class sim_clock {
  public:
    sim_clock(bool manual, double speed) : manual_(manual), speed_(speed) {}

    // A standing clock starts past zero, which the model's timers take for "none pending".
    int64_t now() const { return (manual_ ? manual_origin_ms : now_ms()) + advanced_ms_; }

    // Moves the clock on by simulated seconds.
    void advance(unsigned long seconds) {
        advanced_ms_ += static_cast<int64_t>(static_cast<double>(seconds) * 1000.0 / speed_);
    }

    // A standing clock never makes a timer fall due while the simulator waits.
    bool runs() const { return !manual_; }

  private:
    static constexpr int64_t manual_origin_ms = 1000;
    bool manual_;
    double speed_;
    int64_t advanced_ms_ = 0;
};

// The running simulator: the model, the line and its pending bytes, and the two inputs.
class simulator {
  public:
    simulator(sim_options& options, transcript& log)
        : options_(options), log_(log), clock_(options.manual_clock, options.model.speed) {}

    // Serves until a stop; the exit status.
    int run();

  private:
    void note_all(std::vector<std::string>& notes);
    void read_line_bytes();
    void answer(const std::string& command);
    void unplug();
    void replug();
    bool read_input();
    int wait_ms() const;

    sim_options& options_;
    transcript& log_;
    sim_clock clock_;
    pty_link line_;
    reply_sender sender_;
    std::string command_bytes_;
    std::string input_bytes_;
    bool input_open_ = true;
    bool quit_ = false;
};

void simulator::note_all(std::vector<std::string>& notes) {
    for (const std::string& text : notes) log_.note(text);
    notes.clear();
}

void simulator::answer(const std::string& command) {
    std::vector<std::string> notes;
    const int64_t now = clock_.now();
    advance_model(options_.model, now, notes);
    note_all(notes);
    log_.command(command + '\r');
    const std::string reply = answer_command(options_.model, command, now, notes);
    note_all(notes);
    if (reply.empty()) return;
    log_.reply(reply);
    const bool slow = options_.model.fault == fault_mode::slow;
    sender_.queue(reply, now_ms(), slow ? options_.model.slow_ms_per_byte : 0);
}

void simulator::read_line_bytes() {
    char buffer[256];
    const ssize_t n = read(line_.master_fd(), buffer, sizeof buffer);
    if (n <= 0) return;
    for (ssize_t i = 0; i < n; ++i) {
        if (buffer[i] == '\r') {
            answer(command_bytes_);
            command_bytes_.clear();
        } else if (command_bytes_.size() < 64) {
            command_bytes_ += buffer[i];
        } else {
            log_.note("over-long command dropped: " + escape_bytes(command_bytes_));
            command_bytes_.clear();
        }
    }
}

// The cable pulled: the program's device hangs up, the link goes, and what was on its way is lost.
void simulator::unplug() {
    if (!line_.is_open()) {
        fprintf(stderr, "upssim: unplug: the line is unplugged already\n");
        return;
    }
    const std::string device = line_.device();
    line_.close();
    sender_.clear();
    command_bytes_.clear();
    log_.note("unplugged " + device + ", " + options_.link + " removed");
}

// Plugged in again: like an adapter that comes back, it is a new device behind the same name.
void simulator::replug() {
    if (line_.is_open()) {
        fprintf(stderr, "upssim: replug: the line is plugged in already\n");
        return;
    }
    std::string error;
    if (!line_.open(options_.link, error)) {
        fprintf(stderr, "upssim: replug: %s\n", error.c_str());
        return;
    }
    log_.note("replugged: serving " + line_.device() + " as " + options_.link);
}

// Applies the complete lines of standard input; false at its end.
bool simulator::read_input() {
    char buffer[1024];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) return errno == EINTR || errno == EAGAIN;
    input_bytes_.append(buffer, static_cast<size_t>(n));
    if (n == 0 && !input_bytes_.empty()) input_bytes_ += '\n';
    for (size_t end; (end = input_bytes_.find('\n')) != std::string::npos;) {
        const std::string text = input_bytes_.substr(0, end);
        input_bytes_.erase(0, end + 1);
        line_reply reply;
        advance_model(options_.model, clock_.now(), reply.notes);
        const line_result result = apply_line(options_.model, text, clock_.now(), reply);
        if (result == line_result::advance) {
            clock_.advance(reply.advance_seconds);
            reply.notes.push_back("clock advanced " + std::to_string(reply.advance_seconds) +
                                  " s");
            advance_model(options_.model, clock_.now(), reply.notes);
        }
        note_all(reply.notes);
        if (result == line_result::error) fprintf(stderr, "upssim: %s\n", reply.error.c_str());
        if (result == line_result::quit) quit_ = true;
        if (result == line_result::unplug) unplug();
        if (result == line_result::replug) replug();
        if (!reply.output.empty()) {
            fputs(reply.output.c_str(), stdout);
            fflush(stdout);
        }
    }
    return n > 0;
}

int simulator::wait_ms() const {
    int64_t wait = clock_.runs() ? next_model_deadline(options_.model, clock_.now()) : -1;
    const int64_t send = sender_.next_deadline(now_ms());
    if (send >= 0 && (wait < 0 || send < wait)) wait = send;
    return wait < 0 ? -1 : static_cast<int>(std::min<int64_t>(wait, 60000));
}

int simulator::run() {
    std::string error;
    if (!line_.open(options_.link, error)) {
        fail(error);
        return 2;
    }
    log_.note("serving " + line_.device() + " as " + options_.link);
    sigset_t blocked;
    sigset_t during_wait;
    sigemptyset(&blocked);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&blocked, s);
    sigprocmask(SIG_BLOCK, &blocked, &during_wait);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigdelset(&during_wait, s);
    while (!quit_ && g_stop_signal == 0) {
        std::vector<std::string> notes;
        advance_model(options_.model, clock_.now(), notes);
        note_all(notes);
        if (line_.is_open() && !sender_.flush(line_.master_fd(), now_ms())) {
            log_.note(std::string("write failed: ") + strerror(errno));
            sender_.clear();
        }
        // While unplugged the line's entry is -1, which poll passes over.
        pollfd fds[2] = {{line_.master_fd(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int ms = wait_ms();
        timespec timeout{ms / 1000, (ms % 1000) * 1000000L};
        const int ready =
            ppoll(fds, input_open_ ? 2 : 1, ms < 0 ? nullptr : &timeout, &during_wait);
        if (ready < 0) continue;
        if (fds[0].revents & POLLIN) read_line_bytes();
        if (input_open_ && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && !read_input()) {
            input_open_ = false;
            if (options_.exit_on_eof) quit_ = true;
        }
    }
    if (g_stop_signal != 0) log_.note(std::string("ended by ") + strsignal(g_stop_signal));
    line_.close();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    sim_options options;
    bool help = false;
    if (!parse_options(argc, argv, options, help)) return 2;
    if (help) {
        fputs(usage_text, stdout);
        fputs(language_help(), stdout);
        return 0;
    }
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    transcript log;
    std::string error;
    if (!options.transcript_path.empty() && !log.open(options.transcript_path, error)) {
        fail(error);
        return 2;
    }
    simulator sim(options, log);
    return sim.run();
}
