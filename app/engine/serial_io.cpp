// Serial port I/O over POSIX: exclusive open, termios line settings, queue and modem status.
#include "engine/serial_io.h"

#include "support/unique_fd.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// The kernel's termios2 record, which carries any rate; the C library only knows the B constants,
// and 14400 has none.
struct termios2 {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed;
    speed_t c_ospeed;
};

namespace {

struct rate_entry {
    int rate;
    const char* text;
    speed_t speed; // 0 when the rate needs the kernel's arbitrary-rate form
};

constexpr rate_entry RATES[] = {
    {1200, "1200", B1200}, {2400, "2400", B2400},    {4800, "4800", B4800},   {9600, "9600", B9600},
    {14400, "14400", 0},   {19200, "19200", B19200}, {38400, "38400", B38400}};

constexpr const char* PARITY_LETTERS[] = {"N", "E", "O"};

// On the generic tty layout the "other rate" marker shares its bit with CBAUDEX.
constexpr tcflag_t RATE_OTHER = CBAUDEX;

bool g_real_ports_forbidden = false;
int g_real_port_refusals = 0;

// A device under /dev other than a pseudo-terminal, after following links; a path that does not
// resolve opens nothing.
bool is_real_device(const std::string& path) {
    char real[PATH_MAX];
    if (!realpath(path.c_str(), real)) return false;
    return strncmp(real, "/dev/", 5) == 0 && strncmp(real, "/dev/pts/", 9) != 0;
}

const rate_entry* find_rate(int rate) {
    for (const rate_entry& entry : RATES)
        if (entry.rate == rate) return &entry;
    return nullptr;
}

// Drops the exclusive mode first: it may outlive the descriptor on some drivers.
int close_port(int fd) {
    ioctl(fd, TIOCNXCL);
    return close(fd);
}

bool parse_number(const char* begin, const char* end, int& out) {
    if (begin == end || end - begin > 6) return false;
    int value = 0;
    for (const char* p = begin; p != end; ++p) {
        if (!isdigit(static_cast<unsigned char>(*p))) return false;
        value = value * 10 + (*p - '0');
    }
    out = value;
    return true;
}

bool key_is(const char* begin, const char* end, const char* key) {
    const size_t length = strlen(key);
    return static_cast<size_t>(end - begin) == length && strncasecmp(begin, key, length) == 0;
}

// One "key=value" token; false for an unknown key, a repeated key or a value out of range.
bool parse_pair(const char* begin, const char* end, serial_settings& out, unsigned& seen) {
    const char* equals = std::find(begin, end, '=');
    if (equals == end) return false;
    const char* value = equals + 1;
    int number = 0;
    unsigned bit = 0;
    if (key_is(begin, equals, "baud")) {
        if (!parse_number(value, end, number) || !find_rate(number)) return false;
        out.baud = number;
        bit = 1;
    } else if (key_is(begin, equals, "parity")) {
        if (end - value != 1) return false;
        const char letter = static_cast<char>(toupper(static_cast<unsigned char>(*value)));
        if (letter != 'N' && letter != 'E' && letter != 'O') return false;
        out.parity = letter;
        bit = 2;
    } else if (key_is(begin, equals, "data")) {
        if (!parse_number(value, end, number) || number < 5 || number > 8) return false;
        out.data_bits = number;
        bit = 4;
    } else if (key_is(begin, equals, "stop")) {
        if (!parse_number(value, end, number) || (number != 1 && number != 2)) return false;
        out.stop_bits = number;
        bit = 8;
    } else {
        return false;
    }
    if (seen & bit) return false;
    seen |= bit;
    return true;
}

tcflag_t size_flag(int data_bits) {
    switch (data_bits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

void apply_settings(termios& tio, const serial_settings& settings, speed_t speed) {
    cfmakeraw(&tio);
    if (speed != 0) cfsetspeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= size_flag(settings.data_bits) | CLOCAL | CREAD;
    if (settings.parity != 'N') tio.c_cflag |= PARENB;
    if (settings.parity == 'O') tio.c_cflag |= PARODD;
    if (settings.stop_bits == 2) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // Reads take what is there and return, even if asked for more.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

// Sets a rate that has no B constant through the kernel's arbitrary-rate form.
int set_other_rate(int fd, int rate) {
    termios2 tio2{};
    if (ioctl(fd, TCGETS2, &tio2) != 0) return -1;
    tio2.c_cflag &= ~(CBAUD | CIBAUD);
    tio2.c_cflag |= RATE_OTHER;
    tio2.c_ispeed = static_cast<speed_t>(rate);
    tio2.c_ospeed = static_cast<speed_t>(rate);
    return ioctl(fd, TCSETS2, &tio2);
}

bool waiting_count(int fd, int& count) {
    count = 0;
    return ioctl(fd, FIONREAD, &count) == 0;
}

// The port's "clear error state": the line has no error state to reset here, so this is the
// status query that goes with it, traced when it fails.
void clear_port_errors(int fd, const trace_sink* trace) {
    int count = 0;
    if (!waiting_count(fd, count))
        tracef(trace, TRACE_ERROR, "queue status error: %d on port handle: %d.", errno, fd);
}

} // namespace

bool serial_parse_settings(const char* text, serial_settings& out) {
    if (!text) return false;
    serial_settings parsed{};
    unsigned seen = 0;
    const char* p = text;
    for (;;) {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p) break;
        const char* end = p;
        while (*end && *end != ' ' && *end != '\t') ++end;
        if (!parse_pair(p, end, parsed, seen)) return false;
        p = end;
    }
    if (seen != 15) return false;
    out = parsed;
    return true;
}

std::string serial_resolve_port(const char* name) {
    if (!name) return {};
    // Port names are not case-sensitive, as on the platform they come from; the local stand-in is
    // always looked up under the upper-case name.
    if (strncasecmp(name, "COM", 3) == 0 && name[3] >= '1' && name[3] <= '9' && name[4] == '\0') {
        const std::string local = std::string("COM") + name[3];
        struct stat info {};
        if (lstat(local.c_str(), &info) == 0) return local;
        return std::string("/dev/ttyS") + static_cast<char>(name[3] - 1);
    }
    return name;
}

int SerialIO_Open(int* handle, const char* port, int rate, int data_bits, int parity,
                  int stop_bits, const trace_sink* trace) {
    if (!handle) return 2;
    *handle = SERIAL_INVALID;
    if (!port) port = "";
    const rate_entry* entry = find_rate(rate);
    char rate_text[16];
    snprintf(rate_text, sizeof rate_text, "%s", entry ? entry->text : std::to_string(rate).c_str());
    const char* parity_letter = parity >= 0 && parity <= 2 ? PARITY_LETTERS[parity] : "?";

    const std::string path = serial_resolve_port(port);
    if (g_real_ports_forbidden && is_real_device(path)) {
        ++g_real_port_refusals;
        tracef(trace, TRACE_ERROR, "open error: %d on port: %s.", EACCES, port);
        return 2;
    }
    // Non-blocking from the start: opening a line without carrier would otherwise wait for it.
    unique_fd fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        tracef(trace, TRACE_ERROR, "open error: %d on port: %s.", errno, port);
        return 2;
    }
    // Without sharing: the advisory lock stops every process that opens the port through this
    // layer (root included); the exclusive tty mode also stops other programs.
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        tracef(trace, TRACE_ERROR, "open error: %d on port: %s.", errno, port);
        return 2;
    }
    ioctl(fd.get(), TIOCEXCL);

    int result = 2;
    termios tio{};
    if (tcgetattr(fd.get(), &tio) != 0) {
        tracef(trace, TRACE_ERROR, "line settings read error: %d on port handle: %d.", errno,
               fd.get());
    } else {
        char mode[64];
        snprintf(mode, sizeof mode, "baud=%s parity=%s data=%1d stop=%1d", rate_text, parity_letter,
                 data_bits, stop_bits);
        serial_settings settings{};
        if (!serial_parse_settings(mode, settings)) {
            tracef(trace, TRACE_ERROR, "line settings error: %d on format: %s.", EINVAL, rate_text);
        } else {
            const rate_entry* chosen = find_rate(settings.baud);
            apply_settings(tio, settings, chosen->speed);
            if (tcsetattr(fd.get(), TCSANOW, &tio) != 0 ||
                (chosen->speed == 0 && set_other_rate(fd.get(), settings.baud) != 0))
                tracef(trace, TRACE_ERROR, "line settings write error: %d on port handle: %d.",
                       errno, fd.get());
            else
                result = 0;
        }
    }
    clear_port_errors(fd.get(), trace);
    // The port is in exclusive mode by now: a refused one leaves it through close_port.
    const int raw = fd.release();
    if (result == 0)
        *handle = raw;
    else
        close_port(raw);
    return result;
}

int SerialIO_Close(int* handle, const trace_sink* trace) {
    if (!handle) return 2;
    const int fd = *handle;
    *handle = SERIAL_INVALID;
    // EINTR still releases the descriptor on Linux, so it counts as closed.
    if (close_port(fd) != 0 && errno != EINTR) {
        tracef(trace, TRACE_ERROR, "close error: %d on port handle: %d.", errno, fd);
        return 2;
    }
    return 0;
}

int SerialIO_GetStatus(int handle, uint16_t* waiting, uint8_t* modem_flags,
                       const trace_sink* trace) {
    if (waiting) {
        *waiting = 0;
        int count = 0;
        if (!waiting_count(handle, count)) {
            tracef(trace, TRACE_ERROR, "queue status error: %d on port handle: %d.", errno,
                   handle);
            return 2;
        }
        *waiting = static_cast<uint16_t>(std::clamp(count, 0, 0xFFFF));
    }
    if (modem_flags) {
        modem_flags[0] = 0;
        int lines = 0;
        if (ioctl(handle, TIOCMGET, &lines) != 0) {
            tracef(trace, TRACE_ERROR, "modem lines error: %d on port handle: %d.", errno,
                   handle);
            return 0;
        }
        if (lines & TIOCM_RNG) modem_flags[0] |= MODEM_RING;
        if (lines & TIOCM_CTS) modem_flags[0] |= MODEM_CTS;
        if (lines & TIOCM_CAR) modem_flags[0] |= MODEM_CARRIER;
    }
    return 0;
}

int SerialIO_Read(int handle, char* buffer, int size, int* count, const trace_sink* trace) {
    int dummy = 0;
    if (!count) count = &dummy;
    *count = 0;
    uint16_t ready = 0;
    const int status = SerialIO_GetStatus(handle, &ready, nullptr, trace);
    tracef(trace, TRACE_ERROR, "port status: %d.", status);
    tracef(trace, TRACE_ERROR, "status read  : %d.", status == 0 ? 1 : 0);
    tracef(trace, TRACE_ERROR, "bytes waiting: %d.", ready);
    if (status != 0) {
        clear_port_errors(handle, trace);
        return 2;
    }
    if (ready == 0) return 0;

    tracef(trace, TRACE_ERROR, "port status read");
    const size_t wanted = buffer && size > 0 ? std::min<size_t>(ready, size) : 0;
    ssize_t got;
    do {
        got = read(handle, buffer, wanted);
    } while (got < 0 && errno == EINTR);
    tracef(trace, TRACE_ERROR, "bytes read: %d.", got < 0 ? 0 : static_cast<int>(got));
    if (got < 0) {
        tracef(trace, TRACE_ERROR, "read error: %d on port handle: %d.", errno, handle);
        clear_port_errors(handle, trace);
        return 2;
    }
    *count = static_cast<int>(got);
    return 0;
}

int SerialIO_DiscardInput(int handle, const trace_sink* trace) {
    if (tcflush(handle, TCIFLUSH) != 0) {
        tracef(trace, TRACE_ERROR, "discard error: %d on port handle: %d.", errno, handle);
        return 2;
    }
    return 0;
}

int SerialIO_Write(int handle, const char* bytes, int length, int* written,
                   const trace_sink* trace) {
    int dummy = 0;
    if (!written) written = &dummy;
    *written = 0;
    if (length < 0 || (!bytes && length > 0)) return 2;
    ssize_t sent;
    do {
        sent = write(handle, bytes, static_cast<size_t>(length));
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        tracef(trace, TRACE_ERROR, "write error: %d on port handle: %d.", errno, handle);
        return 2;
    }
    *written = static_cast<int>(sent);
    return sent == length ? 0 : 2;
}

bool serial_device_gone(int handle) {
    if (handle < 0) return false;
    pollfd entry{handle, POLLIN, 0};
    int ready;
    do {
        ready = poll(&entry, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return true;
    return (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void forbid_real_serial_ports() {
    g_real_ports_forbidden = true;
}

int real_serial_port_refusals() {
    return g_real_port_refusals;
}
