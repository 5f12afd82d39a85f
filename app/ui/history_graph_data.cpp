// Loading the history graph's records and listing the days of the data log's working copy.
#include "ui/history_graph_data.h"

#include "engine/report.h"
#include "files/clock.h"
#include "files/logs.h"
#include "files/text_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace {

// Longer than any record; a longer line is cut, as a record cannot be that long.
constexpr std::size_t kLineMax = 254;
constexpr int kBaseY = 330;
constexpr int kLeftX = 40;

// The 1-based comma-separated field n of a record as an integer; 0 when the line is shorter.
int field_value(const std::string& line, int n) {
    std::size_t at = 0;
    for (int i = 1; i < n; ++i) {
        at = line.find(',', at);
        if (at == std::string::npos) return 0;
        ++at;
    }
    return std::atoi(line.c_str() + at);
}

// The next line without its line end; false at the end of the file.
bool next_line(text_reader& in, std::string& line) {
    if (!in.read_line(line, kLineMax)) return false;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
}

long file_records(const char* file) {
    struct stat st{};
    if (::stat(file, &st) != 0) return 0;
    return static_cast<long>(st.st_size / DATA_RECORD_SIZE);
}

int16_t voltage_y(int voltage, int voltage_class) {
    const int base = voltage_class == 0 ? 0 : 140;
    const int v = std::min(voltage, base + 140);
    if (v <= 0 || v < base) return kBaseY;
    return int16_t(kBaseY - 2 * (v - base));
}

int16_t battery_y(int charge) {
    // A negative charge is no reading: it stays on the base line rather than below the plot.
    return int16_t(kBaseY - 2 * std::clamp(charge, 0, 140));
}

// Copies the lines of day from file into temp.dat; false when it cannot be written.
bool write_day_file(const char* day, text_reader& in) {
    atomic_text_file out(GRAPH_DAY_FILE);
    if (!out.is_open()) return false;
    std::string line;
    while (next_line(in, line))
        if (line.size() >= 8 && line.compare(0, 8, day) == 0) out.write(line + "\n");
    // A scratch copy, rebuilt from the working file whenever a day is chosen: no need to sync it.
    return out.commit(false) == 0;
}

void add_record(graph_data& data, const std::string& line, int voltage_class) {
    const long i = static_cast<long>(data.voltage.size());
    const int voltage = field_value(line, 4);
    const int charge = field_value(line, 6);
    data.voltage.push_back(voltage);
    data.battery.push_back(charge);
    data.min_voltage = std::min(data.min_voltage, voltage);
    data.min_battery = std::min(data.min_battery, charge);
    if (i % GRAPH_LABEL_STEP == 0) {
        std::string padded = line;
        padded.resize(std::max<std::size_t>(padded.size(), 15), ' ');
        data.time_labels.push_back(padded.substr(10, 5));
        data.date_labels.push_back(padded.substr(0, 8));
    }
    const int16_t x = int16_t(kLeftX + i % GRAPH_PAGE_RECORDS);
    data.voltage_points.push_back(PNT{voltage_y(voltage, voltage_class), x});
    data.battery_points.push_back(PNT{battery_y(charge), x});
}

} // namespace

int graph_get_data(const char* file, const char* day, int voltage_class, graph_data& data) {
    data = graph_data{};
    const char* source = file;
    {
        text_reader in(file);
        if (!in.is_open()) {
            char text[400];
            std::snprintf(text, sizeof text, "graph_get_data failed to open file: %s", file);
            post_message(text, MSG_ALARM_LOG);
            return 2;
        }
        if (day) {
            if (!write_day_file(day, in)) return 2;
            source = GRAPH_DAY_FILE;
        }
    }
    const long count = file_records(source);
    if (count < 2) return 2;
    text_reader in(source);
    if (!in.is_open()) return 2;
    data.voltage.reserve(count);
    data.battery.reserve(count);
    data.voltage_points.reserve(count);
    data.battery_points.reserve(count);
    std::string line;
    // The count comes from the size; a file of short lines holds fewer records than it says.
    while (static_cast<long>(data.voltage.size()) < count && next_line(in, line))
        add_record(data, line, voltage_class);
    data.records = static_cast<long>(data.voltage.size());
    if (data.records < 2) {
        data = graph_data{};
        return 2;
    }
    data.present = true;
    return 0;
}

std::string graph_day_of(time_t t) {
    const struct tm tm = app_localtime(t);
    // The data log writes the year's last two digits, so today must be written the same way to
    // be found among its days.
    char day[40];
    std::snprintf(day, sizeof day, "%02d/%02d/%02d", tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100);
    return day;
}

std::vector<std::string> graph_list_days(const char* file) {
    std::vector<std::string> days;
    text_reader in(file);
    if (!in.is_open()) return days;
    std::string line, last;
    bool armed = false;
    while (next_line(in, line)) {
        const std::string day = line.substr(0, 8);
        if (day == last) continue;
        // A new day is listed at its second record: one record alone cannot be graphed.
        if (armed) {
            days.push_back(day);
            last = day;
        }
        armed = !armed;
    }
    if (!days.empty()) days.push_back(GRAPH_ALL_DAYS);
    return days;
}

int graph_day_list(const char* file, time_t now, int voltage_class,
                   std::vector<std::string>& days, graph_data& data) {
    days = graph_list_days(file);
    const std::string today = graph_day_of(now);
    const auto found = std::find(days.begin(), days.end(), today);
    if (found == days.end() || *found == GRAPH_ALL_DAYS) return -1;
    graph_get_data(file, today.c_str(), voltage_class, data);
    return static_cast<int>(found - days.begin());
}
