// The configuration file norva.cfg, the threshold file norva.tsh and the alarm-kind file tlog.log.
#include "files/config_file.h"

#include "files/clock.h"
#include "files/text_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace {

// Configuration lines are read into a 132-byte buffer in the file's original format.
constexpr std::size_t CONFIG_LINE_MAX = 131;
// Threshold and alarm-kind lines are read into an 80-byte buffer.
constexpr std::size_t NUMBER_LINE_MAX = 79;
constexpr int CONFIG_FIELD_LINES = 37;

struct text_field {
    char* data;
    std::size_t size; // including the terminating NUL
};

struct number_field {
    std::variant<uint8_t*, int16_t*, uint16_t*, int32_t*> target;
    long long max; // values from the file are never negative; larger ones are clamped to max
};

struct config_line {
    const char* key;
    std::variant<text_field, number_field> field;
};

template <std::size_t N> text_field text(char (&data)[N]) {
    return {data, N};
}

// Flags hold 0 or 1; any other number in the file means "on".
number_field number(uint8_t& v) {
    return {&v, 1};
}
template <class T> number_field number(T& v) {
    return {&v, std::numeric_limits<T>::max()};
}

// The 37 lines of norva.cfg in file order; the n-th line sets the n-th field whatever its key.
std::array<config_line, CONFIG_FIELD_LINES> config_lines(ups_status& u, app_settings& a) {
    return {{
        {"UPS port", text(u.ups_port)},
        {"Logging", number(u.logging_enabled)},
        {"Log Interval", number(u.log_interval)},
        {"UPS id", text(u.ups_id)},
        {"Selftest Status", number(u.selftest_status)},
        {"Selftest Enabled", number(u.selftest_enabled)},
        {"Selftest Type", number(u.selftest_type)},
        {"Selftest Day", number(u.selftest_time.weekday)},
        {"Selftest Hour", number(u.selftest_time.hour)},
        {"Selftest Minute", number(u.selftest_time.minute)},
        {"Temp Type", number(u.temperature_unit)},
        {"Disruption Time", number(u.disruption_time)},
        {"Low Battery Time", number(u.low_battery_time)},
        {"Grace Time", number(u.grace_time)},
        {"Message Time", number(u.message_time)},
        {"Powerfail Time", number(u.powerfail_time)},
        {"Alert Server", text(a.alert_server)},
        {"Minimized", number(a.start_minimised)},
        {"Modem Time", number(u.modem_time)},
        {"Modem Command", text(u.modem_command)},
        {"Modem Port", text(u.modem_port)},
        {"Page On Shutdown", number(u.page_on_shutdown)},
        {"Model Code", number(u.extended_identity)},
        {"Last Selftest Day", number(u.last_selftest.day)},
        {"Last Selftest Month", number(u.last_selftest.month)},
        {"Last Selftest Year", number(u.last_selftest.year)},
        {"Shutdown Enabled", number(u.shutdown_enabled)},
        {"Shutdown Type", number(u.shutdown_type)},
        {"Shutdown Day", number(u.shutdown_time.weekday)},
        {"Shutdown Hour", number(u.shutdown_time.hour)},
        {"Shutdown Minute", number(u.shutdown_time.minute)},
        {"Restart Enabled", number(u.restart_enabled)},
        {"Restart Day", number(u.restart_time.weekday)},
        {"Restart Hour", number(u.restart_time.hour)},
        {"Restart Minute", number(u.restart_time.minute)},
        {"Stale File Limit", number(a.stale_file_limit)},
        {"UPS Voltage", text(u.ups_voltage_text)},
    }};
}

// Value of the leading digits (after blanks), saturating instead of overflowing; -1 when none.
long long leading_digits(const char* s) {
    while (*s == ' ' || *s == '\t') ++s;
    if (*s < '0' || *s > '9') return -1;
    long long v = 0;
    constexpr long long cap = 1LL << 40;
    for (; *s >= '0' && *s <= '9'; ++s) v = v < cap ? v * 10 + (*s - '0') : cap;
    return v;
}

// Copies text into a field, cut to fit and never in the middle of a UTF-8 character.
void copy_text(const text_field& f, std::string_view value) {
    std::size_t n = std::min(value.size(), f.size - 1);
    if (n < value.size()) {
        // Step back over at most the three continuation bytes a character can have, and only
        // when a lead byte begins them: bytes that are no UTF-8 at all are cut where they fall.
        std::size_t start = n;
        while (start > 0 && n - start < 3 &&
               (static_cast<unsigned char>(value[start]) & 0xC0) == 0x80)
            --start;
        if (start < n && static_cast<unsigned char>(value[start]) >= 0xC0) n = start;
    }
    std::memcpy(f.data, value.data(), n);
    f.data[n] = '\0';
}

void store_number(const number_field& f, long long value) {
    if (value > f.max) value = f.max;
    std::visit([value](auto* p) { *p = static_cast<std::remove_pointer_t<decltype(p)>>(value); },
               f.target);
}

long long read_number(const number_field& f) {
    return std::visit([](auto* p) { return static_cast<long long>(*p); }, f.target);
}

// Drops the line feed (only a line feed: a last line without one keeps its last character) and
// anything from an embedded NUL on, as the C string the line was in the original format.
void trim_line(std::string& line) {
    line.resize(std::strlen(line.c_str()));
    if (!line.empty() && line.back() == '\n') line.pop_back();
}

// Stores a line's value in its field; false when a number field's value holds no number.
bool store_line(const config_line& line, std::string_view value) {
    if (const auto* t = std::get_if<text_field>(&line.field)) {
        copy_text(*t, value);
        return true;
    }
    const long long v = leading_digits(std::string(value).c_str());
    if (v < 0) return false;
    store_number(std::get<number_field>(line.field), v);
    return true;
}

// Copies a field of one record into the same field of another (both tables list the same fields
// in the same order).
void copy_field(const config_line& from, const config_line& to) {
    if (const auto* t = std::get_if<text_field>(&from.field)) {
        copy_text(std::get<text_field>(to.field), std::string_view(t->data));
    } else {
        store_number(std::get<number_field>(to.field),
                     read_number(std::get<number_field>(from.field)));
    }
}

// The nominal voltage a voltage text names: its number when it begins with "2", else 0.
uint16_t nominal_voltage_of(const char* text) {
    const long long v = leading_digits(text);
    return text[0] == '2' && v > 0 ? static_cast<uint16_t>(std::min(v, 65535LL)) : 0;
}

// "line 4", or "lines 4, 9 and 12"; a long list ends in "and N more".
std::string line_list(const std::vector<int>& lines) {
    constexpr std::size_t shown = 5;
    std::string out = lines.size() == 1 ? "line " : "lines ";
    const std::size_t listed = lines.size() > shown + 1 ? shown : lines.size();
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0) out += i + 1 == lines.size() ? " and " : ", ";
        out += std::to_string(lines[i]);
    }
    if (listed < lines.size()) out += " and " + std::to_string(lines.size() - listed) + " more";
    return out;
}

void note(settings_problems* problems, std::string text) {
    if (problems) problems->push_back(std::move(text));
}

void fill_configuration_defaults(ups_status& ups, app_settings& app, time_t now) {
    std::strcpy(ups.ups_port, "COM1");
    ups.logging_enabled = 1;
    ups.log_interval = 1;
    ups.ups_id[0] = '\0';
    ups.selftest_status = 5;
    ups.selftest_enabled = 0;
    ups.selftest_type = 0;
    ups.selftest_time = ups_clock{};
    ups.temperature_unit = 1;
    ups.disruption_time = 10;
    ups.low_battery_time = 5;
    ups.grace_time = 120;
    ups.message_time = 60;
    ups.powerfail_time = 4;
    app.alert_server[0] = '\0';
    app.start_minimised = 0;
    ups.modem_time = 4;
    ups.modem_command[0] = '\0';
    std::strcpy(ups.modem_port, "COM2");
    ups.page_on_shutdown = 0;
    ups.extended_identity = 0;
    ups.last_selftest = ups_clock{};
    ups.shutdown_enabled = 0;
    ups.shutdown_type = 2;
    ups.shutdown_time = clock_from_tm(app_localtime(now));
    ups.restart_time = ups.shutdown_time;
    ups.restart_enabled = 0;
    app.stale_file_limit = 0;
    std::strcpy(ups.ups_voltage_text, "Default");
    ups.nominal_voltage = 0;
}

// Signed decimal value of a line, clamped to [lo, hi]; false when the line holds no number.
bool parse_signed(const std::string& line, long long lo, long long hi, long long& out) {
    const char* s = line.c_str();
    while (*s == ' ' || *s == '\t') ++s;
    const bool negative = *s == '-';
    if (*s == '-' || *s == '+') ++s;
    if (*s < '0' || *s > '9') return false;
    const long long v = leading_digits(s);
    out = std::clamp(negative ? -v : v, lo, hi);
    return true;
}

// Reads up to values.size() numbers, one a line; missing, empty or unreadable lines keep the
// value already there (the default), so a damaged file never turns an alarm limit into 0.
template <std::size_t N>
void read_number_lines(const char* path, std::array<long long, N>& values, long long lo,
                       long long hi) {
    text_reader in(path);
    std::string line;
    for (auto& v : values) {
        if (!in.read_line(line, NUMBER_LINE_MAX)) break;
        trim_line(line);
        parse_signed(line, lo, hi, v);
    }
}

template <std::size_t N>
int write_number_lines(const char* path, const std::array<long long, N>& v) {
    std::string out;
    for (const long long n : v) out += std::to_string(n) + "\n";
    return rewrite_text_file(path, out);
}

// The defaults of a missing file are in use, but the file could not be written (errno tells why).
void note_write_failure(settings_problems* problems, const char* what, const char* file) {
    note(problems, std::string(what) + " file " + file + " cannot be written (" +
                       std::strerror(errno) + "): its defaults are used for now.");
}

bool file_missing(const char* path) {
    text_reader in(path);
    return !in.is_open() && in.error() == ENOENT;
}

constexpr long long I16_MIN = std::numeric_limits<int16_t>::min();
constexpr long long I16_MAX = std::numeric_limits<int16_t>::max();
constexpr long long I32_MIN = std::numeric_limits<int32_t>::min();
constexpr long long I32_MAX = std::numeric_limits<int32_t>::max();

} // namespace

int load_configuration(ups_status& ups, app_settings& app, time_t now,
                       settings_problems* problems) {
    const std::string name = CONFIG_FILE;
    text_reader in(CONFIG_FILE);
    if (!in.is_open()) {
        fill_configuration_defaults(ups, app, now);
        if (in.not_regular())
            note(problems, "Configuration file " + name +
                               " is not a regular file: it was not read, defaults used.");
        else if (in.error() != ENOENT)
            note(problems, "Configuration file " + name + " cannot be read (" +
                               std::strerror(in.error()) + "): defaults used.");
        return 2;
    }
    const auto lines = config_lines(ups, app);
    std::array<bool, CONFIG_FIELD_LINES> given{};
    std::vector<int> unreadable;
    int count = 0;
    std::string line;
    for (int n = 1; in.read_line(line, CONFIG_LINE_MAX); ++n) {
        if (n > CONFIG_FIELD_LINES) continue;
        count = n;
        trim_line(line);
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            unreadable.push_back(n);
            continue;
        }
        const std::size_t end = line.find(':', colon + 1);
        std::string_view value = std::string_view(line).substr(
            colon + 1, end == std::string::npos ? end : end - colon - 1);
        // A stray carriage return ends a text where saving would cut it, so a value loads as it
        // saves and a text cut to nothing counts as not given.
        if (std::holds_alternative<text_field>(lines[n - 1].field))
            value = value.substr(0, value.find('\r'));
        // An empty value is how an empty text is saved: skipped, but no damage.
        if (value.empty()) continue;
        if (!store_line(lines[n - 1], value))
            unreadable.push_back(n);
        else if (const auto* t = std::get_if<text_field>(&lines[n - 1].field))
            // A text cut to nothing to fit its field is no text either.
            given[n - 1] = t->data[0] != '\0';
        else
            given[n - 1] = true;
    }
    // What the file did not give takes the default it has when the file is missing: left at zero,
    // a disruption, power-fail or grace time would shut the machine down at the first outage,
    // and an empty port would monitor nothing.
    auto default_ups = std::make_unique<ups_status>();
    app_settings default_app{};
    fill_configuration_defaults(*default_ups, default_app, now);
    const auto default_lines = config_lines(*default_ups, default_app);
    for (int i = 0; i < CONFIG_FIELD_LINES; ++i)
        if (!given[i]) copy_field(default_lines[i], lines[i]);
    ups.nominal_voltage = nominal_voltage_of(ups.ups_voltage_text);
    // Immediate requests never survive a restart.
    if (ups.selftest_type == 0) ups.selftest_enabled = 0;
    if (ups.shutdown_type == 0) ups.shutdown_enabled = 0;

    if (count == 0)
        note(problems, "Configuration file " + name + " is empty: defaults used.");
    else if (count < CONFIG_FIELD_LINES)
        note(problems, "Configuration file " + name + " is incomplete: defaults used from line " +
                           std::to_string(count + 1) + " on.");
    if (!unreadable.empty())
        note(problems, "Configuration file " + name + " is damaged: defaults used for " +
                           line_list(unreadable) + ".");
    return 0;
}

int save_configuration(const ups_status& ups, const app_settings& app) {
    // The table binds mutable fields; saving only reads them.
    const auto lines = config_lines(const_cast<ups_status&>(ups), const_cast<app_settings&>(app));
    std::string out;
    out.reserve(1024);
    for (const config_line& line : lines) {
        out += line.key;
        out += ':';
        if (const auto* t = std::get_if<text_field>(&line.field)) {
            // A line break inside a value would shift every later line onto the wrong field.
            const std::string_view v(t->data, strnlen(t->data, t->size - 1));
            out += v.substr(0, v.find_first_of("\r\n"));
        } else {
            out += std::to_string(read_number(std::get<number_field>(line.field)));
        }
        out += '\n';
    }
    out += '\n';
    return rewrite_text_file(CONFIG_FILE, out);
}

int load_thresholds(ups_status& ups, settings_problems* problems) {
    std::array<long long, ALARM_COUNT> v{100, 130, 90, 30, 120};
    const bool missing = file_missing(THRESHOLD_FILE);
    if (!missing) read_number_lines(THRESHOLD_FILE, v, I16_MIN, I16_MAX);
    for (int i = 0; i < ALARM_COUNT; ++i) ups.thresholds[i].value = static_cast<int16_t>(v[i]);
    if (missing && save_thresholds(ups) != 0)
        note_write_failure(problems, "Threshold", THRESHOLD_FILE);
    return 0;
}

int save_thresholds(const ups_status& ups) {
    std::array<long long, ALARM_COUNT> v{};
    for (int i = 0; i < ALARM_COUNT; ++i) v[i] = ups.thresholds[i].value;
    return write_number_lines(THRESHOLD_FILE, v);
}

int load_alarm_kinds(ups_status& ups, settings_problems* problems) {
    std::array<long long, ALARM_COUNT + 1> v{19, 19, 19, 19, 19, 3};
    const bool missing = file_missing(ALARM_KIND_FILE);
    if (!missing) read_number_lines(ALARM_KIND_FILE, v, I32_MIN, I32_MAX);
    for (int i = 0; i < ALARM_COUNT; ++i)
        ups.thresholds[i].kind = static_cast<int16_t>(std::clamp(v[i], I16_MIN, I16_MAX));
    ups.alarm_file_setting = static_cast<int32_t>(v[ALARM_COUNT]);
    if (missing && save_alarm_kinds(ups) != 0)
        note_write_failure(problems, "Alarm-kind", ALARM_KIND_FILE);
    return 0;
}

int save_alarm_kinds(const ups_status& ups) {
    std::array<long long, ALARM_COUNT + 1> v{};
    for (int i = 0; i < ALARM_COUNT; ++i) v[i] = ups.thresholds[i].kind;
    v[ALARM_COUNT] = ups.alarm_file_setting;
    return write_number_lines(ALARM_KIND_FILE, v);
}

std::string configuration_save_failure(int error) {
    return std::string("Cannot save the configuration file ") + CONFIG_FILE + ": " +
           std::strerror(error) + ".";
}
