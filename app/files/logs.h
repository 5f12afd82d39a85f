// The data log norva.dat, the alarm log norva.alm and the event log norva.log, with rotation.
#pragma once

#include "model/ups_status.h"
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

// Told of every turn, so that a failing log is reported once and its return once, not at every
// line. The listener may append to the logs itself.
using log_append_listener = void (*)(const log_append_change& change);

// What the logs remember between appends: each log's append health, the one listener told of its
// turns (null: none), and when the last data record was written (0: none since start-up). A fresh
// book is the start-up state.
struct log_book {
    struct append_health {
        bool failing = false;
        long lost = 0; // appends failed in a row
    };
    append_health health[3] = {};
    log_append_listener listener = nullptr;
    time_t last_record = 0;
};

// Appends one 58-byte record of the readings at poll_time when the record is valid, then rotates.
// Readings too wide for their column are clamped, so a record is always exactly 58 bytes, and a
// damaged last record is first completed to 58 bytes, so the new one starts on its boundary.
// 0, or 2 when the record could not be appended (errno tells why).
int write_data_record(log_book& book, const ups_status& ups, time_t poll_time);

// The data-log timer: writes a record when one is due; true when it did (its append may still
// have failed, which the listener hears of). A poll time before the last record (the clock was
// set back) counts as due.
bool log_data_when_due(log_book& book, const ups_status& ups, time_t poll_time);

// Appends one line stamped with now to the alarm log; line breaks in text become blanks. 0, or 2
// when it could not be appended (errno tells why).
int write_alarm_line(log_book& book, const char* text, time_t now);

// Appends one line stamped with now to the event log, then rotates it; line breaks become blanks.
// 0, or 2 when it could not be appended (errno tells why).
int write_event_line(log_book& book, const char* text, time_t now);

// Cuts norva.dat or norva.log back when it holds more than 12000 records (size / 58 or size / 80),
// keeping the whole previous log in its .old file and its newest count - 6000 lines live; other
// names are left alone.
void rotate_log(const char* file);

// Copies a text file line by line; 0, or 2 (with an event-log line stamped with now) when either
// file fails.
int CopyLocalFile(log_book& book, const char* source, const char* destination, time_t now);

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
