// Benchmarks of the UPS reply decoding that every poll runs.
#include "engine/protocol.h"
#include "engine/serial_io.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

void decode_status(benchmark::State& state) {
    ups_status ups{};
    ups.voltage_class = 1;
    ups.battery_voltage = 0x84;
    for (auto _ : state) {
        decode_status_reply("\n1078128C00003F7878258", ups);
        benchmark::DoNotOptimize(ups);
    }
}
BENCHMARK(decode_status);

// The echo check and the decoding of one reply to step, as each poll runs them.
void echo_check_and_decode(benchmark::State& state, int16_t step, const char* text) {
    ups_status ups{};
    ups.voltage_class = 1;
    char reply[128] = {};
    snprintf(reply, sizeof reply, "%s", text);
    const int count = static_cast<int>(strlen(reply));
    protocol_session session;
    for (auto _ : state) {
        ups.next_step = step;
        protocol_prepare_command(session, ups);
        benchmark::DoNotOptimize(decode_ups_reply(session, reply, count, ups));
    }
}
BENCHMARK_CAPTURE(echo_check_and_decode, status, STEP_STATUS, ":D\r\n1078128C00003F7878258\r");
BENCHMARK_CAPTURE(echo_check_and_decode, short_battery, STEP_BATTERY, ":B\r\n8");

// A poll's command over a pseudo-terminal: the discard of late bytes and the write; the UPS end
// takes the command back each time so the queue never fills.
void send_command_over_pty(benchmark::State& state) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    char name[128];
    int handle = SERIAL_INVALID;
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0 ||
        SerialIO_Open(&handle, name, 2400, 8, 0, 1) != 0) {
        state.SkipWithError("no pseudo-terminal");
        if (master >= 0) close(master);
        return;
    }
    ups_status ups{};
    protocol_session session;
    char echo[16];
    for (auto _ : state) {
        ups.next_step = STEP_STATUS;
        benchmark::DoNotOptimize(SendUPSCommand(session, handle, ups));
        benchmark::DoNotOptimize(read(master, echo, sizeof echo));
    }
    SerialIO_Close(&handle);
    close(master);
}
BENCHMARK(send_command_over_pty);

} // namespace
