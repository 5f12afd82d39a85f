// The history graph's data: the records of a working copy of the data log, as values, plot points,
// axis labels and minima, and the list of the days the copy holds.
#pragma once

#include "ui/working_copy.h"

#include <ctime>
#include <string>
#include <vector>
#include <wyn/types.h>

inline constexpr const char* GRAPH_WORK_FILE = WORKING_COPY_FILE;
inline constexpr const char* GRAPH_DAY_FILE = "temp.dat";
inline constexpr const char* GRAPH_ALL_DAYS = "Select All";
inline constexpr int GRAPH_PAGE_RECORDS = 350;
inline constexpr int GRAPH_LABEL_STEP = 87;
inline constexpr int GRAPH_NO_MINIMUM = 999;

// What one load gives, one element per record. Points are in the graph's unscaled coordinates
// (x 40 to 389 within a page, y 50 to 330); the drawing scales them.
struct graph_data {
    std::vector<int> voltage;
    std::vector<int> battery;
    std::vector<PNT> voltage_points;
    std::vector<PNT> battery_points;
    // Time ("hh:mm") and date ("mm/dd/yy") of record 0 and of every 87th record after it.
    std::vector<std::string> time_labels;
    std::vector<std::string> date_labels;
    int min_voltage = GRAPH_NO_MINIMUM;
    int min_battery = GRAPH_NO_MINIMUM;
    long records = 0;
    bool present = false;
};

// Loads data from file, or with a day ("mm/dd/yy") only that day's records, which are first
// copied into temp.dat. voltage_class 0 plots the 120 V family, any other the 230 V family.
// Everything is reset first. 0; or 2 with no data present when the file cannot be opened (posted
// to the alarm log), temp.dat cannot be written, or fewer than 2 records (size / 58) exist.
int graph_get_data(const char* file, const char* day, int voltage_class, graph_data& data);

// The day of a data log record stamped at t: "mm/dd/yy" with the year's last two digits.
std::string graph_day_of(time_t t);

// The days of file in file order, each listed at the second record that differs from the last
// listed day, followed by "Select All"; empty when no day was listed.
std::vector<std::string> graph_list_days(const char* file);

// Fills days from file (graph_list_days) and, when today (graph_day_of(now)) is among them,
// loads that day into data and returns its index in days; -1 when it is not (data then untouched).
int graph_day_list(const char* file, time_t now, int voltage_class,
                   std::vector<std::string>& days, graph_data& data);
