// The data log norva.dat, the alarm log norva.alm and the event log norva.log, with rotation.
#pragma once

#include "engine/ups_status.h"
#include "files/text_file.h"

#include <string>

inline constexpr const char* DATA_LOG = "norva.dat";
inline constexpr const char* DATA_LOG_OLD = "norvadat.old";
inline constexpr const char* ALARM_LOG = "norva.alm";
inline constexpr const char* EVENT_LOG = "norva.log";
inline constexpr const char* EVENT_LOG_OLD = "norvalog.old";
inline constexpr int DATA_RECORD_SIZE = 58;

// The three logs whose appends are watched.
enum class log_kind { data, alarm, event };

// A turn in a log's appends: they began to fail (failing, with the error number of the first
// failure; lost is 1), or they work again after lost appends failed in a row.
struct log_append_change {
    log_kind log;
    const char* file;
    bool failing;
    int error;
    long lost;
};

// Installs the one listener told of every turn, so that a failing log is reported once and its
// return once, not at every line (null: none); returns the one installed before. The listener may
// append to the logs itself.
using log_append_listener = void (*)(const log_append_change& change);
log_append_listener set_log_append_listener(log_append_listener listener);

// Appends one 58-byte record of the readings at poll_time when the record is valid, then rotates.
// Readings too wide for their column are clamped, so a record is always exactly 58 bytes, and a
// damaged last record is first completed to 58 bytes, so the new one starts on its boundary.
// 0, or 2 when the record could not be appended (errno tells why).
int write_data_record(const ups_status& ups, time_t poll_time);

// The data-log timer: writes a record when due and then queues the :I command in next_step.
// A poll time before the last record (the clock was set back) counts as due.
void log_data_when_due(const ups_status& ups, int16_t& next_step, time_t poll_time);

// Forgets when the last data record was written (start-up state).
void reset_data_log_timer();

// Appends one time-stamped line to the alarm log; line breaks in text become blanks. 0, or 2 when
// it could not be appended (errno tells why).
int write_alarm_line(const char* text);

// Appends one time-stamped line to the event log, then rotates it; line breaks become blanks.
// 0, or 2 when it could not be appended (errno tells why).
int write_event_line(const char* text);

// Cuts norva.dat or norva.log back when it holds more than 12000 records (size / 58 or size / 80),
// keeping the whole previous log in its .old file and its newest count - 6000 lines live; other
// names are left alone.
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

    bool is_open() const { return static_cast<bool>(fd_); }

    // The tab-separated line of record n, the temperature in Fahrenheit when temperature_unit is
    // 1; an unreadable or malformed record gives the previous line unchanged.
    const std::string& line(long n, int temperature_unit);

  private:
    unique_fd fd_;
    std::string line_;
};
