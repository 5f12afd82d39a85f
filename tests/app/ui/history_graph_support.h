// Data log records for the history graph's tests, written as the data log writes them.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>

// One 58-byte record of day ("mm/dd/yy") at hh:mm with a voltage and a battery charge.
inline std::string graph_record(const std::string& day, int minute_of_day, int voltage,
                                int charge) {
    char line[80];
    std::snprintf(line, sizeof line, "%-8.8s ,%02d:%02d:00,%-15s,%-4d,%-4d,%-4d,%-4d,%1d\r\n",
                  day.c_str(), minute_of_day / 60 % 24, minute_of_day % 60, "NORVA-TEST", voltage,
                  60, charge, 25, 0);
    return line;
}

// count records of day, a minute apart from midnight, all with the same readings.
inline std::string graph_records(const std::string& day, int count, int voltage, int charge) {
    std::string out;
    for (int i = 0; i < count; ++i) out += graph_record(day, i, voltage, charge);
    return out;
}
