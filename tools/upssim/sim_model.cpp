// The simulated UPS's conversions, replies and timers, written apart from the program's decoder.
#include "sim_model.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

// Plain identification: VA rating by the code in bits 4-7 of the identity.
constexpr std::array<unsigned, 16> plain_va = {0,    500,  600, 750, 900, 1250, 1600, 2000,
                                               3000, 5000, 250, 400, 0,   0,    0,    0};

// Replies carry a line feed before the payload and a carriage return after it, so the UPS
// answers each command with the echo and one more line.
constexpr char separator = '\n';

std::string hex(unsigned value, int digits) {
    char text[16];
    snprintf(text, sizeof text, "%0*X", digits, value);
    std::string out = text;
    return out.substr(out.size() - static_cast<size_t>(digits));
}

std::string data_reply(const std::string& echo, const std::string& digits) {
    return echo + separator + digits + '\r';
}

int64_t scaled_ms(const sim_model& model, double seconds) {
    return static_cast<int64_t>(seconds * 1000.0 / model.speed);
}

bool parse_hex_param(const std::string& text, size_t digits, unsigned long& out) {
    if (text.size() != digits) return false;
    for (char c : text)
        if (!isxdigit(static_cast<unsigned char>(c))) return false;
    out = strtoul(text.c_str(), nullptr, 16);
    return true;
}

void schedule_off(sim_model& model, off_kind kind, int64_t now_ms,
                  std::vector<std::string>& notes) {
    model.pending_off = kind;
    model.off_at_ms = now_ms + scaled_ms(model, model.grace_seconds);
    notes.push_back("switching off in " + std::to_string(model.grace_seconds) + " s");
}

// The reply the UPS would give, and the reply of another command for a wrong echo.
std::string normal_reply(sim_model& model, const std::string& line, int64_t now_ms,
                         std::vector<std::string>& notes, std::string& digits) {
    if (line == ":W")
        digits = hex(model.protocol, 2);
    else if (line == ":L")
        digits = hex(model.identity, 2);
    else if (line == ":V")
        digits = hex(model.firmware, 2);
    else if (line == ":S")
        digits = hex(model.phone_option, 1);
    else if (line == ":D")
        digits = status_fields(model);
    else if (line == ":B")
        digits = hex(model.battery_tenths, 2);
    else if (line == ":I")
        digits = hex(model.mains_on ? raw_for_volts(model, model.line_volts) : 0, 2);
    else if (line == ":C")
        digits = hex(model.selftest_status, 2);
    else if (line == ":A") {
        start_selftest(model, now_ms);
        notes.push_back("self-test started");
    } else if (line == ":G")
        schedule_off(model, off_kind::until_mains, now_ms, notes);
    else if (line == ":K0")
        schedule_off(model, off_kind::stay_off, now_ms, notes);
    else if (line.rfind(":Q", 0) == 0 && line.size() >= 3 &&
             line.find_first_not_of("0123456789", 2) == std::string::npos) {
        model.phone_option = atoi(line.c_str() + 2) & 0xF;
        notes.push_back("phone option " + std::to_string(model.phone_option));
    } else if (unsigned long v; line.rfind(":N", 0) == 0 && parse_hex_param(line.substr(2), 2, v)) {
        model.grace_seconds = static_cast<unsigned>(v);
        notes.push_back("grace time " + std::to_string(v) + " s");
    } else if (line.rfind(":H", 0) == 0 && parse_hex_param(line.substr(2), 6, v)) {
        model.restart_delay_seconds = v;
        notes.push_back("restart delay " + std::to_string(v) + " s");
        schedule_off(model, off_kind::restart_after_delay, now_ms, notes);
    } else {
        notes.push_back("unknown command, no reply");
        return {};
    }
    return data_reply(line + '\r', digits);
}

std::string garbage_like(size_t length, int64_t seed) {
    std::string out;
    auto state = static_cast<uint32_t>(seed) | 1u;
    for (size_t i = 0; i < length; ++i) {
        state = state * 1103515245u + 12345u;
        char c = static_cast<char>((state >> 16) & 0xFF);
        if (i == 0 && c == ':') c = '?';
        out += c;
    }
    return out;
}

} // namespace

const char* fault_name(fault_mode mode) {
    switch (mode) {
    case fault_mode::normal:
        return "normal";
    case fault_mode::silent:
        return "silent";
    case fault_mode::echo_only:
        return "echo-only";
    case fault_mode::wrong_echo:
        return "wrong-echo";
    case fault_mode::garbage:
        return "garbage";
    case fault_mode::short_reply:
        return "short";
    case fault_mode::slow:
        return "slow";
    }
    return "normal";
}

sim_identity identity_of(const sim_model& model) {
    sim_identity id{};
    id.extended = (model.protocol & 0x80) != 0;
    if (!id.extended) {
        id.voltage_class = model.identity & 1;
        id.va_rating = plain_va[(model.identity >> 4) & 0xF];
        return id;
    }
    const unsigned x = (model.protocol & 0xFF) << 8 | (model.identity & 0xFF);
    id.corvel = (x >> 14) & 1;
    id.voltage_class = x & 3;
    id.va_rating = ((x >> 3) & 0x7FF) * 5;
    return id;
}

bool encode_identity(sim_model& model, const sim_identity& id, std::string& error) {
    if (id.extended) {
        if (id.voltage_class > 3) return error = "voltage class must be 0-3", false;
        if (id.va_rating % 5 != 0 || id.va_rating / 5 > 0x7FF)
            return error = "extended VA rating must be a multiple of 5 up to 10235", false;
        const unsigned x =
            0x8000u | (id.corvel ? 0x4000u : 0u) | (id.va_rating / 5) << 3 | id.voltage_class;
        model.protocol = x >> 8;
        model.identity = x & 0xFF;
        return true;
    }
    if (id.corvel) return error = "the Corvel family needs extended identification", false;
    if (id.voltage_class > 1)
        return error = "plain identification has voltage classes 0 and 1 only", false;
    for (unsigned code = 1; code < plain_va.size(); ++code) {
        if (plain_va[code] == id.va_rating && id.va_rating != 0) {
            model.protocol &= 0x7F;
            model.identity = code << 4 | id.voltage_class;
            return true;
        }
    }
    error = "plain VA rating must be one of 250 400 500 600 750 900 1250 1600 2000 3000 5000";
    return false;
}

unsigned voltage_scale(const sim_model& model) {
    switch (identity_of(model).voltage_class) {
    case 1:
        return 192;
    case 2:
        return 83;
    case 3:
        return model.nominal_voltage == 208 ? 173 : 200;
    default:
        return 100;
    }
}

unsigned volts_for_raw(const sim_model& model, unsigned raw) {
    return raw * voltage_scale(model) / 100;
}

unsigned raw_for_volts(const sim_model& model, unsigned volts) {
    const unsigned scale = voltage_scale(model);
    // Products that land exactly on a whole volt are avoided when the scale is not exact in
    // binary floating point, so a program that multiplies in floating point still shows volts.
    const bool exact_scale = scale % 100 == 0;
    unsigned best = 0;
    unsigned best_distance = ~0u;
    for (unsigned raw = 0; raw <= 0xFF; ++raw) {
        const unsigned shown = volts_for_raw(model, raw);
        unsigned distance = shown > volts ? shown - volts : volts - shown;
        distance *= 2;
        if (!exact_scale && raw != 0 && raw * scale % 100 == 0) distance += 1;
        if (distance < best_distance) best = raw, best_distance = distance;
    }
    return best;
}

int celsius_for_raw(unsigned raw) {
    return (static_cast<int>(raw) * 3636 - 210000) / 10000;
}

unsigned raw_for_celsius(int celsius) {
    unsigned best = 0;
    int best_distance = 1 << 30;
    for (unsigned raw = 0; raw <= 0xFF; ++raw) {
        const int distance = abs(celsius_for_raw(raw) - celsius);
        if (distance < best_distance) best = raw, best_distance = distance;
    }
    return best;
}

int fahrenheit_for_celsius(int celsius) {
    return (celsius * 18 + 320) / 10;
}

unsigned charge_for_tenths(unsigned tenths) {
    constexpr std::array<std::pair<unsigned, unsigned>, 9> steps = {{{132, 100},
                                                                     {125, 90},
                                                                     {122, 80},
                                                                     {120, 70},
                                                                     {118, 60},
                                                                     {116, 50},
                                                                     {114, 40},
                                                                     {112, 30},
                                                                     {110, 20}}};
    for (const auto& [least, charge] : steps)
        if (tenths >= least) return charge;
    return 10;
}

unsigned hertz_for_tenths(unsigned tenths) {
    const unsigned hz = tenths / 10;
    if (hz >= 58) return 60;
    if (hz >= 49 && hz <= 51) return 50;
    return hz;
}

unsigned power_state(const sim_model& model) {
    if (!model.output_on) return 0;
    return model.mains_on ? 2 : 3;
}

std::string status_fields(const sim_model& model) {
    const unsigned line_raw = model.mains_on ? raw_for_volts(model, model.line_volts) : 0;
    const unsigned output_raw = model.output_on ? raw_for_volts(model, model.output_volts) : 0;
    const unsigned load = model.output_on ? model.load_percent : 0;
    return hex(model.battery_low ? 0 : 1, 1) + hex(model.field2, 1) + hex(line_raw, 2) +
           hex(model.regulator, 1) + hex(power_state(model), 1) + hex(model.temperature_raw, 2) +
           "00" + hex(model.field8, 2) + hex(load, 2) + hex(line_raw, 2) + hex(output_raw, 2) +
           hex(model.frequency_tenths, 3);
}

std::string answer_command(sim_model& model, const std::string& line, int64_t now_ms,
                           std::vector<std::string>& notes) {
    std::string digits;
    const std::string reply = normal_reply(model, line, now_ms, notes, digits);
    if (reply.empty()) return reply;
    const std::string echo = line + '\r';
    switch (model.fault) {
    case fault_mode::silent:
        return {};
    case fault_mode::echo_only:
        return echo;
    case fault_mode::wrong_echo: {
        const std::string other = line == ":D" ? ":B" : ":D";
        const std::string other_digits =
            other == ":D" ? status_fields(model) : hex(model.battery_tenths, 2);
        return data_reply(other + '\r', other_digits);
    }
    case fault_mode::garbage:
        return garbage_like(reply.size(), now_ms);
    case fault_mode::short_reply:
        return echo + separator + digits.substr(0, digits.size() / 2);
    case fault_mode::normal:
    case fault_mode::slow:
        break;
    }
    return reply;
}

void start_selftest(sim_model& model, int64_t now_ms) {
    model.selftest_status = 2;
    model.selftest_end_ms = now_ms + scaled_ms(model, model.selftest_seconds);
}

void set_mains(sim_model& model, bool on, int64_t now_ms, std::vector<std::string>& notes) {
    model.mains_on = on;
    notes.push_back(on ? "mains on" : "mains off");
    if (on && !model.output_on && model.off_reason == off_kind::until_mains) {
        model.on_at_ms = now_ms;
        advance_model(model, now_ms, notes);
    }
}

void advance_model(sim_model& model, int64_t now_ms, std::vector<std::string>& notes) {
    if (model.selftest_end_ms != 0 && now_ms >= model.selftest_end_ms) {
        model.selftest_end_ms = 0;
        model.selftest_status = model.selftest_result;
        notes.push_back("self-test ended with result " + std::to_string(model.selftest_result));
    }
    if (model.pending_off != off_kind::none && now_ms >= model.off_at_ms) {
        model.output_on = false;
        model.off_reason = model.pending_off;
        model.pending_off = off_kind::none;
        model.on_at_ms = 0;
        if (model.off_reason == off_kind::restart_after_delay)
            model.on_at_ms = model.off_at_ms + scaled_ms(model, model.restart_delay_seconds);
        if (model.off_reason == off_kind::until_mains && model.mains_on) model.on_at_ms = now_ms;
        notes.push_back("output switched off");
    }
    if (!model.output_on && model.on_at_ms != 0 && now_ms >= model.on_at_ms) {
        model.output_on = true;
        model.off_reason = off_kind::none;
        model.on_at_ms = 0;
        notes.push_back("output switched on");
    }
}

int64_t next_model_deadline(const sim_model& model, int64_t now_ms) {
    int64_t next = -1;
    auto consider = [&](bool pending, int64_t at) {
        if (!pending) return;
        const int64_t wait = at > now_ms ? at - now_ms : 0;
        if (next < 0 || wait < next) next = wait;
    };
    consider(model.selftest_end_ms != 0, model.selftest_end_ms);
    consider(model.pending_off != off_kind::none, model.off_at_ms);
    consider(!model.output_on && model.on_at_ms != 0, model.on_at_ms);
    return next;
}

std::string describe_model(const sim_model& model) {
    const sim_identity id = identity_of(model);
    const int celsius = celsius_for_raw(model.temperature_raw);
    const unsigned state = power_state(model);
    const bool inverting = state & 1;
    const unsigned line_raw =
        model.mains_on && !inverting ? raw_for_volts(model, model.line_volts) : 0;
    char text[1024];
    snprintf(text, sizeof text,
             "model: %s %u\nva_rating: %u\nfamily: %s\nvoltage_class: %u\nfirmware: 0x%02X\n"
             "protocol: 0x%02X\nidentity: 0x%02X\nline_voltage: %u\nfrequency: %u\nload: %u\n"
             "battery_voltage: %u.%u\nbattery_charge: %u\nbattery_low: %d\npower_state: %u\n"
             "on_battery: %d\nregulator: %u\ntemperature_c: %d\ntemperature_f: %d\n"
             "selftest_status: %u\nphone_option: %u\n",
             id.corvel ? "Corvel" : "Kestra", id.va_rating, id.va_rating,
             id.corvel ? "Corvel" : "Kestra", id.voltage_class, model.firmware, model.protocol,
             model.identity, volts_for_raw(model, line_raw),
             hertz_for_tenths(model.frequency_tenths), model.output_on ? model.load_percent : 0,
             model.battery_tenths / 10, model.battery_tenths % 10,
             charge_for_tenths(model.battery_tenths), model.battery_low ? 1 : 0, state,
             inverting ? 1 : 0, model.regulator, celsius, fahrenheit_for_celsius(celsius),
             model.selftest_status, model.phone_option);
    return text;
}
