// Reading the simulator's input lines: mains, battery, readings, self-test, faults and reports.
#include "sim_commands.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// A week: longer than any grace time, restart delay or self-test a test needs to run through,
// and far from overflowing the millisecond clock.
constexpr unsigned long max_advance_seconds = 7 * 24 * 3600;

const char* const help_text =
    "Input lines (standard input, one command a line; blank lines and lines starting with #\n"
    "are ignored; a line that is not understood is reported on standard error and changes\n"
    "nothing):\n"
    "  mains off | mains on       the mains fail (the UPS runs on battery) or return\n"
    "  battery low                set the low-battery flag and the battery to 11.0 V\n"
    "  battery ok                 clear the low-battery flag, battery back to 13.5 V\n"
    "  battery V.V                battery voltage in volts (0.0-25.5)\n"
    "  load N                     load in percent of the rating (0-255)\n"
    "  temperature RAW            raw temperature reading (0-255; 140 shows 29 C / 84 F)\n"
    "  celsius C                  temperature as close to C degrees Celsius as the UPS shows\n"
    "  line V                     line voltage in volts (sent scaled for the voltage class)\n"
    "  output V                   output voltage in volts\n"
    "  frequency F.F              line frequency in hertz (0.0-409.5)\n"
    "  regulator N                line regulator state (0-3)\n"
    "  phone N                    phone option value of :S (0-15)\n"
    "  selftest                   start a self-test, as :A does\n"
    "  selftest result N          result the next self-tests end with (0 OK, 1 bad battery,\n"
    "                             3 bad inverter; any value 0-255)\n"
    "  selftest duration S        seconds a self-test runs\n"
    "  ups off | ups on           switch the output off or on at once\n"
    "  silent                     fault: answer nothing\n"
    "  echo-only                  fault: answer with the echo only\n"
    "  wrong-echo                 fault: answer with the echo and reply of another command\n"
    "  garbage                    fault: answer with line noise instead of the reply\n"
    "  short                      fault: cut each reply off in its payload\n"
    "  slow [MS]                  fault: send the reply one byte every MS ms (default 20)\n"
    "  normal                     end any fault\n"
    "  unplug                     pull the cable: close the pseudo-terminal (the program's open\n"
    "                             device hangs up) and remove the link; nothing is answered\n"
    "  replug                     plug in again: a new pseudo-terminal behind the same link\n"
    "  state                      print the values the program should show, as key: value\n"
    "                             lines on standard output, ended by an empty line\n"
    "  advance N                  move the simulator's clock N seconds on (0-604800): the\n"
    "                             grace time, restart delay and self-tests run through that\n"
    "                             time at once; with --manual-clock the clock moves only so\n"
    "  quit                       end the simulator\n";

std::vector<std::string> split_words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

line_result refuse(std::string& error, const std::string& why) {
    error = why;
    return line_result::error;
}

// Sets a numeric field from the one argument of a command.
line_result set_number(const std::vector<std::string>& words, unsigned long high, unsigned& field,
                       std::vector<std::string>& notes, std::string& error) {
    unsigned long value = 0;
    if (words.size() != 2 || !parse_number(words[1], 0, high, value))
        return refuse(error, words[0] + " takes a whole number 0-" + std::to_string(high));
    field = static_cast<unsigned>(value);
    notes.push_back(words[0] + " " + words[1]);
    return line_result::ok;
}

line_result apply_battery(sim_model& model, const std::vector<std::string>& words,
                          std::vector<std::string>& notes, std::string& error) {
    if (words.size() != 2) return refuse(error, "battery takes low, ok or a voltage");
    unsigned tenths = 0;
    if (words[1] == "low") {
        model.battery_low = true;
        model.battery_tenths = 110;
    } else if (words[1] == "ok") {
        model.battery_low = false;
        model.battery_tenths = 135;
    } else if (parse_tenths(words[1], 0, 255, tenths)) {
        model.battery_tenths = tenths;
    } else {
        return refuse(error, "battery takes low, ok or a voltage 0.0-25.5");
    }
    notes.push_back("battery " + words[1]);
    return line_result::ok;
}

line_result apply_selftest(sim_model& model, const std::vector<std::string>& words, int64_t now_ms,
                           std::vector<std::string>& notes, std::string& error) {
    if (words.size() == 1) {
        start_selftest(model, now_ms);
        notes.push_back("self-test started");
        return line_result::ok;
    }
    unsigned long value = 0;
    if (words.size() == 3 && words[1] == "result" && parse_number(words[2], 0, 255, value)) {
        model.selftest_result = static_cast<unsigned>(value);
    } else if (words.size() == 3 && words[1] == "duration" &&
               parse_number(words[2], 0, 86400, value)) {
        model.selftest_seconds = static_cast<unsigned>(value);
    } else {
        return refuse(error, "selftest takes nothing, result N or duration S");
    }
    notes.push_back("selftest " + words[1] + " " + words[2]);
    return line_result::ok;
}

line_result apply_fault(sim_model& model, const std::vector<std::string>& words,
                        std::vector<std::string>& notes, std::string& error) {
    fault_mode mode{};
    parse_fault(words[0], mode);
    if (mode == fault_mode::slow && words.size() == 2) {
        unsigned long ms = 0;
        if (!parse_number(words[1], 1, 10000, ms))
            return refuse(error, "slow takes milliseconds per byte, 1-10000");
        model.slow_ms_per_byte = static_cast<unsigned>(ms);
    } else if (words.size() != 1) {
        return refuse(error, words[0] + " takes no argument");
    }
    model.fault = mode;
    notes.push_back(std::string("fault ") + fault_name(mode));
    return line_result::ok;
}

} // namespace

bool parse_number(const std::string& text, unsigned long low, unsigned long high,
                  unsigned long& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    const unsigned long value = strtoul(text.c_str(), nullptr, 10);
    if (errno != 0 || value < low || value > high) return false;
    out = value;
    return true;
}

bool parse_signed(const std::string& text, long low, long high, long& out) {
    const size_t digits = text.rfind('-', 0) == 0 ? 1 : 0;
    unsigned long magnitude = 0;
    if (!parse_number(text.substr(digits), 0, 1000000, magnitude)) return false;
    const long value = digits ? -static_cast<long>(magnitude) : static_cast<long>(magnitude);
    if (value < low || value > high) return false;
    out = value;
    return true;
}

bool parse_hex_byte(const std::string& text, unsigned& out) {
    std::string digits = text;
    if (digits.rfind("0x", 0) == 0 || digits.rfind("0X", 0) == 0) digits = digits.substr(2);
    if (digits.empty() || digits.size() > 2 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    out = static_cast<unsigned>(strtoul(digits.c_str(), nullptr, 16));
    return true;
}

bool parse_tenths(const std::string& text, unsigned low, unsigned high, unsigned& out) {
    const size_t dot = text.find('.');
    unsigned long whole = 0;
    unsigned long tenth = 0;
    if (!parse_number(text.substr(0, dot), 0, 100000, whole)) return false;
    if (dot != std::string::npos &&
        (text.size() != dot + 2 || !parse_number(text.substr(dot + 1), 0, 9, tenth)))
        return false;
    const unsigned long value = whole * 10 + tenth;
    if (value < low || value > high) return false;
    out = static_cast<unsigned>(value);
    return true;
}

bool parse_fault(const std::string& text, fault_mode& out) {
    for (fault_mode mode :
         {fault_mode::normal, fault_mode::silent, fault_mode::echo_only, fault_mode::wrong_echo,
          fault_mode::garbage, fault_mode::short_reply, fault_mode::slow}) {
        if (text == fault_name(mode)) {
            out = mode;
            return true;
        }
    }
    return false;
}

const char* language_help() {
    return help_text;
}

line_result apply_line(sim_model& model, const std::string& line, int64_t now_ms,
                       line_reply& reply) {
    std::vector<std::string>& notes = reply.notes;
    std::string& error = reply.error;
    const std::vector<std::string> words = split_words(line);
    if (words.empty() || words[0][0] == '#') return line_result::ok;
    const std::string& verb = words[0];
    fault_mode fault{};
    if (verb == "quit" && words.size() == 1) return line_result::quit;
    if (verb == "unplug" && words.size() == 1) return line_result::unplug;
    if (verb == "replug" && words.size() == 1) return line_result::replug;
    if (verb == "state" && words.size() == 1) {
        reply.output = describe_model(model) + "\n";
        return line_result::ok;
    }
    if (verb == "advance") {
        if (words.size() != 2 || !parse_number(words[1], 0, max_advance_seconds,
                                               reply.advance_seconds))
            return refuse(error, "advance takes whole seconds 0-" +
                                     std::to_string(max_advance_seconds));
        return line_result::advance;
    }
    if (parse_fault(verb, fault)) return apply_fault(model, words, notes, error);
    if (verb == "mains" && words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
        set_mains(model, words[1] == "on", now_ms, notes);
        return line_result::ok;
    }
    if (verb == "ups" && words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
        model.output_on = words[1] == "on";
        model.pending_off = off_kind::none;
        model.off_reason = off_kind::none;
        model.on_at_ms = 0;
        notes.push_back("output switched " + words[1]);
        return line_result::ok;
    }
    if (verb == "battery") return apply_battery(model, words, notes, error);
    if (verb == "selftest") return apply_selftest(model, words, now_ms, notes, error);
    if (verb == "load") return set_number(words, 255, model.load_percent, notes, error);
    if (verb == "temperature") return set_number(words, 255, model.temperature_raw, notes, error);
    if (verb == "regulator") return set_number(words, 3, model.regulator, notes, error);
    if (verb == "phone") return set_number(words, 15, model.phone_option, notes, error);
    if (verb == "line") return set_number(words, 600, model.line_volts, notes, error);
    if (verb == "output") return set_number(words, 600, model.output_volts, notes, error);
    if (verb == "celsius") {
        long celsius = 0;
        if (words.size() != 2 || !parse_signed(words[1], -21, 71, celsius))
            return refuse(error, "celsius takes whole degrees -21 to 71");
        model.temperature_raw = raw_for_celsius(static_cast<int>(celsius));
        notes.push_back("temperature " + std::to_string(model.temperature_raw));
        return line_result::ok;
    }
    if (verb == "frequency") {
        unsigned tenths = 0;
        if (words.size() != 2 || !parse_tenths(words[1], 0, 0xFFF, tenths))
            return refuse(error, "frequency takes hertz 0.0-409.5");
        model.frequency_tenths = tenths;
        notes.push_back("frequency " + words[1]);
        return line_result::ok;
    }
    return refuse(error, "unknown line: " + line);
}
