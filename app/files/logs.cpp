// The data log norva.dat, the alarm log norva.alm and the event log norva.log, with rotation.
#include "files/logs.h"

#include "files/clock.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr long ROTATE_LIMIT = 12000;
constexpr long ROTATE_KEEP = 6000;
constexpr long EVENT_LINE_SIZE = 80;
constexpr std::size_t COPY_PIECE = 65536;

// Counts a failed append and tells the listener at the turns; returns result, errno kept.
int note_append(log_book& book, log_kind log, const char* file, int result) {
    const int error = errno;
    log_book::append_health& h = book.health[static_cast<int>(log)];
    log_append_change change{log, file, result != 0, error, 0};
    bool turn = false;
    if (result != 0) {
        ++h.lost;
        turn = !h.failing;
        h.failing = true;
        change.lost = h.lost;
    } else if (h.failing) {
        turn = true;
        change.lost = h.lost;
        h = log_book::append_health{};
    }
    // The state is settled first: the listener may append to a log, this one included.
    if (turn && book.listener) book.listener(change);
    errno = error;
    return result;
}

// A column of 4 characters holds -999 to 9999.
int fit4(long v) {
    return static_cast<int>(std::clamp(v, -999L, 9999L));
}

// A one-digit column: 0-9 as a digit, 10-15 (a hex digit of a garbled reply) as 'A'-'F'.
char state_digit(unsigned v) {
    return "0123456789ABCDEF"[std::min(v, 15U)];
}

// Line breaks and other control characters would split or stretch a log line.
std::string one_line(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = ' ';
    }
    return out;
}

std::string data_record(const ups_status& ups, time_t poll_time) {
    const struct tm tm = app_localtime(poll_time);
    const std::string id = one_line(std::string_view(ups.ups_id, strnlen(ups.ups_id, 14)));
    char line[128];
    std::snprintf(line, sizeof line,
                  "%02d/%02d/%02d ,%02d:%02d:%02d,%-15s,%-4d,%-4d,%-4d,%-4d,%c\n", tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_year % 100, tm.tm_hour, tm.tm_min, 0, id.c_str(),
                  fit4(ups.logged_voltage), fit4(ups.frequency), fit4(ups.battery_charge),
                  fit4(ups.temperature_c), state_digit(ups.power_state));
    return line;
}

int write_log_line(log_book& book, log_kind log, const char* file, const char* text, time_t now) {
    const struct tm tm = app_localtime(now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d,%02d:%02d:%02d,", tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_year, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return note_append(book, log, file, append_text(file, stamp + one_line(text ? text : "") + "\n"));
}

struct rotation {
    const char* old_file;
    long record_size; // bytes per record for the record count
};

bool rotation_of(const char* file, rotation& out) {
    if (std::strcmp(file, DATA_LOG) == 0) {
        out = {DATA_LOG_OLD, DATA_RECORD_SIZE};
        return true;
    }
    if (std::strcmp(file, EVENT_LOG) == 0) {
        out = {EVENT_LOG_OLD, EVENT_LINE_SIZE};
        return true;
    }
    return false;
}

// A text file measured as lines and as bytes once written back (every line feed as CR LF); a
// line feed ends a line, and a last line may lack it.
struct text_extent {
    long lines;
    long long bytes;
};

text_extent measure(text_reader& in) {
    text_extent e{0, 0};
    bool open_line = false;
    std::string piece;
    while (in.read_piece(piece, COPY_PIECE)) {
        open_line = piece.back() != '\n';
        e.bytes += static_cast<long long>(piece.size()) + (open_line ? 0 : 1);
        if (!open_line) ++e.lines;
    }
    e.lines += open_line ? 1 : 0;
    return e;
}

// Copies the newest lines, whole however long they are: at most max_lines of them, and at most
// max_bytes once written, so that a log of long lines still comes out below the limit.
void copy_newest(text_reader& in, const text_extent& all, long max_lines, long long max_bytes,
                 atomic_text_file& out) {
    const long skip_lines = all.lines - std::min(all.lines, max_lines);
    const long long skip_bytes = all.bytes - std::min(all.bytes, max_bytes);
    long line = 0;
    long long at = 0;
    bool line_start = true;
    bool copying = false;
    std::string piece;
    while (in.read_piece(piece, COPY_PIECE)) {
        if (line_start) copying = line >= skip_lines && at >= skip_bytes;
        if (copying) out.write(piece);
        line_start = piece.back() == '\n';
        at += static_cast<long long>(piece.size()) + (line_start ? 1 : 0);
        if (line_start) ++line;
    }
}

long file_size(const char* file) {
    struct stat st {};
    return ::stat(file, &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

} // namespace

int write_data_record(log_book& book, const ups_status& ups, time_t poll_time) {
    if (!ups.valid) return 0;
    const int result =
        note_append(book, log_kind::data, DATA_LOG,
                    append_text(DATA_LOG, data_record(ups, poll_time), DATA_RECORD_SIZE));
    if (result == 0) rotate_log(DATA_LOG);
    return result;
}

bool log_data_when_due(log_book& book, const ups_status& ups, time_t poll_time) {
    if (!ups.valid || !ups.logging_enabled) return false;
    const time_t last = book.last_record;
    const bool due = last == 0 || poll_time < last ||
                     poll_time - last >= static_cast<time_t>(ups.log_interval) * 60;
    if (!due) return false;
    write_data_record(book, ups, poll_time);
    book.last_record = poll_time;
    return true;
}

int write_alarm_line(log_book& book, const char* text, time_t now) {
    return write_log_line(book, log_kind::alarm, ALARM_LOG, text, now);
}

int write_event_line(log_book& book, const char* text, time_t now) {
    const int result = write_log_line(book, log_kind::event, EVENT_LOG, text, now);
    if (result == 0) rotate_log(EVENT_LOG);
    return result;
}

void rotate_log(const char* file) {
    rotation kind{};
    if (!rotation_of(file, kind)) return;
    const long count = file_size(file) / kind.record_size;
    if (count <= ROTATE_LIMIT) return;

    // The newest lines are written beside the log first, so the live log is never missing or
    // half-written, whatever happens on the way.
    text_reader in(file);
    if (!in.is_open()) return;
    const text_extent all = measure(in);
    const long keep = count - ROTATE_KEEP;
    atomic_text_file tail(file);
    if (!tail.is_open() || !in.rewind()) return;
    copy_newest(in, all, keep, static_cast<long long>(keep) * kind.record_size, tail);
    if (tail.prepare(true) != 0) return;

    ::unlink(kind.old_file);
    // A hard link keeps the live log in place until the tail replaces it; where links are not
    // supported the log is moved, and a failed move leaves it as it was.
    if (::link(file, kind.old_file) != 0 && ::rename(file, kind.old_file) != 0) return;
    tail.publish();
}

int CopyLocalFile(log_book& book, const char* source, const char* destination, time_t now) {
    char message[600];
    text_reader in(source);
    if (!in.is_open()) {
        std::snprintf(message, sizeof message, "CopyLocalFile File: %s, open error: %d", source,
                      in.error());
        write_event_line(book, message, now);
        return 2;
    }
    atomic_text_file out(destination);
    if (!out.is_open()) {
        std::snprintf(message, sizeof message, "CopyLocalFile File: %s, create error: %d",
                      destination, out.error());
        write_event_line(book, message, now);
        return 2;
    }
    std::string piece;
    while (in.read_piece(piece, COPY_PIECE)) out.write(piece);
    if (out.commit(false) != 0) {
        // A copy cut short by a full disk must not pass for a whole one.
        std::snprintf(message, sizeof message, "CopyLocalFile File: %s, write error: %d",
                      destination, out.error());
        write_event_line(book, message, now);
        return 2;
    }
    return 0;
}

long data_log_record_count(const char* file) {
    const long size = file_size(file);
    return size < 0 ? 0 : size / DATA_RECORD_SIZE;
}

data_log_reader::data_log_reader(const char* file) : fd_(::open(file, O_RDONLY | O_CLOEXEC)) {}

namespace {

// A number column: blanks around an optionally signed decimal; false for anything else.
bool column_number(std::string_view column, int& out) {
    const auto first = column.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    const char* end = column.data() + column.size();
    const auto [ptr, ec] = std::from_chars(column.data() + first, end, out);
    if (ec != std::errc{}) return false;
    return std::all_of(ptr, end, [](char c) { return c == ' '; });
}

// Degrees Fahrenheit as the status display computes them: single-precision, toward zero.
int fahrenheit(int celsius) {
    return static_cast<int>(static_cast<float>(celsius) * 1.8f + 32.0f);
}

} // namespace

const std::string& data_log_reader::line(long n, int temperature_unit) {
    char rec[DATA_RECORD_SIZE];
    if (!fd_ || n < 0 || n > (LONG_MAX / DATA_RECORD_SIZE)) return line_;
    const ssize_t got =
        ::pread(fd_.get(), rec, sizeof rec, static_cast<off_t>(n) * DATA_RECORD_SIZE);
    if (got != DATA_RECORD_SIZE) return line_;
    const std::string_view r(rec, sizeof rec);
    for (const std::size_t comma : {9, 18, 34, 39, 44, 49, 54}) {
        if (r[comma] != ',') return line_;
    }
    int volts = 0, hertz = 0, charge = 0, temperature = 0;
    if (!column_number(r.substr(35, 4), volts) || !column_number(r.substr(40, 4), hertz) ||
        !column_number(r.substr(45, 4), charge) || !column_number(r.substr(50, 4), temperature))
        return line_;
    if (temperature_unit == 1) temperature = fahrenheit(temperature);
    // A damaged record's tab or line break in a text column would shift or split the viewer's
    // columns; like the writer, the reader shows control characters as blanks.
    std::replace_if(
        rec, rec + sizeof rec, [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    std::string_view id = r.substr(19, 15);
    id = id.substr(0, id.find_last_not_of(' ') + 1);
    const char mode = r[55];
    char out[160];
    std::snprintf(out, sizeof out, "%.*s\t%.*s\t%.*s\t%d\t%d\t%d\t%d\t%s", 8, rec, 8, rec + 10,
                  static_cast<int>(id.size()), id.data(), volts, hertz, charge, temperature,
                  mode == '0' || mode == '2' ? "Normal" : "Inverting");
    line_ = out;
    return line_;
}
