// The data log norva.dat, the alarm log norva.alm and the event log norva.log, with rotation.
#pragma once

#include "engine/ups_status.h"

#include <cstdio>
#include <string>

inline constexpr const char* DATA_LOG = "norva.dat";
inline constexpr const char* DATA_LOG_OLD = "norvadat.old";
inline constexpr const char* ALARM_LOG = "norva.alm";
inline constexpr const char* EVENT_LOG = "norva.log";
inline constexpr const char* EVENT_LOG_OLD = "norvalog.old";
inline constexpr int DATA_RECORD_SIZE = 58;

// Appends one 58-byte record of the readings at poll_time when the record is valid, then rotates.
void write_data_record(const ups_status& ups, time_t poll_time);

// The data-log timer: writes a record when due and then queues the :I command in next_step.
void log_data_when_due(const ups_status& ups, int16_t& next_step, time_t poll_time);

// Forgets when the last data record was written (start-up state).
void reset_data_log_timer();

// Appends one time-stamped line to the alarm log.
void write_alarm_line(const char* text);

// Appends one time-stamped line to the event log, then rotates it.
void write_event_line(const char* text);

// Cuts norva.dat or norva.log back when it holds more than 12000 records, keeping the whole
// previous log in its .old file.
void rotate_log(const char* file);

// Copies a text file line by line; 0, or 2 (with an event-log line) when either file fails.
int CopyLocalFile(const char* source, const char* destination);

// Number of 58-byte records in a data log; 0 when it does not exist.
long data_log_record_count(const char* file);

// Reads records of a working copy of the data log as viewer lines.
class data_log_reader {
  public:
    // Opens the working copy; is_open() tells whether that worked.
    explicit data_log_reader(const char* file);
    ~data_log_reader();
    data_log_reader(const data_log_reader&) = delete;
    data_log_reader& operator=(const data_log_reader&) = delete;

    bool is_open() const { return file_ != nullptr; }

    // The tab-separated line of record n; an unreadable record gives the previous line unchanged.
    const std::string& line(long n, int temperature_unit);

  private:
    FILE* file_ = nullptr;
    std::string line_;
};
