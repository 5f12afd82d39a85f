// Fuzzes the reading of a data log as viewer lines, and appending to an event log, with arbitrary
// file contents. The files live in the current directory: run it from a scratch directory.
#include "files/logs.h"
#include "files/text_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

time_t fixed_now() {
    return 1773480413;
}

void write_file(const char* name, std::string_view content) {
    unique_fd fd(::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (!fd || !write_all(fd.get(), content)) std::abort();
}

std::string read_file(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    log_book book;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Every record reads as a viewer line of eight columns, or leaves the previous line standing.
    write_file(DATA_LOG, input);
    data_log_reader reader(DATA_LOG);
    if (!reader.is_open()) std::abort();
    const long records = data_log_record_count(DATA_LOG);
    for (long n = -1; n <= records; ++n) {
        for (const int unit : {0, 1}) {
            const std::string& line = reader.line(n, unit);
            if (!line.empty() && std::count(line.begin(), line.end(), '\t') != 7) std::abort();
        }
    }

    // A record appended to whatever the data log held keeps all of it in front and starts on a
    // record boundary, where the viewer finds it whole.
    ups_status ups{};
    ups.valid = 1;
    ups.logged_voltage = 230;
    ups.power_state = 2;
    if (write_data_record(book, ups, fixed_now()) != 0) std::abort();
    const std::string logged = read_file(DATA_LOG);
    if (logged.size() % DATA_RECORD_SIZE != 0 || logged.compare(0, input.size(), input) != 0 ||
        logged.size() - input.size() >= 2 * DATA_RECORD_SIZE)
        std::abort();
    data_log_reader appended(DATA_LOG);
    const std::string& last = appended.line(data_log_record_count(DATA_LOG) - 1, 0);
    if (last.find("\t230\t") == std::string::npos) std::abort();

    // A line appended to whatever the event log held keeps all of it in front.
    write_file(EVENT_LOG, input);
    const std::string before = read_file(EVENT_LOG);
    write_event_line(book, "Power restored.", fixed_now());
    const std::string after = read_file(EVENT_LOG);
    if (after.size() <= before.size() || after.compare(0, before.size(), before) != 0) std::abort();
    return 0;
}
