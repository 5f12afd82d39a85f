// A fault campaign against the running program: seeded random sequences of mains failures and
// returns, low battery and link faults played on the simulated UPS on a fast clock, checking after
// each that the shutdown path held, that the program lived or ended as it should, and that its
// files stayed whole.
//
// The fixed seeds run by default, split into slices that run as separate tests. Variables:
//   VOLTSENTRY_CAMPAIGN_SEED=<seed>   replays that seed's sequence (with RUNS, n from it on)
//   VOLTSENTRY_CAMPAIGN_RUNS=<n>      plays n sequences
//   VOLTSENTRY_CAMPAIGN_JOBS=<n>      plays that many at once
//   VOLTSENTRY_CAMPAIGN_STEPS="..."   plays one sequence written as a failure prints it
//   VOLTSENTRY_CAMPAIGN_PROGRAM=<path> plays against another build of the program
#include <gtest/gtest.h>

#include "app/ui/program_support.h"
#include "tools/sim_support.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

// The program's clock and poll timer, and the simulator's timers, run this many times as fast.
constexpr int kScale = 60;
constexpr uint32_t kFixedSeed = 1850;
constexpr int kDefaultRuns = 32;
constexpr int kDefaultJobs = 4;
constexpr int kSlices = 4;
// Program seconds the program may need to see what a UPS that answers again says (a poll to reopen
// a replugged port, six to identify a UPS found again after a lost link, two for the status), and
// to show it: a countdown that ran out says so up to two 3-second polls later.
constexpr int kSeeSeconds = 26;
// Program seconds from a countdown's end to the program's: switching the UPS off takes two polls
// of 3 seconds, then the script and the power-off run.
constexpr int kEndSeconds = 30;
// Real milliseconds a busy machine may add to anything the program or the simulator does.
constexpr long long kSlackMs = 800;
constexpr long long kStartMs = 15000;
constexpr long long kEndMs = 5000;

long long real_ms(long long program_seconds) {
    return program_seconds * 1000 / kScale;
}

const char* const FAULTS[] = {"silent", "garbage",    "short",    "slow 1",
                              "slow 2", "wrong-echo", "echo-only"};

// What the simulator has been told so far.
struct ups_side {
    bool mains = true;
    bool battery_low = false;
    bool plugged = true;
    std::string fault = "normal";

    void apply(const std::string& line) {
        if (line == "mains off" || line == "mains on")
            mains = line == "mains on";
        else if (line == "battery low" || line == "battery ok")
            battery_low = line == "battery low";
        else if (line == "unplug" || line == "replug")
            plugged = line == "replug";
        else
            fault = line;
    }
    bool answers() const { return plugged && fault == "normal"; }
    bool slow() const { return fault.starts_with("slow"); }
};

bool spoils_link(const std::string& line) {
    return line == "unplug" ||
           std::find(std::begin(FAULTS), std::end(FAULTS), line) != std::end(FAULTS);
}

bool changes_power(const std::string& line) {
    return line.starts_with("mains ") || line.starts_with("battery ");
}

// A simulator line sent at a time, or after a time once the program shows a trigger.
struct step {
    int at; // program seconds from the start of the sequence, or from the trigger
    std::string line;
    std::string when; // empty, or "announced" or "ran out" (see mark_of)
};

// One sequence: the program's countdown settings and the simulator lines with their times.
struct sequence {
    uint32_t seed = 0;
    int powerfail_minutes = 2;
    int low_battery_seconds = 90;
    int grace_seconds = 120;
    int disruption_seconds = 4;
    std::vector<step> steps;

    // The form VOLTSENTRY_CAMPAIGN_STEPS reads back.
    std::string text() const {
        std::ostringstream out;
        out << "powerfail " << powerfail_minutes << ", low battery " << low_battery_seconds
            << ", grace " << grace_seconds << ", disruption " << disruption_seconds << ":";
        for (size_t i = 0; i < steps.size(); ++i) {
            out << (i ? "; " : " ");
            if (!steps[i].when.empty()) out << "when " << steps[i].when << " +";
            out << steps[i].at << " " << steps[i].line;
        }
        return out.str();
    }

    int longest_countdown() const { return std::max(powerfail_minutes * 60, low_battery_seconds); }
};

// Reads a sequence in the form text() writes; false when it does not parse.
bool parse_sequence(const std::string& text, sequence& s) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    if (std::sscanf(text.substr(0, colon).c_str(),
                    "powerfail %d, low battery %d, grace %d, disruption %d", &s.powerfail_minutes,
                    &s.low_battery_seconds, &s.grace_seconds, &s.disruption_seconds) != 4)
        return false;
    std::istringstream in(text.substr(colon + 1));
    for (std::string item; std::getline(in, item, ';');) {
        step st{};
        const size_t plus = item.find('+');
        if (item.find("when ") != std::string::npos && plus != std::string::npos) {
            const size_t from = item.find("when ") + 5;
            st.when = item.substr(from, plus - from - 1);
            item.erase(0, plus + 1);
        }
        std::istringstream words(item);
        if (!(words >> st.at)) return false;
        std::getline(words >> std::ws, st.line);
        if (st.line.empty()) return false;
        s.steps.push_back(st);
    }
    return !s.steps.empty();
}

// The next simulator line: the mains fail or return, the battery runs low or recovers, a fault
// starts or ends, the cable is pulled or put back; the mains fail only when outages are allowed.
std::string next_line(const ups_side& ups, bool outages, std::mt19937& rng) {
    std::vector<std::string> lines;
    std::vector<int> weights;
    auto offer = [&](std::string line, int weight) {
        lines.push_back(std::move(line));
        weights.push_back(weight);
    };
    if (!ups.mains)
        offer("mains on", 4);
    else if (outages)
        offer("mains off", 4);
    offer(ups.battery_low ? "battery ok" : "battery low", 2);
    if (ups.fault == "normal")
        offer(FAULTS[std::uniform_int_distribution<size_t>(0, std::size(FAULTS) - 1)(rng)], 3);
    else
        offer("normal", 4);
    offer(ups.plugged ? "unplug" : "replug", ups.plugged ? 1 : 4);
    return lines[std::discrete_distribution<size_t>(weights.begin(), weights.end())(rng)];
}

// The sequence of a seed. A quarter of the sequences never lose the mains; two thirds end with
// the link healed.
sequence make_sequence(uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    sequence s;
    s.seed = seed;
    s.powerfail_minutes = pick(1, 2);
    s.low_battery_seconds = 30 * pick(2, 4);
    static constexpr int graces[] = {0, 30, 120};
    s.grace_seconds = graces[pick(0, 2)];
    s.disruption_seconds = pick(2, 8);
    const bool outages = pick(0, 3) != 0;
    ups_side ups;
    int at = pick(3, 12);
    for (int count = pick(5, 12); count > 0; --count) {
        const std::string line = next_line(ups, outages, rng);
        s.steps.push_back({at, line, {}});
        ups.apply(line);
        // The mains back while the UPS answers are given time to cancel a countdown.
        at += line == "mains on" && ups.answers() ? pick(60, 120) : pick(2, 35);
    }
    if (pick(0, 2) != 0) {
        if (!ups.plugged) s.steps.push_back({at, "replug", {}});
        if (ups.fault != "normal") s.steps.push_back({at, "normal", {}});
    }
    // Half the sequences with outages aim a line at a countdown's last seconds or at its end,
    // where the program turns from counting to switching off.
    static const char* const aimed[] = {"mains on", "battery low", "unplug", "silent"};
    if (outages && pick(0, 1) == 0) {
        const std::string line = aimed[pick(0, 3)];
        if (pick(0, 1) == 0)
            s.steps.push_back({s.powerfail_minutes * 60 - pick(0, 6), line, "announced"});
        else
            s.steps.push_back({pick(0, 4), line, "ran out"});
    }
    return s;
}

// Program messages that mark a countdown's life. It has run out once the program says it turns
// the UPS off (or, with no grace time, shuts down).
enum class mark { none, announced, cancelled, turning_off, shutting_down };

mark mark_of(const std::string& text) {
    if (text.starts_with("System shutdown in ")) return mark::announced;
    if (text == "System shutdown terminated.") return mark::cancelled;
    if (text == "UPS is being turned off.") return mark::turning_off;
    if (text == "System is shutting down now!") return mark::shutting_down;
    return mark::none;
}

// Bytes of a transcript line as they went over the wire: "<CR>", "<LF>" and "<XX>" are one each.
size_t wire_length(const std::string& text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i, ++n) {
        if (text[i] != '<') continue;
        const size_t close = text.find('>', i);
        if (close != std::string::npos && close - i <= 3) i = close;
    }
    return n;
}

bool data_log_whole(const std::string& bytes, std::string& detail) {
    if (bytes.size() % 58 != 0) {
        detail = "norva.dat holds " + std::to_string(bytes.size()) + " bytes, not whole records";
        return false;
    }
    static const std::regex record(R"(\d\d/\d\d/\d\d ,\d\d:\d\d:00,campaign {7})"
                                   R"((,(?=.{4},)-?\d+ *){4},[0-9A-F]\r\n)");
    for (size_t at = 0; at < bytes.size(); at += 58) {
        const std::string one = bytes.substr(at, 58);
        if (!std::regex_match(one, record)) {
            detail = "malformed record " + std::to_string(at / 58) + ": " + one;
            return false;
        }
    }
    return true;
}

// norva.cfg as written, or rewritten with the same 37 keys in the same order and an empty line.
bool configuration_intact(const std::string& now, const std::string& written, std::string& detail) {
    if (now == written) return true;
    const auto lines = lines_of(now);
    const auto keys = lines_of(written);
    bool whole = lines.size() == 38 && keys.size() == 38 && lines.back().empty();
    for (size_t i = 0; whole && i < 37; ++i) {
        const std::string key = keys[i].substr(0, keys[i].find(':') + 1);
        whole = lines[i].starts_with(key) && lines[i].find('\r') == std::string::npos;
    }
    if (!whole) detail = "norva.cfg damaged:\n" + now;
    return whole;
}

// What the runs of a campaign amount to; invariants by name: checked, held.
struct figures {
    int sequences = 0;
    int faults = 0;
    int power_events = 0;
    std::map<std::string, std::pair<int, int>> invariants;
};

// One sequence played against a program and a simulator of its own, in a directory of its own.
// advance() is called every few milliseconds; each call reads the program's log, checks what it
// shows against what the simulator was told, and sends the lines that are due.
class campaign_run {
  public:
    campaign_run(sequence s, std::string configuration, const std::string& program, long long now)
        : seq_(std::move(s)), configuration_(std::move(configuration)), created_(now) {
        std::ofstream(dir_.file("norva.cfg"), std::ios::binary) << configuration_;
        std::ofstream(dir_.file("SHUTDOWN.BAT")) << "echo script >> " << POWEROFF_TRAIL << '\n';
        std::ofstream(dir_.file("run.script")).flush();
        const std::string link = dir_.file("voltsentry");
        if (symlink(program.c_str(), link.c_str()) != 0) return;
        sim_ = std::make_unique<sim_session>(
            std::vector<std::string>{"--speed", std::to_string(kScale)}, dir_.file("COM1"));
        if (!sim_->ready()) return;
        program_ = std::make_unique<child_process>(
            std::vector<std::string>{"/usr/bin/env", "VOLTSENTRY_TEST_LOG=" + dir_.file("run.log"),
                                     "VOLTSENTRY_TEST_SCRIPT=" + dir_.file("run.script"),
                                     "VOLTSENTRY_TEST_TIMESCALE=" + std::to_string(kScale),
                                     "VOLTSENTRY_POWEROFF=echo poweroff >> '" +
                                         dir_.file(POWEROFF_TRAIL) + "'",
                                     link, "/NOPNP"},
            "/", dir_.file("run.err"));
        for (const step& st : seq_.steps) (st.when.empty() ? timed_ : aimed_).push_back(st);
        aimed_due_.assign(aimed_.size(), 0);
    }

    // False once the run is over.
    bool advance(long long now) {
        if (!program_ || !program_->started()) {
            verdict("the program starts", false, "the simulator or the program did not start");
        } else if (phase_ == phase::starting) {
            wait_for_start(now);
        } else if (phase_ == phase::playing || phase_ == phase::settling) {
            observe(now);
            if (phase_ != phase::done) send_due_lines(now);
            if (phase_ == phase::settling) settle(now);
        } else if (phase_ == phase::ending) {
            end(now);
        }
        return phase_ != phase::done;
    }

    void add_to(figures& f) const {
        ++f.sequences;
        for (const auto& [line, at] : sent_) {
            f.faults += spoils_link(line);
            f.power_events += changes_power(line);
        }
        for (const auto& [name, counts] : invariants_) {
            f.invariants[name].first += counts.first;
            f.invariants[name].second += counts.second;
        }
    }

    // Empty when every invariant held; else the broken one, the sequence and what happened.
    std::string failure() const {
        if (broken_.empty()) return {};
        std::ostringstream out;
        out << "sequence " << seq_.seed << " broke: " << broken_ << "\n  replay: "
            << "VOLTSENTRY_CAMPAIGN_SEED=" << seq_.seed << "  or  VOLTSENTRY_CAMPAIGN_STEPS=\""
            << seq_.text() << "\"\n  shown (program seconds):";
        for (const auto& [text, seen] : shown_)
            out << "\n    " << program_seconds(seen) << " " << text;
        out << "\n  sent:";
        for (const auto& [line, sent] : sent_)
            out << "\n    " << program_seconds(sent) << " " << line;
        out << "\n  simulator, last lines:" << tail(sim_ ? sim_->transcript() : std::string())
            << "\n  program's standard error, last lines:" << tail(read_file(dir_.file("run.err")));
        return out.str();
    }

  private:
    enum class phase { starting, playing, settling, ending, done };

    static std::string tail(const std::string& text) {
        const auto lines = lines_of(text);
        std::string out;
        for (size_t i = lines.size() > 12 ? lines.size() - 12 : 0; i < lines.size(); ++i)
            out += "\n    " + lines[i];
        return out;
    }

    long long program_seconds(long long at) const { return (at - started_) * kScale / 1000; }
    std::string at_text(long long at) const { return std::to_string(program_seconds(at)) + " s"; }

    void verdict(const std::string& invariant, bool held, const std::string& detail = {}) {
        auto& [checked, kept] = invariants_[invariant];
        ++checked;
        kept += held;
        if (held || !broken_.empty()) return;
        broken_ = invariant + ": " + detail;
        phase_ = phase::done;
    }

    std::vector<std::string> log() const { return lines_of(read_file(dir_.file("run.log"))); }

    void wait_for_start(long long now) {
        const auto lines = log();
        if (std::find(lines.begin(), lines.end(), "menubar 1") != lines.end()) {
            started_ = last_read_ = now;
            phase_ = phase::playing;
        } else if (now - created_ > kStartMs) {
            verdict("the program starts", false, "no window within 15 s");
        }
    }

    // The stretch with the mains on and the UPS answering, counted from when the program can
    // first have heard it: after the line that began it and after any slow replies still queued.
    bool in_stretch() const { return ups_.mains && ups_.answers(); }
    bool past_allowance(long long at) const {
        return in_stretch() && at > stretch_from_ + real_ms(kSeeSeconds) + kSlackMs;
    }

    void send(const std::string& line, long long now) {
        // A line aimed at a countdown may find the cable already pulled or put back.
        if ((line == "unplug" && !ups_.plugged) || (line == "replug" && ups_.plugged)) return;
        const bool was_stretch = in_stretch();
        const bool was_outage = !ups_.mains && ups_.answers();
        const bool was_slow = ups_.slow();
        sim_->send(line);
        sent_.emplace_back(line, now);
        ups_.apply(line);
        mains_failed_ |= line == "mains off";
        if (line.starts_with("slow")) slow_ms_ = std::stoi(line.substr(5));
        if (was_slow && !ups_.slow()) backlog_until_ = now + slow_backlog_ms();
        if (line == "unplug") backlog_until_ = 0;
        if (in_stretch() && !was_stretch) {
            stretch_from_ = std::max(now, backlog_until_);
            stretch_saw_countdown_ = running_;
            stretch_judged_ = false;
        }
        if (!ups_.mains && ups_.answers() && !was_outage)
            outage_from_ = std::max(now, backlog_until_);
    }

    // Real milliseconds the replies queued during a slow fault may still take to go out: every
    // byte since the fault began, and two more replies that may have been on their way.
    long long slow_backlog_ms() const {
        size_t bytes = 2 * 26;
        bool slow = false;
        for (const std::string& line : lines_of(sim_->transcript())) {
            if (line == "# fault slow")
                slow = true, bytes = 2 * 26;
            else if (slow && line.starts_with("< "))
                bytes += wire_length(line.substr(2));
        }
        return static_cast<long long>(bytes) * slow_ms_;
    }

    // True once the UPS received a command that switches its output off.
    bool ups_told_off() const {
        for (const std::string& line : lines_of(sim_->transcript()))
            if (line == "> :G<CR>" || line == "> :K0<CR>" || line.starts_with("> :H")) return true;
        return false;
    }

    void send_due_lines(long long now) {
        while (next_timed_ < timed_.size() && now >= started_ + real_ms(timed_[next_timed_].at))
            send(timed_[next_timed_++].line, now);
        for (size_t i = 0; i < aimed_.size(); ++i) {
            if (aimed_due_[i] > 0 && now >= aimed_due_[i]) {
                aimed_due_[i] = -1;
                send(aimed_[i].line, now);
            }
        }
        if (next_timed_ == timed_.size() && phase_ == phase::playing) phase_ = phase::settling;
    }

    void aim(const char* trigger, long long now) {
        for (size_t i = 0; i < aimed_.size(); ++i)
            if (aimed_due_[i] == 0 && aimed_[i].when == trigger)
                aimed_due_[i] = now + real_ms(aimed_[i].at);
    }

    // Reads the log and checks the new messages and the state they leave. A message first seen
    // now was written after the previous read began, which bounds when it happened from below.
    void observe(long long now) {
        const long long after = last_read_;
        last_read_ = now;
        size_t count = 0;
        for (const std::string& line : log()) {
            if (line.starts_with("exit ")) exit_logged_ = true;
            if (line.starts_with("toolkit-error")) toolkit_error_ = line;
            if (!line.starts_with("message ") || count++ < shown_.size()) continue;
            shown_.emplace_back(line.substr(8), now);
            on_message(line.substr(8), after, now);
            if (phase_ == phase::done) return;
        }
        if (running_) {
            stretch_saw_countdown_ |= in_stretch();
            if (past_allowance(now))
                return verdict(kCancels, false,
                               "still counting down although the mains came back at " +
                                   at_text(stretch_from_));
            if (now > announced_after_ + real_ms(seq_.longest_countdown() + 15) + kSlackMs)
                return verdict("a countdown runs out or is cancelled", false,
                               "the countdown announced at " + at_text(announced_after_) +
                                   " went on and on");
        }
        if (stretch_saw_countdown_ && !stretch_judged_ && past_allowance(now)) {
            stretch_judged_ = true;
            verdict(kCancels, true);
        }
        const int status = program_->wait(0);
        if (ran_out_) {
            if (status >= 0) return finish_shutdown(status);
            if (now > ran_out_after_ + real_ms(kEndSeconds) + kSlackMs * 3)
                verdict(kEnds, false,
                        "the program was still running " + std::to_string(kEndSeconds) +
                            " s after the countdown ran out");
        } else if (status >= 0 || exit_logged_) {
            verdict("the program lives on unless it shuts down", false,
                    "the program ended without a shutdown");
        }
    }

    void on_message(const std::string& text, long long after, long long now) {
        const mark m = mark_of(text);
        if (ran_out_ && (m == mark::announced || m == mark::cancelled)) {
            // Until the UPS is told to switch off, the mains' return or a low battery may still
            // cancel or restart the countdown; after that, nothing may.
            if (shutting_down_ || ups_told_off())
                return verdict(kEnds, false, "after the UPS was told to switch off: " + text);
            ran_out_ = false;
        }
        switch (m) {
        case mark::announced:
            if (!mains_failed_)
                return verdict("no shutdown without an outage", false, "a countdown started");
            if (past_allowance(after))
                return verdict(kCancels, false, "a countdown started while the mains were on");
            if (running_) verdict("a countdown runs out or is cancelled", true); // restarted
            if (!ups_.mains && ups_.answers()) verdict(kNoticed, true);
            running_ = true;
            announced_after_ = after;
            aim("announced", now);
            break;
        case mark::cancelled:
            if (running_) verdict("a countdown runs out or is cancelled", true);
            if (stretch_saw_countdown_ && !stretch_judged_ && in_stretch()) {
                stretch_judged_ = true;
                verdict(kCancels, true);
            }
            running_ = false;
            break;
        case mark::turning_off:
        case mark::shutting_down:
            shutting_down_ |= m == mark::shutting_down;
            if (ran_out_) break;
            if (!running_)
                return verdict("no shutdown without a countdown", false, "shut down unannounced");
            if (past_allowance(after))
                return verdict(kCancels, false,
                               "the countdown ran out although the mains came back at " +
                                   at_text(stretch_from_));
            verdict("a countdown runs out or is cancelled", true);
            running_ = false;
            ran_out_ = true;
            ran_out_after_ = after;
            aim("ran out", now);
            break;
        case mark::none:
            break;
        }
    }

    // After the last timed line: a countdown is waited out; once the program has been calm for
    // longer than an outage takes to be noticed, it is asked whether it still polls.
    void settle(long long now) {
        if (running_ || ran_out_ ||
            std::any_of(aimed_due_.begin(), aimed_due_.end(),
                        [](long long due) { return due > 0; })) {
            calm_since_ = 0;
            return;
        }
        if (calm_since_ == 0) calm_since_ = now;
        const long long calm = real_ms(seq_.disruption_seconds + kSeeSeconds + 10) + kSlackMs;
        if (now - calm_since_ < calm) return;
        if (!ups_.mains && ups_.answers()) {
            if (now < outage_from_ + calm) return;
            return verdict(kNoticed, false,
                           "the UPS ran on battery and answered, but no countdown started");
        }
        if (!mains_failed_) verdict("no shutdown without an outage", true);
        if (!ups_.plugged) sim_->send("replug");
        commands_before_ = commands();
        end_from_ = now;
        phase_ = phase::ending;
    }

    size_t commands() const {
        const auto talk = lines_of(sim_->transcript());
        return static_cast<size_t>(std::count_if(
            talk.begin(), talk.end(), [](const std::string& l) { return l.starts_with("> "); }));
    }

    // The program that did not shut down must still poll the UPS and end when asked.
    void end(long long now) {
        if (!asked_to_end_) {
            if (commands() >= commands_before_ + 3) {
                verdict("the program lives on, polling the UPS", true);
                program_->signal(SIGTERM);
                asked_to_end_ = true;
                end_from_ = now;
            } else if (now - end_from_ > kEndMs) {
                verdict("the program lives on, polling the UPS", false,
                        "no command reached the UPS for 5 s");
            }
            return;
        }
        const int status = program_->wait(0);
        if (status < 0 && now - end_from_ <= kEndMs) return;
        const auto lines = log();
        verdict("the program ends when asked",
                status == 0 && !lines.empty() && lines.back() == "exit 0",
                "exit status " + std::to_string(status) + " 5 s after SIGTERM");
        const std::string trail = read_file(dir_.file(POWEROFF_TRAIL));
        verdict("no power-off but at a countdown's end", trail.empty(),
                "power-off trail: " + trail);
        check_files();
    }

    void finish_shutdown(int status) {
        const auto lines = log();
        const std::string trail = read_file(dir_.file(POWEROFF_TRAIL));
        verdict(kEnds,
                status == 0 && !lines.empty() && lines.back() == "exit 0" && shutting_down_ &&
                    trail == "script\npoweroff\n",
                "exit status " + std::to_string(status) + ", power-off trail \"" + trail + "\"");
        check_files();
    }

    void check_files() {
        std::string detail;
        verdict("no toolkit error", toolkit_error_.empty(), toolkit_error_);
        // A build with the sanitizers reports what it finds on standard error and carries on.
        const std::string errors = read_file(dir_.file("run.err"));
        verdict("no sanitizer report",
                errors.find("Sanitizer") == std::string::npos &&
                    errors.find("runtime error:") == std::string::npos,
                tail(errors));
        verdict("the data log holds whole records",
                data_log_whole(read_file(dir_.file("norva.dat")), detail), detail);
        verdict("the configuration stays intact",
                configuration_intact(read_file(dir_.file("norva.cfg")), configuration_, detail),
                detail);
        phase_ = phase::done;
    }

    static constexpr const char* kCancels =
        "while the UPS answers, the mains' return cancels the countdown";
    static constexpr const char* kNoticed = "an outage the UPS reports starts a countdown";
    static constexpr const char* kEnds =
        "a countdown that runs out ends in SHUTDOWN.BAT and the power-off";

    const sequence seq_;
    const std::string configuration_;
    const long long created_;
    temp_dir dir_;
    std::unique_ptr<sim_session> sim_;
    std::unique_ptr<child_process> program_;
    phase phase_ = phase::starting;
    long long started_ = 0;
    long long last_read_ = 0;

    // The lines to send: those at a time in order, and those aimed at a trigger with the real
    // time they are due (0 before the trigger, -1 once sent).
    std::vector<step> timed_;
    size_t next_timed_ = 0;
    std::vector<step> aimed_;
    std::vector<long long> aimed_due_;

    // What the simulator was told, and when the program could first have heard it.
    ups_side ups_;
    std::vector<std::pair<std::string, long long>> sent_;
    bool mains_failed_ = false;
    int slow_ms_ = 20;
    long long backlog_until_ = 0;
    long long stretch_from_ = 0;
    bool stretch_saw_countdown_ = false;
    bool stretch_judged_ = false;
    long long outage_from_ = 0;

    // What the program showed.
    std::vector<std::pair<std::string, long long>> shown_;
    bool running_ = false;
    bool ran_out_ = false;
    bool shutting_down_ = false;
    bool exit_logged_ = false;
    std::string toolkit_error_;
    long long announced_after_ = 0;
    long long ran_out_after_ = 0;

    long long calm_since_ = 0;
    size_t commands_before_ = 0;
    long long end_from_ = 0;
    bool asked_to_end_ = false;

    std::map<std::string, std::pair<int, int>> invariants_;
    std::string broken_;
};

int number_from_environment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::max(0, std::atoi(text)) : fallback;
}

// The sequences of one slice of the campaign.
std::vector<sequence> slice_sequences(int slice) {
    std::vector<sequence> sequences;
    if (const char* steps = std::getenv("VOLTSENTRY_CAMPAIGN_STEPS"); steps && *steps) {
        sequence s;
        if (!parse_sequence(steps, s))
            ADD_FAILURE() << "VOLTSENTRY_CAMPAIGN_STEPS does not parse";
        else if (slice == 0)
            sequences.push_back(s);
        return sequences;
    }
    const char* seed_text = std::getenv("VOLTSENTRY_CAMPAIGN_SEED");
    const bool replay = seed_text && *seed_text;
    const auto first =
        replay ? static_cast<uint32_t>(std::strtoul(seed_text, nullptr, 10)) : kFixedSeed;
    const int runs = number_from_environment("VOLTSENTRY_CAMPAIGN_RUNS", replay ? 1 : kDefaultRuns);
    for (int i = slice; i < runs; i += kSlices) sequences.push_back(make_sequence(first + i));
    return sequences;
}

class fault_campaign : public program_test, public ::testing::WithParamInterface<int> {
  protected:
    // norva.cfg for a sequence: COM1, a data record a minute, no schedules, no pager.
    std::string configuration_for(const sequence& s) {
        write_configuration([&](ups_status& u) {
            std::snprintf(u.ups_port, sizeof u.ups_port, "COM1");
            std::snprintf(u.ups_id, sizeof u.ups_id, "campaign");
            u.logging_enabled = 1;
            u.log_interval = 1;
            u.message_time = 15;
            u.page_on_shutdown = 0;
            u.selftest_enabled = 0;
            u.shutdown_enabled = 0;
            u.restart_enabled = 0;
            u.disruption_time = static_cast<int16_t>(s.disruption_seconds);
            u.powerfail_time = static_cast<int16_t>(s.powerfail_minutes);
            u.low_battery_time = static_cast<int16_t>(s.low_battery_seconds);
            u.grace_time = static_cast<int16_t>(s.grace_seconds);
        });
        return read_file(dir_.file("norva.cfg"));
    }

    // Plays the sequences, a few at once, and reports each broken one.
    figures play(const std::vector<sequence>& sequences) {
        const size_t jobs = static_cast<size_t>(
            std::max(1, number_from_environment("VOLTSENTRY_CAMPAIGN_JOBS", kDefaultJobs)));
        const char* other = std::getenv("VOLTSENTRY_CAMPAIGN_PROGRAM");
        const std::string program = other && *other ? other : VS_BIN_DIR "/voltsentry";
        figures total;
        std::vector<std::unique_ptr<campaign_run>> active;
        size_t next = 0;
        while (next < sequences.size() || !active.empty()) {
            while (active.size() < jobs && next < sequences.size()) {
                const sequence& s = sequences[next++];
                active.push_back(std::make_unique<campaign_run>(s, configuration_for(s), program,
                                                                monotonic_ms()));
            }
            for (auto run = active.begin(); run != active.end();) {
                if ((*run)->advance(monotonic_ms())) {
                    ++run;
                    continue;
                }
                (*run)->add_to(total);
                const std::string failure = (*run)->failure();
                if (!failure.empty()) ADD_FAILURE() << failure;
                run = active.erase(run);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return total;
    }
};

TEST_P(fault_campaign, power_and_link_faults_never_break_the_shutdown_path) {
    const std::vector<sequence> sequences = slice_sequences(GetParam());
    if (sequences.empty()) GTEST_SKIP() << "no sequence falls to this slice";
    // A simulator that died must not take the campaign with it when its input is written.
    std::signal(SIGPIPE, SIG_IGN);
    const figures f = play(sequences);
    int checked = 0;
    int held = 0;
    for (const auto& [name, counts] : f.invariants) checked += counts.first, held += counts.second;
    std::cout << "fault campaign: sequences " << f.sequences << ", faults injected " << f.faults
              << ", power events " << f.power_events << ", invariants checked " << checked
              << ", held " << held << "\n";
    for (const auto& [name, counts] : f.invariants)
        std::cout << "  " << name << ": checked " << counts.first << ", held " << counts.second
                  << "\n";
    std::cout.flush();
    EXPECT_EQ(held, checked);
}

INSTANTIATE_TEST_SUITE_P(slice, fault_campaign, ::testing::Range(0, kSlices));

} // namespace
